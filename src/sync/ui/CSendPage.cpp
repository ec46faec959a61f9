#include "sync/ui/CSendPage.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "platform/ui/QtText.h"
#include "sync/FriendsList.h"
#include "sync/MailBoxes.h"
#include "sync/ui/SyncIcons.h"

namespace pondrel {

CSendPage::CSendPage(const QString& title, MailBoxes& mail, FriendsList& friends, QWidget* parent)
    : QWidget(parent), m_mail(mail), m_friendsList(friends) {
    setObjectName("sendPage");
    m_title = new QLabel(title, this);
    m_title->setObjectName("sendTitle");
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    auto* friendsCaption = new QLabel("Friends", this);
    friendsCaption->setObjectName("friendsCaption");
    m_friends = new QListWidget(this);
    m_friends->setObjectName("friendsList");
    m_friends->setIconSize(QSize(16, 16));
    m_friends->setFocusPolicy(Qt::NoFocus);
    auto* chatCaption = new QLabel("Chat", this);
    chatCaption->setObjectName("chatCaption");
    m_chat = new QPlainTextEdit(this);
    m_chat->setObjectName("chatArea");
    m_chat->setReadOnly(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 2, 3, 3);
    layout->setSpacing(2);
    layout->addWidget(m_title);
    layout->addWidget(friendsCaption);
    layout->addWidget(m_friends, 2);
    layout->addWidget(chatCaption);
    layout->addWidget(m_chat, 3);
}

void CSendPage::Refresh() {
    static const QIcon online = DrawFriendIcon(FriendIcon::Online);
    static const QIcon offline = DrawFriendIcon(FriendIcon::Offline);
    m_friends->clear();
    for (const Friend& f : m_friendsList.Rows()) {
        auto* item = new QListWidgetItem(f.online ? online : offline, ToQString(f.name));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(f.checked ? Qt::Checked : Qt::Unchecked);
        item->setToolTip(f.online ? "online" : "offline");
        m_friends->addItem(item);
    }
    if (m_chat->toPlainText() != ToQString(m_mail.ChatText())) {
        m_chat->setPlainText(ToQString(m_mail.ChatText()));
        m_chat->moveCursor(QTextCursor::End);
    }
}

void CSendPage::SetOnline(bool /*online*/) {}

void CSendPage::StartMail(const QString& /*text*/) {}

void CSendPage::ShowChat() {
    m_chat->setFocus();
}

}  // namespace pondrel
