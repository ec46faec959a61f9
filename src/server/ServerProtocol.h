#pragma once

// What the server answers to the frames of its clients: the log-in, the list of users online,
// the keep-alive answers, the file lists, release requests and wakes, the file operations (upload,
// import, locks, archive, activate) with a new list to everybody after each change, mail with its
// reports and receipts (kept for users who are offline), and chat. Knows nothing of sockets: it
// sees each connection as a ClientLink, and runs on one thread (the network thread).

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "server/ChangeRunner.h"
#include "server/ClientLink.h"
#include "server/InstanceBus.h"
#include "server/LoginThrottle.h"
#include "server/ServerStore.h"

namespace pondrel::server {

class ServerLog;
struct ServerOptions;

// A message code as the program makes them: decimal digits, "|", decimal digits.
bool IsMessageCode(std::u16string_view code);

class ServerProtocol final : private InstanceBus::Listener {
public:
    // Every reference must outlive the protocol.
    ServerProtocol(ServerStore& store, ServerLog& log, const ServerOptions& options,
                   PasswordChecker& passwords);
    ServerProtocol(const ServerProtocol&) = delete;
    ServerProtocol& operator=(const ServerProtocol&) = delete;

    // How the lists sent after changes (files, users online) are gathered: `later` runs its
    // function a moment later (once for all the changes meanwhile). Without it they go out at once.
    void SetDeferral(std::function<void(std::function<void()>)> later) {
        m_later = std::move(later);
    }
    // How a function runs after a delay (password checks that must wait their slot). Without
    // it they run at once.
    using Timer = std::function<void(std::chrono::milliseconds, std::function<void()>)>;
    void SetTimer(Timer timer) { m_timer = std::move(timer); }
    // The other instances that share the store (ServerProtocolCluster.cpp); none by default. The
    // bus must outlive the protocol.
    void SetBus(InstanceBus& bus);
    // Where the store's changes run (a pool of connections of their own); without it on this
    // thread, with the store given above. The runner must outlive the protocol.
    void SetChanges(ChangeRunner& runner) { m_changes = &runner; }

    // Password checks running at once and waiting in all (those of one address are bounded by
    // ServerOptions::maxChecksPerAddress). An address with no check running goes first.
    static constexpr size_t kMaxChecksRunning = 4;
    static constexpr size_t kMaxChecksWaiting = 200;
    // Undelivered mail kept per recipient; mail sent at a time to a client that logs in, the rest
    // as it reads them.
    static constexpr int64_t kMaxWaitingMail = 1000;
    static constexpr size_t kBacklogBatch = 50;
    static constexpr size_t kBacklogLowWater = 256u << 10;
    // Active files in all, and active files one user sent first: the active-file list stays
    // well below the largest frame.
    static constexpr int64_t kMaxActiveFiles = 3000;
    static constexpr int64_t kMaxFilesPerUser = 500;
    static constexpr size_t kMaxListChars = 900'000;
    // The gathered list of users online goes out at most every 2 ms per user online (at most
    // every 3 s) once 100 are online; the newcomer always gets his at once.
    static constexpr size_t kUsersListSpacedFrom = 100;
    static constexpr std::chrono::milliseconds kUsersListSpacingPerUser{2};
    static constexpr std::chrono::milliseconds kUsersListSpacingMost{3000};
    static std::chrono::milliseconds UsersListSpacing(size_t online);

    // A connection opened; it must stay valid until OnClosed.
    void OnOpened(ClientLink& link);
    void OnFrame(ClientLink& link, std::u16string frame);
    void OnClosed(ClientLink& link, std::string_view reason);
    // The connection wrote everything it had queued.
    void OnWritten(ClientLink& link);
    // Every second: account changes made beside the server, the summary of refused log-ins.
    void OnTick();

    // The connection of a user who is online, or null.
    ClientLink* LinkOf(std::u16string_view user);
    size_t OnlineCount() const { return m_online.size(); }
    // The date and time now, for lists and the audit trail.
    static Stamp Now();

private:
    // From the other instances (ServerProtocolCluster.cpp).
    void OnBusFrame(const std::u16string& user, const std::u16string& code,
                    const std::u16string& frame, bool keep) override;
    void OnBusChat(const std::u16string& frame) override;
    void OnBusUsers() override;
    void OnBusReplaced(const std::u16string& user) override;
    // The users online changed: everybody online gets "#S!#" with the new list, gathered like
    // the lists after file changes; `first` (one who just logged in) gets it at once.
    void UsersChanged(ClientLink* first = nullptr);
    // The lists due go out now, or a moment later (once for all the changes meanwhile).
    void ListsDue();
    void SendDueLists();
    // The users online here and at the other instances, each followed by "|".
    std::u16string UserNames();
    // `frame` to `user` wherever he is online; false when he is online nowhere (or the frame
    // could not pass to his instance).
    bool PassOn(const std::u16string& from, const std::u16string& user,
                const std::u16string& frame);

