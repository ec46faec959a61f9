#include "settings/ReadyPictures.h"

#include <initializer_list>

#include "records/DrawingText.h"

namespace pondrel {

namespace {

constexpr DrawingColour kBlack{0, 0, 0};
constexpr DrawingColour kBlue{0, 0, 255};
constexpr DrawingColour kViolet{204, 102, 255};

class Picture {
public:
    // One stroke through `points`.
    Picture& Line(DrawingColour colour, int widthCode, std::initializer_list<DrawingPoint> points) {
        Stroke stroke;
        stroke.colour = colour;
        stroke.widthCode = widthCode;
        stroke.points.assign(points.begin(), points.end());
        m_strokes.push_back(std::move(stroke));
        return *this;
    }
    // The outline of the rectangle from (left, top) to (right, bottom).
    Picture& Box(DrawingColour colour, int widthCode, int left, int top, int right, int bottom) {
        return Line(colour, widthCode,
                    {{left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top}});
    }
    // Thin horizontal lines from `left` to `right`, every `step` pixels from `top` to `bottom`.
    Picture& Hatch(DrawingColour colour, int left, int right, int top, int bottom, int step) {
        for (int y = top; y <= bottom; y += step) Line(colour, 0, {{left, y}, {right, y}});
        return *this;
    }
    // A ruler: a base line at `y` from `left`, `count` + 1 ticks `step` apart going up from it,
    // `tall` pixels high every `every` ticks and `shortTick` pixels high otherwise.
    Picture& Ruler(int left, int y, int step, int count, int every, int tall, int shortTick) {
        Line(kBlack, 0, {{left, y}, {left + step * count, y}});
        for (int i = 0; i <= count; ++i) {
            const int x = left + step * i;
            Line(kBlack, 0, {{x, y - (i % every == 0 ? tall : shortTick)}, {x, y}});
        }
        return *this;
    }
    ReadyPicture Named(std::u16string name) const {
        return {std::move(name), DrawingTextOf(m_strokes)};
    }

private:
    std::vector<Stroke> m_strokes;
};

// The detailed status: a standing body seen from the front, centred on x = 40 (the patient's
// right on the viewer's left), and the head in profile on the right, the neck at x 148 to 178.
std::vector<ReadyPicture> DetailedStatusPictures() {
    return {
        Picture().Box(kBlue, 1, 32, 95, 38, 121).Hatch(kBlue, 33, 37, 99, 117, 4)
            .Named(u"Cast right leg"),
        Picture().Box(kBlue, 1, 56, 49, 63, 68).Hatch(kBlue, 57, 62, 53, 65, 4)
            .Named(u"Cast left arm"),
        Picture().Hatch(kViolet, 32, 37, 104, 120, 4).Hatch(kViolet, 43, 48, 104, 120, 4)
            .Named(u"Oedema of both legs"),
        Picture().Box(kBlue, 1, 146, 97, 180, 110)
            .Line(kBlue, 0, {{155, 97}, {155, 110}})
            .Line(kBlue, 0, {{163, 97}, {163, 110}})
            .Line(kBlue, 0, {{171, 97}, {171, 110}})
            .Named(u"Cervical collar"),
    };
}

// The custom strips, squared paper of 164 x 36.
std::vector<ReadyPicture> StripPictures() {
    return {
        Picture().Ruler(12, 28, 14, 10, 5, 12, 6).Named(u"Pain scale 0-10"),
        Picture().Ruler(10, 28, 6, 24, 6, 12, 5).Named(u"24 hours"),
        Picture().Ruler(12, 30, 20, 7, 1, 22, 22).Named(u"Week"),
    };
}

}  // namespace

std::vector<ReadyPicture> ReadyPictures(int set) {
    switch (set) {
        case 0: return DetailedStatusPictures();
        case 1:
        case 2: return StripPictures();
        default: return {};
    }
}

}  // namespace pondrel
