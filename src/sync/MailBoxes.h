#pragma once

// The "Mail manager" and the send page without their widgets: the Inbox, Outbox and Sent Items
// (kept in the preferences), composing and sending mail to the checked friends, delivery reports
// and read receipts, opening, resending, deleting, the unread-mail flag (the mail light) and the
// chat area with its fading. Runs on the user-interface thread.
//
// Every unsent and every unread mail is kept, whatever their number; only read and sent mail
// beyond the lists' sizes (and beyond what the preferences file can hold) is dropped, oldest
// first. One mail holds at most kMaxMailChars characters.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "settings/Preferences.h"
#include "sync/SyncListener.h"

namespace pondrel {

class Clock;
class Connection;
class FriendsList;
class MessageCodes;
class Timers;
class UserMessages;

enum class MailBox { Inbox, Outbox, SentItems };

// The icons of the mail lists.
enum MailIcon : int {
    kMailWaiting = 0,    // handheld: waiting on this handheld
    kMailAtServer = 1,   // network: held by the server
    kMailOpened = 2,     // open envelope
    kMailFailed = 3,     // red cross
    kMailDelivered = 4,  // closed envelope (delivered, or new)
    kMailRead = 5,       // open envelope with a green tick
};

// Where a tap on the transient notice leads.
enum class NoticeTarget { None, Mail, Chat };

class MailBoxes {
public:
    static constexpr size_t kMaxMailChars = 500;
    static constexpr size_t kMaxChatLineChars = 1000;
    static constexpr size_t kChatKeepChars = 1000;
    static constexpr int kChatFadeMs = 60'000;
    static constexpr int kChatFadeAgainMs = 10'000;
    // Characters the three mail lists may take in the preferences file, at most.
    static constexpr size_t kStorageBudgetChars = 24'000;

    // The mail lists and friends text are those of `preferences`. Every reference must outlive
    // the mailboxes.
    MailBoxes(Preferences& preferences, Connection& connection, FriendsList& friends,
              MessageCodes& codes, Clock& clock, Timers& timers, UserMessages& messages);

    void SetChangedHandler(std::function<void()> changed) { m_changed = std::move(changed); }

    const std::vector<MailRow>& Rows(MailBox box) const;
    bool Unread() const { return m_unread; }
    const std::u16string& ChatText() const { return m_chat; }
    NoticeTarget Target() const { return m_target; }
    void ClearTarget() { m_target = NoticeTarget::None; }

    // "Send mail": true when the mail was taken (the compose box is emptied).
    bool SendMail(std::u16string_view text);
    // "Send chat": true when the line was sent; a line of more than kMaxChatLineChars
    // characters is refused (with a notice), never cut.
    bool SendChat(std::u16string_view text);
    // "Resend" on the Outbox.
    void Resend(int row);
    // "Reply" (Inbox) and "Forward" (Sent Items): the text for the compose box; only the mail's
    // peer stays checked among the friends. None (with a notice) without a row.
    std::optional<std::u16string> ReplyOrForward(MailBox box, int row);
    // A tap on a row: the text for the reading box; an Inbox mail is opened (read receipt).
    std::optional<std::u16string> Open(MailBox box, int row);
    void Delete(MailBox box, int row);
    void DeleteAll(MailBox box);
    // "Add": a recipient typed by user name (who may never have been online) joins the friends,
    // checked. False, with a notice, for a name no user can have or the own name.
    bool AddFriend(std::u16string_view typed);
    // Friends commands: Sel All / Clear All, and Delete (asks first).
    void CheckAllFriends(bool checked);
    void DeleteCheckedFriends();

    // The connection's moments and frames.
    void OnConnectionStarted();
    void OnWentOnline();
    void OnOnlineUsers(const std::vector<std::u16string>& users);
    void OnMailReceived(const ReceivedMail& mail);
    void OnDeliveryReports(std::u16string_view payload);
    void OnReadReceipt(std::u16string_view payload);
    void OnChatLine(std::u16string_view line);

private:
    std::vector<MailRow>& Box(MailBox box);
    void ResendWaiting();
    void ArmChatFade();
    void OnChatFade();
    void SetUnread(bool unread);
    // Keeps the lists within what is stored: unsent and unread mail always.
    void Trim();
    void Changed();
    std::u16string Now(int column) const;

    Preferences& m_prefs;
    Connection& m_connection;
    FriendsList& m_friends;
    MessageCodes& m_codes;
    Clock& m_clock;
    Timers& m_timers;
    UserMessages& m_messages;
    std::function<void()> m_changed;
    bool m_unread = false;
    NoticeTarget m_target = NoticeTarget::None;
    std::u16string m_chat;
    bool m_fadeArmedByLine = false;
    bool m_lineArrived = false;
};

// A mail's text on one line: every CR-LF becomes ",", then ",," becomes "," until none is left.
std::u16string FlatMailText(std::u16string_view text);

}  // namespace pondrel
