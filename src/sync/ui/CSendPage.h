#pragma once

#include <QWidget>

class QLabel;
class QListWidget;
class QPlainTextEdit;

namespace pondrel {

class FriendsList;

// Page 31, "Send": the friends known from the server, marked online or offline, and the chat
// area. Shows what it is given; the synchronisation pages (src/ui/SyncPages) drive it.
class CSendPage final : public QWidget {
public:
    explicit CSendPage(const QString& title, QWidget* parent = nullptr);

    void ShowFriends(const FriendsList& friends);
    void ClearChat();
    QListWidget* Friends() const { return m_friends; }
    QPlainTextEdit* ChatArea() const { return m_chat; }

private:
    QLabel* m_title;
    QListWidget* m_friends;
    QPlainTextEdit* m_chat;
};

}  // namespace pondrel
