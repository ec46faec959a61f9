#include "sync/ui/CMailManagerPage.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "platform/ui/PageTitle.h"
#include "platform/ui/QtLines.h"
#include "platform/ui/QtText.h"
#include "sync/ui/CConnectButtons.h"
#include "sync/ui/SyncIcons.h"

namespace pondrel {

namespace {

constexpr int kFontPixels = 11;
constexpr int kListFontPixels = 10;
constexpr int kTitleHeight = 16;
constexpr int kButtonHeight = 20;
constexpr int kReadingHeight = 62;
constexpr int kKeyRole = Qt::UserRole;

constexpr std::array<MailBox, 3> kBoxes = {MailBox::Inbox, MailBox::Outbox, MailBox::SentItems};

size_t Index(MailBox box) {
    return static_cast<size_t>(box);
}

// What names a mail in its box whatever its state: the peer, the code, when it was sent.
QString RowKey(const MailRow& row) {
    const auto& c = row.columns;
    return ToQString(c[MailRow::kPeer] + u'\n' + c[MailRow::kCode] + u'\n' +
                     c[MailRow::kDateSending] + u'\n' + c[MailRow::kTimeSending]);
}

QTreeWidget* MakeList(MailBox box, QWidget* parent) {
    static const char* const kNames[] = {"inboxList", "outboxList", "sentItemsList"};
    auto* list = new QTreeWidget(parent);
    list->setObjectName(QString::fromLatin1(kNames[Index(box)]));
    QFont font = list->font();
    font.setPixelSize(kListFontPixels);
    list->setFont(font);
    list->header()->setFont(font);
    list->setColumnCount(kMailColumns);
    list->setHeaderLabels(
        {box == MailBox::Inbox ? QStringLiteral("Sender") : QStringLiteral("Destination"),
         QStringLiteral("Message"), QStringLiteral("State"), QStringLiteral("Time sending"),
         QStringLiteral("Date sending"), QStringLiteral("Code"), QStringLiteral("Time reception"),
         QStringLiteral("Date reception"), QStringLiteral("Time read"), QStringLiteral("Date read"),
         QStringLiteral("Message")});
    list->header()->setStretchLastSection(false);
    list->header()->setMinimumSectionSize(8);
    list->header()->setStyleSheet(QStringLiteral("QHeaderView::section { padding: 0px 1px; }"));
    for (int column = 0; column < kMailColumns; ++column) {
        const int width = CMailManagerPage::kColumnWidths[static_cast<size_t>(column)];
        list->setColumnHidden(column, width == 0);
        if (width > 0) list->setColumnWidth(column, width);
    }
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setIconSize(QSize(16, 16));
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setTextElideMode(Qt::ElideRight);
    list->setFocusPolicy(Qt::NoFocus);
    list->setAllColumnsShowFocus(true);
    return list;
}

QPushButton* PageButton(const QString& text, const QString& name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setFixedHeight(kButtonHeight);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

CMailManagerPage::CMailManagerPage(const QString& title, MailBoxes& mail, QWidget* parent)
    : QWidget(parent), m_mail(mail) {
    setObjectName(QStringLiteral("mailManagerPage"));
    for (size_t icon = 0; icon < m_icons.size(); ++icon) {
        m_icons[icon] = DrawMailIcon(static_cast<int>(icon));
    }
    QFont font = this->font();
    font.setPixelSize(kFontPixels);
    setFont(font);

    auto* heading = new QLabel(title, this);
    heading->setObjectName(QStringLiteral("mailManagerTitle"));
    StylePageTitle(heading);
    heading->setFixedHeight(kTitleHeight);
    m_userName = new QLabel(QStringLiteral("User name : "), this);
    m_userName->setObjectName(QStringLiteral("userNameLine"));
    m_buttons = new CConnectButtons(QStringLiteral("mail"), this);

    static const char* const kChoiceNames[] = {"inboxButton", "outboxButton", "sentItemsButton"};
    static const char* const kChoiceTexts[] = {"Inbox", "Outbox", "Sent Items"};
    auto* choices = new QButtonGroup(this);
    auto* choiceRow = new QHBoxLayout;
    choiceRow->setSpacing(6);
    m_stack = new QStackedWidget(this);
    for (MailBox box : kBoxes) {
        auto* choice = new QRadioButton(QString::fromLatin1(kChoiceTexts[Index(box)]), this);
        choice->setObjectName(QString::fromLatin1(kChoiceNames[Index(box)]));
        choice->setFocusPolicy(Qt::NoFocus);
        choices->addButton(choice);
        choiceRow->addWidget(choice);
        m_choices[Index(box)] = choice;
        connect(choice, &QRadioButton::toggled, this, [this, box](bool on) {
            if (on) ShowBox(box);
        });
        QTreeWidget* list = MakeList(box, m_stack);
        m_lists[Index(box)] = list;
        m_stack->addWidget(list);
        connect(list, &QTreeWidget::itemClicked, this,
                [this](QTreeWidgetItem* item) { RowTapped(item); });
    }
    choiceRow->addStretch(1);

    m_answer = PageButton(QStringLiteral("Reply"), QStringLiteral("answerButton"), this);
    auto* remove = PageButton(QStringLiteral("Delete"), QStringLiteral("deleteMailButton"), this);
    auto* removeAll =
        PageButton(QStringLiteral("Delete all"), QStringLiteral("deleteAllButton"), this);
    auto* commandRow = new QHBoxLayout;
    commandRow->setSpacing(4);
    commandRow->addWidget(m_answer, 1);
    commandRow->addWidget(remove, 1);
    commandRow->addWidget(removeAll, 1);

    m_reading = new QPlainTextEdit(this);
    m_reading->setObjectName(QStringLiteral("readingBox"));
    m_reading->setReadOnly(true);
    m_reading->setFixedHeight(kReadingHeight);
    m_reading->setPlaceholderText(QStringLiteral("Tap a mail to read it"));

    auto* body = new QVBoxLayout;
    body->setContentsMargins(3, 2, 3, 3);
    body->setSpacing(2);
    body->addWidget(m_userName);
    body->addWidget(m_buttons);
    body->addLayout(choiceRow);
    body->addWidget(m_stack, 1);
    body->addLayout(commandRow);
    body->addWidget(m_reading);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(heading);
    layout->addLayout(body, 1);

    connect(m_answer, &QPushButton::clicked, this, [this] { Answer(); });
    connect(remove, &QPushButton::clicked, this, [this] { DeleteOne(); });
    connect(removeAll, &QPushButton::clicked, this, [this] { DeleteAll(); });

    m_choices[Index(MailBox::Inbox)]->setChecked(true);
    ShowBox(MailBox::Inbox);
    Refresh();
}

void CMailManagerPage::SetUserName(const QString& userName) {
    m_userName->setText(QStringLiteral("User name : ") + userName);
}

void CMailManagerPage::SetOnline(bool online) {
    // The user name line says whether the server knows the user now.
    m_userName->setStyleSheet(online ? QStringLiteral("QLabel { color: #006400; }")
                                     : QStringLiteral("QLabel { color: #505050; }"));
    m_userName->setToolTip(online ? QStringLiteral("online") : QStringLiteral("offline"));
}

int CMailManagerPage::SelectedRow() const {
    QTreeWidget* list = List(m_box);
    const QList<QTreeWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->indexOfTopLevelItem(selected.front());
}

void CMailManagerPage::ShowBox(MailBox box) {
    m_box = box;
    {
        const QSignalBlocker quiet(m_choices[Index(box)]);
        m_choices[Index(box)]->setChecked(true);
    }
    m_stack->setCurrentWidget(List(box));
    m_answer->setText(box == MailBox::Inbox    ? QStringLiteral("Reply")
                      : box == MailBox::Outbox ? QStringLiteral("Resend")
                                               : QStringLiteral("Forward"));
    const int row = SelectedRow();
    const auto& rows = m_mail.Rows(box);
    ShowReading(row >= 0 && static_cast<size_t>(row) < rows.size()
                    ? rows[static_cast<size_t>(row)].columns[MailRow::kMessage]
                    : std::u16string());
}

void CMailManagerPage::Refresh() {
    for (MailBox box : kBoxes) RefreshList(box);
}

void CMailManagerPage::RefreshList(MailBox box) {
    QTreeWidget* list = List(box);
    const std::vector<MailRow>& rows = m_mail.Rows(box);
    const int count = static_cast<int>(rows.size());
    const int before = list->topLevelItemCount();
    const QList<QTreeWidgetItem*> selected = list->selectedItems();
    const int selectedRow = selected.isEmpty() ? -1 : list->indexOfTopLevelItem(selected.front());
    const QString selectedKey =
        selected.isEmpty() ? QString() : selected.front()->data(0, kKeyRole).toString();

    // The items are updated where they are: the list keeps its scroll position, and a tap being
    // handled never loses its item.
    const QSignalBlocker quiet(list);
    while (list->topLevelItemCount() > count) {
        delete list->takeTopLevelItem(list->topLevelItemCount() - 1);
    }
    while (list->topLevelItemCount() < count) list->addTopLevelItem(new QTreeWidgetItem);
    int keep = -1;
    for (int i = 0; i < count; ++i) {
        const MailRow& row = rows[static_cast<size_t>(i)];
        QTreeWidgetItem* item = list->topLevelItem(i);
        for (int column = 0; column < kMailColumns; ++column) {
            item->setText(column, ToQString(row.columns[static_cast<size_t>(column)]));
        }
        item->setToolTip(0, ToQString(row.columns[MailRow::kState]));
        item->setToolTip(MailRow::kFlatMessage, ToQString(row.columns[MailRow::kFlatMessage]));
        const bool known = row.icon >= 0 && row.icon < static_cast<int>(m_icons.size());
        item->setIcon(0, m_icons[known ? static_cast<size_t>(row.icon) : size_t{kMailFailed}]);
        const QString key = RowKey(row);
        item->setData(0, kKeyRole, key);
        if (!selectedKey.isEmpty() && key == selectedKey) keep = i;
    }
    // A mail whose code changed (Resend) stays selected where it was.
    if (keep < 0 && selectedRow >= 0 && before == count) keep = selectedRow;
    list->clearSelection();
    if (keep >= 0) {
        list->topLevelItem(keep)->setSelected(true);
    } else if (selectedRow >= 0 && box == m_box) {
        ShowReading(std::u16string());
    }
}

void CMailManagerPage::ShowReading(const std::u16string& text) {
    m_reading->setPlainText(ShownLines(text));
}

void CMailManagerPage::RowTapped(QTreeWidgetItem* item) {
    const MailBox box = m_box;
    const int row = List(box)->indexOfTopLevelItem(item);
    // Opening an Inbox mail refreshes the page; the text is shown afterwards.
    if (std::optional<std::u16string> text = m_mail.Open(box, row)) ShowReading(*text);
}

void CMailManagerPage::Answer() {
    const int row = SelectedRow();
    if (m_box == MailBox::Outbox) {
        m_mail.Resend(row);
        return;
    }
    if (std::optional<std::u16string> text = m_mail.ReplyOrForward(m_box, row)) {
        if (m_compose) m_compose(ToQString(*text));
    }
}

void CMailManagerPage::DeleteOne() {
    const int row = SelectedRow();
    const size_t before = m_mail.Rows(m_box).size();
    m_mail.Delete(m_box, row);
    if (m_mail.Rows(m_box).size() < before) {
        List(m_box)->clearSelection();
        ShowReading(std::u16string());
    }
}

void CMailManagerPage::DeleteAll() {
    m_mail.DeleteAll(m_box);
    if (m_mail.Rows(m_box).empty()) ShowReading(std::u16string());
}

}  // namespace pondrel
