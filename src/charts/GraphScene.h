#pragma once

// What the exam graph draws, as plain data: lines, polylines and texts in the window's pixel
// coordinates, in painting order. The graph window (Qt) paints them one after the other; tests
// read them.

#include <cstdint>
#include <string>
#include <vector>

namespace pondrel {

struct GraphColour {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    friend bool operator==(const GraphColour&, const GraphColour&) = default;
};

inline constexpr GraphColour kGraphBlack{0, 0, 0};
inline constexpr GraphColour kGraphGrid{230, 230, 230};
inline constexpr GraphColour kGraphCurve{0, 0, 255};
inline constexpr GraphColour kGraphCurveLabel{100, 100, 255};
inline constexpr GraphColour kGraphValues{255, 0, 0};
inline constexpr GraphColour kGraphNote{120, 120, 120};
inline constexpr GraphColour kGraphWhite{255, 255, 255};

struct GraphPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const GraphPoint&, const GraphPoint&) = default;
};

// A rectangle in pixels: from (left, top) to (right, bottom), the right and bottom edges
// outside it.
struct GraphRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool Intersects(const GraphRect& other) const {
        return left < other.right && other.left < right && top < other.bottom &&
               other.top < bottom;
    }
    friend bool operator==(const GraphRect&, const GraphRect&) = default;
};

struct GraphItem {
    enum class Kind { Line, Polyline, Text, Fill };
    enum class Align { Left, Centre, Right };
    enum class VAlign { Top, Centre, Bottom };

    Kind kind = Kind::Line;
    GraphColour colour;
    int penWidth = 1;
    std::vector<GraphPoint> points;  // a line's two ends, or a polyline
    // Texts: drawn in the box from `points[0]` (left, top) to `points[1]` (right, bottom).
    // Fills: the GraphRect from `points[0]` to `points[1]` painted in the colour.
    std::u16string text;
    int fontHeight = 10;
    Align align = Align::Centre;
    VAlign valign = VAlign::Centre;
};

struct GraphScene {
    std::vector<GraphItem> items;

    void Line(int x1, int y1, int x2, int y2, GraphColour colour, int width = 1);
    void Polyline(std::vector<GraphPoint> points, GraphColour colour, int width);
    void Text(std::u16string text, int left, int top, int right, int bottom, int fontHeight,
              GraphColour colour, GraphItem::Align align, GraphItem::VAlign valign);

    void Fill(const GraphRect& box, GraphColour colour);

    // The texts drawn, in order (for tests and checks).
    std::vector<std::u16string> Texts() const;
};

}  // namespace pondrel
