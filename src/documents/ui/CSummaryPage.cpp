#include "documents/ui/CSummaryPage.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include <QMouseEvent>

#include "documents/ui/CHtmlView.h"
#include "platform/ui/CPopupList.h"
#include "platform/ui/QtText.h"

namespace pondrel {

namespace {

constexpr int kBarHeight = 18;
constexpr int kBarPixelSize = 11;

const char* CommandName(CSummaryPage::Command command) {
    switch (command) {
        case CSummaryPage::Command::PreviousEntryDay:
            return "PreviousEntryDay";
        case CSummaryPage::Command::PreviousDay:
            return "PreviousDay";
        case CSummaryPage::Command::NextDay:
            return "NextDay";
        case CSummaryPage::Command::NextEntryDay:
            return "NextEntryDay";
        case CSummaryPage::Command::FirstDay:
            return "FirstDay";
        case CSummaryPage::Command::Now:
            return "Now";
        case CSummaryPage::Command::PreviousProblem:
            return "PreviousProblem";
        case CSummaryPage::Command::NextProblem:
            return "NextProblem";
        case CSummaryPage::Command::Today:
            return "Today";
        case CSummaryPage::Command::List:
            return "List";
    }
    return "";
}

}  // namespace

CSummaryPage::CSummaryPage(Bar bar, const QString& name, QWidget* parent)
    : QWidget(parent), m_name(name) {
    setObjectName(name);
    setFixedSize(kWidth, kHeight);
    QFont small = font();
    small.setPixelSize(kBarPixelSize);
    setFont(small);

    m_bar = new QWidget(this);
    m_bar->setObjectName(name + QStringLiteral("Bar"));
    m_bar->setGeometry(0, 0, kWidth, kBarHeight);
    m_bar->setStyleSheet(
        QStringLiteral("QWidget#%1 { background: #dfe7f5; border-bottom: 1px solid #9fb3d8; } "
                       "QPushButton { padding: 0px 2px; } QToolButton { padding: 0px; }")
            .arg(m_bar->objectName()));
    auto* layout = new QHBoxLayout(m_bar);
    layout->setContentsMargins(1, 0, 1, 1);
    layout->setSpacing(1);

    m_caption = new QLabel(m_bar);
    m_caption->setObjectName(name + QStringLiteral("Caption"));
    m_caption->setAlignment(Qt::AlignCenter);
    QFont bold = small;
    bold.setBold(true);
    m_caption->setFont(bold);
    m_caption->setStyleSheet(QStringLiteral("color: #203a6a;"));

    switch (bar) {
        case Bar::Caption:
            m_caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            m_caption->setIndent(4);
            layout->addWidget(m_caption, 1);
            break;
        case Bar::Day:
            AddButton("PreviousEntryDay", QStringLiteral("<"), 16, Command::PreviousEntryDay);
            AddArrow("PreviousDay", Qt::LeftArrow, 16, Command::PreviousDay);
            layout->addWidget(m_caption, 1);
            AddArrow("NextDay", Qt::RightArrow, 16, Command::NextDay);
            AddButton("NextEntryDay", QStringLiteral(">"), 16, Command::NextEntryDay);
            AddButton("FirstDay", QStringLiteral("D1"), 22, Command::FirstDay);
            AddButton("Now", QStringLiteral("Now"), 30, Command::Now);
            break;
        case Bar::Problem:
            AddArrow("PreviousProblem", Qt::LeftArrow, 16, Command::PreviousProblem);
            layout->addWidget(m_caption, 1);
            AddArrow("NextProblem", Qt::RightArrow, 16, Command::NextProblem);
            break;
        case Bar::AllPatients:
            AddArrow("PreviousDay", Qt::LeftArrow, 16, Command::PreviousDay);
            layout->addWidget(m_caption, 1);
            AddArrow("NextDay", Qt::RightArrow, 16, Command::NextDay);
            AddButton("Today", QStringLiteral("Now"), 30, Command::Today);
            break;
    }

    m_view = new CHtmlView(this);
    m_view->setObjectName(name + QStringLiteral("View"));
    m_view->setGeometry(0, kBarHeight, kWidth, kHeight - kBarHeight);

    if (bar == Bar::Day || bar == Bar::Problem) {
        m_captionOpensList = true;
        m_caption->setCursor(Qt::PointingHandCursor);
        m_caption->installEventFilter(this);
        m_list = new CPopupList(this);
        m_list->setObjectName(name + QStringLiteral("List"));
        m_list->SetClosesOnFocusOut(true);
        // Long rows are cut at the right edge rather than given a scroll bar over the rows.
        m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_list->hide();
        connect(m_list, &CPopupList::chosen, this, [this](int row) {
            HideList();
            if (m_listHandler) m_listHandler(row);
        });
    }
}

bool CSummaryPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_caption && m_captionOpensList && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (m_handler) m_handler(Command::List);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void CSummaryPage::ShowList(const std::vector<std::u16string>& rows, int selected) {
    if (!m_list) return;
    m_list->SetRows(rows);
    const int height = m_list->HeightFor(static_cast<int>(rows.size()), 40, kHeight - kBarHeight);
    m_list->setGeometry(0, kBarHeight, kWidth, height);
    if (selected >= 0 && selected < m_list->count()) {
        m_list->setCurrentRow(selected);
        m_list->scrollToItem(m_list->item(selected));
    }
    m_list->show();
    m_list->raise();
    m_list->setFocus();
}

void CSummaryPage::HideList() {
    if (m_list) m_list->hide();
}

bool CSummaryPage::ListShown() const {
    return m_list && m_list->isVisible();
}

QAbstractButton* CSummaryPage::AddButton(const char* name, const QString& text, int width,
                                         Command command) {
    auto* button = new QPushButton(text, m_bar);
    button->setObjectName(m_name + QString::fromLatin1(name));
    button->setFixedSize(width, kBarHeight - 1);
    button->setFocusPolicy(Qt::NoFocus);
    m_bar->layout()->addWidget(button);
    connect(button, &QPushButton::clicked, this, [this, command] {
        if (m_handler) m_handler(command);
    });
    return button;
}

QAbstractButton* CSummaryPage::AddBarButton(const QString& name, const QString& text, int width) {
    auto* button = new QPushButton(text, m_bar);
    button->setObjectName(name);
    button->setFixedSize(width, kBarHeight - 1);
    button->setFocusPolicy(Qt::NoFocus);
    m_bar->layout()->addWidget(button);
    button->show();                              // the bar may be on screen already
    SetCaption(m_fullCaption.toStdU16String());  // less room for the caption
    return button;
}

QAbstractButton* CSummaryPage::AddArrow(const char* name, Qt::ArrowType arrow, int width,
                                        Command command) {
    auto* button = new QToolButton(m_bar);
    button->setObjectName(m_name + QString::fromLatin1(name));
    button->setArrowType(arrow);
    button->setFixedSize(width, kBarHeight - 1);
    button->setFocusPolicy(Qt::NoFocus);
    m_bar->layout()->addWidget(button);
    connect(button, &QToolButton::clicked, this, [this, command] {
        if (m_handler) m_handler(command);
    });
    return button;
}

void CSummaryPage::SetCaption(const std::u16string& caption) {
    m_fullCaption = ToQString(caption);
    m_bar->layout()->activate();
    // A caption wider than its place is cut with an ellipsis; the whole text is its tip.
    const int room = m_caption->contentsRect().width() - 2 * std::max(0, m_caption->indent()) - 2;
    const QString shown = m_caption->fontMetrics().elidedText(m_fullCaption, Qt::ElideRight, room);
    m_caption->setText(shown);
    m_caption->setToolTip(shown == m_fullCaption ? QString() : m_fullCaption);
}

QString CSummaryPage::Caption() const {
    return m_fullCaption;
}

void CSummaryPage::SetButtonWords(const QString& now, const QString& firstDay) {
    for (const char* name : {"Now", "Today"}) {
        if (auto* button = findChild<QAbstractButton*>(m_name + QString::fromLatin1(name))) {
            button->setText(now);
        }
    }
    if (auto* button = findChild<QAbstractButton*>(m_name + QStringLiteral("FirstDay"))) {
        button->setText(firstDay);
    }
}

void CSummaryPage::EnableCommand(Command command, bool enabled) {
    if (auto* button =
            findChild<QAbstractButton*>(m_name + QString::fromLatin1(CommandName(command)))) {
        button->setEnabled(enabled);
    }
}

}  // namespace pondrel
