#include "records/StrokeCapture.h"

#include "platform/Text.h"

namespace pondrel {

StrokeCapture::Outcome StrokeCapture::AddSegment(std::u16string& drawing, DrawingPoint from,
                                                 DrawingPoint to, const DrawingColour& colour,
                                                 int widthCode) {
    const bool goesOn = m_last && *m_last == from && m_appended < kStrokeAppendLimit;
    std::u16string added;
    if (goesOn) {
        if (!(to == from)) added = kPointSep + ToText(to.x) + u"," + ToText(to.y);
    } else {
        added = StrokeText({colour, widthCode, {from, to}});
    }
    if (drawing.size() + added.size() > kDrawingBudget) return Outcome::Full;
    drawing += added;
    m_appended = goesOn ? m_appended + 1 : 0;
    m_last = to;
    return Outcome::Appended;
}

}  // namespace pondrel
