#include "mainform/PageNavigation.h"

#include <gtest/gtest.h>

#include <vector>

using namespace pondrel;

namespace {

// Form pages 0 and 3 offered, every other form page hidden.
PageNavigation OnlyPagesZeroAndThree() {
    std::array<int, kFormPageCount> flags{};
    flags[0] = 1;
    flags[3] = 1;
    PageNavigation navigation;
    navigation.SetFormPageFlags(flags);
    return navigation;
}

}  // namespace

TEST(PageNavigationTest, HiddenFormPagesArePassedOver) {
    PageNavigation navigation = OnlyPagesZeroAndThree();
    navigation.SetCurrent(0);
    EXPECT_EQ(navigation.Next(), 3);
    navigation.SetCurrent(3);
    EXPECT_EQ(navigation.Next(), 19);
    EXPECT_EQ(navigation.Previous(), 0);
    navigation.SetCurrent(19);
    EXPECT_EQ(navigation.Previous(), 3);
    EXPECT_EQ(navigation.Next(), 27);
}

TEST(PageNavigationTest, OrderOfTheOfferedPages) {
    PageNavigation navigation = OnlyPagesZeroAndThree();
    const std::vector<int> expected{0,  3,  19, 27, 20, 21, 22, 38, 23, 24, 36,
                                    25, 34, 35, 26, 28, 29, 30, 31, 32, 33, 37};
    EXPECT_EQ(navigation.Order(), expected);
    EXPECT_EQ(navigation.PositionOf(27), 3);
    EXPECT_FALSE(navigation.PositionOf(5).has_value());
    EXPECT_FALSE(navigation.IsOffered(5));
    EXPECT_TRUE(navigation.IsOffered(0));
}

TEST(PageNavigationTest, PageZeroIsOfferedEvenWithItsFlagCleared) {
    PageNavigation navigation;  // every flag 0, as in a file without page flags
    EXPECT_EQ(navigation.Order().front(), 0);
    EXPECT_EQ(navigation.Order().size(), 21u);
    navigation.SetCurrent(19);
    EXPECT_EQ(navigation.Previous(), 0);
    EXPECT_EQ(navigation.IconOf(0), 0);
}

TEST(PageNavigationTest, FirstAndLastPositionsDoNothing) {
    PageNavigation navigation = OnlyPagesZeroAndThree();
    navigation.SetCurrent(0);
    EXPECT_FALSE(navigation.Previous().has_value());
    navigation.SetCurrent(37);
    EXPECT_FALSE(navigation.Next().has_value());
    EXPECT_EQ(navigation.Previous(), 33);
}

TEST(PageNavigationTest, WindowsEditorOffersHiddenPagesWithTheNeutralIcon) {
    PageNavigation navigation = OnlyPagesZeroAndThree();
    navigation.SetWindowsEditorOpen(true);
    EXPECT_EQ(navigation.Order().size(), 39u);
    navigation.SetCurrent(0);
    EXPECT_EQ(navigation.Next(), 1);
    navigation.SetCurrent(19);
    EXPECT_EQ(navigation.Previous(), 18);
    EXPECT_EQ(navigation.IconOf(5), kNeutralPageIcon);
    EXPECT_EQ(navigation.IconOf(3), 3);
    EXPECT_EQ(navigation.IconOf(30), 30);
    navigation.SetWindowsEditorOpen(false);
    EXPECT_EQ(navigation.Order().size(), 22u);
}

TEST(PageNavigationTest, FromAHiddenPageBroughtForward) {
    // A page button of the form may show a hidden form page; the commands go on from there.
    PageNavigation navigation = OnlyPagesZeroAndThree();
    navigation.SetCurrent(7);
    EXPECT_EQ(navigation.Current(), 7);
    EXPECT_EQ(navigation.Next(), 19);
    EXPECT_EQ(navigation.Previous(), 3);
}

TEST(PageNavigationTest, OutOfRangePagesAreIgnored) {
    PageNavigation navigation;
    navigation.SetCurrent(21);
    navigation.SetCurrent(39);
    navigation.SetCurrent(-1);
    EXPECT_EQ(navigation.Current(), 21);
    EXPECT_FALSE(navigation.IsOffered(39));
    EXPECT_FALSE(navigation.IsOffered(-1));
}

TEST(PageNavigationTest, FreeFieldPagesMovedToTheirPositions) {
    PageNavigation navigation = OnlyPagesZeroAndThree();
    navigation.SetFreeFieldPagePositions(2, 0);
    const std::vector<int> moved{0,  28, 3,  19, 27, 20, 21, 22, 38, 23, 24,
                                 36, 25, 34, 35, 26, 29, 30, 31, 32, 33, 37};
    EXPECT_EQ(navigation.Order(), moved);
    navigation.SetCurrent(28);
    EXPECT_EQ(navigation.Previous(), 0);
    EXPECT_EQ(navigation.Next(), 3);
    // A position past the end puts the page last; both pages may move.
    navigation.SetFreeFieldPagePositions(35, 1);
    EXPECT_EQ(navigation.Order().front(), 29);
    EXPECT_EQ(navigation.Order().back(), 28);
    EXPECT_EQ(navigation.Order().size(), 22u);
    // Back at their usual place.
    navigation.SetFreeFieldPagePositions(0, 0);
    EXPECT_EQ(navigation.Order(), (std::vector<int>{0,  3,  19, 27, 20, 21, 22, 38, 23, 24, 36,
                                                    25, 34, 35, 26, 28, 29, 30, 31, 32, 33, 37}));
}

TEST(PageNavigationTest, PageListHeight) {
    EXPECT_EQ(PageNavigation::PageListHeight(0), 21);
    EXPECT_EQ(PageNavigation::PageListHeight(2), 21);
    EXPECT_EQ(PageNavigation::PageListHeight(3), 42);
    EXPECT_EQ(PageNavigation::PageListHeight(22), 168);  // 7 full rows and one started
    EXPECT_EQ(PageNavigation::PageListHeight(39), 290);  // 14 x 21 = 294, kept at 290
    EXPECT_EQ(PageNavigation::PageListHeight(-4), 21);
}
