#include "documents/ui/CRtfView.h"

#include <QScrollBar>
#include <QScroller>

#include "documents/ui/RtfTextReader.h"

namespace pondrel {

CRtfView::CRtfView(QWidget* parent) : QTextEdit(parent) {
    setReadOnly(true);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setFrameShape(QFrame::StyledPanel);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setStyleSheet(QStringLiteral("QTextEdit { background: white; }"));
    // Dragged with the stylus (or the mouse), the document scrolls, as on the handheld.
    QScroller::grabGesture(viewport(), QScroller::LeftMouseButtonGesture);
}

void CRtfView::SetDocument(std::string bytes, int zoomPercent) {
    m_bytes = std::move(bytes);
    m_zoom = zoomPercent;
    Render();
}

void CRtfView::SetZoom(int zoomPercent) {
    m_zoom = zoomPercent;
    Render();
}

void CRtfView::ScrollToTop() {
    verticalScrollBar()->setValue(0);
}

void CRtfView::Render() {
    RtfTextReader::Read(m_bytes, *document(), m_zoom / 100.0);
    document()->setDocumentMargin(4);
    ScrollToTop();
}

}  // namespace pondrel
