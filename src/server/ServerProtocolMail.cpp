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

void ServerProtocol::SendOrKeep(std::u16string_view user, const std::u16string& frame) {
    if (ClientLink* link = LinkOf(user)) {
        link->SendFrame(frame);
    } else {
        m_store.QueueNote(user, frame, Now());
    }
}

void ServerProtocol::DeliverWaiting(ClientLink& link) {
    for (const QueuedMail& mail : m_store.UndeliveredMail(link.User())) {
        link.SendFrame(mail.frame);
    }
    for (const std::u16string& note : m_store.TakeNotes(link.User())) link.SendFrame(note);
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
    size_t bar = code.find(kNameSep);
    if (ParseInt(code.substr(0, bar)) != static_cast<int>(text.size()) ||
        code.substr(0, bar).empty() || text.size() > kMaxMailChars) {
        link.SendFrame(Report(u'L', code, {}));  // damaged on its way (or too long)
        return;
    }
    if (!IsValidUserName(recipient) || !m_store.PasswordHash(recipient)) {
        m_log.Line(link.LogName() + ": mail for an unknown user " + LogText(recipient));
        link.SendFrame(Report(u'E', code, {}));
        return;
    }
    // As the recipient gets it: the sender's name in the recipient's place.
    std::u16string forwarded(frame.substr(0, codeMark + 1));
    forwarded += code;
    forwarded += kFieldSep;
    forwarded += link.User();
    forwarded += kFieldSep;
    StoreResult kept = m_store.KeepMail(recipient, link.User(), code, forwarded, Now());
    if (kept == StoreResult::Failed) {
        link.SendFrame(Report(u'E', code, {}));
        return;
    }
    if (kept == StoreResult::Refused) {
        // Sent again: passed on again only while its recipient has not acknowledged it.
        std::vector<QueuedMail> waiting = m_store.UndeliveredMail(recipient);
        if (std::none_of(waiting.begin(), waiting.end(),
                         [&](const QueuedMail& mail) { return mail.code == code; })) {
            return;
        }
    }
    if (ClientLink* target = LinkOf(recipient)) {
        target->SendFrame(forwarded);  // its acknowledgement brings the delivery report
    } else {
        link.SendFrame(Report(u'S', code, stamp));
    }
    m_log.Line(link.LogName() + ": mail for " + LogText(recipient) +
               (kept == StoreResult::Refused ? " (sent again)" : ""));
}

void ServerProtocol::Acknowledge(ClientLink& link, std::u16string_view payload) {
    for (const std::u16string& item : Split(payload, kItemSep)) {
        if (item.size() < 3) continue;
        const char16_t result = item[0];
        if (result != u'S' && result != u'L') continue;  // "O": the sender saw his report
        size_t bracket = item.find(u'[');
        std::u16string code =
            item.substr(2, bracket == std::u16string::npos ? std::u16string::npos : bracket - 2);
        std::u16string stamp;
        if (bracket != std::u16string::npos) {
            size_t close = item.find(u']', bracket);
            stamp = item.substr(bracket + 1, close == std::u16string::npos ? std::u16string::npos
                                                                           : close - bracket - 1);
        }
        std::optional<std::u16string> sender = m_store.MarkDelivered(link.User(), code, stamp);
        if (!sender) continue;
        SendOrKeep(*sender, result == u'S' ? Report(u'O', code, stamp) : Report(u'E', code, {}));
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
    SendOrKeep(mail->sender, CodeFrame(u'R', receipt));
}

void ServerProtocol::Chat(ClientLink& link, std::u16string_view line) {
    std::u16string frame = CodeFrame(u'A', line.substr(0, kMaxChatChars));
    auto online = m_online;
    for (const auto& [user, other] : online) {
        if (other != &link && LinkOf(user) == other) other->SendFrame(frame);
    }
}

}  // namespace pondrel::server
