#pragma once

// The network side of the server: accepts connections on its address and port and runs them as
// ServerSessions on the thread that runs the io_context; their frames go to the ServerProtocol.
// Passwords are checked on a small pool of threads of their own.

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include <asio/io_context.hpp>
#include <asio/ip/tcp.hpp>
#include <asio/ssl/context.hpp>
#include <asio/steady_timer.hpp>
#include <asio/thread_pool.hpp>

#include "server/ClientLink.h"
#include "server/ServerOptions.h"
#include "server/RecentLogins.h"
#include "server/ServerProtocol.h"

namespace pondrel::server {

class ServerLog;
class ServerSession;
class ServerStore;

class SyncServer final : private PasswordChecker {
public:
    static constexpr int kListDelayMs = 200;
    // Every so many seconds the memory freed meanwhile goes back to the system.
    static constexpr int kGiveBackTicks = 5;

    // Every reference must outlive the server.
    SyncServer(asio::io_context& io, ServerStore& store, ServerLog& log, ServerOptions options);
    ~SyncServer() override;
    SyncServer(const SyncServer&) = delete;
    SyncServer& operator=(const SyncServer&) = delete;

    // Binds and starts accepting; false with `error` when the address cannot be used.
    bool Listen(std::string& error);
    asio::ip::tcp::endpoint Endpoint() const;
    // Stops accepting and closes every connection.
    void Stop();

    const ServerOptions& Options() const { return m_options; }
    ServerProtocol& Protocol() { return m_protocol; }
    // Null when connections are plain.
    asio::ssl::context* Tls() { return m_tls.get(); }
    // From a session that ends.
    void Forget(uint64_t sessionId);

private:
    void Accept();
    void OnAccepted(asio::ip::tcp::socket socket);
    // Makes room for a new connection from `address`: false when every connection that counts
    // against it is logged in.
    bool MakeRoom(const std::string& address);
    void ArmTick();
    void Check(std::string hash, std::u16string password, std::function<void(bool)> done) override;
    bool Recent(const std::string& hash, std::u16string_view password) override;
    void StillOnline(const std::string& hash) override;

    asio::io_context& m_io;
    ServerLog& m_log;
    ServerOptions m_options;
    ServerProtocol m_protocol;
    asio::ip::tcp::acceptor m_acceptor;
    std::unique_ptr<asio::ssl::context> m_tls;  // when connections are encrypted
    uint64_t m_nextId = 1;
    std::map<uint64_t, std::shared_ptr<ServerSession>> m_sessions;
    std::string m_unknownUserHash;  // checked for unknown users, so that they take as long
    // Passwords checked lately: a user who logs in again soon (a reconnection) costs no new
    // Argon2 check.
    RecentLogins m_recent;
    asio::steady_timer m_broadcast;
    asio::steady_timer m_acceptRetry;  // after running out of file descriptors
    bool m_acceptFailing = false;
    asio::steady_timer m_tick;
    int m_ticks = 0;
    asio::thread_pool m_verifiers;  // last: joined first
};

}  // namespace pondrel::server
