#pragma once

// What the server answers to the frames of its clients: the log-in, the list of users online,
// the keep-alive answers, the file lists, release requests and wakes. Knows nothing of sockets:
// it sees each connection as a ClientLink, and runs on one thread (the network thread).

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

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
    void SendActiveList(ClientLink& link);
    void SendArchiveList(ClientLink& link);
    void ForwardRelease(ClientLink& link, std::u16string_view payload);
    void ForwardWake(ClientLink& link, std::u16string_view payload);
    void Refuse(ClientLink& link, std::u16string_view frame, std::string_view why);

    ServerStore& m_store;
    ServerLog& m_log;
    const ServerOptions& m_options;
    PasswordChecker& m_passwords;

    std::map<uint64_t, ClientLink*> m_links;
    std::map<std::u16string, ClientLink*> m_online;
};

}  // namespace pondrel::server
