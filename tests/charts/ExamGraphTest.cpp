// The exam graph's drawing: value scale, time labels, growth curves.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "BuiltInCurves.h"
#include "Doubles.h"
#include "charts/ExamGraph.h"
#include "charts/ExamTable.h"
#include "journal/JournalDays.h"
#include "labels/Labels.h"
#include "platform/Text.h"
#include "records/PatientRecord.h"

namespace pondrel {
namespace {

constexpr int kWidth = 241;
constexpr int kHeight = 148;
const DateTime kNow{2006, 3, 13, 9, 0, 0};
constexpr DayNumber kToday = 2263;  // 13 March 2006

// Narrow labels: no label is left out for want of room.
int Narrow(std::u16string_view, int) {
    return 1;
}
// About the width of the program's font.
int Realistic(std::u16string_view text, int fontHeight) {
    return static_cast<int>(text.size()) * fontHeight * 6 / 10;
}

class ExamGraphTest : public ::testing::Test {
protected:
    void Row(std::u16string title, std::vector<std::pair<DayNumber, std::u16string>> values) {
        ExamRow row;
        row.title = std::move(title);
        for (auto& [day, value] : values) row.values.push_back({day, value});
        m_graph.LoadGraphRow(row);
    }
    // A child born on the date, with the gestation text.
    void Child(int sex, int year, int month, int day, std::u16string gestation = u"") {
        PatientRecord record;
        record.sex = sex;
        record.SetField(4, ToText(day));
        record.SetField(5, ToText(month));
        record.SetField(6, ToText(year));
        record.SetField(203, std::move(gestation));
        m_graph.SetPatient(record);
    }
    GraphScene Draw(GraphTextWidth width = Narrow) const {
        return m_graph.Layout(kWidth, kHeight, kNow, width);
    }
    static std::vector<std::u16string> TimeLabels(const GraphScene& scene) {
        std::vector<std::u16string> labels;
        for (const GraphItem& item : scene.items) {
            if (item.kind == GraphItem::Kind::Text && item.points[0].y == kHeight - 13) {
                labels.push_back(item.text);
            }
        }
        return labels;
    }
    static std::vector<std::u16string> ValueLabels(const GraphScene& scene) {
        std::vector<std::u16string> labels;
        for (const GraphItem& item : scene.items) {
            if (item.kind == GraphItem::Kind::Text && item.points[0].x == 0) {
                labels.push_back(item.text);
            }
        }
        return labels;
    }
    static size_t Count(const GraphScene& scene, GraphItem::Kind kind, GraphColour colour) {
        return static_cast<size_t>(std::count_if(
            scene.items.begin(), scene.items.end(),
            [&](const GraphItem& i) { return i.kind == kind && i.colour == colour; }));
    }

