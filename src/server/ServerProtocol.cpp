#include "server/ServerProtocol.h"

#include <algorithm>
#include <ctime>
#include <utility>

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
constexpr size_t kMaxCodePartDigits = 15;
constexpr int kSummaryTicks = 60;
using Clock = LoginThrottle::Clock;

bool AllDigits(std::u16string_view text) {
    if (text.empty() || text.size() > kMaxCodePartDigits) return false;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') return false;
    }
    return true;
}

}  // namespace

bool IsMessageCode(std::u16string_view code) {
    size_t bar = code.find(u'|');
    return bar != std::u16string_view::npos && AllDigits(code.substr(0, bar)) &&
           AllDigits(code.substr(bar + 1));
}

ServerProtocol::ServerProtocol(ServerStore& store, ServerLog& log, const ServerOptions& options,
                               PasswordChecker& passwords)
    : m_store(store),
      m_log(log),
      m_options(options),
      m_passwords(passwords),
      m_adminChanges(store.AdminChanges()) {}

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
    std::erase_if(m_checks, [&](const PendingCheck& check) { return check.linkId == link.Id(); });
    m_loginHash.erase(link.Id());
    m_backlog.erase(link.Id());
    m_sentNotes.erase(link.Id());
    m_keepAliveAnswers.erase(link.Id());
    m_waitingFrames.erase(link.Id());  // its change, if any, ends without it
    auto it = m_online.find(link.User());
    if (it != m_online.end() && it->second == &link) {
        m_online.erase(it);
        m_bus->LoggedOut(link.User());
        UsersChanged();
    }
    m_usersVersionSent.erase(link.Id());
}

ClientLink* ServerProtocol::LinkOf(std::u16string_view user) {
    auto it = m_online.find(std::u16string(user));
    return it == m_online.end() ? nullptr : it->second;
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
            if (!WaitsForChange(link, frame)) Handle(link, frame);
            break;
        default:
            break;
    }
}

void ServerProtocol::Login(ClientLink& link, std::u16string_view payload) {
    std::vector<std::u16string> parts = Split(payload, u'|');
    std::u16string user = parts.size() >= 3 ? parts[1] : u"";
    std::u16string password = parts.size() >= 3 ? parts[2] : u"";
    link.SetVerifying();
    std::string address = link.Address();
    // A full queue refuses at once, without reading the store, whoever did not log in lately: a
    // wave of log-ins trying again costs no look-ups.
    const bool addressFull = ChecksFrom(address) >= m_options.maxChecksPerAddress;
    if ((addressFull || m_checks.size() >= kMaxChecksWaiting) && m_passedLately.count(user) == 0) {
        link.Close(addressFull ? "refused: too many log-ins waiting from this address"
                               : "refused: too many log-ins waiting");
        return;
    }
    std::optional<std::string> hash;
    if (IsValidUserName(user)) hash = m_store.PasswordHash(user);
    bool known = hash.has_value();
    // A password that matched lately costs no check: it skips the queue (a ward reconnecting
    // after a network cut), but not the throttle.
    bool recent = known && m_passwords.Recent(*hash, password);
    // Checks cost time and memory: a bounded number wait, few of them from one address.
    if (!recent && ChecksFrom(address) >= m_options.maxChecksPerAddress) {
        link.Close("refused: too many log-ins waiting from this address");
        return;
    }
    if (!recent && m_checks.size() >= kMaxChecksWaiting) {
        link.Close("refused: too many log-ins waiting");
        return;
    }
    Clock::time_point now = Clock::now();
    // The connection must be logged in within its log-in time, waiting included.
    Clock::time_point deadline =
        now + std::chrono::seconds(m_options.loginSeconds) - std::chrono::seconds(2);
    LoginThrottle::Decision decision = m_throttle.Admit(user, address, now, deadline);
    if (decision.refused) {
        m_throttle.CountQuietFailure(known ? user : u"?", address);
        RefuseLogin(link,
                    decision.lockedOut
                        ? u"Too many failed log-ins from this device: try again in 15 minutes"
                        : u"Too many failed log-ins for this user: try again later",
                    decision.lockedOut ? "closed: address locked out after failed log-ins"
                                       : "closed: too many failed log-ins for this user");
        return;
    }
    if (recent && decision.start <= now) {
        std::fill(password.begin(), password.end(), u'\0');
        FinishLogin(link.Id(), user, address, known, *hash, true);
        return;
    }
    if (m_checks.size() >= kMaxChecksWaiting) {  // a remembered one that must wait its slot
        link.Close("refused: too many log-ins waiting");
        return;
    }
    m_checks.push_back({link.Id(), std::move(address), std::move(user), known,
                        known ? std::move(*hash) : std::string(), std::move(password),
                        decision.start});
    RunChecks();
}

size_t ServerProtocol::ChecksFrom(const std::string& address) const {
    size_t count = 0;
    for (const PendingCheck& check : m_checks) count += check.address == address;
    for (const auto& [id, from] : m_checking) count += from == address;
    return count;
}

