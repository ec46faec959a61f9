// Reading curve texts, the curves' spline and the percentile of a measurement.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <string>

#include "charts/GrowthCurves.h"
#include "platform/Text.h"
#include "Doubles.h"

namespace pondrel {
namespace {

// A small set: three curves of three points, written as the program's files are (tabs, CR LF).
constexpr char16_t kSmallSet[] =
    u"Poids-Test\r\n"
    u"003 03\r\n\t0 10 20\r\n\t2 4 5\r\n"
    u"003 50\r\n\t0 10 20\r\n\t3 5 6\r\n"
    u"003 97\r\n\t0 10 20\r\n\t4 6 7\r\n";

std::u16string RepeatNumbers(int count, int start) {
    std::u16string line = u"\t";
    for (int i = 0; i < count; ++i) line += ToText(start + i) + u" ";
    return line;
}

TEST(CurveText, ReadsNameCurvesAndNumbersWhateverTheBlanks) {
    auto set =
        CCourbepercentile::Parse(u"Taille-Fille\r\n\r\n002,10\r\n  0.5,\t1.25  \r\n\t30 ,31.5\r\n");
    EXPECT_EQ(set.Name(), u"Taille-Fille");
    ASSERT_EQ(set.CurveCount(), 1);
    EXPECT_EQ(set.CurveAt(0).percentile, 10);
    EXPECT_EQ(set.CurveAt(0).x, (std::vector<float>{0.5f, 1.25f}));
    EXPECT_EQ(set.CurveAt(0).y, (std::vector<float>{30.0f, 31.5f}));
    // Lines ended by LF alone read the same.
    auto unix = CCourbepercentile::Parse(u"N\n002 10\n0.5 1.25\n30 31.5\n");
    EXPECT_EQ(unix.CurveAt(0).y, set.CurveAt(0).y);
}

TEST(CurveText, DamagedCurvesAreDroppedAndReported) {
    CCourbepercentile::ParseReport report;
    // Second curve: ages not increasing; third: fewer values than announced; fourth: a word.
    auto set = CCourbepercentile::Parse(
        u"S\r\n003 03\r\n0 1 2\r\n1 2 3\r\n003 10\r\n0 2 1\r\n1 2 3\r\n"
        u"003 25\r\n0 1 2\r\n1 2\r\n003 50\r\n0 1 x\r\n1 2 3\r\n003 75\r\n0 1 2\r\n1 2 3\r\n",
        &report);
    EXPECT_EQ(set.CurveCount(), 2);
    EXPECT_EQ(report.curvesDropped, 3);
    EXPECT_EQ(set.CurveAt(1).percentile, 75);
    // A header without two numbers ends the reading.
    auto cut = CCourbepercentile::Parse(u"S\r\n003 03\r\n0 1 2\r\n1 2 3\r\nend\r\n003 10\r\n");
    EXPECT_EQ(cut.CurveCount(), 1);
    EXPECT_TRUE(CCourbepercentile::Parse(u"").Empty());
    EXPECT_TRUE(CCourbepercentile::Parse(u"\uFFFF\u00A2|||").Empty());
}

TEST(CurveText, LongCurvesKeepTheirFirst99PointsAndTenCurvesAtMost) {
    CCourbepercentile::ParseReport report;
    std::u16string text =
        u"S\r\n120 03\r\n" + RepeatNumbers(120, 0) + u"\r\n" + RepeatNumbers(120, 100) + u"\r\n";
    auto set = CCourbepercentile::Parse(text, &report);
    EXPECT_TRUE(report.truncated);
    ASSERT_EQ(set.CurveCount(), 1);
    EXPECT_EQ(set.CurveAt(0).x.size(), 99u);
    std::u16string many = u"S\r\n";
    for (int c = 0; c < 12; ++c) many += u"002 " + ToText(c + 1) + u"\r\n0 1\r\n1 2\r\n";
    EXPECT_EQ(CCourbepercentile::Parse(many).CurveCount(), 10);
}

TEST(CurveSpline, PassesThroughItsPointsAndStaysWithinItsAges) {
    auto set = CCourbepercentile::Parse(kSmallSet);
    ASSERT_EQ(set.CurveCount(), 3);
    EXPECT_FLOAT_EQ(set.PercentileFunc(50, 0), 3);
    EXPECT_FLOAT_EQ(set.PercentileFunc(50, 10), 5);
    EXPECT_FLOAT_EQ(set.PercentileFunc(50, 20), 6);
    // Second derivative of the middle point from its two slopes: 3 * (0.1 - 0.2) / 20.
    EXPECT_FLOAT_EQ(set.CurveAt(1).m[1], -0.015f);
    EXPECT_FLOAT_EQ(set.CurveAt(1).m[0], 0);
    // Between points: linear part plus the curvature term of the middle point.
    double h = 10, u = 5;
    double expected = 4 + -0.015 * (u * u * u / (6 * h) - h * u / 6);
    EXPECT_NEAR(set.PercentileFunc(50, 5), expected, 1e-5);
    // Past either end the curve keeps its end value instead of reading beyond its points.
    EXPECT_FLOAT_EQ(set.PercentileFunc(50, 20.03f), 6);
    EXPECT_FLOAT_EQ(set.PercentileFunc(50, 500), 6);
    EXPECT_FLOAT_EQ(set.PercentileFunc(50, -10), 3);
    EXPECT_FLOAT_EQ(set.PercentileFunc(50, std::numeric_limits<float>::quiet_NaN()), 3);
    // An unknown percentile is 0.
    EXPECT_EQ(set.PercentileFunc(42, 5), 0);
}

TEST(PercentileOfMeasurement, BelowOnAndAboveTheCurves) {
    auto set = CCourbepercentile::Parse(kSmallSet);
    EXPECT_FLOAT_EQ(*PercentileOf(set, 10, 3.9f), 3);     // below P3: P3's percentile
    EXPECT_FLOAT_EQ(*PercentileOf(set, 10, 4.0f), 3);     // on P3
    EXPECT_FLOAT_EQ(*PercentileOf(set, 10, 5.0f), 50);    // on P50
    EXPECT_FLOAT_EQ(*PercentileOf(set, 10, 6.0f), 97);    // on P97
    EXPECT_FLOAT_EQ(*PercentileOf(set, 10, 6.01f), 100);  // above P97
    float between = *PercentileOf(set, 10, 4.5f);
    EXPECT_GT(between, 3);
    EXPECT_LT(between, 50);
    EXPECT_FALSE(PercentileOf(set, 10, std::numeric_limits<float>::quiet_NaN()));
    EXPECT_FALSE(PercentileOf(CCourbepercentile(), 10, 4));
}

TEST(PercentileOfMeasurement, CurvesThatMeetGiveNoDivisionByZero) {
    auto set = CCourbepercentile::Parse(
        u"S\r\n002 03\r\n0 1\r\n2 2\r\n002 50\r\n0 1\r\n2 2\r\n002 97\r\n0 1\r\n3 3\r\n");
    std::optional<float> p = PercentileOf(set, 0, 2.5f);
    ASSERT_TRUE(p);
    EXPECT_TRUE(std::isfinite(*p));
    EXPECT_GE(*p, 3);
    EXPECT_LE(*p, 97);
    EXPECT_FLOAT_EQ(*PercentileOf(set, 0, 2.0f), 3);
}

TEST(CurveSets, TheBuiltInSetsInTheirOrder) {
    test::ScriptedMessages messages;
    GrowthCurves curves = GrowthCurves::Load(messages);
    EXPECT_TRUE(messages.boxes.empty());
    const char16_t* names[] = {u"Poids-Garcon", u"Poids-Fille",  u"Taille-Garcon",
                               u"Taille-Fille", u"Crane-Garcon", u"Crane-Fille"};
    for (int i = 0; i < kCurveSetCount; ++i) EXPECT_EQ(curves.Set(i).Name(), names[i]);
    EXPECT_EQ(&curves.Set(GrowthMeasure::Weight, 0), &curves.Set(1));
    EXPECT_EQ(&curves.Set(GrowthMeasure::Height, 1), &curves.Set(2));
    EXPECT_EQ(&curves.Set(GrowthMeasure::Head, 0), &curves.Set(5));
    EXPECT_FALSE(FindCurveResource(u"#7506"));
}

TEST(CurveSets, MissingOrBrokenResourcesAreToldOnceEach) {
    std::map<std::u16string, std::string> texts;
    auto encode = [](std::u16string_view text) {
        std::string bytes = "\xFF\xFE";
        for (char16_t c : text) {
            bytes += static_cast<char>(c & 0xFF);
            bytes += static_cast<char>(c >> 8);
        }
        return bytes;
    };
    std::u16string overflow =
        u"S\r\n100 03\r\n" + RepeatNumbers(100, 0) + u"\r\n" + RepeatNumbers(100, 1) + u"\r\n";
    texts[u"#7500"] = encode(kSmallSet);
    texts[u"#7501"] = encode(overflow);
    texts[u"#7502"] = encode(overflow);
    texts[u"#7503"] = encode(u"S\r\n003 03\r\n0 1 2\r\n1 2 3\r\n003 10\r\n0 0 0\r\n1 2 3\r\n");
    texts[u"#7504"] = encode(u"nothing here");
    CurveResourceLookup lookup = [&](std::u16string_view name) -> std::optional<std::string_view> {
        auto it = texts.find(std::u16string(name));
        if (it == texts.end()) return std::nullopt;
        return std::string_view(it->second);
    };
    test::ScriptedMessages messages;
    GrowthCurves curves = GrowthCurves::Load(lookup, messages);
    ASSERT_EQ(messages.boxes.size(), 3u);
    EXPECT_EQ(messages.boxes[0].text, u"Internal ressource not found");
    EXPECT_EQ(messages.boxes[0].caption, u"");
    EXPECT_EQ(messages.boxes[1].text, u"Internal ressource damaged");
    EXPECT_EQ(messages.boxes[2].text, u"Percentile overflow error 1");
    EXPECT_EQ(curves.Set(0).CurveCount(), 3);
    EXPECT_EQ(curves.Set(1).CurveAt(0).x.size(), 99u);
    EXPECT_EQ(curves.Set(3).CurveCount(), 1);
    EXPECT_TRUE(curves.Set(4).Empty());
    EXPECT_TRUE(curves.Set(5).Empty());
    // Evaluating the broken sets shows nothing more.
    curves.Set(1).PercentileFunc(3, 50);
    EXPECT_FALSE(PercentileOf(curves.Set(5), 1, 3));
    EXPECT_EQ(messages.boxes.size(), 3u);
}

}  // namespace
}  // namespace pondrel
