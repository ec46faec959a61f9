#include "documents/ui/CRtfView.h"

#include <QScrollBar>
#include <QMouseEvent>

#include "documents/ui/RtfTextReader.h"

namespace pondrel {

CRtfView::CRtfView(QWidget* parent) : QTextEdit(parent) {
    setReadOnly(true);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setFrameShape(QFrame::StyledPanel);
    setTextInteractionFlags(Qt::NoTextInteraction);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setStyleSheet(QStringLiteral("QTextEdit { background: white; }"));
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

void CRtfView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QTextEdit::mousePressEvent(event);
    m_dragging = true;
    m_dragStartY = event->position().toPoint().y();
    m_dragStartValue = verticalScrollBar()->value();
}

void CRtfView::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging) return QTextEdit::mouseMoveEvent(event);
    constexpr int kPixelsPerLine = 12;
    const int lines = (event->position().toPoint().y() - m_dragStartY) / kPixelsPerLine;
    // The document follows the stylus: moving down shows what is above.
    verticalScrollBar()->setValue(m_dragStartValue - lines * verticalScrollBar()->singleStep());
}

void CRtfView::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_dragging) return QTextEdit::mouseReleaseEvent(event);
    m_dragging = false;
}

void CRtfView::Render() {
    RtfTextReader::Read(m_bytes, *document(), m_zoom / 100.0);
    document()->setDocumentMargin(4);
    ScrollToTop();
}

}  // namespace pondrel