    ExamGraph m_graph{test::BuiltInCurves()};
};

TEST_F(ExamGraphTest, LoadingARowKeepsTheFirstValueOfEachDay) {
    Row(u"Hb", {{10, u"12.5"}, {10, u"9"}, {11, u"11x"}, {12, u"abc"}});
    ASSERT_EQ(m_graph.Points().size(), 3u);
    EXPECT_DOUBLE_EQ(m_graph.Points()[0].value, 12.5);
    EXPECT_DOUBLE_EQ(m_graph.Points()[1].value, 11);
    EXPECT_DOUBLE_EQ(m_graph.Points()[2].value, 0);
    std::vector<std::pair<DayNumber, std::u16string>> many;
    for (int d = 0; d < 300; ++d) many.push_back({d, u"1"});
    Row(u"Hb", many);
    EXPECT_EQ(m_graph.Points().size(), 199u);
}

TEST_F(ExamGraphTest, MeasuresAreFoundInTheTitle) {
    EXPECT_EQ(MeasureOfTitle(u"Weight"), GrowthMeasure::Weight);
    EXPECT_EQ(MeasureOfTitle(u"Height,Taille"), GrowthMeasure::Height);
    EXPECT_EQ(MeasureOfTitle(u"Cranial perimeter"), GrowthMeasure::Head);
    EXPECT_EQ(MeasureOfTitle(u"Cranialperimeter,HC"), GrowthMeasure::Head);
    EXPECT_EQ(MeasureOfTitle(u"Weight/height"), GrowthMeasure::Height);
    EXPECT_FALSE(MeasureOfTitle(u"Hb"));
}

TEST_F(ExamGraphTest, OneValueWithoutCurvesShowsTheAxesOnly) {
    Row(u"Hb", {{kToday, u"12"}});
    GraphScene scene = Draw();
    EXPECT_EQ(Count(scene, GraphItem::Kind::Line, kGraphBlack), 6u);
    EXPECT_EQ(Count(scene, GraphItem::Kind::Line, kGraphValues), 0u);
    EXPECT_EQ(scene.Texts(), std::vector<std::u16string>{u"Hb"});
}

TEST_F(ExamGraphTest, ValuesAllZeroShowAxesAndTimeLabels) {
    Row(u"Hb", {{kToday - 5, u"0"}, {kToday, u"0"}});
    m_graph.SetSettings(true, false);
    GraphScene scene = Draw();
    EXPECT_EQ(TimeLabels(scene).front(), u" 8.3.06");
    EXPECT_TRUE(ValueLabels(scene).empty());
    EXPECT_EQ(Count(scene, GraphItem::Kind::Polyline, kGraphValues), 0u);
}

TEST_F(ExamGraphTest, ValueScales) {
    Row(u"T", {{kToday - 1, u"36.5"}, {kToday, u"36.7"}});
    EXPECT_EQ(ValueLabels(Draw()), (std::vector<std::u16string>{u"0", u"5", u"10", u"15", u"20",
                                                                u"25", u"30", u"35", u"40"}));
    Row(u"X", {{kToday - 1, u"2"}, {kToday, u"10"}});
    EXPECT_EQ(ValueLabels(Draw()).front(), u"0");
    Row(u"Na", {{kToday - 1, u"135"}, {kToday, u"141"}});
    EXPECT_EQ(ValueLabels(Draw()).front(), u"135");
    // Below zero the scale starts under the lowest value, not above it.
    Row(u"BE", {{kToday - 1, u"-3.4"}, {kToday, u"-1"}});
    GraphScene scene = Draw();
    EXPECT_EQ(ValueLabels(scene).front(), u"-3.5");
    const GraphItem* values = nullptr;
    for (const GraphItem& item : scene.items) {
        if (item.kind == GraphItem::Kind::Polyline && item.colour == kGraphValues) values = &item;
    }
    ASSERT_TRUE(values);
    for (const GraphPoint& p : values->points) {
        EXPECT_LE(p.y, kHeight - 16);
        EXPECT_GE(p.y, 1);
    }
}

TEST_F(ExamGraphTest, DateLabelsDoNotOverlap) {
    Row(u"Hb", {{kToday - 60, u"12"}, {kToday, u"10"}});
    GraphScene scene = Draw(Realistic);
    int lastRight = -1000;
    int shown = 0;
    for (const GraphItem& item : scene.items) {
        if (item.kind != GraphItem::Kind::Text || item.points[0].y != kHeight - 13) continue;
        int centre = (item.points[0].x + item.points[1].x) / 2;
        int half = Realistic(item.text, item.fontHeight) / 2;
        EXPECT_GT(centre - half, lastRight) << ToUtf8(item.text);
        lastRight = centre + half;
        ++shown;
    }
    EXPECT_GE(shown, 3);
}

TEST_F(ExamGraphTest, WeightInGramsIsDrawnInKilograms) {
    Child(1, 2006, 1, 1);
    Row(u"Weight", {{kToday - 20, u"3500"}, {kToday, u"4.1"}});
    GraphScene scene = Draw();
    // 3.5 and 4.1 kg: a scale from 3.5 to about 4.1, not one reaching 3500.
    std::vector<std::u16string> labels = ValueLabels(scene);
    EXPECT_EQ(labels.front(), u"3.5");
    EXPECT_LT(std::stod(ToUtf8(labels.back())), 4.3);
}

TEST_F(ExamGraphTest, PretermChildOnTheGrowthCurves) {
    // Born at 32 + 3 weeks, 80 days ago.
    Child(0, 2005, 12, 23, u"32+3");
    Row(u"Weight", {{kToday - 30, u"1800"}, {kToday, u"2600"}});
    m_graph.SetCurvesShown(true);
    ASSERT_TRUE(m_graph.ZoomOffered(kNow));
    GraphScene scene = Draw();
    EXPECT_EQ(TimeLabels(scene),
              (std::vector<std::u16string>{u"32w", u"33w", u"34w", u"35w", u"36w", u"37w", u"38w",
                                           u"39w", u"T", u"1w", u"2w", u"3w"}));
    EXPECT_EQ(Count(scene, GraphItem::Kind::Polyline, kGraphCurve), 7u);
    std::vector<std::u16string> texts = scene.Texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), u"Weight Girl (Kg)"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), u"No curves before term"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), u"P97"), texts.end());
    // The curves start at term: their first point is right of the term label.
    for (const GraphItem& item : scene.items) {
        if (item.kind == GraphItem::Kind::Polyline && item.colour == kGraphCurve) {
            EXPECT_GT(item.points.front().x, 29 + 202 * 50 / 83);
        }
    }
}

