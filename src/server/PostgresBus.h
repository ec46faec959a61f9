#pragma once

// The instances of one PostgreSQL store tell each other through the database itself: each
// message is a notification on one channel (LISTEN/NOTIFY), which PostgreSQL hands to every
// instance in the order of the commits; who is logged in where is a table of sessions, each
// instance keeping a heartbeat row of its own, so that the users of an instance that died are
// dropped by the others. The bus has a connection of its own, whose socket the network thread
// watches: a notification is handled as soon as it arrives.

#include <chrono>
#include <map>
#include <memory>
#include <set>
#include <string>

#include <asio/io_context.hpp>
#include <asio/posix/stream_descriptor.hpp>
#include <asio/steady_timer.hpp>

#include "server/BusBudget.h"
#include "server/BusMessage.h"
#include "server/InstanceBus.h"
#include "server/PgConnection.h"

namespace pondrel::server {

class ServerLog;

class PostgresBus final : public InstanceBus {
public:
    // Connects to `address`, makes the tables of sessions if needed and registers this instance.
    // An instance whose heartbeat is older than `deadSeconds` counts as dead. None, with `error`
    // set, when the database cannot be reached.
    static std::unique_ptr<PostgresBus> Open(asio::io_context& io, ServerLog& log,
                                             const std::string& address, int deadSeconds,
                                             std::string& error);
    // Leaves: the users of this instance drop from the lists of the others at once.
    ~PostgresBus() override;

    const std::string& Instance() const { return m_id; }

    void LoggedIn(const std::u16string& user) override;
    void LoggedOut(const std::u16string& user) override;
    std::vector<std::u16string> UsersElsewhere() override;
    bool OnlineElsewhere(const std::u16string& user) override;
    bool SendTo(const std::u16string& from, const std::u16string& user, const std::u16string& code,
                const std::u16string& frame, bool keep) override;
    void Chat(const std::u16string& from, const std::u16string& frame) override;
    void Tick() override;

private:
    PostgresBus(asio::io_context& io, ServerLog& log, std::unique_ptr<PgConnection> db,
                int deadSeconds);
    bool CreateTables(std::string& error);
    // This instance's row and the sessions of its users, again after it was taken for dead or
    // the database lost them.
    bool Register();
    bool Notify(const BusMessage& message);
    // A log-in (in) or log-out here, told to the others.
    struct Presence {
        bool in;
        std::u16string user;
        uint64_t login;
    };
    void Tell(Presence presence);
    void WritePresence();
    bool WriteOne(const Presence& presence);
    // Reads the notifications that arrived into m_pending (the presence they tell is known at
    // once), and has them handled a moment later, outside the caller's work.
    void Pull();
    void HandlePending();
    void Handle(const BusMessage& message);
    void ReadUsers();
    // The online-user list goes out again shortly (once for many changes).
    void UsersChanged();
    void Watch();
    double Seconds() const;
    bool Budget(const std::u16string& from, const char* what);

    asio::io_context& m_io;
    ServerLog& m_log;
    std::unique_ptr<PgConnection> m_db;
    std::string m_id;
    int m_deadSeconds;
    bool m_registered = false;
    bool m_lost = false;  // told in the log once per loss

    asio::posix::stream_descriptor m_watch;
    int m_watchedSocket = -1;
    int64_t m_watchedReconnects = 0;
    bool m_waiting = false;
    uint64_t m_watchGeneration = 0;
    std::vector<BusMessage> m_pending;
    bool m_handleDue = false;
    asio::steady_timer m_usersTimer;
    bool m_usersDue = false;
    std::vector<Presence> m_presence;  // to write, in order
    bool m_presenceDue = false;

    // Users logged in here: the number of the log-in, and whether its own notification came back
    // (every later log-in of the same user elsewhere then replaces it).
    struct Local {
        uint64_t login = 0;
        bool confirmed = false;
    };
    std::map<std::u16string, Local> m_local;
    uint64_t m_nextLogin = 0;
    std::map<std::u16string, std::string> m_elsewhere;  // user -> instance
    BusBudget m_budget;
    std::set<std::u16string> m_throttled;  // told in the log once until they send less
    int m_ticks = 0;
};

}  // namespace pondrel::server
