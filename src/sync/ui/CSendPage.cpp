#include "sync/ui/CSendPage.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "journal/ui/CSectionEdit.h"
#include "platform/ui/PageTitle.h"
#include "platform/ui/QtLines.h"
#include "platform/ui/QtText.h"
#include "sync/FriendsList.h"
#include "sync/MailBoxes.h"
#include "sync/WireNames.h"
#include "sync/ui/SyncIcons.h"
#include "sync/ui/SyncPageStyle.h"

namespace pondrel {

namespace {

constexpr int kFontPixels = 11;
constexpr int kTitleHeight = 16;
constexpr int kFriendButtonWidth = 64;
constexpr int kAddButtonWidth = 40;
// The list gives way to the compose box and chat area; two rows stay in view.
constexpr int kLeastFriendsHeight = 40;

}  // namespace

CSendPage::CSendPage(const QString& title, MailBoxes& mail, FriendsList& friends, QWidget* parent)
    : QWidget(parent), m_mail(mail), m_friendsList(friends) {
    setObjectName(QStringLiteral("sendPage"));
    m_onlineIcon = DrawFriendIcon(FriendIcon::Online);
    m_offlineIcon = DrawFriendIcon(FriendIcon::Offline);
    QFont font = this->font();
    font.setPixelSize(kFontPixels);
    setFont(font);

    auto* heading = new QLabel(title, this);
    heading->setObjectName(QStringLiteral("sendTitle"));
    StylePageTitle(heading);
    heading->setFixedHeight(kTitleHeight);

    m_friends = new QListWidget(this);
    m_friends->setObjectName(QStringLiteral("friendsList"));
    m_friends->setIconSize(QSize(16, 16));
    m_friends->setFocusPolicy(Qt::NoFocus);
    // Only the check boxes mark recipients: a row is never highlighted.
    m_friends->setSelectionMode(QAbstractItemView::NoSelection);
    m_friends->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_friends->setTextElideMode(Qt::ElideRight);
    m_friends->setMinimumHeight(kLeastFriendsHeight);
    auto* selAll = SyncPageButton(QStringLiteral("Sel All"), QStringLiteral("selAllButton"), this);
    auto* clearAll =
        SyncPageButton(QStringLiteral("Clear All"), QStringLiteral("clearAllButton"), this);
    auto* remove =
        SyncPageButton(QStringLiteral("Delete"), QStringLiteral("deleteFriendsButton"), this);
    m_friendName = new QLineEdit(this);
    m_friendName->setObjectName(QStringLiteral("friendNameEdit"));
    m_friendName->setPlaceholderText(QStringLiteral("User name"));
    m_friendName->setMaxLength(static_cast<int>(kMaxUserNameChars));
    m_friendName->setFixedHeight(kSyncPageButtonHeight);
    auto* add = SyncPageButton(QStringLiteral("Add"), QStringLiteral("addFriendButton"), this);
    add->setToolTip(QStringLiteral("Add the typed user name to the friends, checked"));
    add->setFixedWidth(kAddButtonWidth);
    for (QPushButton* button : {selAll, clearAll, remove}) {
        button->setFixedWidth(kFriendButtonWidth);
    }

    m_mailMode = new QRadioButton(QStringLiteral("Mail"), this);
    m_mailMode->setObjectName(QStringLiteral("mailModeButton"));
    m_chatMode = new QRadioButton(QStringLiteral("Chat"), this);
    m_chatMode->setObjectName(QStringLiteral("chatModeButton"));
    for (QRadioButton* choice : {m_mailMode, m_chatMode}) choice->setFocusPolicy(Qt::NoFocus);
    auto* modes = new QButtonGroup(this);
    modes->addButton(m_mailMode);
    modes->addButton(m_chatMode);
    m_mailMode->setChecked(true);
    m_send = SyncPageButton(QStringLiteral("Send mail"), QStringLiteral("sendButton"), this);
    m_send->setMinimumWidth(80);

    m_compose = new CSectionEdit(this);
    m_compose->setObjectName(QStringLiteral("composeBox"));
    m_compose->setTabChangesFocus(true);
    m_chat = new QPlainTextEdit(this);
    m_chat->setObjectName(QStringLiteral("chatArea"));
    m_chat->setReadOnly(true);
    QPalette chatColours = m_chat->palette();
    chatColours.setColor(QPalette::Base, QColor(242, 245, 251));
    m_chat->setPalette(chatColours);

    auto* friendButtons = new QVBoxLayout;
    friendButtons->setSpacing(3);
    friendButtons->addWidget(selAll);
    friendButtons->addWidget(clearAll);
    friendButtons->addWidget(remove);
    friendButtons->addStretch(1);
    auto* nameRow = new QHBoxLayout;
    nameRow->setSpacing(3);
    nameRow->addWidget(m_friendName, 1);
    nameRow->addWidget(add);
    auto* friendsColumn = new QVBoxLayout;
    friendsColumn->setSpacing(3);
    friendsColumn->addWidget(m_friends, 1);
    friendsColumn->addLayout(nameRow);
    auto* friendsRow = new QHBoxLayout;
    friendsRow->setSpacing(4);
    friendsRow->addLayout(friendsColumn, 1);
    friendsRow->addLayout(friendButtons);
    auto* modeRow = new QHBoxLayout;
    modeRow->setSpacing(6);
    modeRow->addWidget(m_mailMode);
    modeRow->addWidget(m_chatMode);
    modeRow->addStretch(1);
    modeRow->addWidget(m_send);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(3, 3, 3, 3);
    body->setSpacing(3);
    body->addLayout(friendsRow, 1);
    body->addLayout(modeRow);
    body->addWidget(m_compose);
    body->addWidget(m_chat);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(heading);
    layout->addLayout(body, 1);

    connect(m_friends, &QListWidget::itemChanged, this,
            [this](QListWidgetItem* item) { FriendChanged(item); });
    connect(m_friends, &QListWidget::itemClicked, this,
            [this](QListWidgetItem*) { m_friends->setCurrentItem(nullptr); });
    connect(selAll, &QPushButton::clicked, this, [this] { m_mail.CheckAllFriends(true); });
    connect(clearAll, &QPushButton::clicked, this, [this] { m_mail.CheckAllFriends(false); });
    connect(remove, &QPushButton::clicked, this, [this] { m_mail.DeleteCheckedFriends(); });
    connect(add, &QPushButton::clicked, this, [this] { AddTypedFriend(); });
    connect(m_friendName, &QLineEdit::returnPressed, this, [this] { AddTypedFriend(); });
    connect(m_mailMode, &QRadioButton::toggled, this, [this](bool on) {
        if (on) SetMode(Mode::Mail);
    });
    connect(m_chatMode, &QRadioButton::toggled, this, [this](bool on) {
        if (on) SetMode(Mode::Chat);
    });
    connect(m_send, &QPushButton::clicked, this, [this] { Send(); });
    connect(m_compose, &CSectionEdit::edited, this, [this] { m_typed = true; });

    SetMode(Mode::Mail);
    SetOnline(false);
    Refresh();
}

void CSendPage::Refresh() {
    RefreshFriends();
    RefreshChat();
}

void CSendPage::RefreshFriends() {
    const std::vector<Friend>& rows = m_friendsList.Rows();
    const int count = static_cast<int>(rows.size());
    // The rows are updated where they are, so the list keeps its scroll position.
    const QSignalBlocker quiet(m_friends);
    while (m_friends->count() > count) delete m_friends->takeItem(m_friends->count() - 1);
    while (m_friends->count() < count) {
        auto* item = new QListWidgetItem(m_friends);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    }
    for (int i = 0; i < count; ++i) {
        const Friend& f = rows[static_cast<size_t>(i)];
        QListWidgetItem* item = m_friends->item(i);
        item->setText(ToQString(f.name));
        item->setIcon(f.online ? m_onlineIcon : m_offlineIcon);
        item->setToolTip(f.online ? QStringLiteral("online") : QStringLiteral("offline"));
        item->setCheckState(f.checked ? Qt::Checked : Qt::Unchecked);
    }
}

void CSendPage::RefreshChat() {
    // A changed chat is shown at its end; otherwise the reader keeps his place.
    const QString shown = ShownLines(m_mail.ChatText());
    if (m_chat->toPlainText() == shown) return;
    m_chat->setPlainText(shown);
    ScrollChatToEnd();
}

void CSendPage::ScrollChatToEnd() {
    m_chat->verticalScrollBar()->setValue(m_chat->verticalScrollBar()->maximum());
}

void CSendPage::FriendChanged(QListWidgetItem* item) {
    const int row = m_friends->row(item);
    if (row < 0) return;
    m_friendsList.SetChecked(static_cast<size_t>(row), item->checkState() == Qt::Checked);
}

void CSendPage::SetOnline(bool online) {
    m_chat->setPlaceholderText(online ? QStringLiteral("Chat room: no line yet")
                                      : QStringLiteral("Chat room: connect to chat"));
}

void CSendPage::SetMode(Mode mode) {
    m_mode = mode;
    const bool mail = mode == Mode::Mail;
    {
        const QSignalBlocker quietMail(m_mailMode);
        const QSignalBlocker quietChat(m_chatMode);
        (mail ? m_mailMode : m_chatMode)->setChecked(true);
    }
    m_compose->setFixedHeight(mail ? kComposeMailHeight : kComposeChatHeight);
    m_chat->setFixedHeight(mail ? kChatMailHeight : kChatChatHeight);
    m_send->setText(mail ? QStringLiteral("Send mail") : QStringLiteral("Send chat"));
    m_compose->setPlaceholderText(mail ? QStringLiteral("The mail to the checked friends")
                                       : QStringLiteral("A line for the chat room"));
    // The chat area takes its new place at once, not at the next turn of the event loop.
    if (layout()) layout()->activate();
    RefreshChat();
    ScrollChatToEnd();
}

void CSendPage::Send() {
    const std::u16string text = m_compose->Text();
    const bool taken = m_mode == Mode::Mail ? m_mail.SendMail(text) : m_mail.SendChat(text);
    // What was typed stays until it was taken; the focus stays for the next line either way.
    if (taken) {
        m_compose->ShowText(u"");
        m_typed = false;
    }
    m_compose->setFocus();
}

void CSendPage::AddTypedFriend() {
    // A name that was not taken stays in its box to be corrected.
    if (m_mail.AddFriend(ToU16(m_friendName->text()))) m_friendName->clear();
}

void CSendPage::StartMail(const QString& text) {
    std::u16string composed = ToU16(text);
    const std::u16string draft = m_compose->Text();
    // What the user typed and did not send yet is kept, above the mail's text; a text that
    // only came from an earlier Reply or Forward is replaced.
    if (m_typed && !draft.empty()) composed = draft + u"\r\n" + composed;
    m_compose->ShowText(composed);
    m_typed = false;
    SetMode(Mode::Mail);
    m_compose->setFocus();
    m_compose->moveCursor(QTextCursor::End);
}

void CSendPage::ShowChat() {
    SetMode(Mode::Chat);
    m_compose->setFocus();
}

}  // namespace pondrel
