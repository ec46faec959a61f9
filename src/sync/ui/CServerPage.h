#pragma once

#include <QWidget>

class QLabel;

namespace pondrel {

class CConnectButtons;

// Page 33, "Server : Files exchange": the Connect and Close buttons and who is online.
class CServerPage final : public QWidget {
public:
    explicit CServerPage(const QString& title, QWidget* parent = nullptr);

    CConnectButtons* Buttons() const { return m_buttons; }
    // "Online : " and the users online, or "Offline".
    void SetOnlineUsers(const QString& text);

private:
    CConnectButtons* m_buttons;
    QLabel* m_online;
};

}  // namespace pondrel
