#include "sync/ui/CServerPage.h"

#include <QLabel>
#include <QVBoxLayout>

#include "sync/ui/CConnectButtons.h"

namespace pondrel {

CServerPage::CServerPage(const QString& title, FileExchange& files, QWidget* parent)
    : QWidget(parent), m_files(files) {
    setObjectName("serverPage");
    auto* heading = new QLabel(title + " : Files exchange", this);
    heading->setObjectName("serverTitle");
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    m_buttons = new CConnectButtons("server", this);
    m_online = new QLabel("Offline", this);
    m_online->setObjectName("onlineUsersLine");
    m_online->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 2, 3, 3);
    layout->setSpacing(3);
    layout->addWidget(heading);
    layout->addWidget(m_buttons);
    layout->addWidget(m_online);
    layout->addStretch(1);
}

void CServerPage::SetOnlineUsers(const QString& text) {
    m_online->setText(text);
}

void CServerPage::Refresh() {}

void CServerPage::SetOnline(bool /*online*/) {}

}  // namespace pondrel
