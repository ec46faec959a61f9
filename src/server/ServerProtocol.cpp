#include "server/ServerProtocol.h"

#include <ctime>

#include "platform/DateTime.h"
#include "platform/Text.h"
#include "server/ServerLog.h"
#include "server/ServerOptions.h"
#include "sync/FrameKind.h"
#include "sync/WireDateTime.h"
#include "sync/WireFormat.h"
#include "sync/WireNames.h"

namespace pondrel::server {

namespace {
constexpr size_t kMaxArchiveEntries = 20'000;
}  // namespace

ServerProtocol::ServerProtocol(ServerStore& store, ServerLog& log, const ServerOptions& options,
                               PasswordChecker& passwords)
    : m_store(store), m_log(log), m_options(options), m_passwords(passwords) {}

Stamp ServerProtocol::Now() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    DateTime when{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                  local.tm_hour,        local.tm_min,     local.tm_sec};
    char iso[32];
    std::strftime(iso, sizeof iso, "%Y-%m-%d %H:%M:%S", &local);
    return Stamp{WireDate(when), WireTime(when), iso};
}

void ServerProtocol::OnOpened(ClientLink& link) {
    m_links[link.Id()] = &link;
    m_log.Line(link.LogName() + ": connected");
    // The client may take up to its server time-out to get the answer to its identification.
    link.SendFrame(CodeFrame(u'O', ToText(m_options.serverTimeoutSeconds)));
}

void ServerProtocol::OnClosed(ClientLink& link, std::string_view reason) {
    m_log.Line(link.LogName() + ": " + std::string(reason));
    m_links.erase(link.Id());
    m_listVersionSent.erase(link.Id());
    auto it = m_online.find(link.User());
    if (it != m_online.end() && it->second == &link) {
        m_online.erase(it);
        BroadcastUsers();
    }
}

ClientLink* ServerProtocol::LinkOf(std::u16string_view user) {
    auto it = m_online.find(std::u16string(user));
    return it == m_online.end() ? nullptr : it->second;
}

void ServerProtocol::BroadcastUsers() {
    std::u16string names;
    for (const auto& [user, link] : m_online) names += user + u"|";
    std::u16string frame = CodeFrame(u'S', names);
    auto online = m_online;  // a send may close a connection
    for (const auto& [user, link] : online) {
        if (LinkOf(user) == link) link->SendFrame(frame);
    }
}

void ServerProtocol::Refuse(ClientLink& link, std::u16string_view frame, std::string_view why) {
    FrameView view = ClassifyFrame(frame);
    std::string what = view.kind == FrameKind::Code
                           ? std::string("code ") + static_cast<char>(view.code ? view.code : '-')
                       : view.kind == FrameKind::File ? "file frame"
                                                      : "mail frame";
    m_log.Line(link.LogName() + ": refused " + what + " (" + std::to_string(frame.size()) +
               " characters): " + std::string(why));
}

void ServerProtocol::OnFrame(ClientLink& link, std::u16string frame) {
    switch (link.GetState()) {
        case ClientLink::State::Identifying: {
            FrameView view = ClassifyFrame(frame);
            if (view.kind == FrameKind::Code && view.code == u'I') {
                Login(link, view.payload);
            } else if (view.kind == FrameKind::Code && view.code == u'L') {
                link.Close("logged out");
            } else {
                Refuse(link, frame, "not logged in");
                link.Close("refused: frames before the log-in");
            }
            break;
        }
        case ClientLink::State::Verifying:
            if (!link.HoldFrame(std::move(frame))) {
                link.Close("refused: too much sent before the log-in was checked");
            }
            break;
        case ClientLink::State::Online:
            Handle(link, frame);
            break;
        default:
            break;
    }
}

void ServerProtocol::Login(ClientLink& link, std::u16string_view payload) {
    std::vector<std::u16string> parts = Split(payload, u'|');
    std::u16string user = parts.size() >= 3 ? parts[1] : u"";
    std::u16string password = parts.size() >= 3 ? parts[2] : u"";
    std::optional<std::string> hash;
    if (IsValidUserName(user)) hash = m_store.PasswordHash(user);
    bool known = hash.has_value();
    link.SetVerifying();
    uint64_t id = link.Id();
    m_passwords.Check(known ? *hash : std::string(), std::move(password),
                      [this, id, user](bool accepted) { FinishLogin(id, user, accepted); });
}

