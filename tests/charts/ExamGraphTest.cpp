// The exam graph's drawing: value scale, time labels, growth curves.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
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

// The red cross of a single value, its centre; nullopt without one.
std::optional<GraphPoint> CrossOf(const GraphScene& scene) {
    std::vector<const GraphItem*> strokes;
    for (const GraphItem& item : scene.items) {
        if (item.kind == GraphItem::Kind::Line && item.colour == kGraphValues) {
            strokes.push_back(&item);
        }
    }
    if (strokes.size() != 3) return std::nullopt;
    const GraphItem& diagonal = *strokes[1];
    return GraphPoint{(diagonal.points[0].x + diagonal.points[1].x) / 2,
                      (diagonal.points[0].y + diagonal.points[1].y) / 2};
}

TEST_F(ExamGraphTest, OneValueIsDrawnAsACrossOverItsDate) {
    // A series of one value: a cross in the middle of the time axis, at its height on a scale,
    // with its date under it; not empty axes.
    Row(u"Hb", {{kToday, u"12"}});
    m_graph.SetSettings(true, false);
    GraphScene scene = Draw();
    std::optional<GraphPoint> cross = CrossOf(scene);
    ASSERT_TRUE(cross);
    EXPECT_EQ(cross->x, 29 + (kWidth - 39) / 2);
    // Halfway up, or nearly: clear of the title at the top.
    EXPECT_GT(cross->y, 6 + (kHeight - 22) / 3);
    EXPECT_LT(cross->y, kHeight - 16 - (kHeight - 22) / 3);
    EXPECT_EQ(TimeLabels(scene), std::vector<std::u16string>{u" 13.3.06"});
    EXPECT_FALSE(ValueLabels(scene).empty());
    // A single 0 sits on the baseline of a scale from 0 to 1.
    Row(u"Hb", {{kToday, u"0"}});
    cross = CrossOf(Draw());
    ASSERT_TRUE(cross);
    EXPECT_EQ(cross->y, kHeight - 16);
    // A child's single weight, curves off and on, is drawn too.
    Child(1, 2006, 1, 1);
    Row(u"Weight", {{kToday - 20, u"3.9"}});
    EXPECT_TRUE(CrossOf(Draw()));
    m_graph.SetCurvesShown(true);
    EXPECT_TRUE(CrossOf(Draw()));
    // No value at all: the axes only.
    Row(u"Hb", {});
    m_graph.SetCurvesShown(false);
    EXPECT_EQ(Draw().Texts(), std::vector<std::u16string>{u"Hb"});
}

