// Corrected ages, units and the band written after a child's measurements.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "charts/GrowthAge.h"
#include "charts/PercentileField.h"
#include "platform/Text.h"
#include "records/PatientRecord.h"
#include "BuiltInCurves.h"
#include "Doubles.h"

namespace pondrel {
namespace {

constexpr int kWeight = 7;
constexpr int kHeight = 8;
constexpr int kHead = 208;
constexpr int kBirthWeight = 205;

PatientRecord Child(int sex, int year, int month, int day, std::u16string gestation = u"") {
    PatientRecord record;
    record.sex = sex;
    record.SetField(4, ToText(day));
    record.SetField(5, ToText(month));
    record.SetField(6, ToText(year));
    record.SetField(203, std::move(gestation));
    record.admission = {year, month, day, 10, 0, 0};
    return record;
}

class PercentileFieldTest : public ::testing::Test {
protected:
    std::optional<std::u16string> Judge(const PatientRecord& record, int field,
                                        bool imperial = false) {
        return PercentileFieldText(field, record, imperial, m_now, test::BuiltInCurves());
    }
    // The band of a weight typed into field 7 for a term boy at `months` of age.
    std::u16string BoyWeightBand(float months, float kg) {
        auto judged =
            JudgeMeasurement(test::BuiltInCurves().Set(GrowthMeasure::Weight, 1), months, kg);
        return judged ? std::u16string(judged->band) : u"none";
    }

