#include "records/DrawingText.h"

#include <algorithm>
#include <array>

#include "platform/Text.h"

namespace pondrel {

namespace {

// A decimal number of digits only; any other character, or no digit, gives none. Long numbers
// saturate instead of wrapping, so "99999999999999" is read as a large value and then clamped.
std::optional<long long> Number(std::u16string_view text) {
    if (text.empty()) return std::nullopt;
    long long value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = std::min<long long>(value * 10 + (c - u'0'), 1'000'000'000LL);
    }
    return value;
}

class Notes {
public:
    explicit Notes(std::vector<std::string>& lines) : m_lines(lines) {}
    ~Notes() {
        if (m_more > 0) m_lines.push_back(std::to_string(m_more) + " more notes");
    }
    Notes(const Notes&) = delete;
    Notes& operator=(const Notes&) = delete;
    void Add(size_t stroke, const std::string& what) {
        if (m_lines.size() < DrawingReading::kMaxReadingNotes) {
            m_lines.push_back("stroke " + std::to_string(stroke) + ": " + what);
        } else {
            ++m_more;
        }
    }

private:
    std::vector<std::string>& m_lines;
    size_t m_more = 0;
};

int Clamped(long long value, int high, const char* what, size_t stroke, Notes& notes) {
    if (value <= high) return static_cast<int>(value);
    notes.Add(stroke, std::string(what) + " " + std::to_string(value) + " taken as " +
                          std::to_string(high));
    return high;
}

// "r,g,b/w" before the "|" of a stroke.
std::optional<Stroke> Header(std::u16string_view head, size_t index, Notes& notes) {
    const size_t slash = head.find(u'/');
    if (slash == std::u16string_view::npos) {
        notes.Add(index, "no \"/\" before the width, stroke skipped");
        return std::nullopt;
    }
    const std::vector<std::u16string> rgb = Split(head.substr(0, slash), u',');
    const std::optional<long long> width = Number(head.substr(slash + 1));
    if (rgb.size() != 3 || !width) {
        notes.Add(index, "unreadable colour or width, stroke skipped");
        return std::nullopt;
    }
    std::array<int, 3> colour{};
    for (size_t i = 0; i < 3; ++i) {
        const std::optional<long long> c = Number(rgb[i]);
        if (!c) {
            notes.Add(index, "unreadable colour, stroke skipped");
            return std::nullopt;
        }
        colour[i] = Clamped(*c, 255, "colour", index, notes);
    }
    Stroke stroke;
    stroke.colour = {colour[0], colour[1], colour[2]};
    stroke.widthCode = Clamped(*width, kWidthCodeCount - 1, "width code", index, notes);
    return stroke;
}

}  // namespace

DrawingReading ReadDrawing(std::u16string_view text) {
    DrawingReading reading;
    Notes notes(reading.notes);
    size_t at = text.find(kStrokeMark);
    if (at != 0 && !text.empty()) {
        notes.Add(0, "text before the first \"#\" skipped");
    }
    size_t index = 0;
    while (at != std::u16string_view::npos) {
        const size_t next = text.find(kStrokeMark, at + 1);
        const std::u16string_view body =
            text.substr(at + 1, next == std::u16string_view::npos ? std::u16string_view::npos
                                                                  : next - at - 1);
        at = next;
        ++index;
        const size_t bar = body.find(u'|');
        if (bar == std::u16string_view::npos) {
            notes.Add(index, "no \"|\" before the points, stroke skipped");
            continue;
        }
        std::optional<Stroke> stroke = Header(body.substr(0, bar), index, notes);
        if (!stroke) continue;
        std::u16string_view points = body.substr(bar + 1);
        size_t skipped = 0;
        while (true) {
            const size_t sep = points.find(kPointSep);
            const std::u16string_view point = points.substr(0, sep);
            const size_t comma = point.find(u',');
            const std::optional<long long> x =
                comma == std::u16string_view::npos ? std::nullopt : Number(point.substr(0, comma));
            const std::optional<long long> y =
                comma == std::u16string_view::npos ? std::nullopt : Number(point.substr(comma + 1));
            if (x && y) {
                stroke->points.push_back(
                    {static_cast<int>(std::min<long long>(*x, kMaxDrawingCoordinate)),
                     static_cast<int>(std::min<long long>(*y, kMaxDrawingCoordinate))});
                if (*x > kMaxDrawingCoordinate || *y > kMaxDrawingCoordinate) {
                    notes.Add(index, "coordinate beyond " + std::to_string(kMaxDrawingCoordinate) +
                                         " clamped");
                }
            } else {
                ++skipped;
            }
            if (sep == std::u16string_view::npos) break;
            points = points.substr(sep + 1);
        }
        if (skipped > 0) {
            notes.Add(index, std::to_string(skipped) + " unreadable point(s) skipped");
        }
        if (stroke->points.empty()) {
            notes.Add(index, "no point, stroke skipped");
            continue;
        }
        reading.strokes.push_back(std::move(*stroke));
    }
    return reading;
}

std::u16string StrokeText(const Stroke& stroke) {
    if (stroke.points.empty()) return {};
    const auto num = [](int v) { return ToText(v); };
    std::u16string out;
    out += kStrokeMark;
    out += num(stroke.colour.red) + u"," + num(stroke.colour.green) + u"," +
           num(stroke.colour.blue) + u"/" + num(stroke.widthCode) + u"|";
    bool first = true;
    for (const DrawingPoint& p : stroke.points) {
        if (!first) out += kPointSep;
        first = false;
        out += num(p.x) + u"," + num(p.y);
    }
    return out;
}

std::u16string DrawingTextOf(const std::vector<Stroke>& strokes) {
    std::u16string out;
    for (const Stroke& stroke : strokes) out += StrokeText(stroke);
    return out;
}

DrawingColour PenColour(int colourIndex) {
    static constexpr std::array<DrawingColour, kPenColourCount> kColours{{
        {0, 0, 0},
        {209, 134, 0},
        {255, 0, 0},
        {255, 170, 170},
        {0, 0, 255},
        {204, 102, 255},
        {255, 255, 0},
        {0, 255, 0},
    }};
    if (colourIndex < 0 || colourIndex >= kPenColourCount) return kColours[0];
    return kColours[static_cast<size_t>(colourIndex)];
}

int PenWidth(int widthCode) {
    switch (widthCode) {
        case 1: return 4;
        case 2: return 7;
        default: return 1;
    }
}

std::optional<DotRect> EndDot(DrawingPoint at, int widthCode) {
    if (widthCode == 1) return DotRect{at.x - 2, at.y - 2, at.x + 2, at.y + 2};
    if (widthCode == 2) return DotRect{at.x - 3, at.y - 3, at.x + 4, at.y + 4};
    return std::nullopt;
}

}  // namespace pondrel
