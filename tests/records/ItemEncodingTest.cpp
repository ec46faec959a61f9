#include "records/ItemEncoding.h"

#include <gtest/gtest.h>

#include "TestPlatform.h"
#include "records/DayNumber.h"

namespace pondrel {
namespace {

TEST(ItemEncodingTest, EncodesMarkShiftedUnitsAndClosingUnit) {
    EXPECT_EQ(EncodeItemText(u"A"), std::string("\xFF\xFE\xC1\x00\x00\x00", 6));
    // Units from 0xFF80 wrap around to the low range.
    EXPECT_EQ(EncodeItemText(u"\xFF80"), std::string("\xFF\xFE\x00\x00\x00\x00", 6));
    EXPECT_EQ(EncodeItemText(u"").size(), 4u);
}

TEST(ItemEncodingTest, DecodesWhatItEncodes) {
    std::u16string text = u"#V40#W¢2006,3,13,9,41,7,,¢¬IDoe¢\xFF80\xFFFF\x0000x";
    EXPECT_EQ(DecodeItemText(EncodeItemText(text)), text);
}

TEST(ItemEncodingTest, DecodesDamagedShapes) {
    EXPECT_EQ(DecodeItemText(""), u"");
    EXPECT_EQ(DecodeItemText("\xFF"), u"");
    EXPECT_EQ(DecodeItemText(std::string("\xFF\xFE", 2)), u"");
    // No closing unit (a file cut at the read limit): the text runs to the end.
    EXPECT_EQ(DecodeItemText(std::string("\xFF\xFE\xC1\x00\xC2\x00", 6)), u"AB");
    // An odd trailing byte is ignored.
    EXPECT_EQ(DecodeItemText(std::string("\xFF\xFE\xC1\x00\x00\x00\x07", 7)), u"A");
}

TEST(DayNumberTest, DaysSince2000) {
    EXPECT_EQ(DayNumberOf(DateTime{2000, 1, 1, 23, 59, 0}), 0);
    EXPECT_EQ(DayNumberOf(DateTime{2000, 1, 2, 0, 0, 0}), 1);
    EXPECT_EQ(DayNumberOf(DateTime{2006, 3, 13, 17, 0, 0}), 2263);
    // The calendar day before 2000 too, as the other day functions count it.
    EXPECT_EQ(DayNumberOf(DateTime{1999, 12, 31, 12, 0, 0}), -1);
    EXPECT_EQ(DayNumberOf(DateTime{1999, 12, 31, 12, 0, 0}), DayNumberOf(1999, 12, 31));
    EXPECT_EQ(DayNumberOf(DateTime{1999, 12, 30, 0, 0, 0}), -2);
    EXPECT_EQ(DateOfDay(2263), (DateTime{2006, 3, 13}));
    EXPECT_EQ(DisplayDate(2263), u"13.3.2006");
    EXPECT_EQ(DisplayDate(2263, DateOrder::MonthDayYear), u"3.13.2006");
}

TEST(DayNumberTest, SubfolderDateTimeText) {
    DateTime t{2006, 2, 1, 8, 5, 0};
    EXPECT_EQ(SubfolderDateTimeText(t), u"2006,2,1,8,5,0,");
    EXPECT_EQ(ParseSubfolderDateTime(u"2006,2,1,8,5,0,Cardio,"), t);
    EXPECT_EQ(ParseSubfolderDateTime(u"2006,2"), (DateTime{2006, 2, 0, 0, 0, 0}));
}

}  // namespace
}  // namespace pondrel
