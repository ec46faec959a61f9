#pragma once

// Where the pop-up shortcut list of a field goes on the 240-pixel-wide form, and in how many
// columns: directly above the field when it fits between the form's top and the field, else
// directly below it when it fits above the lower limit; else spread over 2, 3, then 4 columns,
// each tried above then below; as a last resort 4 columns with a horizontal scroll bar in the
// larger space. The list's right edge is the field's right edge (the screen's right edge when
// the list would start left of the screen).

namespace pondrel {

struct ShortcutListArea {
    // The field, in the coordinates of the form's visible part.
    int fieldLeft = 0;
    int fieldTop = 0;
    int fieldRight = 0;
    int fieldBottom = 0;
    int top = 0;       // the form's top
    int bottom = 279;  // the lower limit, less the input panel when it is shown
    int screenWidth = 240;
    int gapAbove = 0;  // 11 above the fields of the problem panel
    int rowHeight = 11;
    double charWidth = 4.9;  // average width of a character of the list's font
};

struct ShortcutListPlacement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int columns = 1;
    int columnWidth = 0;
    bool scrollBar = false;  // the last resort: a horizontal scroll bar

    bool operator==(const ShortcutListPlacement&) const = default;
};

// `rows` rows whose longest holds `longestRow` characters.
ShortcutListPlacement PlaceShortcutList(const ShortcutListArea& area, int rows, int longestRow);

}  // namespace pondrel
