#include "documents/ui/CHtmlView.h"

#include <QScrollBar>

#include "platform/ui/QtText.h"

namespace pondrel {

namespace {

// The summaries are written in font sizes 1 and 2 of a handheld's display: small, like the rest
// of the form.
constexpr int kBasePixelSize = 12;

}  // namespace

CHtmlView::CHtmlView(QWidget* parent) : QTextBrowser(parent) {
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QFont base = font();
    base.setFamily(QStringLiteral("Tahoma"));
    base.setPixelSize(kBasePixelSize);
    document()->setDefaultFont(base);
    document()->setDocumentMargin(2);
}

void CHtmlView::Clear() {
    m_source.clear();
}

void CHtmlView::AppendHtml(std::u16string_view html) {
    m_source += ToQString(html);
}

void CHtmlView::EndOfSource() {
    m_shown = m_source;
    m_source.clear();
    // The summaries end their bars with "<TR></TABLE>": a row opened and never filled, which a
    // handheld's display shows as nothing and Qt's as an empty line. The display leaves it out.
    QString display = m_shown;
    display.replace(QStringLiteral("<TR></TABLE>"), QStringLiteral("</TABLE>"));
    setHtml(display);
    ++m_shownCount;
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
}

}  // namespace pondrel