TEST_F(ExamGraphTest, ValuesAllZeroAreDrawnOnTheBaseline) {
    Row(u"Hb", {{kToday - 5, u"0"}, {kToday, u"0"}});
    m_graph.SetSettings(true, false);
    GraphScene scene = Draw();
    EXPECT_EQ(TimeLabels(scene).front(), u" 8.3.06");
    EXPECT_EQ(ValueLabels(scene), (std::vector<std::u16string>{u"0", u"1"}));
    ASSERT_EQ(Count(scene, GraphItem::Kind::Polyline, kGraphValues), 1u);
    for (const GraphItem& item : scene.items) {
        if (item.kind != GraphItem::Kind::Polyline) continue;
        for (const GraphPoint& p : item.points) EXPECT_EQ(p.y, kHeight - 16);
    }
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

TEST_F(ExamGraphTest, ZoomStandsUnderTheAxisAndTheDatesLeaveItRoom) {
    Child(0, 2005, 12, 1);
    Row(u"Weight", {{kToday - 60, u"3.9"}, {kToday - 30, u"4.6"}, {kToday, u"5.3"}});
    ASSERT_TRUE(m_graph.ZoomOffered(kNow));
    for (bool curves : {false, true}) {
        m_graph.SetCurvesShown(curves);
        for (int height : {kHeight, 276}) {
            GraphScene scene = m_graph.Layout(kWidth, height, kNow, Realistic);
            GraphRect zoom = ExamGraph::ZoomBox(kWidth, height, Realistic);
            // Inside the window, as wide as its text and a frame, below the time axis and the
            // lowest stroke of its arrow (y h - 14).
            EXPECT_GE(zoom.left, 0);
            EXPECT_LE(zoom.right, kWidth);
            EXPECT_LE(zoom.bottom, height);
            EXPECT_GT(zoom.top, height - 14);
            EXPECT_GE(zoom.right - zoom.left, Realistic(ExamGraph::kZoomText, 10) + 4);
            int dates = 0;
            for (const GraphItem& item : scene.items) {
                if (item.kind == GraphItem::Kind::Line && item.colour == kGraphBlack) {
                    GraphRect line{std::min(item.points[0].x, item.points[1].x),
                                   std::min(item.points[0].y, item.points[1].y),
                                   std::max(item.points[0].x, item.points[1].x) + 1,
                                   std::max(item.points[0].y, item.points[1].y) + 1};
                    EXPECT_FALSE(line.Intersects(zoom)) << "an axis line under the button";
                }
                if (item.kind != GraphItem::Kind::Text || item.points[0].y != height - 13) continue;
                ++dates;
                int centre = (item.points[0].x + item.points[1].x) / 2;
                EXPECT_LT(centre + Realistic(item.text, item.fontHeight) / 2, zoom.left)
                    << ToUtf8(item.text);
            }
            EXPECT_GE(dates, 2);
        }
    }
}

TEST_F(ExamGraphTest, PercentileLabelsStayWholeInsideTheWindow) {
    m_graph.SetCurvesShown(true);
    // Values that put the top curve's end at the very top of the plot, and a tall window.
    Child(1, 2005, 12, 13);
    for (int height : {kHeight, 276, 60}) {
        for (std::u16string top : {u"5.9", u"6", u"7.2"}) {
            Row(u"Weight", {{kToday - 60, u"3.4"}, {kToday, top}});
            GraphScene scene = m_graph.Layout(kWidth, height, kNow, Realistic);
            std::vector<GraphRect> grounds;
            bool p97 = false;
            for (size_t i = 0; i < scene.items.size(); ++i) {
                const GraphItem& item = scene.items[i];
                if (item.kind == GraphItem::Kind::Fill) {
                    grounds.push_back({item.points[0].x, item.points[0].y, item.points[1].x,
                                       item.points[1].y});
                }
                if (item.kind != GraphItem::Kind::Text || item.colour != kGraphCurveLabel) continue;
                p97 = p97 || item.text == u"P97";
                // On its white ground, drawn just before it, the whole text inside the window
                // and above the time axis; no two labels on one another.
                ASSERT_GE(i, 1u);
                const GraphItem& ground = scene.items[i - 1];
                ASSERT_EQ(ground.kind, GraphItem::Kind::Fill);
                EXPECT_EQ(ground.colour, kGraphWhite);
                GraphRect box{ground.points[0].x, ground.points[0].y, ground.points[1].x,
                              ground.points[1].y};
                EXPECT_GE(box.top, 1) << ToUtf8(item.text);
                EXPECT_LE(box.bottom, height - 16) << ToUtf8(item.text);
                EXPECT_LE(box.right, kWidth);
                EXPECT_GE(box.right - box.left, Realistic(item.text, item.fontHeight) + 2);
                EXPECT_GE(box.bottom - box.top, item.fontHeight + 2);
            }
            EXPECT_TRUE(p97) << height;
            for (size_t a = 0; a < grounds.size(); ++a) {
                for (size_t b = a + 1; b < grounds.size(); ++b) {
                    EXPECT_FALSE(grounds[a].Intersects(grounds[b]));
                }
            }
            // The values are drawn over the labels, never under them.
            size_t lastLabel = 0, firstValue = scene.items.size();
            for (size_t i = 0; i < scene.items.size(); ++i) {
                if (scene.items[i].colour == kGraphCurveLabel) lastLabel = i;
                if (scene.items[i].colour == kGraphValues) firstValue = std::min(firstValue, i);
            }
            EXPECT_LT(lastLabel, firstValue);
        }
    }
}

}  // namespace
}  // namespace pondrel
