#include "labels/ShortcutPlacement.h"

#include <algorithm>

namespace pondrel {

namespace {

struct Layout {
    int columns;
    int widthLess;  // less than the width of one column
    int maxWidth;
    int extraHeight;
};

constexpr Layout kLayouts[] = {{2, 0, 112, 1}, {3, 5, 80, 5}, {4, 10, 60, 7}};

}  // namespace

ShortcutListPlacement PlaceShortcutList(const ShortcutListArea& area, int rows, int longestRow) {
    rows = std::max(rows, 1);
    const int oneColumn = static_cast<int>(5 + area.charWidth * std::max(longestRow, 0));
    const int spaceAbove = area.fieldTop - area.gapAbove - area.top;
    const int spaceBelow = area.bottom - area.fieldBottom;

    ShortcutListPlacement p;
    auto place = [&](int columns, int columnWidth, int height) {
        p.columns = columns;
        p.columnWidth = columnWidth;
        p.width = columns * columnWidth;
        p.height = height;
        p.x = area.fieldRight - p.width;
        if (p.x < 0) p.x = area.screenWidth - p.width;
        if (height <= spaceAbove) {
            p.y = area.fieldTop - area.gapAbove - height;
            return true;
        }
        if (height <= spaceBelow) {
            p.y = area.fieldBottom;
            return true;
        }
        return false;
    };
    if (place(1, std::min(oneColumn, 180), area.rowHeight * rows + 3)) return p;
    for (const Layout& layout : kLayouts) {
        int width = std::min(oneColumn - layout.widthLess, layout.maxWidth);
        int height = (area.rowHeight * rows + 15) / layout.columns + layout.extraHeight;
        if (place(layout.columns, width, height)) return p;
    }
    // Four columns as wide as one row needs, scrolled sideways, in the larger space.
    int width = 240;
    for (int w : {60, 80, 120, 240}) {
        if (w >= oneColumn) {
            width = w;
            break;
        }
    }
    p.columns = 4;
    p.columnWidth = width;
    p.scrollBar = true;
    p.width = std::min(area.screenWidth, 4 * width);
    p.x = std::max(0, area.fieldRight - p.width);
    if (p.x + p.width > area.screenWidth) p.x = area.screenWidth - p.width;
    if (spaceAbove >= spaceBelow) {
        p.height = std::max(spaceAbove, area.rowHeight);
        p.y = area.fieldTop - area.gapAbove - p.height;
    } else {
        p.height = std::max(spaceBelow, area.rowHeight);
        p.y = area.fieldBottom;
    }
    return p;
}

}  // namespace pondrel
