#pragma once

#include <optional>
#include <string>

#include "records/DrawingText.h"

namespace pondrel {

// Appends the segments the pen draws to one drawing text, the way the reader takes them back:
// a segment that goes on from the last point stored continues the stroke ("¦x,y"), any other
// opens a new one ("#r,g,b/w|a,b¦p,c"), and a stroke takes at most kStrokeAppendLimit points
// after the two that open it. A drawing never grows past kDrawingBudget characters. One capture
// serves one area; Start forgets the last point when a new press begins.
class StrokeCapture {
public:
    enum class Outcome {
        Appended,  // the segment is in the text
        Full,      // the text would pass the budget: nothing was appended
    };

    // A new press: the next segment opens a new stroke.
    void Start() { m_last.reset(); }
    // Appends the segment from `from` to `to` drawn with `colour` and `widthCode` to `drawing`.
    Outcome AddSegment(std::u16string& drawing, DrawingPoint from, DrawingPoint to,
                       const DrawingColour& colour, int widthCode);
    // The last point stored (none after Start or when nothing was stored since).
    const std::optional<DrawingPoint>& LastPoint() const { return m_last; }

private:
    std::optional<DrawingPoint> m_last;
    int m_appended = 0;
};

}  // namespace pondrel
