#include "charts/ui/CExamGraphWnd.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include "charts/ExamGraph.h"
#include "platform/ui/QtText.h"

namespace pondrel {

namespace {

QFont GraphFont(int pixelHeight) {
    QFont font;
    font.setPixelSize(pixelHeight);
    font.setWeight(QFont::Normal);
    return font;
}

QColor ToQColor(const GraphColour& colour) {
    return QColor(colour.red, colour.green, colour.blue);
}

int TextWidth(std::u16string_view text, int fontHeight) {
    return QFontMetrics(GraphFont(fontHeight)).horizontalAdvance(ToQString(text));
}

Qt::Alignment ToQtAlignment(const GraphItem& item) {
    Qt::Alignment align = Qt::AlignHCenter;
    if (item.align == GraphItem::Align::Left) align = Qt::AlignLeft;
    if (item.align == GraphItem::Align::Right) align = Qt::AlignRight;
    switch (item.valign) {
        case GraphItem::VAlign::Top:
            return align | Qt::AlignTop;
        case GraphItem::VAlign::Centre:
            return align | Qt::AlignVCenter;
        case GraphItem::VAlign::Bottom:
            return align | Qt::AlignBottom;
    }
    return align;
}

}  // namespace

CExamGraphWnd::CExamGraphWnd(const ExamGraph& graph, std::function<DateTime()> now, QWidget* parent)
    : QWidget(parent), m_graph(graph), m_now(std::move(now)) {
    setObjectName(QStringLiteral("examGraph"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_zoom = new QPushButton(ToQString(ExamGraph::kZoomText), this);
    m_zoom->setObjectName(QStringLiteral("zoomButton"));
    m_zoom->setFont(GraphFont(ExamGraph::kFontHeight));
    m_zoom->setFocusPolicy(Qt::NoFocus);
    // The button is as small as its text allows: no room for the platform's padding.
    m_zoom->setStyleSheet(QStringLiteral(
        "QPushButton { padding: 0px; border: 1px solid #808080; background: #f0f0f0; }"
        "QPushButton:pressed { background: #c8c8c8; }"));
    m_zoom->hide();
    connect(m_zoom, &QPushButton::clicked, this, [this] {
        if (m_onZoom) m_onZoom();
    });
}

void CExamGraphWnd::Refresh() {
    m_zoom->setVisible(m_graph.ZoomOffered(m_now()));
    PlaceZoom();
    update();
}

void CExamGraphWnd::PlaceZoom() {
    const GraphRect box = ExamGraph::ZoomBox(width(), height(), TextWidth);
    m_zoom->setGeometry(box.left, box.top, box.right - box.left, box.bottom - box.top);
}

void CExamGraphWnd::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceZoom();
}

void CExamGraphWnd::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_onTap) m_onTap();
    QWidget::mousePressEvent(event);
}

void CExamGraphWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    GraphScene scene = m_graph.Layout(width(), height(), m_now(), TextWidth);
    for (const GraphItem& item : scene.items) {
        QPen pen(ToQColor(item.colour));
        pen.setWidth(item.penWidth);
        painter.setPen(pen);
        switch (item.kind) {
            case GraphItem::Kind::Line:
                painter.drawLine(item.points[0].x, item.points[0].y, item.points[1].x,
                                 item.points[1].y);
                break;
            case GraphItem::Kind::Polyline: {
                QPolygon polygon;
                for (const GraphPoint& p : item.points) polygon << QPoint(p.x, p.y);
                painter.drawPolyline(polygon);
                break;
            }
            case GraphItem::Kind::Fill:
                painter.fillRect(QRect(QPoint(item.points[0].x, item.points[0].y),
                                       QPoint(item.points[1].x - 1, item.points[1].y - 1)),
                                 ToQColor(item.colour));
                break;
            case GraphItem::Kind::Text: {
                painter.setFont(GraphFont(item.fontHeight));
                QRect box(QPoint(item.points[0].x, item.points[0].y),
                          QPoint(item.points[1].x, item.points[1].y));
                painter.drawText(box, ToQtAlignment(item) | Qt::TextDontClip, ToQString(item.text));
                break;
            }
        }
    }
}

}  // namespace pondrel