void ServerProtocol::FinishLogin(uint64_t linkId, const std::u16string& user, bool accepted) {
    auto found = m_links.find(linkId);
    if (found == m_links.end()) return;  // gone meanwhile
    ClientLink& link = *found->second;
    if (link.GetState() != ClientLink::State::Verifying) return;
    if (!accepted) {
        m_log.Line(link.LogName() + ": refused log-in for " + LogText(user));
        link.SendFrame(CodeFrame(u'P'));
        link.CloseAfterSending("closed after a refused log-in");
        return;
    }
    if (ClientLink* earlier = LinkOf(user)) {
        // The same user again (a restarted device): the new connection wins.
        m_online.erase(user);
        earlier->SendFrame(CodeFrame(u'L'));
        earlier->CloseAfterSending("replaced by a new log-in of the same user");
    }
    link.SetOnline(user);
    m_online[user] = &link;
    m_log.Line(link.LogName() + ": logged in");
    BroadcastUsers();
    DeliverWaiting(link);
    for (std::u16string& frame : link.TakeHeldFrames()) {
        if (!link.IsOpen()) break;
        Handle(link, frame);
    }
}

void ServerProtocol::Handle(ClientLink& link, std::u16string_view frame) {
    FrameView view = ClassifyFrame(frame);
    switch (view.kind) {
        case FrameKind::File:
            Upload(link, view.payload);
            break;
        case FrameKind::Mail:
            RelayMail(link, frame);
            break;
        case FrameKind::Code:
            HandleCode(link, view.code, view.payload, frame);
            break;
    }
}

void ServerProtocol::HandleCode(ClientLink& link, char16_t code, std::u16string_view payload,
                                std::u16string_view frame) {
    switch (code) {
        case u'Y':
            break;  // answer to a keep-alive: its arrival is what counts
        case u'L':
            link.Close("logged out");
            break;
        case u'W':
        case u'M':
            SendActiveList(link);
            break;
        case u'E':
            SendArchiveList(link);
            break;
        case u'U':
            ForwardRelease(link, payload);
            break;
        case u'Z':
            ForwardWake(link, payload);
            break;
        case u'T':
            SendFile(link, payload);
            break;
        case u'X':
            link.SendFrame(CodeFrame(u'X', u"1"));
            break;
        case u'Q':
            LockOrUnlock(link, payload);
            break;
        case u'F':
            ForceUnlock(link, payload);
            break;
        case u'H':
            ArchiveOrActivate(link, true, payload);
            break;
        case u'G':
            ArchiveOrActivate(link, false, payload);
            break;
        case u'C':
            Acknowledge(link, payload);
            break;
        case u'R':
            ReadReceipt(link, payload);
            break;
        case u'A':
            Chat(link, payload);
            break;
        default:
            Refuse(link, frame, "unknown code");
            break;
    }
}

void ServerProtocol::Tell(ClientLink& link, const std::u16string& text) {
    link.SendFrame(CodeFrame(u'J', text + u"\u00A23000\u00A21\u00A2"));
}

void ServerProtocol::SendActiveList(ClientLink& link) {
    if (!m_activeList) {
        if (!m_activeFiles) m_activeFiles = m_store.ActiveFiles();
        const std::vector<FileEntry>& files = *m_activeFiles;
        // The program puts each record on top of its list: the last one sent is shown first.
        std::u16string payload;
        for (auto it = files.rbegin(); it != files.rend(); ++it) {
            for (const std::u16string* field : {&it->name, &it->holder, &it->date, &it->time}) {
                payload += *field;
                payload += kFieldSep;
            }
        }
        m_activeList = CodeFrame(u'N', payload);
    }
    m_listVersionSent[link.Id()] = m_listVersion;
    link.SendFrame(*m_activeList);
}

void ServerProtocol::SendArchiveList(ClientLink& link) {
    std::vector<std::u16string> files = m_store.ArchivedFiles();
    std::u16string payload;
    for (size_t i = 0; i < files.size() && i < kMaxArchiveEntries; ++i) {
        payload += files[i];
        payload += kFieldSep;
    }
    link.SendFrame(CodeFrame(u'B', payload));
}

void ServerProtocol::ForwardRelease(ClientLink& link, std::u16string_view payload) {
    size_t sep = payload.find(kFieldSep);
    std::u16string holder(payload.substr(0, sep));
    std::u16string file(sep == std::u16string_view::npos ? u"" : payload.substr(sep + 1));
    std::optional<FileEntry> entry = m_store.ActiveFile(file);
    ClientLink* target = LinkOf(holder);
    if (!entry || entry->holder != holder || !target) {
        m_log.Line(link.LogName() + ": release request not passed on (" + LogText(file) +
                   " is not held by an online " + LogText(holder) + ")");
        return;
    }
    m_log.Line(link.LogName() + ": asks " + LogText(holder) + " to release " + LogText(file));
    target->SendFrame(CodeFrame(u'V', entry->name));
}

void ServerProtocol::ForwardWake(ClientLink& link, std::u16string_view payload) {
    if (payload.substr(0, 2) != u"1a") return;  // "1b" answers a wake: nothing to do
    size_t sep = payload.find(kFieldSep);
    if (sep == std::u16string_view::npos) return;
    if (ClientLink* target = LinkOf(payload.substr(sep + 1))) {
        target->SendFrame(CodeFrame(u'Z', u"1a"));
    } else {
        Refuse(link, payload, "wake for a user who is not online");
    }
}

}  // namespace pondrel::server
