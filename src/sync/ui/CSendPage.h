#pragma once

#include <QWidget>

class QLabel;
class QListWidget;
class QPlainTextEdit;

namespace pondrel {

class FriendsList;
class MailBoxes;

// Page 31, "Send": the friends known from the server, marked online or offline, and the chat
// area. Shows what it is given; the synchronisation pages (src/ui/SyncPages) drive it.
class CSendPage final : public QWidget {
public:
    // `mail` and `friends` must outlive the page.
    CSendPage(const QString& title, MailBoxes& mail, FriendsList& friends,
              QWidget* parent = nullptr);

    // The friends and the chat area show the session's again.
    void Refresh();
    void SetOnline(bool online);
    // Reply and Forward: the compose box gets `text` in Mail mode, with the focus.
    void StartMail(const QString& text);
    // A tap on a chat notice: the compose box and the chat area.
    void ShowChat();
    QListWidget* Friends() const { return m_friends; }
    QPlainTextEdit* ChatArea() const { return m_chat; }

private:
    MailBoxes& m_mail;
    FriendsList& m_friendsList;
    QLabel* m_title;
    QListWidget* m_friends;
    QPlainTextEdit* m_chat;
};

}  // namespace pondrel
