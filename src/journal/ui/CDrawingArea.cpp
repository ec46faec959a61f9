#include "journal/ui/CDrawingArea.h"

#include <algorithm>
#include <cmath>

#include <QMouseEvent>
#include <QPainter>
#include <QTabletEvent>

namespace pondrel {

CDrawingArea::CDrawingArea(int area, DrawingAreaHost& host, QWidget* parent)
    : QWidget(parent), m_area(area), m_host(host) {
    setObjectName(QStringLiteral("drawingArea%1").arg(area));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
}

void CDrawingArea::SetPicture(const QImage& picture) {
    m_picture = picture;
    m_scaled = QImage();
    update();
}

void CDrawingArea::ShowDrawing(const std::u16string* text) {
    if (m_penDown && text != m_shown) {
        m_penDown = false;  // the record changed under the pen: the stroke ends here
        m_target = nullptr;
    }
    m_shown = text;
    update();
}

const std::vector<Stroke>& CDrawingArea::Strokes() {
    const std::u16string_view text = m_shown ? std::u16string_view(*m_shown) : u"";
    if (text != m_readText) {
        m_readText = text;
        m_strokes = ReadDrawing(text).strokes;
    }
    return m_strokes;
}

void CDrawingArea::PaintDrawing(QPainter& painter, const std::vector<Stroke>& strokes) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPolygon line;
    for (const Stroke& s : strokes) {
        const QColor colour(s.colour.red, s.colour.green, s.colour.blue);
        const int width = PenWidth(s.widthCode);
        const DrawingPoint& first = s.points.front();
        const DrawingPoint& last = s.points.back();
        const bool onePlace = std::all_of(s.points.begin(), s.points.end(),
                                          [&](const DrawingPoint& p) { return p == first; });
        if (onePlace) {
            // A tap: a pixel for the thin pen; the end dot shows the others.
            if (s.widthCode == 0) painter.fillRect(first.x, first.y, 1, 1, colour);
        } else {
            // Two points are a segment like any longer stroke (the file keeps its points).
            line.resize(static_cast<int>(s.points.size()));
            for (size_t i = 0; i < s.points.size(); ++i) {
                line.setPoint(static_cast<int>(i), s.points[i].x, s.points[i].y);
            }
            QPen pen(colour, width, Qt::SolidLine, width > 1 ? Qt::RoundCap : Qt::SquareCap,
                     Qt::BevelJoin);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawPolyline(line);
        }
        for (const DrawingPoint& end : {first, last}) {
            const std::optional<DotRect> dot = EndDot(end, s.widthCode);
            if (!dot) continue;
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            painter.drawEllipse(QRect(dot->left, dot->top, dot->right - dot->left + 1,
                                      dot->bottom - dot->top + 1));
            if (onePlace) break;
        }
    }
}

void CDrawingArea::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    if (m_picture.isNull()) {
        painter.fillRect(rect(), Qt::white);
    } else {
        const QSize wanted = size() * devicePixelRatioF();
        if (m_scaled.size() != wanted) {
            m_scaled = m_picture.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            m_scaled.setDevicePixelRatio(devicePixelRatioF());
        }
        painter.drawImage(QPoint(0, 0), m_scaled);
    }
    PaintDrawing(painter, Strokes());
    painter.setPen(QColor(150, 150, 150));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

DrawingPoint CDrawingArea::PointAt(const QPointF& position) const {
    // The pen may leave the area while it is pressed: its points stay on the area's edge.
    const int x = std::clamp(static_cast<int>(std::lround(position.x())), 0, width() - 1);
    const int y = std::clamp(static_cast<int>(std::lround(position.y())), 0, height() - 1);
    return {x, y};
}

void CDrawingArea::PenDown(const QPointF& position) {
    if (m_penDown) return;
    if (!m_host.MayDraw(m_area)) return;
    m_target = m_host.Drawing(m_area);
    if (!m_target) return;
    m_shown = m_target;
    m_penDown = true;
    m_drewSincePress = false;
    m_refused = false;
    m_capture.Start();
    m_from = PointAt(position);
}

void CDrawingArea::Segment(DrawingPoint to) {
    if (!m_target) return;
    const StrokeCapture::Outcome outcome = m_capture.AddSegment(
        *m_target, m_from, to, m_host.PenColourNow(), m_host.WidthCodeNow());
    m_drewSincePress = true;
    if (outcome == StrokeCapture::Outcome::Full) {
        if (!m_refused) m_host.DrawingFull(m_area);
        m_refused = true;
        return;
    }
    m_from = to;
    update();
}

void CDrawingArea::PenMoved(const QPointF& position) {
    if (!m_penDown) return;
    const DrawingPoint to = PointAt(position);
    if (to == m_from) return;
    Segment(to);
}

void CDrawingArea::PenUp(const QPointF& position) {
    if (!m_penDown) return;
    // A tap leaves a dot.
    if (!m_drewSincePress) Segment(PointAt(position));
    m_penDown = false;
    m_target = nullptr;
}

void CDrawingArea::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    PenDown(event->position());
}

void CDrawingArea::mouseMoveEvent(QMouseEvent* event) {
    PenMoved(event->position());
}

void CDrawingArea::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    PenUp(event->position());
}

void CDrawingArea::tabletEvent(QTabletEvent* event) {
    // Accepted, so that Qt does not make mouse events of the same pen movement as well.
    event->accept();
    switch (event->type()) {
        case QEvent::TabletPress: PenDown(event->position()); break;
        case QEvent::TabletMove: PenMoved(event->position()); break;
        case QEvent::TabletRelease: PenUp(event->position()); break;
        default: break;
    }
}

}  // namespace pondrel
