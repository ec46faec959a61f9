#pragma once

#include <QWidget>

class QLabel;

namespace pondrel {

class CConnectButtons;

// Page 32, "Mail manager": the user name the program logs in with, and the Connect and Close
// buttons.
class CMailManagerPage final : public QWidget {
public:
    explicit CMailManagerPage(const QString& title, QWidget* parent = nullptr);

    // "User name : " + the user name.
    void SetUserName(const QString& userName);
    CConnectButtons* Buttons() const { return m_buttons; }

private:
    QLabel* m_userName;
    CConnectButtons* m_buttons;
};

}  // namespace pondrel
