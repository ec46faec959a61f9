// The curves built into the program against the public growth references, computed here from
// the LMS tables: weight and height follow WHO to 24 months and CDC from 30 months (a bridge
// between them in between), head circumference WHO to 5 years.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "GrowthReference.h"
#include "charts/GrowthCurves.h"
#include "charts/PercentileField.h"
#include "BuiltInCurves.h"
#include "Doubles.h"

namespace pondrel {
namespace {

using test::LmsTable;

constexpr double kTolerance = 0.005;  // 0.5 %
constexpr double kWhoEnd = 24;
constexpr double kCdcStart = 30;
// WHO measures lying down before two years; standing, a child measures 0.7 cm less.
constexpr double kLyingMinusStanding = 0.7;

struct SetSources {
    int index;
    GrowthMeasure measure;
    std::string sex;
};

const SetSources kSets[] = {
    {0, GrowthMeasure::Weight, "boys"}, {1, GrowthMeasure::Weight, "girls"},
    {2, GrowthMeasure::Height, "boys"}, {3, GrowthMeasure::Height, "girls"},
    {4, GrowthMeasure::Head, "boys"},   {5, GrowthMeasure::Head, "girls"},
};

void PrintTo(const SetSources& set, std::ostream* out) {
    *out << "set " << set.index << " (" << set.sex << ")";
}

struct References {
    LmsTable who;
    LmsTable whoStanding;  // height only
    LmsTable cdc;          // weight and height only
    bool hasCdc = false;
};

References ReferencesOf(const SetSources& set) {
    References refs;
    switch (set.measure) {
        case GrowthMeasure::Weight:
            refs.who = LmsTable::Read("who2006_weight-for-age_" + set.sex + ".csv");
            refs.cdc = LmsTable::Read("cdc2000_weight-for-age_" + set.sex + ".csv");
            refs.hasCdc = true;
            break;
        case GrowthMeasure::Height:
            refs.who = LmsTable::Read("who2006_length-height-for-age_" + set.sex + ".csv", true);
            refs.whoStanding = LmsTable::Read("who2006_length-height-for-age_" + set.sex + ".csv");
            refs.cdc = LmsTable::Read("cdc2000_stature-for-age_" + set.sex + ".csv");
            refs.hasCdc = true;
            break;
        case GrowthMeasure::Head:
            refs.who = LmsTable::Read("who2006_head-circumference-for-age_" + set.sex + ".csv");
            break;
    }
    return refs;
}

class GrowthClinical : public ::testing::TestWithParam<SetSources> {
protected:
    const CCourbepercentile& Set() const { return test::BuiltInCurves().Set(GetParam().index); }
};

TEST_P(GrowthClinical, CurvesCoverTermToTheEndOfTheReference) {
    const CCourbepercentile& set = Set();
    ASSERT_EQ(set.CurveCount(), 7);
    auto range = set.AgeRange();
    ASSERT_TRUE(range);
    EXPECT_FLOAT_EQ(range->first, 0.0f);
    EXPECT_FLOAT_EQ(range->second, GetParam().measure == GrowthMeasure::Head ? 60.0f : 216.0f);
    for (int c = 0; c < 7; ++c) {
        EXPECT_EQ(set.CurveAt(c).percentile, test::kCurvePercentiles[c]);
        EXPECT_LE(set.CurveAt(c).x.size(), 99u);
    }
}

TEST_P(GrowthClinical, CurvesFollowTheLmsReferenceWithinHalfAPercent) {
    const CCourbepercentile& set = Set();
    References refs = ReferencesOf(GetParam());
    double end = refs.hasCdc ? 216 : 60;
    int checked = 0;
    for (int step = 0; step <= static_cast<int>(end * 20); ++step) {
        double age = step / 20.0;  // every 0.05 month
        if (refs.hasCdc && age > kWhoEnd && age < kCdcStart) continue;
        const LmsTable& ref = !refs.hasCdc || age <= kWhoEnd ? refs.who : refs.cdc;
        for (int c = 0; c < 7; ++c) {
            double want = ref.Value(age, test::kCurvePercentiles[c]);
            double got = set.CurveValue(c, static_cast<float>(age));
            ASSERT_NEAR(got / want, 1.0, kTolerance)
                << set.Name().size() << " P" << test::kCurvePercentiles[c] << " at " << age
                << " months: " << got << " instead of " << want;
            ++checked;
        }
    }
    EXPECT_GT(checked, 7 * 1000);
}

// Weight and height, made of two references.
class GrowthClinicalJoined : public GrowthClinical {};

TEST_P(GrowthClinicalJoined, BetweenTheTwoReferencesTheCurvesStayBetweenThem) {
    References refs = ReferencesOf(GetParam());
    const CCourbepercentile& set = Set();
    bool height = GetParam().measure == GrowthMeasure::Height;
    for (double age = kWhoEnd; age <= kCdcStart; age += 0.05) {
        for (int c = 0; c < 7; ++c) {
            int p = test::kCurvePercentiles[c];
            // WHO after two years is measured standing; as lying length for the comparison.
            double who = height && age > kWhoEnd
                             ? refs.whoStanding.Value(age, p) + kLyingMinusStanding
                             : refs.who.Value(age, p);
            double cdc = refs.cdc.Value(age, p);
            double got = set.CurveValue(c, static_cast<float>(age));
            EXPECT_GE(got, std::min(who, cdc) * (1 - kTolerance)) << "P" << p << " at " << age;
            EXPECT_LE(got, std::max(who, cdc) * (1 + kTolerance)) << "P" << p << " at " << age;
        }
    }
}

TEST_P(GrowthClinicalJoined, CurvesMatchTheCdcPublishedPercentileColumns) {
    References refs = ReferencesOf(GetParam());
    const CCourbepercentile& set = Set();
    int checked = 0;
    for (const LmsTable::Row& row : refs.cdc.Rows()) {
        if (row.age < kCdcStart || row.age > 216) continue;
        for (int c = 0; c < 7; ++c) {
            std::string column = "P" + std::to_string(test::kCurvePercentiles[c]);
            double want = row.columns.at(column);
            double got = set.CurveValue(c, static_cast<float>(row.age));
            EXPECT_NEAR(got / want, 1.0, kTolerance) << column << " at " << row.age;
            ++checked;
        }
    }
    EXPECT_GT(checked, 7 * 180);
}

TEST_P(GrowthClinical, MeasurementsJustInsideEachBandGetThatBand) {
    struct Case {
        double percentile;  // the measurement's true percentile, by the reference
        const char16_t* band;
    };
    const Case cases[] = {
        {1.0, u"<P3"},      {4.0, u"P3"},   {6.5, u"P3-P10"},   {10.0, u"P10"},
        {16.0, u"P10-P25"}, {25.0, u"P25"}, {37.5, u"P25-P50"}, {50.0, u"P50"},
        {62.5, u"P50-P75"}, {75.0, u"P75"}, {82.5, u"P75-P90"}, {87.5, u"P90"},
        {92.5, u"P90-P97"}, {96.0, u"P97"}, {99.0, u">P97"},
    };
    References refs = ReferencesOf(GetParam());
    const CCourbepercentile& set = Set();
    const double ages[] = {0, 0.5, 3, 9, 18, 40, 59, 100, 150, 200, 215.9};
    for (double age : ages) {
        if (!refs.hasCdc && age > 60) continue;
        const LmsTable& ref = !refs.hasCdc || age <= kWhoEnd ? refs.who : refs.cdc;
        for (const Case& c : cases) {
            double value = ref.ValueAtZ(age, test::InverseNormal(c.percentile / 100));
            auto judged = JudgeMeasurement(set, static_cast<float>(age), static_cast<float>(value));
            ASSERT_TRUE(judged) << age;
            EXPECT_EQ(std::u16string(judged->band), c.band)
                << "P" << c.percentile << " at " << age << " months: " << judged->percentile;
        }
    }
}

std::string SetName(const ::testing::TestParamInfo<SetSources>& set) {
    static const char* const kMeasures[] = {"Weight", "Height", "Head"};
    return std::string(kMeasures[static_cast<int>(set.param.measure)]) +
           (set.param.sex == "boys" ? "Boys" : "Girls");
}

INSTANTIATE_TEST_SUITE_P(AllSets, GrowthClinical, ::testing::ValuesIn(kSets), SetName);
INSTANTIATE_TEST_SUITE_P(WeightAndHeight, GrowthClinicalJoined,
                         ::testing::Values(kSets[0], kSets[1], kSets[2], kSets[3]), SetName);

TEST(GrowthReferenceValues, TheKnownValuesOfTheReferences) {
    // Figures published with the data: WHO boys' weight at birth and CDC boys at 18 years.
    const GrowthCurves& curves = test::BuiltInCurves();
    const CCourbepercentile& boysWeight = curves.Set(GrowthMeasure::Weight, 1);
    EXPECT_NEAR(boysWeight.PercentileFunc(3, 0), 2.507, 0.002);
    EXPECT_NEAR(boysWeight.PercentileFunc(50, 0), 3.346, 0.002);
    EXPECT_NEAR(boysWeight.PercentileFunc(97, 0), 4.350, 0.002);
    EXPECT_NEAR(boysWeight.PercentileFunc(50, 216), 67.2, 0.1);
    const CCourbepercentile& boysHead = curves.Set(GrowthMeasure::Head, 1);
    EXPECT_NEAR(boysHead.PercentileFunc(50, 0), 34.46, 0.01);
    const CCourbepercentile& girlsHeight = curves.Set(GrowthMeasure::Height, 0);
    EXPECT_NEAR(girlsHeight.PercentileFunc(50, 216), 163.2, 0.3);
}

}  // namespace
}  // namespace pondrel
