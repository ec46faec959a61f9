// Mail and chat of ServerProtocol. A mail is kept in the store from its arrival until its
// recipient read it, sent again at each of his log-ins until he acknowledged it; reports and
// receipts for a user who is offline wait for his next log-in.

#include <algorithm>

#include "platform/Text.h"
#include "server/ServerLog.h"
#include "server/ServerProtocol.h"
#include "sync/FrameKind.h"
#include "sync/WireFormat.h"
#include "sync/WireNames.h"

namespace pondrel::server {

namespace {

constexpr size_t kMaxMailChars = 2000;
constexpr size_t kMaxChatChars = 2000;

std::u16string Report(char16_t result, std::u16string_view code, std::u16string_view stamp) {
    std::u16string item(1, result);
    item += kCodeSep;
    item += code;
    if (!stamp.empty()) item += u"[" + std::u16string(stamp) + u"]";
    item += kItemSep;
    return CodeFrame(u'C', item);
}

}  // namespace

void ServerProtocol::SendOrKeep(const std::u16string& from, std::u16string_view user,
                                std::u16string_view code, const std::u16string& frame) {
    if (ClientLink* link = LinkOf(user)) {
        link->SendFrame(frame);
    } else if (!m_bus->SendTo(from, std::u16string(user), std::u16string(code), frame, true)) {
        m_store.QueueNote(user, code, frame, Now());
    }
}

void ServerProtocol::DeliverWaiting(ClientLink& link) {
    m_backlog[link.Id()] = 0;
    SendBacklog(link);
}

void ServerProtocol::SendBacklog(ClientLink& link) {
    // The waiting mail goes out as the program reads it (OnWritten), a batch at a time, so that
    // a long backlog never fills what may wait for the connection; then the notes.
    const uint64_t id = link.Id();
    while (link.IsOpen() && link.PendingWriteBytes() < kBacklogLowWater) {
        auto next = m_backlog.find(id);
        if (next == m_backlog.end()) return;
        std::vector<QueuedMail> mail =
            m_store.UndeliveredMail(link.User(), next->second, kBacklogBatch);
        if (!mail.empty()) next->second = mail.back().id;
        for (const QueuedMail& one : mail) link.SendFrame(one.frame);
        if (mail.size() == kBacklogBatch) continue;
        m_backlog.erase(id);
        if (!link.IsOpen()) return;
        std::vector<WaitingNote> notes = m_store.WaitingNotes(link.User());
        if (notes.empty()) return;
        for (const WaitingNote& note : notes) link.SendFrame(note.frame);
        // Forgotten once the program answered the keep-alive behind them; the program confirms
        // each delivery report too.
        m_sentNotes[id] = SentNotes{notes.back().id, link.SendKeepAlive()};
        return;
    }
}

void ServerProtocol::RelayMail(ClientLink& link, std::u16string_view frame) {
    // text "§" date "-" time "¦" code "¢" recipient "¢"
    size_t textEnd = frame.find(kTextEnd);
    std::u16string_view text = frame.substr(0, textEnd);
    size_t codeMark = frame.find(kCodeSep);
    if (textEnd == std::u16string_view::npos || codeMark == std::u16string_view::npos ||
        codeMark < textEnd || text.find_first_of(u"\u00A2|\u00A6#") != std::u16string_view::npos) {
        Refuse(link, frame, "a badly formed mail");
        return;
    }
    std::u16string_view stamp = frame.substr(textEnd + 1, codeMark - textEnd - 1);
    std::vector<std::u16string> fields = Split(frame.substr(codeMark + 1), kFieldSep);
    if (fields.size() < 2 || fields[0].empty()) {
        Refuse(link, frame, "a mail without its code or recipient");
        return;
    }
    const std::u16string& code = fields[0];
    const std::u16string& recipient = fields[1];
    if (!IsMessageCode(code)) {
        // Its acknowledgements could never be matched: it would come back at every log-in.
        Refuse(link, frame, "a mail code that is not digits|digits");
        link.SendFrame(Report(u'L', code, {}));
        return;
    }
    size_t bar = code.find(kNameSep);
    if (ParseInt(code.substr(0, bar)) != static_cast<int>(text.size()) ||
        text.size() > kMaxMailChars) {
        link.SendFrame(Report(u'L', code, {}));  // damaged on its way (or too long)
        return;
    }
    if (!IsValidUserName(recipient) || !m_store.PasswordHash(recipient)) {
        m_log.Line(link.LogName() + ": mail for an unknown user " + LogText(recipient));
        link.SendFrame(Report(u'E', code, {}));
        Tell(link, IsValidUserName(recipient)
                       ? u"The server knows no user named " + recipient + u": mail not delivered"
                       : std::u16string(u"The server knows no such user: mail not delivered"));
        return;
    }
    const bool again = m_store.IsUndelivered(recipient, link.User(), code);
    if (!again && m_store.UndeliveredCount(recipient) >= kMaxWaitingMail) {
        m_log.Line(link.LogName() + ": mail for " + LogText(recipient) +
                   " refused: too much mail waits for this user");
        link.SendFrame(Report(u'E', code, {}));
        Tell(link, u"Too many mails wait for " + recipient + u" on the server: mail not kept");
        return;
    }
    // As the recipient gets it: the sender's name in the recipient's place.
    std::u16string forwarded(frame.substr(0, codeMark + 1));
    forwarded += code;
    forwarded += kFieldSep;
    forwarded += link.User();
    forwarded += kFieldSep;
    RunChange(
        link,
        [recipient, sender = link.User(), code, forwarded, when = Now()](ServerStore& store) {
            return store.KeepMail(recipient, sender, code, forwarded, when);
        },
        [this, recipient, sender = link.User(), logName = link.LogName(), code, forwarded, again,
         stamp = std::u16string(stamp)](StoreResult kept, ClientLink* to) {
            if (kept == StoreResult::Failed) {
                if (to) to->SendFrame(Report(u'E', code, {}));
                return;
            }
            // Sent again: passed on again only while its recipient has not acknowledged it.
            if (kept == StoreResult::Refused && !again) return;
            // Not passed on: kept for his next log-in, which the delivery report says.
            if (!PassOn(sender, recipient, forwarded) && to) {
                to->SendFrame(Report(u'S', code, stamp));
            }
            m_log.Line(logName + ": mail for " + LogText(recipient) +
                       (kept == StoreResult::Refused ? " (sent again)" : ""));
        });
}

void ServerProtocol::Acknowledge(ClientLink& link, std::u16string_view payload) {
    for (const std::u16string& item : Split(payload, kItemSep)) {
        if (item.size() < 3) continue;
        const char16_t result = item[0];
        if (result != u'S' && result != u'L' && result != u'O') continue;
        size_t bracket = item.find(u'[');
        std::u16string code =
            item.substr(2, bracket == std::u16string::npos ? std::u16string::npos : bracket - 2);
        std::u16string stamp;
        if (bracket != std::u16string::npos) {
            size_t close = item.find(u']', bracket);
            stamp = item.substr(bracket + 1, close == std::u16string::npos ? std::u16string::npos
                                                                           : close - bracket - 1);
        }
        if (result == u'O') {
            // The sender saw his report: it need not wait for him any longer.
            m_store.ForgetReport(link.User(), code);
            continue;
        }
        std::optional<std::u16string> sender = m_store.MarkDelivered(link.User(), code, stamp);
        if (!sender) continue;
        SendOrKeep(link.User(), *sender, code,
                   result == u'S' ? Report(u'O', code, stamp) : Report(u'E', code, {}));
    }
}

void ServerProtocol::ReadReceipt(ClientLink& link, std::u16string_view payload) {
    // "¦" code "¢" read date "-" time
    if (payload.empty() || payload[0] != kCodeSep) return;
    size_t sep = payload.find(kFieldSep);
    if (sep == std::u16string_view::npos) return;
    std::u16string code(payload.substr(1, sep - 1));
    std::u16string_view read = payload.substr(sep + 1);
    std::optional<DeliveredMail> mail = m_store.TakeDelivered(link.User(), code);
    if (!mail) return;
    std::u16string receipt(1, kCodeSep);
    receipt += code;
    receipt += kFieldSep;
    receipt += read.substr(0, read.find(kFieldSep));
    receipt += kFieldSep;
    receipt += mail->reception;
    receipt += kItemSep;
    SendOrKeep(link.User(), mail->sender, {}, CodeFrame(u'R', receipt));
}

void ServerProtocol::Chat(ClientLink& link, std::u16string_view line) {
    // The program sends "<name> : text", after a line break when its chat area is not empty.
    // The server puts the sender's own name there and keeps the text on one line, so that no
    // line can pass for another user's.
    size_t start = line.find_first_not_of(u"\r\n");
    std::u16string_view text = start == std::u16string_view::npos ? u"" : line.substr(start);
    std::u16string prefix = u"<" + link.User() + u"> : ";
    if (text.starts_with(prefix)) text.remove_prefix(prefix.size());
    std::u16string body(text.substr(0, kMaxChatChars));
    for (char16_t& c : body) {
        if (c == u'\r' || c == u'\n') c = u' ';
    }
    std::u16string frame = CodeFrame(u'A', (start > 0 ? u"\r\n" : u"") + prefix + body);
    auto online = m_online;
    for (const auto& [user, other] : online) {
        if (other != &link && LinkOf(user) == other) other->SendFrame(frame);
    }
    m_bus->Chat(link.User(), frame);
}

}  // namespace pondrel::server
