#pragma once

#include <string>
#include <vector>

#include <QImage>
#include <QWidget>

#include "records/DrawingText.h"
#include "records/StrokeCapture.h"

namespace pondrel {

// What a drawing area asks of the form around it. Must outlive the areas.
class DrawingAreaHost {
public:
    virtual ~DrawingAreaHost() = default;
    // A press on area `area` wants to draw: false refuses it (read-only or not begun record; the
    // host has given the notice). A true answer is followed by Drawing() for the text.
    virtual bool MayDraw(int area) = 0;
    // The drawing text strokes go into while the pen is down; null: nothing to draw into.
    virtual std::u16string* Drawing(int area) = 0;
    // The pen of the form, shared by every area.
    virtual DrawingColour PenColourNow() const = 0;
    virtual int WidthCodeNow() const = 0;
    // The drawing of `area` reached its budget: a stroke was refused.
    virtual void DrawingFull(int area) = 0;

protected:
    DrawingAreaHost() = default;
    DrawingAreaHost(const DrawingAreaHost&) = default;
    DrawingAreaHost& operator=(const DrawingAreaHost&) = default;
};

// One drawing area: the picture of a body region with the record's drawing over it. A press of
// the mouse, the pen of a tablet or a finger (Qt turns an unhandled touch into mouse events)
// draws into the record's drawing text through StrokeCapture; every point the platform reports
// is taken, none is dropped. The area shows the text at every zoom (coordinates are the area's
// logical pixels): it reads and draws it once into a picture of the area at the zoom painted,
// and paints that picture again until the text, the zoom, the size or the background changes.
// While the pen is down each new segment is drawn into that picture, not the whole drawing.
class CDrawingArea final : public QWidget {
public:
    CDrawingArea(int area, DrawingAreaHost& host, QWidget* parent);

    int Area() const { return m_area; }
    // The background picture, scaled to the area; a null image shows a white area.
    void SetPicture(const QImage& picture);
    // The drawing to show (not owned; null shows the picture alone). The text must stay alive
    // until the next call: the record's drawing, given again after every record change.
    void ShowDrawing(const std::u16string* text);
    // Paints the strokes into `painter` (the drawing rules in one place, used by the area and by
    // the benchmarks).
    static void PaintDrawing(class QPainter& painter, const std::vector<Stroke>& strokes);
    bool Drawing() const { return m_penDown; }
    // How many times the area read and drew its whole drawing (for the tests of the cache).
    int FullDraws() const { return m_fullDraws; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void tabletEvent(QTabletEvent* event) override;

private:
    DrawingPoint PointAt(const QPointF& position) const;
    void PenDown(const QPointF& position);
    void PenMoved(const QPointF& position);
    void PenUp(const QPointF& position);
    void Segment(DrawingPoint to);
    // The background and the whole drawing `text` drawn at `scale` device pixels a pixel.
    void DrawWhole(qreal scale, std::u16string_view text);
    // The segment just appended drawn into the picture shown, when it showed the text before.
    void DrawSegment(DrawingPoint from, DrawingPoint to, bool opensStroke);

    int m_area;
    DrawingAreaHost& m_host;
    QImage m_picture;
    QImage m_scaled;  // the picture at the area's size and zoom, made when first painted
    const std::u16string* m_shown = nullptr;
    std::u16string* m_target = nullptr;
    StrokeCapture m_capture;
    bool m_penDown = false;
    bool m_drewSincePress = false;
    bool m_refused = false;  // the budget refused a segment of this press
    DrawingPoint m_from;
    // What the area shows: the background and the strokes of m_shownText drawn at m_shownScale.
    QImage m_shownImage;
    qreal m_shownScale = 0;
    std::u16string m_shownText;
    bool m_shownValid = false;
    int m_fullDraws = 0;
};

}  // namespace pondrel
