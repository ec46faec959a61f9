#pragma once

#include <QWidget>

class QLabel;

namespace pondrel {

class CConnectButtons;
class FileExchange;

// Page 33, "Server : Files exchange": the Connect and Close buttons and who is online.
class CServerPage final : public QWidget {
public:
    // `files` must outlive the page.
    CServerPage(const QString& title, FileExchange& files, QWidget* parent = nullptr);

    CConnectButtons* Buttons() const { return m_buttons; }
    // "Online : " and the users online, or "Offline".
    void SetOnlineUsers(const QString& text);
    // The lists show the file exchange's rows again.
    void Refresh();
    // The file commands are offered only while online.
    void SetOnline(bool online);

private:
    FileExchange& m_files;
    CConnectButtons* m_buttons;
    QLabel* m_online;
};

}  // namespace pondrel