void ServerProtocol::RunChecks() {
    Clock::time_point now = Clock::now();
    Clock::time_point earliest = Clock::time_point::max();
    for (;;) {
        if (m_checking.size() >= kMaxChecksRunning) return;  // a check that ends runs this again
        auto next = m_checks.end();
        earliest = Clock::time_point::max();
        for (auto it = m_checks.begin(); it != m_checks.end();) {
            auto link = m_links.find(it->linkId);
            if (link == m_links.end() || link->second->GetState() != ClientLink::State::Verifying) {
                it = m_checks.erase(it);  // its connection went: nobody waits for it
                continue;
            }
            // The first check due, from an address with none running if there is one: a flood
            // from one address does not hold up the others.
            if (m_timer && it->start > now) {
                earliest = std::min(earliest, it->start);
            } else {
                if (next == m_checks.end()) next = it;
                const std::string& address = it->address;
                if (std::none_of(m_checking.begin(), m_checking.end(),
                                 [&](const auto& running) { return running.second == address; })) {
                    next = it;
                    break;
                }
            }
            ++it;
        }
        if (next == m_checks.end()) break;
        PendingCheck check = std::move(*next);
        m_checks.erase(next);
        m_checking[check.linkId] = check.address;
        uint64_t id = check.linkId;
        std::string hash = check.hash;
        std::u16string password = std::move(check.password);
        m_passwords.Check(
            std::move(hash), std::move(password),
            [this, id, user = std::move(check.user), address = std::move(check.address),
             known = check.known, hash = std::move(check.hash)](bool accepted) {
                m_checking.erase(id);
                FinishLogin(id, user, address, known, hash, accepted);
                RunChecks();
            });
    }
    if (earliest != Clock::time_point::max() && m_timer && !m_wakeArmed) {
        m_wakeArmed = true;
        auto wait = std::chrono::ceil<std::chrono::milliseconds>(earliest - now);
        m_timer(wait, [this] {
            m_wakeArmed = false;
            RunChecks();
        });
    }
}

void ServerProtocol::RefuseLogin(ClientLink& link, std::u16string_view notice,
                                 std::string_view why) {
    if (!notice.empty()) Tell(link, std::u16string(notice));
    link.SendFrame(CodeFrame(u'P'));
    link.CloseAfterSending(why);
}

void ServerProtocol::FinishLogin(uint64_t linkId, const std::u16string& user,
                                 const std::string& address, bool known, const std::string& hash,
                                 bool accepted) {
    // A password changed or an account removed while it was checked.
    if (accepted && m_store.PasswordHash(user) != hash) accepted = false;
    if (!accepted && m_throttle.Failed(user, address, Clock::now())) {
        m_log.Line("address " + address + " locked out for 15 minutes after " +
                   std::to_string(LoginThrottle::kLockOutFailures) + " refused log-ins");
    }
    auto found = m_links.find(linkId);
    if (found == m_links.end()) return;  // gone meanwhile
    ClientLink& link = *found->second;
    if (link.GetState() != ClientLink::State::Verifying) return;
    if (!accepted) {
        // Named only when the account exists: a mistyped identification may carry the password
        // where the name should be.
        if (m_throttle.LogEachFailure(address)) {
            m_log.Line(link.LogName() + ": refused log-in for " +
                       (known ? LogText(user) : std::string("an unknown user")));
        } else {
            m_throttle.CountQuietFailure(known ? user : u"?", address);
        }
        RefuseLogin(link, {}, "closed after a refused log-in");
        return;
    }
    m_throttle.Succeeded(user, address);
    if (m_passedLately.size() >= kMaxPassedLately) m_passedLately.clear();
    m_passedLately.insert(user);
    if (ClientLink* earlier = LinkOf(user)) {
        // The same user again (a restarted device): the new connection wins.
        m_online.erase(user);
        earlier->SendFrame(CodeFrame(u'L'));
        earlier->CloseAfterSending("replaced by a new log-in of the same user");
    }
    link.SetOnline(user);
    m_online[user] = &link;
    m_bus->LoggedIn(user);
    m_loginHash[linkId] = hash;
    m_log.Line(link.LogName() + ": logged in");
    // He gets the list at once, the others with the next gathered lists: a wave of log-ins
    // does not send everybody a list per log-in.
    UsersChanged(&link);
    DeliverWaiting(link);
    for (std::u16string& frame : link.TakeHeldFrames()) {
        if (!link.IsOpen()) break;
        if (!WaitsForChange(link, frame)) Handle(link, frame);
    }
}

