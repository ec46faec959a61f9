#pragma once

// What the server answers to the frames of its clients: the log-in, the list of users online,
// the keep-alive answers, the file lists, release requests and wakes, the file operations (upload,
// import, locks, archive, activate) with a new list to everybody after each change, mail with its
// reports and receipts (kept for users who are offline), and chat. Knows nothing of sockets: it
// sees each connection as a ClientLink, and runs on one thread (the network thread).

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "server/ClientLink.h"
#include "server/ServerStore.h"

namespace pondrel::server {

class ServerLog;
struct ServerOptions;

class ServerProtocol {
public:
    // Every reference must outlive the protocol.
    ServerProtocol(ServerStore& store, ServerLog& log, const ServerOptions& options,
                   PasswordChecker& passwords);
    ServerProtocol(const ServerProtocol&) = delete;
    ServerProtocol& operator=(const ServerProtocol&) = delete;

    // How the lists sent after file changes are gathered: `later` runs its function a moment
    // later (once for all the changes meanwhile). Without it they go out at once.
    void SetDeferral(std::function<void(std::function<void()>)> later) {
        m_later = std::move(later);
    }

    // A connection opened; it must stay valid until OnClosed.
    void OnOpened(ClientLink& link);
    void OnFrame(ClientLink& link, std::u16string frame);
    void OnClosed(ClientLink& link, std::string_view reason);

    // The connection of a user who is online, or null.
    ClientLink* LinkOf(std::u16string_view user);
    size_t OnlineCount() const { return m_online.size(); }
    // "#S!#" with the users online, to every one of them.
    void BroadcastUsers();
    // The date and time now, for lists and the audit trail.
    static Stamp Now();

private:
    void Login(ClientLink& link, std::u16string_view payload);
    void FinishLogin(uint64_t linkId, const std::u16string& user, bool accepted);
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

    // Files (ServerProtocolFiles.cpp).
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
    void SendOrKeep(std::u16string_view user, const std::u16string& frame);
    void DeliverWaiting(ClientLink& link);

    ServerStore& m_store;
    ServerLog& m_log;
    const ServerOptions& m_options;
    PasswordChecker& m_passwords;

    std::map<uint64_t, ClientLink*> m_links;
    std::map<std::u16string, ClientLink*> m_online;
    // The active files as the store lists them, read once and then kept up to date file by file;
    // none until needed or after a change that adds or removes one.
    std::optional<std::vector<FileEntry>> m_activeFiles;
    std::optional<std::u16string> m_activeList;  // the last "#N!#" built, until a file changes
    // Counts the changes of the active list; by connection, the count when it last got the list.
    // The gathered lists after changes skip a client that already has the current one.
    uint64_t m_listVersion = 0;
    std::map<uint64_t, uint64_t> m_listVersionSent;
    std::function<void(std::function<void()>)> m_later;
    bool m_listsDue = false;
};

}  // namespace pondrel::server
