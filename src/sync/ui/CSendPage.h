#pragma once

#include <QIcon>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace pondrel {

class CSectionEdit;
class FriendsList;
class MailBoxes;

// Page 31, "Send": the friends known from the server (a check mark makes a friend a recipient,
// the face says whether he is online) with Sel All, Clear All and Delete, and a box where a
// recipient who has never been online is typed by user name ("Add"); the Mail / Chat
// choice; the compose box and its one send button ("Send mail" or "Send chat"); the chat area,
// read only and scrolled to its last line. The mailboxes do the work and say what went wrong;
// the page shows their state and keeps what the user typed until it was taken.
class CSendPage final : public QWidget {
public:
    enum class Mode { Mail, Chat };
    // Heights of the compose box and of the chat area in each mode.
    static constexpr int kComposeMailHeight = 61;
    static constexpr int kChatMailHeight = 86;
    static constexpr int kComposeChatHeight = 30;
    static constexpr int kChatChatHeight = 117;

    // `mail` and `friends` must outlive the page.
    CSendPage(const QString& title, MailBoxes& mail, FriendsList& friends,
              QWidget* parent = nullptr);

    // Shows the friends and the chat text as the mailboxes hold them now.
    void Refresh();
    void SetOnline(bool online);
    // Reply or Forward: the compose box gets `text` (below what the user typed and did not
    // send), the mode becomes Mail and the compose box takes the focus.
    void StartMail(const QString& text);
    // A tap on a chat notice: Chat mode, the chat area at its end, the focus in the compose box.
    void ShowChat();

    Mode CurrentMode() const { return m_mode; }
    void SetMode(Mode mode);

private:
    void RefreshFriends();
    void RefreshChat();
    void ScrollChatToEnd();
    void FriendChanged(QListWidgetItem* item);
    void Send();
    void AddTypedFriend();

    MailBoxes& m_mail;
    FriendsList& m_friendsList;
    Mode m_mode = Mode::Mail;
    bool m_typed = false;  // the compose box holds typing not sent yet
    QListWidget* m_friends;
    QLineEdit* m_friendName;
    QRadioButton* m_mailMode;
    QRadioButton* m_chatMode;
    QPushButton* m_send;
    CSectionEdit* m_compose;
    QPlainTextEdit* m_chat;
    QIcon m_onlineIcon;
    QIcon m_offlineIcon;
};

}  // namespace pondrel
