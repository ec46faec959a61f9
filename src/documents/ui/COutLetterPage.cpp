#include "documents/ui/COutLetterPage.h"

#include <QLabel>
#include <QPushButton>

#include "documents/ui/CRtfView.h"
#include "documents/ui/LetterPageStyle.h"

namespace pondrel {
namespace {

constexpr int kRow = kLetterRowHeight;
constexpr int kGap = 2;

}  // namespace

COutLetterPage::COutLetterPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("outLetterPage"));
    resize(kLetterPageWidth, kLetterPageHeight);
    UseLetterFont(this);
    setAutoFillBackground(true);

    int y = kGap;
    QPushButton* save =
        LetterButton(this, "outLetterSave", QStringLiteral("Save"), {0, y, 0, kRow});
    QPushButton* zoom =
        LetterButton(this, "outLetterZoom", QStringLiteral("Zoom"), {0, y, 0, kRow});
    int left = PlaceButtonsFromRight(this, {zoom, save}, y);
    m_caption = LetterCaption(this, "outLetterCaption", QStringLiteral("Out Letter"),
                              {4, y, left - 6, kRow});
    y += kRow + kGap;
    m_view = new CRtfView(this);
    m_view->setObjectName(QStringLiteral("outLetterView"));
    m_view->setGeometry(0, y, kLetterPageWidth, kLetterPageHeight - y);

    connect(save, &QPushButton::clicked, this, &COutLetterPage::saveOutLetter);
    connect(zoom, &QPushButton::clicked, this, &COutLetterPage::zoomOutLetter);
}

void COutLetterPage::SetCaption(const QString& caption) {
    SetCaptionText(m_caption, caption);
}

}  // namespace pondrel