    struct PendingCheck {
        uint64_t linkId;
        std::string address;
        std::u16string user;
        bool known;
        std::string hash;
        std::u16string password;
        LoginThrottle::Clock::time_point start;
    };
    void Login(ClientLink& link, std::u16string_view payload);
    size_t ChecksFrom(const std::string& address) const;
    void RunChecks();
    void FinishLogin(uint64_t linkId, const std::u16string& user, const std::string& address,
                     bool known, const std::string& hash, bool accepted);
    void RefuseLogin(ClientLink& link, std::u16string_view notice, std::string_view why);
    void CheckAccounts();
    void Handle(ClientLink& link, std::u16string_view frame);
    void HandleCode(ClientLink& link, char16_t code, std::u16string_view payload,
                    std::u16string_view frame);
    void SendActiveList(ClientLink& link);
    void SendArchiveList(ClientLink& link);
    void ForwardRelease(ClientLink& link, std::u16string_view payload);
    void ForwardWake(ClientLink& link, std::u16string_view payload);
    void Refuse(ClientLink& link, std::u16string_view frame, std::string_view why);
    // "#J!#": a notice on the client's screen.
    void Tell(ClientLink& link, const std::u16string& text);
    static std::u16string NoticeFrame(const std::u16string& text);

    // Files (ServerProtocolFiles.cpp).
    // Runs `change` (one transaction of the store) for `link`: at once, or on the runner of
    // changes while the connection's later frames wait. `done` runs on this thread when it ended,
    // with the link, or null when the connection closed meanwhile.
    using ChangeDone = std::function<void(StoreResult, ClientLink*)>;
    void RunChange(ClientLink& link, ChangeRunner::Change change, ChangeDone done);
    // A frame of a connection whose change is under way waits (bounded); true when it does.
    bool WaitsForChange(ClientLink& link, std::u16string& frame);
    // The change of connection `id` ended: its frames that waited are handled, in order.
    void ChangeEnded(uint64_t id);
    void Upload(ClientLink& link, std::u16string_view payload);
    void SendFile(ClientLink& link, std::u16string_view fileName);
    void LockOrUnlock(ClientLink& link, std::u16string_view payload);
    void ForceUnlock(ClientLink& link, std::u16string_view name);
    void ArchiveOrActivate(ClientLink& link, bool archive, std::u16string_view payload);
    // A file changed: everybody online gets the new list. Only `name` changed when it stays
    // where it was in the list (a lock, an unlock, an upload over it); otherwise none.
    void FilesChanged(std::optional<std::u16string_view> name = std::nullopt);

    // Mail and chat (ServerProtocolMail.cpp).
    void RelayMail(ClientLink& link, std::u16string_view frame);
    void Acknowledge(ClientLink& link, std::u16string_view payload);
    void ReadReceipt(ClientLink& link, std::u16string_view payload);
    void Chat(ClientLink& link, std::u16string_view line);
    // To a user online at once, or kept until his next log-in.
    void SendOrKeep(const std::u16string& from, std::u16string_view user, std::u16string_view code,
                    const std::u16string& frame);
    void DeliverWaiting(ClientLink& link);
    void SendBacklog(ClientLink& link);

    ServerStore& m_store;
    ServerLog& m_log;
    const ServerOptions& m_options;
    PasswordChecker& m_passwords;
    InstanceBus m_alone;  // an instance alone tells nobody
    InstanceBus* m_bus = &m_alone;
    ChangeRunner* m_changes = nullptr;
    // Connections with a change under way, and the frames of theirs that wait for its end.
    std::set<uint64_t> m_changing;
    struct WaitingFrames {
        std::deque<std::u16string> frames;
        size_t chars = 0;
    };
    std::map<uint64_t, WaitingFrames> m_waitingFrames;

    std::map<uint64_t, ClientLink*> m_links;
    std::map<std::u16string, ClientLink*> m_online;
    // The active files as the store lists them, read once and then kept up to date file by file;
    // none until needed or after a change that adds or removes one.
    std::optional<std::vector<FileEntry>> m_activeFiles;
    std::optional<std::u16string> m_activeList;  // the last "#N!#" built, until a file changes
    std::shared_ptr<const std::string> m_activeListWire;  // its bytes, shared by every client
    // Counts the changes of the active list; by connection, the count when it last got the list.
    // The gathered lists after changes skip a client that already has the current one.
    uint64_t m_listVersion = 0;
    std::map<uint64_t, uint64_t> m_listVersionSent;
    // The same for the list of users online.
    uint64_t m_usersVersion = 0;
    std::map<uint64_t, uint64_t> m_usersVersionSent;
    std::function<void(std::function<void()>)> m_later;
    bool m_listsDue = false;  // a sending of the lists is on its way
    bool m_filesDue = false;
    bool m_usersDue = false;
    std::chrono::steady_clock::time_point m_usersNextSend;

    Timer m_timer;
    LoginThrottle m_throttle;
    std::deque<PendingCheck> m_checks;           // waiting, in order of arrival
    std::map<uint64_t, std::string> m_checking;  // running: connection -> address
    bool m_wakeArmed = false;
    // The password hash each online connection logged in with: a new one (or none) in the
    // store ends the connection.
    std::map<uint64_t, std::string> m_loginHash;
    // Users whose log-in passed lately: only they may have a remembered one, which is looked up
    // in the store even when the queue of checks is full.
    static constexpr size_t kMaxPassedLately = 20'000;
    std::set<std::u16string> m_passedLately;
    int64_t m_adminChanges = -1;
    int m_ticks = 0;
    // Mail still to send to a connection that logged in: the last one sent.
    std::map<uint64_t, int64_t> m_backlog;
    // Reports and receipts sent at a log-in, up to this note, forgotten once the program answered
    // the keep-alive sent after them (its number); answers counted by connection.
    struct SentNotes {
        int64_t upToId;
        uint64_t keepAlive;
    };
    std::map<uint64_t, SentNotes> m_sentNotes;
    std::map<uint64_t, uint64_t> m_keepAliveAnswers;
};

}  // namespace pondrel::server
