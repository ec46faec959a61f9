#include "documents/ui/CPrintPreviewDlg.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include "documents/ui/CRtfView.h"
#include "documents/ui/LetterPageStyle.h"

namespace pondrel {
namespace {

constexpr int kViewTop = 17;
constexpr int kViewHeight = 252;

}  // namespace

CPrintPreviewDlg::CPrintPreviewDlg(std::string rtf, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("printPreview"));
    setWindowTitle(QStringLiteral("Print preview"));
    setFixedSize(kLetterPageWidth, kViewTop + kViewHeight);
    UseLetterFont(this);

    QPushButton* full =
        LetterButton(this, "printPreviewFull", QStringLiteral("100%"), {0, 0, 0, 16});
    QPushButton* page =
        LetterButton(this, "printPreviewPage", QStringLiteral("Page"), {0, 0, 0, 16});
    QPushButton* ok = LetterButton(this, "printPreviewOk", QStringLiteral("Ok"), {0, 0, 0, 16});
    const int left = PlaceButtonsFromRight(this, {ok, page, full}, 0);
    LetterCaption(this, "printPreviewHeading", QStringLiteral("Print preview"),
                  {4, 0, left - 6, 16});
    m_view = new CRtfView(this);
    m_view->setObjectName(QStringLiteral("printPreviewView"));
    m_view->setGeometry(0, kViewTop, kLetterPageWidth, kViewHeight);

    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_view->SetDocument(std::move(rtf), kFullZoom);
    QApplication::restoreOverrideCursor();

    connect(full, &QPushButton::clicked, this, [this] { m_view->SetZoom(kFullZoom); });
    connect(page, &QPushButton::clicked, this, [this] { m_view->SetZoom(kPageZoom); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void CPrintPreviewDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_view->ScrollToTop();
}

}  // namespace pondrel
