#include "sync/ui/CMailManagerPage.h"

#include <QLabel>
#include <QVBoxLayout>

#include "sync/ui/CConnectButtons.h"

namespace pondrel {

CMailManagerPage::CMailManagerPage(const QString& title, MailBoxes& mail, QWidget* parent)
    : QWidget(parent), m_mail(mail) {
    setObjectName("mailManagerPage");
    auto* heading = new QLabel(title, this);
    heading->setObjectName("mailManagerTitle");
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    m_userName = new QLabel("User name : ", this);
    m_userName->setObjectName("userNameLine");
    m_buttons = new CConnectButtons("mail", this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 2, 3, 3);
    layout->setSpacing(3);
    layout->addWidget(heading);
    layout->addWidget(m_userName);
    layout->addWidget(m_buttons);
    layout->addStretch(1);
}

void CMailManagerPage::SetUserName(const QString& userName) {
    m_userName->setText("User name : " + userName);
}

}  // namespace pondrel

namespace pondrel {

void CMailManagerPage::Refresh() {}

void CMailManagerPage::SetOnline(bool /*online*/) {}

}  // namespace pondrel
