#include "layout/DrawingPlacement.h"

namespace pondrel {

namespace {

constexpr int kButtonLeft = 210;
constexpr int kButtonRight = 236;

// The three buttons in a column right of an area whose top is `top`, and the picture button
// under them when the area has one.
DrawingPlacement Column(int area, int page, Rect rect, bool pictures) {
    DrawingPlacement p{area, page, rect, {}, std::nullopt};
    for (int i = 0; i < 3; ++i) {
        const int top = rect.top + i * 24;
        p.buttons[static_cast<size_t>(i)] = {kButtonLeft, top, kButtonRight, top + 20};
    }
    if (pictures) p.pictureButton = Rect{kButtonLeft, rect.top + 72, kButtonRight, rect.top + 92};
    return p;
}

// A custom area in the strip under the free fields: the buttons in a row right of it, the
// picture button under them.
DrawingPlacement Strip(int area, int page) {
    DrawingPlacement p{area, page, {2, 252, 166, 288}, {}, std::nullopt};
    for (int i = 0; i < 3; ++i) {
        const int left = 170 + i * 22;
        p.buttons[static_cast<size_t>(i)] = {left, 252, left + 20, 268};
    }
    p.pictureButton = Rect{170, 271, 190, 287};
    return p;
}

}  // namespace

const std::array<DrawingPlacement, 8>& DrawingPlacements() {
    static const std::array<DrawingPlacement, 8> kPlacements{
        Column(1, 15, {2, 20, 206, 288}, false),   // skin, the whole page
        Column(2, 16, {2, 20, 206, 152}, false),   // heart auscultation
        Column(3, 16, {2, 156, 206, 288}, false),  // lung auscultation
        Column(4, 17, {2, 20, 206, 152}, false),   // abdomen
        Column(5, 17, {2, 156, 206, 288}, true),   // detailed status
        Column(6, 18, {2, 20, 206, 288}, false),   // chest film
        Strip(7, 28),
        Strip(8, 29),
    };
    return kPlacements;
}

const DrawingPlacement& PlacementOf(int area) {
    if (area < 1 || area > 8) area = 1;
    return DrawingPlacements()[static_cast<size_t>(area - 1)];
}

std::u16string_view DrawingPictureName(int area, int sex) {
    switch (area) {
        case 1: return sex == 0 ? u"Skin inspection lady.jpg" : u"Skin inspection man.jpg";
        case 2: return u"Cardiac auscultation.jpg";
        case 3: return u"Pulmonary auscultation.jpg";
        case 4: return u"Abdomen palpation.jpg";
        case 5: return u"Detailed status.jpg";
        case 6: return u"Thorax film.jpg";
        case 7: return u"Custom1.jpg";
        case 8: return u"Custom2.jpg";
        default: return u"";
    }
}

}  // namespace pondrel
