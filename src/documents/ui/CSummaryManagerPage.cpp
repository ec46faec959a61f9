#include "documents/ui/CSummaryManagerPage.h"

#include <QLabel>
#include <QPushButton>

#include "documents/ui/CRtfView.h"
#include "documents/ui/LetterPageStyle.h"
#include "platform/ui/CPopupList.h"

namespace pondrel {
namespace {

constexpr int kRow = kLetterRowHeight;
constexpr int kGap = 2;
// The recent list: 11 pixels a row and 3 more, at least 15.
constexpr int kRecentRowHeight = 11;
constexpr int kRecentExtra = 3;
constexpr int kRecentMinimum = 15;

}  // namespace

CSummaryManagerPage::CSummaryManagerPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("summaryManagerPage"));
    resize(kLetterPageWidth, kLetterPageHeight);
    UseLetterFont(this);
    setAutoFillBackground(true);

    const int y = kGap;
    QPushButton* choose =
        LetterButton(this, "managerTemplate", QStringLiteral("Template"), {0, y, 0, kRow});
    QPushButton* last = LetterButton(this, "managerLast", QStringLiteral("Last"), {0, y, 0, kRow});
    QPushButton* save = LetterButton(this, "managerSave", QStringLiteral("Save"), {0, y, 0, kRow});
    QPushButton* zoom = LetterButton(this, "managerZoom", QStringLiteral("Z"), {0, y, 0, kRow});
    const int buttonsLeft = PlaceButtonsFromRight(this, {zoom, save, last, choose}, y);
    m_caption = LetterCaption(this, "managerCaption", QStringLiteral("Summary manager"),
                              {4, y, buttonsLeft - 6, kRow});

    const int top = y + kRow + kGap;
    m_view = new CRtfView(this);
    m_view->setObjectName(QStringLiteral("managerView"));
    m_view->setGeometry(0, top, kLetterPageWidth, kLetterPageHeight - top);

    m_recent = new CPopupList(this);
    m_recent->setObjectName(QStringLiteral("managerRecent"));
    m_recent->setGeometry(4, top, kLetterPageWidth - 8, kRecentMinimum);
    m_recent->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont small = m_recent->font();
    small.setPixelSize(9);
    m_recent->setFont(small);
    m_recent->hide();

    connect(choose, &QPushButton::clicked, this, &CSummaryManagerPage::chooseTemplate);
    connect(last, &QPushButton::clicked, this, &CSummaryManagerPage::toggleRecent);
    connect(save, &QPushButton::clicked, this, &CSummaryManagerPage::saveDocument);
    connect(zoom, &QPushButton::clicked, this, &CSummaryManagerPage::toggleZoom);
    connect(m_recent, &CPopupList::chosen, this, &CSummaryManagerPage::recentChosen);
}

void CSummaryManagerPage::SetCaption(const QString& caption) {
    SetCaptionText(m_caption, caption);
}

QString CSummaryManagerPage::Caption() const {
    return m_caption->property("fullText").toString();
}

void CSummaryManagerPage::ShowRecentRows(const std::vector<std::u16string>& rows) {
    m_recent->SetRows(rows);
    for (int i = 0; i < m_recent->count(); ++i) {
        m_recent->item(i)->setSizeHint(QSize(0, kRecentRowHeight));
    }
    const int rowCount = static_cast<int>(rows.size());
    const int height = std::max(kRecentMinimum, rowCount * kRecentRowHeight + kRecentExtra);
    m_recent->resize(m_recent->width(), std::min(height, kLetterPageHeight - m_recent->y()));
    m_recent->show();
    m_recent->raise();
    m_recent->setFocus();
}

void CSummaryManagerPage::HideRecent() {
    m_recent->hide();
}

bool CSummaryManagerPage::RecentShown() const {
    return m_recent->isVisible();
}

}  // namespace pondrel
