#include "sync/MailBoxes.h"

#include <algorithm>

#include "platform/Clock.h"
#include "platform/Text.h"
#include "platform/Timers.h"
#include "platform/UserMessages.h"
#include "sync/Connection.h"
#include "sync/FrameKind.h"
#include "sync/FriendsList.h"
#include "sync/MessageCodes.h"
#include "sync/WireDateTime.h"
#include "sync/WireFormat.h"

namespace pondrel {

namespace {

using M = MailRow;

constexpr std::u16string_view kWaitConnection = u"Wait connection to server";
constexpr std::u16string_view kWaitReply = u"Wait server reply";
constexpr std::u16string_view kWaitReplySent = u"Wait server reply ";  // sent again once
constexpr std::u16string_view kClosedMail = u"Closed mail";
constexpr std::u16string_view kOpenedMail = u"Opened mail";
constexpr std::u16string_view kOpenedOffline = u"Opened mail ";  // receipt not sent yet
constexpr std::u16string_view kNoMailSelected = u"There is no mail selected";

size_t RowChars(const MailRow& row) {
    size_t chars = 0;
    for (const auto& column : row.columns) chars += column.size() + 1;
    return chars;
}

}  // namespace

std::u16string FlatMailText(std::u16string_view text) {
    std::u16string flat = ReplaceAll(text, u"\r\n", u",");
    while (flat.find(u",,") != std::u16string::npos) flat = ReplaceAll(flat, u",,", u",");
    return flat;
}

MailBoxes::MailBoxes(Preferences& preferences, Connection& connection, FriendsList& friends,
                     MessageCodes& codes, Clock& clock, Timers& timers, UserMessages& messages)
    : m_prefs(preferences),
      m_connection(connection),
      m_friends(friends),
      m_codes(codes),
      m_clock(clock),
      m_timers(timers),
      m_messages(messages) {}

const std::vector<MailRow>& MailBoxes::Rows(MailBox box) const {
    return const_cast<MailBoxes*>(this)->Box(box);
}

std::vector<MailRow>& MailBoxes::Box(MailBox box) {
    switch (box) {
        case MailBox::Inbox:
            return m_prefs.inbox;
        case MailBox::Outbox:
            return m_prefs.outbox;
        case MailBox::SentItems:
            break;
    }
    return m_prefs.sentItems;
}

void MailBoxes::Changed() {
    if (m_changed) m_changed();
}

std::u16string MailBoxes::Now(int column) const {
    DateTime now = m_clock.Now();
    return column == 0 ? WireDate(now) : WireTime(now);
}

void MailBoxes::SetUnread(bool unread) {
    m_unread = unread;
    m_connection.SetUnreadMail(unread);
}

// --- Sending ----------------------------------------------------------------------------------

bool MailBoxes::SendMail(std::u16string_view text) {
    m_messages.ShowNotice(u"Message sent...", 2000);
    if (text.empty()) {
        m_messages.ShowNotice(u"No message to sent", 2000, true);
        return false;
    }
    if (text.size() > kMaxMailChars) {
        m_messages.ShowNotice(
            Format(u"A mail holds at most %d characters", {static_cast<long long>(kMaxMailChars)}),
            2000, true);
        return false;
    }
    if (text.find_first_of(u"#|\u00A2\u00A6\u00A7") != std::u16string_view::npos) {
        m_messages.ShowNotice(u"A mail can not hold the characters # | \u00A2 \u00A6 \u00A7", 2000,
                              true);
        return false;
    }
    const std::u16string date = Now(0);
    const std::u16string time = Now(1);
    const std::u16string code = m_codes.NewCode(text.size());
    const std::u16string base = std::u16string(text) + kTextEnd + date + u"-" + time + kCodeSep;
    std::vector<std::u16string> frames;
    int k = 0;
    for (const Friend& f : m_friends.Rows()) {
        if (!f.checked) continue;
        MailRow row;
        auto& c = row.columns;
        c[M::kPeer] = f.name;
        c[M::kMessage] = text;
        c[M::kFlatMessage] = FlatMailText(text);
        c[M::kState] = m_connection.HasSocket() ? kWaitReply : kWaitConnection;
        c[M::kTimeSending] = time;
        c[M::kDateSending] = date;
        c[M::kCode] = code + ToText(k);
        row.icon = kMailWaiting;
        frames.push_back(base + c[M::kCode] + kFieldSep + f.name + kFieldSep);
        m_prefs.outbox.insert(m_prefs.outbox.begin(), std::move(row));
        ++k;
    }
    if (frames.empty()) {
        m_messages.ShowNotice(u"First select the name of your recipients", 1200, true);
        return false;
    }
    if (!m_connection.HasSocket() || !m_connection.Online()) {
        m_messages.ShowNotice(u"Message added ...", 2000);
    } else {
        for (const std::u16string& frame : frames) m_connection.QueueFrame(frame);
    }
    Trim();
    Changed();
    return true;
}

void MailBoxes::ResendWaiting() {
    if (!m_connection.HasSocket()) return;  // they wait for the next connection
    bool sent = false;
    for (MailRow& row : m_prefs.outbox) {
        auto& c = row.columns;
        if (c[M::kState] != kWaitConnection && c[M::kState] != kWaitReply) continue;
        if (m_connection.QueueFrame(c[M::kMessage] + kTextEnd + c[M::kDateSending] + u"-" +
                                    c[M::kTimeSending] + kCodeSep + c[M::kCode] + kFieldSep +
                                    c[M::kPeer] + kFieldSep)) {
            c[M::kState] = kWaitReplySent;
            sent = true;
        }
    }
    for (MailRow& row : m_prefs.inbox) {
        auto& c = row.columns;
        if (c[M::kState] != kOpenedOffline) continue;
        if (m_connection.QueueFrame(CodeFrame(u'R', std::u16string(1, kCodeSep) + c[M::kCode] +
                                                        kFieldSep + c[M::kDateRead] + u"-" +
                                                        c[M::kTimeRead]))) {
            c[M::kState] = kOpenedMail;
            sent = true;
        }
    }
    if (sent) Changed();
}

void MailBoxes::Resend(int row) {
    if (row < 0 || static_cast<size_t>(row) >= m_prefs.outbox.size()) {
        m_messages.ShowNotice(std::u16string(kNoMailSelected), 2000, true);
        return;
    }
    auto& c = m_prefs.outbox[static_cast<size_t>(row)].columns;
    c[M::kCode] = m_codes.NewCode(c[M::kMessage].size());
    c[M::kState] = kWaitConnection;
    m_prefs.outbox[static_cast<size_t>(row)].icon = kMailWaiting;
    if (m_connection.Online()) ResendWaiting();
    Changed();
}

std::optional<std::u16string> MailBoxes::ReplyOrForward(MailBox box, int row) {
    const auto& rows = Rows(box);
    if (row < 0 || static_cast<size_t>(row) >= rows.size()) {
        m_messages.ShowNotice(std::u16string(kNoMailSelected), 2000, true);
        return std::nullopt;
    }
    const auto& c = rows[static_cast<size_t>(row)].columns;
    for (size_t i = 0; i < m_friends.Rows().size(); ++i) {
        m_friends.SetChecked(i, m_friends.Rows()[i].name == c[M::kPeer]);
    }
    Changed();
    return c[M::kMessage];
}

std::optional<std::u16string> MailBoxes::Open(MailBox box, int row) {
    auto& rows = Box(box);
    if (row < 0 || static_cast<size_t>(row) >= rows.size()) {
        m_messages.ShowNotice(std::u16string(kNoMailSelected), 2000, true);
        return std::nullopt;
    }
    MailRow& mail = rows[static_cast<size_t>(row)];
    if (box == MailBox::Inbox) {
        SetUnread(false);
        auto& c = mail.columns;
        if (c[M::kState] == kClosedMail) {
            mail.icon = kMailOpened;
            c[M::kState] = kOpenedMail;
            c[M::kTimeRead] = Now(1);
            c[M::kDateRead] = Now(0);
            if (m_connection.Wanted()) {
                m_connection.QueueFrame(CodeFrame(u'R', std::u16string(1, kCodeSep) + c[M::kCode] +
                                                            kFieldSep + c[M::kDateRead] + u"-" +
                                                            c[M::kTimeRead]));
            } else {
                c[M::kState] = kOpenedOffline;
            }
        }
        Changed();
    }
    return mail.columns[M::kMessage];
}

void MailBoxes::Delete(MailBox box, int row) {
    auto& rows = Box(box);
    if (row < 0 || static_cast<size_t>(row) >= rows.size()) {
        m_messages.ShowNotice(std::u16string(kNoMailSelected), 2000, true);
        return;
    }
    rows.erase(rows.begin() + row);
    Changed();
}

void MailBoxes::DeleteAll(MailBox box) {
    if (m_messages.ShowBox(u"Do you really want to delete all mails of the list ?", u"Delete all ?",
                           BoxButtons::YesNo) != BoxAnswer::Yes) {
        return;
    }
    Box(box).clear();
    Changed();
}

bool MailBoxes::AddFriend(std::u16string_view typed) {
    const size_t first = typed.find_first_not_of(u' ');
    const std::u16string_view name =
        first == std::u16string_view::npos
            ? std::u16string_view()
            : typed.substr(first, typed.find_last_not_of(u' ') - first + 1);
    if (name.empty()) {
        m_messages.ShowNotice(u"Type the user name of the recipient", 2000, true);
        return false;
    }
    switch (m_friends.Add(name, m_connection.Wireless().userName)) {
        case FriendsList::AddResult::OwnName:
            m_messages.ShowNotice(u"This is your own user name", 2000, true);
            return false;
        case FriendsList::AddResult::Unusable:
            m_messages.ShowNotice(
                u"A user name has 4 to 32 characters, without any of | # / < > "
                u"\u00A2 \u00A6 \u00A7 \u00AC",
                2000, true);
            return false;
        case FriendsList::AddResult::AlreadyListed:
            m_messages.ShowNotice(std::u16string(name) + u" is already a friend: checked", 2000);
            break;
        case FriendsList::AddResult::Added:
            m_messages.ShowNotice(u"Recipient added: " + std::u16string(name), 2000);
            break;
    }
    m_prefs.friends = m_friends.Text();
    Changed();
    return true;
}

void MailBoxes::CheckAllFriends(bool checked) {
    m_friends.CheckAll(checked);
    Changed();
}

void MailBoxes::DeleteCheckedFriends() {
    if (m_messages.ShowBox(u"Do you really want to remove all selected names from the list ?",
                           u"Delete selected names ?", BoxButtons::YesNo) != BoxAnswer::Yes) {
        return;
    }
    m_friends.RemoveChecked();
    m_prefs.friends = m_friends.Text();
    Changed();
}

// --- Receiving --------------------------------------------------------------------------------

void MailBoxes::OnConnectionStarted() {
    m_chat.clear();
    m_timers.Stop(TimerId::ChatFading);
    m_fadeArmedByLine = m_lineArrived = false;
    Changed();
}

void MailBoxes::OnWentOnline() {
    ResendWaiting();
}

void MailBoxes::OnOnlineUsers(const std::vector<std::u16string>& users) {
    for (const std::u16string& name :
         m_friends.UpdateOnline(users, m_connection.Wireless().userName)) {
        m_messages.ShowNotice(u"New network friend added: " + name, 3000);
    }
    m_prefs.friends = m_friends.Text();
    Changed();
}

void MailBoxes::OnMailReceived(const ReceivedMail& mail) {
    MailRow row;
    auto& c = row.columns;
    c[M::kPeer] = mail.sender;
    c[M::kMessage] = mail.text;
    c[M::kState] = kClosedMail;
    c[M::kTimeSending] = mail.sentTime;
    c[M::kDateSending] = mail.sentDate;
    c[M::kCode] = mail.code;
    c[M::kTimeReception] = Now(1);
    c[M::kDateReception] = Now(0);
    c[M::kFlatMessage] = FlatMailText(mail.text);
    row.icon = kMailDelivered;
    m_prefs.inbox.insert(m_prefs.inbox.begin(), std::move(row));
    SetUnread(true);
    m_target = NoticeTarget::Mail;
    m_messages.ShowNotice(u"New mail received\r\n(Click here)", 3500);
    Trim();
    Changed();
}

void MailBoxes::OnDeliveryReports(std::u16string_view payload) {
    std::vector<std::u16string> refused;  // recipients of mail the server could not deliver
    for (const std::u16string& item : Split(payload, kItemSep)) {
        if (item.size() < 3) continue;
        const char16_t report = item[0];
        size_t bracket = item.find(u'[');
        std::u16string code =
            item.substr(2, bracket == std::u16string::npos ? std::u16string::npos : bracket - 2);
        std::u16string date;
        std::u16string time;
        if (bracket != std::u16string::npos) {
            std::u16string stamp = item.substr(bracket + 1, item.find(u']') - bracket - 1);
            size_t dash = stamp.find(u'-');
            date = stamp.substr(0, dash);
            time = dash == std::u16string::npos ? u"" : stamp.substr(dash + 1);
        }
        for (size_t i = 0; i < m_prefs.outbox.size();) {
            MailRow& row = m_prefs.outbox[i];
            auto& c = row.columns;
            if (code.empty() || c[M::kCode] != code) {
                ++i;
                continue;
            }
            if (report == u'S') {
                row.icon = kMailAtServer;
                c[M::kState] = u"Server is waiting client connection";
            } else if (report == u'L') {
                row.icon = kMailFailed;
                c[M::kState] = u"Bad transmission from sender to server";
            } else if (report == u'E') {
                row.icon = kMailFailed;
                c[M::kState] = u"Bad transmission from server to recipient";
                if (std::find(refused.begin(), refused.end(), c[M::kPeer]) == refused.end()) {
                    refused.push_back(c[M::kPeer]);
                }
                m_connection.QueueFrame(CodeFrame(u'C', u"O\u00A6" + code + u"/"));
            } else if (report == u'O') {
                row.icon = kMailDelivered;
                c[M::kState] = u"Recipient get the mail";
                c[M::kTimeReception] = time;
                c[M::kDateReception] = date;
                m_connection.QueueFrame(CodeFrame(u'C', u"O\u00A6" + code + u"/"));
                m_prefs.sentItems.insert(m_prefs.sentItems.begin(), std::move(row));
                m_prefs.outbox.erase(m_prefs.outbox.begin() + static_cast<long>(i));
                continue;
            }
            ++i;
        }
    }
    // The server refuses a name it does not know (and says so right after, when it can tell):
    // the doctor learns at once which recipient to check, not only from the Outbox.
    if (!refused.empty()) {
        std::u16string names;
        for (const std::u16string& name : refused) names += (names.empty() ? u"" : u", ") + name;
        m_messages.ShowNotice(
            u"The server did not deliver the mail to " + names + u": check the user name", 4000,
            true);
    }
    Trim();
    Changed();
}

void MailBoxes::OnReadReceipt(std::u16string_view payload) {
    size_t first = payload.find(kCodeSep);
    if (first == std::u16string_view::npos) return;
    std::u16string_view rest = payload.substr(first + 1);
    std::vector<std::u16string> parts = Split(rest.substr(0, rest.find(kItemSep)), kFieldSep);
    if (parts.size() < 2 || parts[0].empty()) return;
    auto pair = [](const std::u16string& text, std::u16string& date, std::u16string& time) {
        size_t dash = text.find(u'-');
        date = text.substr(0, dash);
        time = dash == std::u16string::npos ? u"" : text.substr(dash + 1);
    };
    std::u16string readDate, readTime, receivedDate, receivedTime;
    pair(parts[1], readDate, readTime);
    if (parts.size() > 2) pair(parts[2], receivedDate, receivedTime);
    const std::u16string& code = parts[0];
    auto markRead = [&](MailRow& row) {
        row.icon = kMailRead;
        row.columns[M::kState] = u"Message read by the recipient";
        row.columns[M::kTimeRead] = readTime;
        row.columns[M::kDateRead] = readDate;
    };
    for (MailRow& row : m_prefs.sentItems) {
        if (row.columns[M::kCode] == code) markRead(row);
    }
    for (size_t i = 0; i < m_prefs.outbox.size();) {
        MailRow& row = m_prefs.outbox[i];
        if (row.columns[M::kCode] != code) {
            ++i;
            continue;
        }
        markRead(row);
        row.columns[M::kTimeReception] = receivedTime;
        row.columns[M::kDateReception] = receivedDate;
        m_prefs.sentItems.insert(m_prefs.sentItems.begin(), std::move(row));
        m_prefs.outbox.erase(m_prefs.outbox.begin() + static_cast<long>(i));
    }
    Trim();
    Changed();
}

// --- Chat -------------------------------------------------------------------------------------

bool MailBoxes::SendChat(std::u16string_view text) {
    if (!m_connection.HasSocket()) {
        m_messages.ShowNotice(u"You need to be connected to chat", 2000, true);
        return false;
    }
    if (text.empty()) {
        m_messages.ShowNotice(u"No chat message", 2000, true);
        return false;
    }
    // A longer line is refused whole rather than cut: what was typed stays to be shortened.
    if (text.size() > kMaxChatLineChars) {
        m_messages.ShowNotice(Format(u"A chat line holds at most %d characters",
                                     {static_cast<long long>(kMaxChatLineChars)}),
                              2000, true);
        return false;
    }
    std::u16string line = m_chat.empty() ? u"" : u"\r\n";
    line += u"<" + m_connection.Wireless().userName + u"> : ";
    line += text;
    if (!m_connection.QueueFrame(CodeFrame(u'A', line))) return false;
    m_chat += line;
    ArmChatFade();
    Changed();
    return true;
}

void MailBoxes::OnChatLine(std::u16string_view received) {
    std::u16string line(received.substr(0, kMaxChatLineChars));
    if (m_chat.empty()) {
        m_target = NoticeTarget::Chat;
        m_messages.ShowNotice(u"Someone in chat room\r\n(Click here)", 3000);
        size_t start = line.find_first_not_of(u"\r\n");
        line.erase(0, start == std::u16string::npos ? line.size() : start);
    }
    m_chat += line;
    ArmChatFade();
    Changed();
}

void MailBoxes::ArmChatFade() {
    if (m_fadeArmedByLine) {
        m_lineArrived = true;
        return;
    }
    m_fadeArmedByLine = true;
    m_lineArrived = false;
    m_timers.Start(TimerId::ChatFading, kChatFadeMs, [this] { OnChatFade(); });
}

void MailBoxes::OnChatFade() {
    // The oldest line goes: everything up to the second "<" (all when there is none).
    auto dropOldest = [this] {
        size_t second = m_chat.find(u'<', m_chat.find(u'<') + 1);
        if (m_chat.find(u'<') == std::u16string::npos || second == std::u16string::npos) {
            m_chat.clear();
            return false;
        }
        m_chat.erase(0, second);
        return true;
    };
    if (dropOldest()) {
        while (m_chat.size() > kChatKeepChars && dropOldest()) {
        }
    }
    if (m_chat.empty()) {
        m_timers.Stop(TimerId::ChatFading);
        m_fadeArmedByLine = false;
    } else if (m_lineArrived) {
        m_lineArrived = false;
        m_fadeArmedByLine = true;
        m_timers.Start(TimerId::ChatFading, kChatFadeMs, [this] { OnChatFade(); });
    } else {
        m_fadeArmedByLine = false;
        m_timers.Start(TimerId::ChatFading, kChatFadeAgainMs, [this] { OnChatFade(); });
    }
    Changed();
}

// --- Storage ----------------------------------------------------------------------------------

void MailBoxes::Trim() {
    auto unread = [](const MailRow& row) {
        return row.columns[M::kState] == kClosedMail || row.columns[M::kState] == kOpenedOffline;
    };
    size_t used = 0;
    for (const MailRow& row : m_prefs.outbox) used += RowChars(row);
    for (const MailRow& row : m_prefs.inbox) {
        if (unread(row)) used += RowChars(row);
    }
    // Read mail, newest first, while the Inbox's rows and the budget allow.
    size_t kept = 0;
    std::erase_if(m_prefs.inbox, [&](const MailRow& row) {
        if (unread(row)) return false;
        if (kept + 1 > kInboxRows || used + RowChars(row) > kStorageBudgetChars) return true;
        ++kept;
        used += RowChars(row);
        return false;
    });
    size_t sent = 0;
    std::erase_if(m_prefs.sentItems, [&](const MailRow& row) {
        if (sent + 1 > kSentItemsRows || used + RowChars(row) > kStorageBudgetChars) return true;
        ++sent;
        used += RowChars(row);
        return false;
    });
}

}  // namespace pondrel
