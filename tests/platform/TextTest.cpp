#include "platform/Text.h"

#include <gtest/gtest.h>

#include "TestPlatform.h"
#include "platform/DateTime.h"

namespace pondrel {
namespace {

TEST(TextTest, Utf8RoundTripAndInvalidBytes) {
    std::u16string text = u"Uro-génital ¢¬§¦ T° \U0001F600";
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(FromUtf8("a\xC3"), u"a\uFFFD");
    EXPECT_EQ(FromUtf8("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // an encoded surrogate
    EXPECT_EQ(ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx");               // a lone surrogate
}

TEST(TextTest, ParseIntReadsLikeAtoi) {
    EXPECT_EQ(ParseInt(u"  42abc"), 42);
    EXPECT_EQ(ParseInt(u"-7"), -7);
    EXPECT_EQ(ParseInt(u""), 0);
    EXPECT_EQ(ParseInt(u"x1"), 0);
    EXPECT_EQ(ParseInt(u"99999999999999999999"), 2147483647);
    EXPECT_EQ(ParseInt(u"-99999999999999999999"), -2147483647 - 1);
}

TEST(TextTest, CaseTrimSplitFormat) {
    EXPECT_TRUE(EqualsIgnoreCase(u"PD_ActivePatients", u"pd_activepatients"));
    EXPECT_TRUE(EqualsIgnoreCase(u"ÉCOLE", u"école"));
    EXPECT_FALSE(EqualsIgnoreCase(u"a", u"ab"));
    EXPECT_EQ(TrimRightSpaces(u"Doe  "), u"Doe");
    EXPECT_EQ(TrimRightSpaces(u" Van Dam "), u" Van Dam");
    EXPECT_EQ(Split(u"a|b||", u'|'), (std::vector<std::u16string>{u"a", u"b", u"", u""}));
    EXPECT_EQ(Format(u"n°%d: %d%%", {3, -1}), u"n°3: -1%");
    EXPECT_EQ(ReplaceAll(u"a-b-c", u"-", u"¦"), u"a¦b¦c");
    EXPECT_EQ(CountOf(u"¢¢x¢", u"¢"), 3u);
}

TEST(TextTest, RemoveSuffixNeverWrapsBelowZero) {
    std::u16string text = u"a&nbsp;&nbsp;";
    EXPECT_TRUE(RemoveSuffix(text, u"&nbsp;"));
    EXPECT_EQ(text, u"a");
    text = u"x\r\n\r\n";
    EXPECT_TRUE(RemoveSuffix(text, u"\r\n", true));
    EXPECT_EQ(text, u"x\r\n");
    text = u"bsp;";  // shorter than the suffix
    EXPECT_FALSE(RemoveSuffix(text, u"&nbsp;"));
    EXPECT_EQ(text, u"bsp;");
    text = u"&nbsp;&nbsp;";
    EXPECT_TRUE(RemoveSuffix(text, u"&nbsp;"));
    EXPECT_TRUE(text.empty());
    EXPECT_FALSE(RemoveSuffix(text, u""));
}

TEST(DateTimeTest, CalendarArithmetic) {
    EXPECT_EQ(DaysFromCivil(1970, 1, 1), 0);
    EXPECT_EQ(DaysFromCivil(2000, 3, 1) - DaysFromCivil(2000, 2, 28), 2);
    EXPECT_EQ(DaysFromCivil(2001, 0, 31), DaysFromCivil(2000, 12, 31));
    int y, m, d;
    CivilFromDays(DaysFromCivil(2024, 2, 29), y, m, d);
    EXPECT_EQ((std::array<int, 3>{y, m, d}), (std::array<int, 3>{2024, 2, 29}));
    EXPECT_EQ(DayOfYear({2004, 12, 31}), 366);
    EXPECT_EQ(DayOfWeek(2000, 1, 1), 6);  // a Saturday
    EXPECT_FALSE(IsValid({2001, 2, 29}));
    EXPECT_TRUE(IsValid({2000, 2, 29, 23, 59, 59}));
    DateTime t{2006, 3, 13, 9, 41, 7};
    EXPECT_EQ(FromSeconds(ToSeconds(t)), t);
}

}  // namespace
}  // namespace pondrel