void ServerProtocol::OnTick() {
    m_bus->Tick();
    int64_t changes = m_store.AdminChanges();
    // A store out of reach (a lost database) says nothing about the accounts: its users stay.
    if (changes >= 0 && changes != m_adminChanges) {
        m_adminChanges = changes;
        CheckAccounts();
        FilesChanged();  // a file may have been deleted
    } else if (m_store.ChangedElsewhere()) {
        FilesChanged();  // through another server on the same database
    }
    if (++m_ticks % kSummaryTicks == 0) {
        for (const auto& [id, hash] : m_loginHash) m_passwords.StillOnline(hash);
        LoginThrottle::Summary summary = m_throttle.TakeSummary();
        if (summary.failures > 0) {
            std::string line =
                std::to_string(summary.failures) + " more refused log-ins in the last minute, from";
            for (const std::string& address : summary.addresses) line += " " + address;
            line += "; users";
            for (const std::u16string& user : summary.users) line += " " + LogText(user);
            m_log.Line(line);
        }
    }
}

void ServerProtocol::CheckAccounts() {
    auto online = m_online;
    for (const auto& [user, link] : online) {
        std::optional<std::string> hash = m_store.PasswordHash(user);
        auto used = m_loginHash.find(link->Id());
        if (hash && used != m_loginHash.end() && *hash == used->second) continue;
        m_log.Line(link->LogName() + (hash ? ": password changed on the server, disconnected"
                                           : ": account removed from the server, disconnected"));
        Tell(*link, hash ? u"Your password was changed on the server: connect with the new one"
                         : u"Your account was removed from the server");
        m_online.erase(user);
        m_bus->LoggedOut(user);
        link->SendFrame(CodeFrame(u'L'));
        link->CloseAfterSending("account changed");
    }
    if (online.size() != m_online.size()) UsersChanged();
}

void ServerProtocol::OnWritten(ClientLink& link) {
    if (m_backlog.count(link.Id()) > 0) SendBacklog(link);
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
        case u'Y': {
            // Answers come in order: the one to the keep-alive sent after the notes of the
            // log-in says the program has them all.
            uint64_t answered = ++m_keepAliveAnswers[link.Id()];
            auto sent = m_sentNotes.find(link.Id());
            if (sent != m_sentNotes.end() && answered >= sent->second.keepAlive) {
                m_store.ForgetNotes(link.User(), sent->second.upToId);
                m_sentNotes.erase(sent);
            }
            break;
        }
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

std::u16string ServerProtocol::NoticeFrame(const std::u16string& text) {
    return CodeFrame(u'J', text + u"\u00A23000\u00A21\u00A2");
}

void ServerProtocol::Tell(ClientLink& link, const std::u16string& text) {
    link.SendFrame(NoticeFrame(text));
}

void ServerProtocol::SendActiveList(ClientLink& link) {
    if (!m_activeList) {
        if (!m_activeFiles) m_activeFiles = m_store.ActiveFiles();
        const std::vector<FileEntry>& files = *m_activeFiles;
        // The program puts each record on top of its list: the last one sent is shown first.
        // A list never passes kMaxListChars (the quotas keep it far below).
        std::u16string payload;
        size_t left = 0;
        for (auto it = files.rbegin(); it != files.rend(); ++it) {
            size_t size =
                it->name.size() + it->holder.size() + it->date.size() + it->time.size() + 4;
            if (payload.size() + size > kMaxListChars) {
                left = static_cast<size_t>(files.rend() - it);
                break;
            }
            for (const std::u16string* field : {&it->name, &it->holder, &it->date, &it->time}) {
                payload += *field;
                payload += kFieldSep;
            }
        }
        if (left > 0) m_log.Line(std::to_string(left) + " active files left out of the list");
        m_activeList = CodeFrame(u'N', payload);
        // Encoded once for all the clients that get it until the next change.
        m_activeListWire = std::make_shared<const std::string>(WireFrame(*m_activeList));
    }
    m_listVersionSent[link.Id()] = m_listVersion;
    link.SendWire(*m_activeList, m_activeListWire);
}

void ServerProtocol::SendArchiveList(ClientLink& link) {
    std::vector<std::u16string> files = m_store.ArchivedFiles();
    std::u16string payload;
    for (size_t i = 0; i < files.size() && i < kMaxArchiveEntries; ++i) {
        if (payload.size() + files[i].size() + 1 > kMaxListChars) break;
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
    if (!entry || entry->holder != holder || (!LinkOf(holder) && !m_bus->OnlineElsewhere(holder))) {
        m_log.Line(link.LogName() + ": release request not passed on (" + LogText(file) +
                   " is not held by an online " + LogText(holder) + ")");
        return;
    }
    m_log.Line(link.LogName() + ": asks " + LogText(holder) + " to release " + LogText(file));
    PassOn(link.User(), holder, CodeFrame(u'V', entry->name));
}

void ServerProtocol::ForwardWake(ClientLink& link, std::u16string_view payload) {
    if (payload.substr(0, 2) != u"1a") return;  // "1b" answers a wake: nothing to do
    size_t sep = payload.find(kFieldSep);
    if (sep == std::u16string_view::npos) return;
    if (!PassOn(link.User(), std::u16string(payload.substr(sep + 1)), CodeFrame(u'Z', u"1a"))) {
        Refuse(link, payload, "wake for a user who is not online");
    }
}

}  // namespace pondrel::server
