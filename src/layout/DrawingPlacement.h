#pragma once

// Where the eight drawing areas stand on the form, each with its three small buttons (pen
// width, pen colour, clear) and, for areas 5, 7 and 8, the button of the ready-made pictures.
// Rectangles are left, top, right, bottom in the band of the area's page. Areas 1 to 6 stand on
// the form pages 15 to 18, where the page's "P" flag shows or hides them; areas 7 and 8 under
// the free fields of pages 28 and 29.

#include <array>
#include <optional>
#include <string_view>

#include "settings/Preferences.h"

namespace pondrel {

struct DrawingPlacement {
    int area = 0;  // 1..8
    int page = 0;
    Rect rect;
    std::array<Rect, 3> buttons;         // "1" width, "2" colour, "3" clear
    std::optional<Rect> pictureButton;  // "I": the named ready-made pictures
};

const std::array<DrawingPlacement, 8>& DrawingPlacements();
// The placement of area j (1..8); area 1 for numbers out of range.
const DrawingPlacement& PlacementOf(int area);
// The picture file of area j in the installation folder; area 1 uses the lady's picture when
// the patient's `sex` is 0.
std::u16string_view DrawingPictureName(int area, int sex);

}  // namespace pondrel
