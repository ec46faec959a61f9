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
    m_shownValid = false;
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

namespace {

QPen PenOf(const QColor& colour, int widthCode) {
    // Square ends close the joins of the segments, which Qt draws fastest one by one.
    return QPen(colour, PenWidth(widthCode), Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

void PaintEndDot(QPainter& painter, const QColor& colour, DrawingPoint at, int widthCode) {
    const std::optional<DotRect> dot = EndDot(at, widthCode);
    if (!dot) return;
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(
        QRect(dot->left, dot->top, dot->right - dot->left + 1, dot->bottom - dot->top + 1));
}

}  // namespace

void CDrawingArea::PaintDrawing(QPainter& painter, const std::vector<Stroke>& strokes) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    std::vector<QLine> lines;
    for (const Stroke& s : strokes) {
        const QColor colour(s.colour.red, s.colour.green, s.colour.blue);
        const DrawingPoint& first = s.points.front();
        const DrawingPoint& last = s.points.back();
        const bool onePlace = std::all_of(s.points.begin(), s.points.end(),
                                          [&](const DrawingPoint& p) { return p == first; });
        if (onePlace) {
            // A tap: a pixel for the thin pen; the end dot shows the others.
            if (s.widthCode == 0) painter.fillRect(first.x, first.y, 1, 1, colour);
            PaintEndDot(painter, colour, first, s.widthCode);
            continue;
        }
        // Two points are a segment like any longer stroke (the file keeps its points).
        lines.clear();
        for (size_t i = 1; i < s.points.size(); ++i) {
            if (s.points[i] == s.points[i - 1]) continue;
            lines.emplace_back(s.points[i - 1].x, s.points[i - 1].y, s.points[i].x,
                               s.points[i].y);
        }
        painter.setPen(PenOf(colour, s.widthCode));
        painter.setBrush(Qt::NoBrush);
        painter.drawLines(lines.data(), static_cast<int>(lines.size()));
        PaintEndDot(painter, colour, first, s.widthCode);
        PaintEndDot(painter, colour, last, s.widthCode);
    }
}

void CDrawingArea::DrawWhole(qreal scale, std::u16string_view text) {
    const QSize pixels = (QSizeF(size()) * scale).toSize();
    m_shownImage = QImage(pixels, QImage::Format_RGB32);
    m_shownImage.setDevicePixelRatio(scale);
    QPainter painter(&m_shownImage);
    if (m_picture.isNull()) {
        m_shownImage.fill(Qt::white);
    } else {
        if (m_scaled.size() != pixels) {
            m_scaled = m_picture.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            m_scaled.setDevicePixelRatio(scale);
        }
        painter.drawImage(QPoint(0, 0), m_scaled);
    }
    PaintDrawing(painter, ReadDrawing(text).strokes);
    m_shownText = text;
    m_shownScale = scale;
    m_shownValid = true;
    ++m_fullDraws;
}

void CDrawingArea::DrawSegment(DrawingPoint from, DrawingPoint to, bool opensStroke) {
    const int widthCode = m_host.WidthCodeNow();
    const DrawingColour c = m_host.PenColourNow();
    const QColor colour(c.red, c.green, c.blue);
    QPainter painter(&m_shownImage);
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (opensStroke) PaintEndDot(painter, colour, from, widthCode);
    if (from != to) {
        painter.setPen(PenOf(colour, widthCode));
        painter.drawLine(from.x, from.y, to.x, to.y);
    }
    const int margin = PenWidth(widthCode) + 4;
    update(QRect(QPoint(std::min(from.x, to.x), std::min(from.y, to.y)),
                 QPoint(std::max(from.x, to.x), std::max(from.y, to.y)))
               .adjusted(-margin, -margin, margin, margin));
}

void CDrawingArea::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    // The zoom painted at: the form's, or that of a picture the area is rendered into.
    const qreal scale = std::max<qreal>(1.0, std::abs(painter.deviceTransform().m11()));
    const std::u16string_view text = m_shown ? std::u16string_view(*m_shown) : u"";
    if (!m_shownValid || m_shownScale != scale ||
        m_shownImage.size() != (QSizeF(size()) * scale).toSize() || text != m_shownText) {
        DrawWhole(scale, text);
    }
    painter.drawImage(QPoint(0, 0), m_shownImage);
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
    // The picture shown takes the segment alone when it showed the text before it.
    const bool current = m_shownValid && m_target == m_shown && *m_target == m_shownText;
    const size_t before = m_target->size();
    const StrokeCapture::Outcome outcome = m_capture.AddSegment(
        *m_target, m_from, to, m_host.PenColourNow(), m_host.WidthCodeNow());
    m_drewSincePress = true;
    if (outcome == StrokeCapture::Outcome::Full) {
        if (!m_refused) m_host.DrawingFull(m_area);
        m_refused = true;
        return;
    }
    if (current && m_target->size() > before) {
        m_shownText.append(*m_target, before);
        DrawSegment(m_from, to, (*m_target)[before] == kStrokeMark);
    } else {
        update();
    }
    m_from = to;
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
    // The stroke drawn again whole, with its end dots, as every later paint will show it.
    m_shownValid = false;
    update();
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
