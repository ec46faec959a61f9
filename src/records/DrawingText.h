#pragma once

// The text of a body drawing (the record's `drawings` 1 to 8): a sequence of strokes, each
//     "#" red "," green "," blue "/" width code "|" x "," y { "¦" x "," y }
// with decimal numbers, colours 0..255, width code 0..2 and points in pixels of the drawing
// area. The reader takes whatever a file or the server gave and never fails: what it cannot
// use it clamps or skips, and says so. The writer and the stroke capture (StrokeCapture.h) build
// texts the reader takes back unchanged.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pondrel {

inline constexpr char16_t kStrokeMark = u'#';
inline constexpr char16_t kPointSep = u'\u00A6';  // "¦" before every point after the first

// The characters one drawing may hold. Eight drawings at the budget take 120,000 of the
// 199,998 characters a patient file holds, so a patient whose eight drawings are full still
// saves, with room left for the journal and the fields.
inline constexpr size_t kDrawingBudget = 15000;
// Points appended to a stroke after the two that open it; the next movement opens a new stroke.
inline constexpr int kStrokeAppendLimit = 990;
// Coordinates read are clamped into 0..kMaxDrawingCoordinate (an area is a few hundred pixels).
inline constexpr int kMaxDrawingCoordinate = 9999;
inline constexpr int kPenColourCount = 8;
inline constexpr int kWidthCodeCount = 3;

struct DrawingPoint {
    int x = 0;
    int y = 0;
    bool operator==(const DrawingPoint&) const = default;
};

struct DrawingColour {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const DrawingColour&) const = default;
};

struct Stroke {
    DrawingColour colour;
    int widthCode = 0;  // 0 thin, 1 medium, 2 thick
    std::vector<DrawingPoint> points;
    bool operator==(const Stroke&) const = default;
};

struct DrawingReading {
    std::vector<Stroke> strokes;
    // What the reader clamped or skipped, one line each ("stroke 3: colour 300 taken as 255");
    // at most kMaxReadingNotes lines, then one line with the count of the others.
    std::vector<std::string> notes;
    static constexpr size_t kMaxReadingNotes = 20;
};

// Reads a drawing text. Never fails: a stroke without a usable colour, width or point is
// skipped, numbers out of range are clamped, points without both coordinates are skipped.
DrawingReading ReadDrawing(std::u16string_view text);

// The text of one stroke (empty for a stroke without points), and of a whole drawing.
std::u16string StrokeText(const Stroke& stroke);
std::u16string DrawingTextOf(const std::vector<Stroke>& strokes);

// The eight pen colours of the drawing buttons, by colour index (0..7; others give black).
DrawingColour PenColour(int colourIndex);
// The pen of a width code, in pixels: 1, 4 or 7 (others give 1).
int PenWidth(int widthCode);

// The filled disc at a stroke's end, as left, top, right, bottom (inclusive); none for the thin
// pen, whose ends are the line itself.
struct DotRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const DotRect&) const = default;
};
std::optional<DotRect> EndDot(DrawingPoint at, int widthCode);

}  // namespace pondrel
