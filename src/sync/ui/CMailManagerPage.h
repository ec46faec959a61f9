#pragma once

#include <functional>

#include <QWidget>

class QLabel;

namespace pondrel {

class CConnectButtons;
class MailBoxes;

// Page 32, "Mail manager": the user name the program logs in with, and the Connect and Close
// buttons.
class CMailManagerPage final : public QWidget {
public:
    // `mail` must outlive the page.
    CMailManagerPage(const QString& title, MailBoxes& mail, QWidget* parent = nullptr);

    // "User name : " + the user name.
    void SetUserName(const QString& userName);
    CConnectButtons* Buttons() const { return m_buttons; }
    // The mailboxes show their rows again.
    void Refresh();
    void SetOnline(bool online);
    // Reply and Forward hand the mail's text to the compose box.
    void SetComposeHandler(std::function<void(const QString&)> compose) {
        m_compose = std::move(compose);
    }

private:
    MailBoxes& m_mail;
    std::function<void(const QString&)> m_compose;
    QLabel* m_userName;
    CConnectButtons* m_buttons;
};

}  // namespace pondrel