    DateTime m_now{2006, 3, 13, 9, 0, 0};
};

TEST(GrowthAges, GestationTexts) {
    EXPECT_EQ(GestationOf(u"30+2").weeks, 30);
    EXPECT_EQ(GestationOf(u"30+2").days, 2);
    EXPECT_EQ(GestationOf(u"32 weeks 3 days").days, 3);
    EXPECT_EQ(GestationOf(u"39").weeks, 40);  // 37 weeks and more count as term
    EXPECT_EQ(GestationOf(u"").weeks, 40);
    EXPECT_EQ(GestationOf(u"19+2").weeks, 40);
    EXPECT_EQ(GestationOf(u"19+2").days, 0);
    EXPECT_EQ(GestationOf(u"25+9").weeks, 25);
    EXPECT_EQ(GestationOf(u"25+9").days, 0);
    EXPECT_EQ(GestationOf(u"w 36").weeks, 36);
    EXPECT_EQ(GestationOf(u"99999999999999999999").weeks, 40);
}

TEST(GrowthAges, CorrectedAgeCountsFromTerm) {
    PatientRecord preterm = Child(1, 2006, 1, 1, u"30+2");
    // At birth: (280 - 212) / 30.5 months before term.
    EXPECT_NEAR(*CorrectedAge(preterm, {2006, 1, 1, 0, 0, 1}), -68 / 30.5, 1e-5);
    // 400 days later: 12 months + 35 days, less the same correction.
    DateTime later{2007, 2, 5, 12, 0, 0};
    EXPECT_NEAR(*CorrectedAge(preterm, later), 12 + 35 / 30.5 - 68 / 30.5, 1e-4);
    PatientRecord term = Child(0, 2006, 1, 1, u"39");
    EXPECT_NEAR(*CorrectedAge(term, {2006, 1, 31, 0, 0, 0}), 29 / 30.5, 1e-5);
    // Month and day default to 1 when empty; an impossible date gives no age (not -10).
    PatientRecord yearOnly;
    yearOnly.SetField(6, u"2005");
    EXPECT_NEAR(*CorrectedAge(yearOnly, {2006, 1, 1, 12, 0, 0}), 12, 1e-5);
    PatientRecord bad = Child(1, 2006, 2, 30);
    EXPECT_FALSE(CorrectedAge(bad, later));
    EXPECT_FALSE(CorrectedAge(term, {2006, 13, 1, 0, 0, 0}));
    PatientRecord none;
    EXPECT_FALSE(CorrectedAge(none, later));
    EXPECT_FALSE(AgeInYears(none, later));
}

TEST(PercentileBands, EveryIntervalAndWhatIsNoPercentile) {
    EXPECT_EQ(*PercentileBand(0.5f), u"<P3");
    EXPECT_EQ(*PercentileBand(3), u"<P3");
    EXPECT_EQ(*PercentileBand(3.01f), u"P3");
    EXPECT_EQ(*PercentileBand(45), u"P25-P50");
    EXPECT_EQ(*PercentileBand(50), u"P50");
    EXPECT_EQ(*PercentileBand(97), u"P97");
    EXPECT_EQ(*PercentileBand(100), u">P97");
    EXPECT_FALSE(PercentileBand(0));
    EXPECT_FALSE(PercentileBand(-4));
    EXPECT_FALSE(PercentileBand(100.5f));
    EXPECT_FALSE(PercentileBand(std::numeric_limits<float>::quiet_NaN()));
    EXPECT_FALSE(PercentileBand(std::numeric_limits<float>::infinity()));
}

TEST(MeasurementUnits, TypedUnitsBecomeKilogramsAndCentimetres) {
    EXPECT_FLOAT_EQ(ToCurveUnits(GrowthMeasure::Weight, 3500, false), 3.5f);
    EXPECT_FLOAT_EQ(ToCurveUnits(GrowthMeasure::Weight, 3.5, false), 3.5f);
    EXPECT_NEAR(ToCurveUnits(GrowthMeasure::Weight, 7.5, true), 3.409, 0.001);
    EXPECT_FLOAT_EQ(ToCurveUnits(GrowthMeasure::Height, 1.05, false), 105);
    EXPECT_FLOAT_EQ(ToCurveUnits(GrowthMeasure::Height, 1050, false), 105);
    EXPECT_NEAR(ToCurveUnits(GrowthMeasure::Height, 4, true), 121.92, 0.001);  // feet
    EXPECT_NEAR(ToCurveUnits(GrowthMeasure::Height, 40, true), 101.6, 0.001);  // inches
    EXPECT_FLOAT_EQ(ToCurveUnits(GrowthMeasure::Head, 350, false), 35);
    EXPECT_FLOAT_EQ(ToCurveUnits(GrowthMeasure::Head, 0.35, false), 35);
    // The graph shows imperial measurements in pounds and inches, not in metric.
    EXPECT_DOUBLE_EQ(ToDisplayedUnits(GrowthMeasure::Weight, 7.5, true), 7.5);
    EXPECT_DOUBLE_EQ(ToDisplayedUnits(GrowthMeasure::Weight, 3500, false), 3.5);
    EXPECT_DOUBLE_EQ(ToDisplayedUnits(GrowthMeasure::Height, 4, true), 48);
    EXPECT_DOUBLE_EQ(ToDisplayedUnits(GrowthMeasure::Head, 14, true), 14);
}

TEST(CaptionUnits, TheUnitStep) {
    EXPECT_EQ(CaptionUnit(u"Weight [kg]"), u"kg");
    EXPECT_EQ(CaptionUnit(u"Weight ]kg["), u"");
    EXPECT_EQ(*WithCaptionUnit(u"Weight [kg]", u"3.5"), u"3.5kg");
    EXPECT_FALSE(WithCaptionUnit(u"Weight [kg]", u"3.5kg"));
    EXPECT_FALSE(WithCaptionUnit(u"Weight [kg]", u"   "));
    EXPECT_FALSE(WithCaptionUnit(u"Weight", u"3.5"));
    // The unit goes before a band the program wrote, not after it.
    EXPECT_EQ(*WithCaptionUnit(u"Weight [kg]", u"3.5 (P50)"), u"3.5kg (P50)");
    EXPECT_EQ(*WithCaptionUnit(u"Weight [kg]", u"3.5 (naked)"), u"3.5 (naked)kg");
}

TEST(CaptionUnits, OnlyABandTheProgramWroteIsTakenOff) {
    EXPECT_EQ(WithoutBand(u"3.5kg (P25-P50)"), u"3.5kg");
    EXPECT_EQ(WithoutBand(u"3.5kg (>P97)  "), u"3.5kg");
    EXPECT_EQ(WithoutBand(u"3.5kg (naked)"), u"3.5kg (naked)");
    EXPECT_EQ(WithoutBand(u"3.5kg (naked) (P3)"), u"3.5kg (naked)");
    EXPECT_EQ(WithoutBand(u"(P50)"), u"");
    EXPECT_EQ(WithoutBand(u"3.5kg (P51)"), u"3.5kg (P51)");
}

TEST_F(PercentileFieldTest, BandsOfATermBoysWeight) {
    EXPECT_EQ(BoyWeightBand(0, 3.346f), u"P50");     // on P50
    EXPECT_EQ(BoyWeightBand(0, 2.3f), u"<P3");       // below P3
    EXPECT_EQ(BoyWeightBand(0, 2.507f), u"<P3");     // on P3
    EXPECT_EQ(BoyWeightBand(0, 5.0f), u">P97");      // above P97
    EXPECT_EQ(BoyWeightBand(-0.5f, 3.0f), u"none");  // before term: no reference
    EXPECT_EQ(BoyWeightBand(216.5f, 70), u"none");
}

TEST_F(PercentileFieldTest, FieldTextGetsItsBandOnce) {
    PatientRecord boy = Child(1, 2006, 3, 1);
    boy.SetField(kWeight, u"3500");
    EXPECT_EQ(*Judge(boy, kWeight), u"3500 (P50-P75)");
    // Leaving the field again replaces the band.
    boy.SetField(kWeight, u"3.5kg (P50-P75)");
    EXPECT_EQ(*Judge(boy, kWeight), u"3.5kg (P50-P75)");
    boy.SetField(kWeight, u"4.5kg (P50-P75)");
    EXPECT_EQ(*Judge(boy, kWeight), u"4.5kg (>P97)");
    // A comment in brackets stays.
    boy.SetField(kWeight, u"3.5kg (naked)");
    EXPECT_EQ(*Judge(boy, kWeight), u"3.5kg (naked) (P50-P75)");
    // Height 1.05 m at 4 years 2 months.
    PatientRecord girl = Child(0, 2002, 1, 13);
    girl.admission = m_now;
    girl.SetField(kHeight, u"1.05");
    auto height = Judge(girl, kHeight);
    ASSERT_TRUE(height);
    EXPECT_EQ(height->substr(0, 6), u"1.05 (");
    // 7.5 pounds in imperial units for a newborn girl.
    PatientRecord baby = Child(0, 2006, 3, 1);
    baby.SetField(kWeight, u"7.5");
    EXPECT_EQ(*Judge(baby, kWeight, true), u"7.5 (P50-P75)");
}

// The curves are a girl's or a boy's: a child whose civility is not chosen yet gets no band,
// and the same value gets one once it is chosen.
TEST_F(PercentileFieldTest, NoBandBeforeTheCivilityIsChosen) {
    PatientRecord child = Child(kSexNotChosen, 2006, 3, 1);
    child.SetField(kWeight, u"3500");
    EXPECT_FALSE(Judge(child, kWeight));
    child.sex = 1;
    EXPECT_EQ(*Judge(child, kWeight), u"3500 (P50-P75)");
}

TEST_F(PercentileFieldTest, NoBandWhereNoReferenceOrNoNumber) {
    PatientRecord boy = Child(1, 2006, 3, 1);
    for (const char16_t* text : {u"", u"kg", u"0", u"-3", u"(P50) 3"}) {
        boy.SetField(kWeight, text);
        EXPECT_FALSE(Judge(boy, kWeight)) << std::string(text, text + 0);
    }
    boy.SetField(kWeight, u"3.5");
    EXPECT_FALSE(Judge(boy, 9));  // not a measurement field
    // A 19-year-old.
    PatientRecord adult = Child(1, 1987, 1, 1);
    adult.admission = m_now;
    adult.SetField(kWeight, u"70");
    EXPECT_FALSE(Judge(adult, kWeight));
    // No real birth date.
    PatientRecord unknown = Child(1, 2006, 2, 31);
    unknown.SetField(kWeight, u"3.5");
    EXPECT_FALSE(Judge(unknown, kWeight));
    // Born at 30 + 2 weeks, weighed at birth: before term there is no reference.
    PatientRecord preterm = Child(0, 2006, 3, 1, u"30+2");
    preterm.SetField(kBirthWeight, u"1400");
    EXPECT_FALSE(Judge(preterm, kBirthWeight));
    // Head circumference after five years.
    PatientRecord school = Child(0, 1998, 1, 1);
    school.admission = m_now;
    school.SetField(kHead, u"52");
    EXPECT_FALSE(Judge(school, kHead));
}

TEST_F(PercentileFieldTest, LeavingAFieldAddsItsUnitThenItsBand) {
    PatientRecord boy = Child(1, 2006, 3, 1);
    auto leave = [&](int field, const char16_t* caption, const char16_t* text) {
        boy.SetField(field, text);
        return TextOnLeavingField(field, caption, boy, false, m_now, test::BuiltInCurves());
    };
    EXPECT_EQ(*leave(kWeight, u"Weight [kg]", u"3.5"), u"3.5kg (P50-P75)");
    EXPECT_FALSE(leave(kWeight, u"Weight [kg]", u"3.5kg (P50-P75)"));
    EXPECT_EQ(*leave(kWeight, u"Weight [kg]", u"4.5 (P50-P75)"), u"4.5kg (>P97)");
    EXPECT_EQ(*leave(kWeight, u"Weight", u"3500"), u"3500 (P50-P75)");
    // Other fields get their unit only; a text without a number gets no band.
    EXPECT_EQ(*leave(9, u"T° [°C]", u"38.5"), u"38.5°C");
    EXPECT_EQ(*leave(kWeight, u"Weight [kg]", u"unknown"), u"unknownkg");
    EXPECT_FALSE(leave(kWeight, u"Weight [kg]", u""));
}

TEST_F(PercentileFieldTest, TheUnitWrittenIsTheUnitTheNumberWasReadIn) {
    PatientRecord boy = Child(1, 2006, 3, 1);
    auto leave = [&](int field, const char16_t* caption, const char16_t* text) {
        boy.SetField(field, text);
        return TextOnLeavingField(field, caption, boy, false, m_now, test::BuiltInCurves())
            .value_or(u"unchanged");
    };
    // Grams typed under a kilogram caption are written as grams, judged as 3.5 kg.
    EXPECT_EQ(leave(kWeight, u"Weight [kg]", u"3500"), u"3500g (P50-P75)");
    // A text carrying its unit gets none added, and is judged in that unit.
    EXPECT_EQ(leave(kWeight, u"Weight [kg]", u"3500 g"), u"3500 g (P50-P75)");
    EXPECT_EQ(leave(kWeight, u"Weight [kg]", u"3500g (P50-P75)"), u"unchanged");
    EXPECT_EQ(leave(kWeight, u"Weight [kg]", u"3.5 kg"), u"3.5 kg (P50-P75)");
    // Kilograms typed under a gram caption are written as kilograms.
    EXPECT_EQ(leave(kBirthWeight, u"Birth weight [g]", u"3.5"), u"3.5kg (P50-P75)");
    EXPECT_EQ(leave(kBirthWeight, u"Birth weight [g]", u"3500"), u"3500g (P50-P75)");
    // Metres and millimetres under a centimetre caption.
    EXPECT_EQ(leave(kHeight, u"Height [cm]", u"0.5").substr(0, 6), u"0.5m (");
    EXPECT_EQ(leave(kHeight, u"Height [cm]", u"500").substr(0, 7), u"500mm (");
    EXPECT_EQ(leave(kHeight, u"Height [cm]", u"50").substr(0, 6), u"50cm (");
    // A caption unit in words of its own is kept for the number read in the shown unit.
    EXPECT_EQ(leave(kWeight, u"Poids [kilo]", u"3.5"), u"3.5kilo (P50-P75)");
    EXPECT_EQ(leave(kWeight, u"Poids [kilo]", u"3500"), u"3500g (P50-P75)");
    EXPECT_DOUBLE_EQ(MeasurementInCurveUnits(GrowthMeasure::Height, u"1.05 m", false), 105);
    EXPECT_DOUBLE_EQ(MeasurementInCurveUnits(GrowthMeasure::Weight, u"350 g", false), 0.35);
}

TEST_F(PercentileFieldTest, PretermAgeIsCorrectedAtAdmission) {
    // Born at 30 + 2 weeks, admitted 100 days later: corrected age about 1.05 months.
    PatientRecord baby = Child(1, 2006, 1, 1, u"30+2");
    baby.admission = {2006, 4, 11, 12, 0, 0};
    baby.SetField(kWeight, u"4.4");
    PatientRecord term = Child(1, 2006, 1, 1);
    term.admission = baby.admission;
    term.SetField(kWeight, u"4.4");
    // The same weight is lighter for the older term baby than for the corrected age.
    EXPECT_EQ(*Judge(baby, kWeight), u"4.4 (P25-P50)");
    EXPECT_EQ(*Judge(term, kWeight), u"4.4 (<P3)");
}

}  // namespace
}  // namespace pondrel
