#include "layout/WindowDrag.h"

#include <gtest/gtest.h>

#include "layout/DrawingPlacement.h"
#include "layout/FactoryArrangement.h"

namespace pondrel::windows_editor {
namespace {

const Rect kPage{0, 0, 240, 290};

TEST(WindowDragTest, AMovedWindowTakesItsCaptionAlongAndStaysOnThePage) {
    const WindowAndCaption start{{70, 40, 238, 57}, {2, 43, 68, 55}};
    // The caption is 2 pixels from the left edge: the move left stops there.
    WindowAndCaption moved = Moved(start, -10, 100, kPage);
    EXPECT_EQ(moved.window, (Rect{68, 140, 236, 157}));
    EXPECT_EQ(moved.caption, (Rect{0, 143, 66, 155}));
    // Far off to the left and the bottom: the pair stops at the page's edges.
    moved = Moved(start, -500, 1000, kPage);
    EXPECT_EQ(moved.caption.left, 0);
    EXPECT_EQ(moved.window.bottom, 290);
    EXPECT_EQ(moved.window.right - moved.window.left, 168);
    // Already past an edge (an old arrangement): a move never pushes it further out.
    const WindowAndCaption out{{200, 280, 260, 297}, {150, 283, 198, 295}};
    moved = Moved(out, 30, 30, kPage);
    EXPECT_EQ(moved.window, out.window);
    moved = Moved(out, -30, -30, kPage);
    EXPECT_EQ(moved.window, (Rect{170, 250, 230, 267}));
}

TEST(WindowDragTest, SizingKeepsTheKindOfWindowAndItsMinimumHeights) {
    // A one-line window never grows into a multi-line one, nor below 17 pixels.
    EXPECT_EQ(Sized({70, 40, 238, 57}, 0, 40, kPage), (Rect{70, 40, 238, 71}));
    EXPECT_EQ(Sized({70, 40, 238, 57}, 0, -40, kPage), (Rect{70, 40, 238, 57}));
    // A multi-line window stays 32 pixels or more, and inside the page.
    EXPECT_EQ(Sized({2, 100, 238, 150}, 0, -100, kPage), (Rect{2, 100, 238, 132}));
    EXPECT_EQ(Sized({2, 100, 238, 150}, 10, 500, kPage), (Rect{2, 100, 240, 290}));
    // Narrower than the least width: stopped there.
    EXPECT_EQ(Sized({70, 40, 238, 57}, -400, 0, kPage), (Rect{70, 40, 70 + kMinWindowWidth, 57}));
}

// The drawing areas stand on pages without windows (15 to 18) or under the free fields.
TEST(WindowDragTest, DrawingAreasLeaveTheWindowsFree) {
    const Arrangement factory = FactoryArrangement();
    for (const DrawingPlacement& p : DrawingPlacements()) {
        SCOPED_TRACE(p.area);
        if (p.page < kFormPages) {
            EXPECT_TRUE(FieldsOnPage(factory, p.page).empty());
            EXPECT_EQ(factory.pages[static_cast<size_t>(p.page)].pFlag, 1);
            EXPECT_EQ(factory.pages[static_cast<size_t>(p.page)].aFlag, 1);
        }
        EXPECT_GE(p.rect.left, 0);
        EXPECT_LE(p.rect.right, 240);
        EXPECT_LE(p.rect.bottom, 290);
        for (const Rect& b : p.buttons) {
            EXPECT_TRUE(b.left >= p.rect.right || b.top >= p.rect.bottom);
            EXPECT_LE(b.right, 240);
        }
    }
    EXPECT_EQ(DrawingPictureName(1, 0), u"Skin inspection lady.jpg");
    EXPECT_EQ(DrawingPictureName(1, 1), u"Skin inspection man.jpg");
    EXPECT_EQ(DrawingPictureName(8, 1), u"Custom2.jpg");
}

}  // namespace
}  // namespace pondrel::windows_editor