TEST_F(ExamGraphTest, TermBabyLabelsByWeeksMonthsAndYears) {
    m_graph.SetCurvesShown(true);
    Row(u"Height", {{kToday - 10, u"50"}, {kToday, u"52"}});
    Child(1, 2005, 12, 13);  // 90 days
    auto weeks = TimeLabels(Draw());
    EXPECT_EQ(std::vector<std::u16string>(weeks.begin(), weeks.begin() + 3),
              (std::vector<std::u16string>{u"0w", u"1w", u"2w"}));
    Child(1, 2005, 5, 17);  // 300 days
    auto months = TimeLabels(Draw());
    EXPECT_EQ(std::vector<std::u16string>(months.begin(), months.begin() + 3),
              (std::vector<std::u16string>{u"0m", u"1m", u"2m"}));
    Child(1, 2003, 3, 1);  // 3 years
    EXPECT_EQ(TimeLabels(Draw()), (std::vector<std::u16string>{u"0y", u"1y", u"2y"}));
}

TEST_F(ExamGraphTest, NoCurvesAfterEighteenOrBeforeBirth) {
    m_graph.SetCurvesShown(true);
    Row(u"Weight", {{kToday - 10, u"70"}, {kToday, u"71"}});
    Child(1, 1987, 1, 1);
    EXPECT_FALSE(m_graph.ZoomOffered(kNow));
    GraphScene adult = Draw();
    EXPECT_EQ(Count(adult, GraphItem::Kind::Polyline, kGraphCurve), 0u);
    EXPECT_EQ(adult.Texts().back(), u"Weight");
    // Born in the future: the window stays white.
    Child(1, 2006, 6, 1);
    EXPECT_TRUE(Draw().items.empty());
    // Without a measure in the title there is no button.
    Child(1, 2005, 1, 1);
    Row(u"Hb", {{kToday, u"12"}});
    EXPECT_FALSE(m_graph.ZoomOffered(kNow));
}

TEST_F(ExamGraphTest, HeadCircumferenceCurvesEndAtFiveYears) {
    m_graph.SetCurvesShown(true);
    Child(0, 1998, 3, 13);  // 8 years
    Row(u"Cranial perimeter", {{kToday - 400, u"50"}, {kToday, u"51"}});
    GraphScene scene = Draw();
    std::vector<std::u16string> texts = scene.Texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), u"No curves after 5 years"), texts.end());
    for (const GraphItem& item : scene.items) {
        if (item.kind == GraphItem::Kind::Polyline && item.colour == kGraphCurve) {
            EXPECT_LT(item.points.back().x, 29 + 202 * 5 / 8 + 5);
        }
    }
}

}  // namespace
}  // namespace pondrel
