// Year and birth date checks, identity duplicates and the body-mass index.

#include <gtest/gtest.h>

#include "TestPlatform.h"
#include "journal/BodyMassIndex.h"
#include "journal/IdentityRules.h"
#include "records/PatientSet.h"

namespace pondrel {
namespace {

using test::U8;

TEST(IdentityRulesTest, TheYearIsCompletedOrRefusedAsItIsTyped) {
    EXPECT_EQ(U8(CheckedYear(u"56", 2006)), "1956");
    EXPECT_EQ(U8(CheckedYear(u"03", 2006)), "2003");
    EXPECT_EQ(U8(CheckedYear(u"06", 2006)), "2006");
    EXPECT_EQ(U8(CheckedYear(u"07", 2006)), "1907");
    for (std::u16string_view typing : {u"1", u"19", u"20", u"18", u"195"}) {
        EXPECT_EQ(CheckedYear(typing, 2006), typing);
    }
    EXPECT_EQ(U8(CheckedYear(u"1850", 2006)), "");
    EXPECT_EQ(U8(CheckedYear(u"2007", 2006)), "");
    EXPECT_EQ(U8(CheckedYear(u"195612", 2006)), "1956");
    EXPECT_EQ(U8(CheckedYear(u"99999999999", 2006)), "");
}

TEST(IdentityRulesTest, BirthDatesThatDoNotExistAreRefused) {
    using P = DatePart;
    EXPECT_FALSE(BirthDateMayStand(u"", u"31", u"", P::Month));
    EXPECT_FALSE(BirthDateMayStand(u"32", u"", u"", P::Day));
    EXPECT_TRUE(BirthDateMayStand(u"31", u"", u"", P::Day));
    EXPECT_FALSE(BirthDateMayStand(u"31", u"4", u"1990", P::Day));
    EXPECT_FALSE(BirthDateMayStand(u"31", u"4", u"1990", P::Month));
    EXPECT_TRUE(BirthDateMayStand(u"30", u"4", u"1990", P::Year));
    // 29 February: refused only once the year is known not to be a leap year.
    EXPECT_TRUE(BirthDateMayStand(u"29", u"2", u"2", P::Year));
    EXPECT_TRUE(BirthDateMayStand(u"29", u"2", u"200", P::Year));
    EXPECT_TRUE(BirthDateMayStand(u"29", u"2", u"2004", P::Year));
    EXPECT_FALSE(BirthDateMayStand(u"29", u"2", u"2005", P::Year));
    EXPECT_FALSE(BirthDateMayStand(u"x", u"2", u"2005", P::Day));
}

TEST(IdentityRulesTest, IdentitiesAreComparedAsFileNamesAre) {
    test::FixedClock clock;
    PatientSet set(clock);
    PatientRecord& dupont = set.AddNew();
    dupont.SetField(2, u"DUPONT");
    dupont.SetField(3, u"Jean");
    dupont.SetField(6, u"1950");
    PatientRecord& other = set.AddNew();
    EXPECT_TRUE(IsIdentityTaken(set, other, u"Dupont", u"jean", u"1950"));
    EXPECT_TRUE(IsIdentityTaken(set, other, u"Dupont ", u"Jean ", u"1950"));
    // The same letters split otherwise between the two names.
    EXPECT_TRUE(IsIdentityTaken(set, other, u"Dupon", u"tJean", u"1950"));
    EXPECT_FALSE(IsIdentityTaken(set, other, u"Dupont", u"Jean", u"1951"));
    EXPECT_FALSE(IsIdentityTaken(set, dupont, u"Dupont", u"Jean", u"1950"));  // itself
    EXPECT_FALSE(IsIdentityTaken(set, other, u"", u"", u""));
}

TEST(IdentityRulesTest, BodyMassIndex) {
    EXPECT_EQ(U8(ComputeBmi(u"3500", u"50", 0)), "14.0");  // grams and centimetres
    EXPECT_EQ(U8(ComputeBmi(u"70", u"1.75", 0)), "22.9");  // kilograms and metres
    EXPECT_EQ(U8(ComputeBmi(u"70 kg", u"175cm", 0)), "22.9");
    EXPECT_EQ(U8(ComputeBmi(u"154", u"69", 1)), "22.8");  // pounds and inches
    EXPECT_EQ(U8(ComputeBmi(u"", u"175", 0)), "");
    EXPECT_EQ(U8(ComputeBmi(u"70", u"", 0)), "");
    EXPECT_EQ(U8(ComputeBmi(u"500", u"175", 0)), "");  // above 100
    EXPECT_EQ(U8(ComputeBmi(u"10", u"175", 0)), "");   // not above 8
    EXPECT_EQ(U8(ComputeBmi(u"-70", u"175", 0)), "");
    EXPECT_EQ(U8(ComputeBmi(u"70,5", u"175", 0)), "22.9");  // a comma ends the number
    EXPECT_EQ(U8(ComputeBmi(u"99999999999999999999", u"1", 0)), "");
    EXPECT_DOUBLE_EQ(LeadingDecimal(u"  -1.5e3"), -1.5);
}

}  // namespace
}  // namespace pondrel
