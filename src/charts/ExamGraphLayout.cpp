// The exam graph's drawing: axes, time labels, value scale, percentile curves, values, title.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "charts/ExamGraph.h"
#include "charts/ExamTitles.h"
#include "charts/GrowthAge.h"
#include "charts/PercentileField.h"
#include "journal/JournalDays.h"
#include "platform/Text.h"

namespace pondrel {

namespace {

// The plot: left edge x 29, width w - 39, baseline y h - 16, height h - 22.
constexpr int kPlotLeft = 29;
constexpr int kPlotRightMargin = 10;
constexpr int kBaselineMargin = 16;
constexpr int kPlotHeightMargin = 22;
constexpr double kDaysPerMonth = 30.5;
constexpr int kTermDays = 280;
constexpr int kCurvePoints = 50;
constexpr int kLabelGap = 3;

struct StepLimit {
    double below;
    double step;
};
constexpr StepLimit kSteps[] = {
    {0.0005, 0.0001}, {0.002, 0.001}, {0.007, 0.005}, {0.02, 0.01}, {0.07, 0.05}, {0.2, 0.1},
    {0.7, 0.5},       {1.5, 1},       {2.5, 2},       {7, 5},       {15, 10},     {22, 20},
    {40, 25},         {80, 50},       {150, 100},     {250, 200},   {600, 500},   {1200, 1000},
    {1800, 2000},     {6000, 5000},   {20000, 10000},
};

std::u16string Ascii(const char* text) {
    std::u16string out;
    for (const char* c = text; *c; ++c) out += static_cast<char16_t>(*c);
    return out;
}

// base + v with five decimals, trailing zeros and point removed.
std::u16string ScaleLabel(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.5f", value);
    std::string s = text;
    if (s.find('.') != std::string::npos) {
        while (!s.empty() && s.back() == '0') s.pop_back();
        if (!s.empty() && s.back() == '.') s.pop_back();
    }
    if (s == "-0") s = "0";
    return Ascii(s.c_str());
}

long long RoundHalfAway(double value) {
    return static_cast<long long>(value < 0 ? value - 0.5 : value + 0.5);
}

}  // namespace

class ExamGraphLayout {
public:
    ExamGraphLayout(const ExamGraph& graph, int width, int height, const DateTime& now,
                    const GraphTextWidth& textWidth)
        : m_graph(graph), m_w(width), m_h(height), m_now(now), m_textWidth(textWidth) {}

    GraphScene Run();

private:
    int PlotWidth() const { return std::max(1, m_w - kPlotLeft - kPlotRightMargin); }
    int Baseline() const { return m_h - kBaselineMargin; }
    int PlotHeight() const { return std::max(1, m_h - kPlotHeightMargin); }
    int TextWidth(std::u16string_view text, int fontHeight) const {
        return MeasureGraphText(m_textWidth, text, fontHeight);
    }
    int X(long long day) const {
        // A single day (one value) stands in the middle of the time axis.
        if (m_span < 1) return kPlotLeft + PlotWidth() / 2;
        return kPlotLeft + static_cast<int>((day - m_start) * PlotWidth() / m_span);
    }
    int Y(double value) const {
        return static_cast<int>(
            std::floor(Baseline() - (value - m_base) * PlotHeight() / m_valueSpan));
    }
    double Normalised(double value) const;
    double Displayed(double curveValue) const;
    std::optional<float> AgeAt(long long day) const;

    bool TimeRange();
    void Axes();
    void TimeLabels();
    bool ValueRange();
    void ValueLabels();
    void Curves();
    void Values();
    void Title();
    GraphRect CurveLabelBox(std::u16string_view text, int y) const;

    const ExamGraph& m_graph;
    int m_w;
    int m_h;
    DateTime m_now;
    const GraphTextWidth& m_textWidth;
    GraphScene m_scene;

    std::optional<GrowthMeasure> m_measure;
    bool m_curves = false;
    std::optional<GraphRect> m_zoom;  // the "Zoom" button, while offered
    const CCourbepercentile* m_set = nullptr;
    std::vector<double> m_values;  // normalised, in point order
    long long m_start = 0;
    long long m_span = 0;
    float m_startAge = 0;  // a, after the adjustment to a whole week of gestation
    float m_birthAge = 0;  // a, before it
    float m_endAge = 0;    // b
    double m_base = 0;
    double m_step = 1;
    int m_count = 0;  // k
    double m_valueSpan = 1;
};

double ExamGraphLayout::Normalised(double value) const {
    return m_measure ? ToDisplayedUnits(*m_measure, value, m_graph.m_imperialUnits) : value;
}

double ExamGraphLayout::Displayed(double curveValue) const {
    if (!m_graph.m_imperialUnits || !m_measure) return curveValue;
    return curveValue * (*m_measure == GrowthMeasure::Weight ? 2.2 : 0.3937);
}

std::optional<float> ExamGraphLayout::AgeAt(long long day) const {
    // Noon of the day: a birth at the first second of its day is a whole number of days away.
    return CorrectedAge(m_graph.m_patient, NoonOf(static_cast<DayNumber>(day)));
}

GraphScene ExamGraphLayout::Run() {
    m_measure = m_graph.Measure();
    m_curves = m_graph.DrawsCurves(m_now);
    if (m_graph.ZoomOffered(m_now)) m_zoom = ExamGraph::ZoomBox(m_w, m_h, m_textWidth);
    if (m_curves) {
        m_set = &m_graph.m_curves.Set(*m_measure, m_graph.m_patient.sex);
        if (m_set->Empty()) m_curves = false;
    }
    for (const ExamGraph::Point& point : m_graph.m_points)
        m_values.push_back(Normalised(point.value));
    if (!TimeRange()) return m_scene;  // a birth date in the future: the window stays white
    Axes();
    // A single value is drawn too, as a point (a cross) over its date.
    if (!m_values.empty()) {
        TimeLabels();
        if (ValueRange()) {
            ValueLabels();
            if (m_curves) Curves();
            Values();
        }
    }
    Title();
    return m_scene;
}

bool ExamGraphLayout::TimeRange() {
    if (!m_curves) {
        if (m_graph.m_points.empty()) return true;
        auto [first, last] = std::minmax_element(
            m_graph.m_points.begin(), m_graph.m_points.end(),
            [](const ExamGraph::Point& a, const ExamGraph::Point& b) { return a.day < b.day; });
        m_start = first->day;
        m_span = static_cast<long long>(last->day) - first->day;
        return true;
    }
    std::optional<DateTime> birth = BirthDateTime(m_graph.m_patient);
    if (!birth) return false;
    std::optional<float> a = CorrectedAge(m_graph.m_patient, *birth);
    std::optional<float> b = CorrectedAge(m_graph.m_patient, m_now);
    if (!a || !b) return false;
    long long valueSpan = 0;
    if (!m_graph.m_points.empty()) {
        auto [first, last] = std::minmax_element(
            m_graph.m_points.begin(), m_graph.m_points.end(),
            [](const ExamGraph::Point& p, const ExamGraph::Point& q) { return p.day < q.day; });
        valueSpan = static_cast<long long>(last->day) - first->day;
    }
    m_birthAge = *a;
    m_startAge = *a;
    int s = 0;
    if (*a < 0 && valueSpan < 120) {
        // Start at the whole week of gestation before birth.
        double t = *a * kDaysPerMonth + kTermDays;
        s = static_cast<int>(t) % 7;
        m_startAge = *a - static_cast<float>(s) / 30;
    }
    m_endAge = *b;
    m_start = static_cast<long long>(DayNumberOf(*birth)) - s;
    m_span = static_cast<long long>(DayNumberOf(m_now)) - m_start;
    return m_span >= 0;
}

void ExamGraphLayout::Axes() {
    int w = m_w;
    int base = Baseline();
    m_scene.Line(kPlotLeft - 1, base, w - 2, base, kGraphBlack);
    m_scene.Line(w - 2, base, w - 5, base + 2, kGraphBlack);
    m_scene.Line(w - 2, base, w - 5, base - 2, kGraphBlack);
    m_scene.Line(kPlotLeft, base + 1, kPlotLeft, 1, kGraphBlack);
    m_scene.Line(kPlotLeft, 1, kPlotLeft - 2, 4, kGraphBlack);
    m_scene.Line(kPlotLeft, 1, kPlotLeft + 2, 4, kGraphBlack);
}

void ExamGraphLayout::TimeLabels() {
    const int fh = ExamGraph::kFontHeight;
    int lastRight = -1000;  // the right end of the last label written
    auto label = [&](long long offset, const std::u16string& text, bool first) {
        int x = X(m_start + offset);
        if (!first) {
            m_scene.Line(x, Baseline() - 1, x, Baseline() + 2, kGraphBlack);
            m_scene.Line(x, Baseline() - 2, x, 1, kGraphGrid);
        }
        // A label that would run into the one before, or into the "Zoom" button, is left out;
        // its tick stays.
        int half = TextWidth(text, fh) / 2;
        if (x - half < lastRight + kLabelGap) return;
        if (m_zoom && x + half > m_zoom->left - kLabelGap) return;
        m_scene.Text(text, x - 20, m_h - 13, x + 20, m_h, fh, kGraphBlack, GraphItem::Align::Centre,
                     GraphItem::VAlign::Top);
        lastRight = x + half;
    };
    if (!m_curves) {
        long long step = m_span / 7 + 1;
        DateOrder order = m_graph.m_dayFirst ? DateOrder::DayMonthYear : DateOrder::MonthDayYear;
        for (long long offset = 0; offset <= m_span && X(m_start + offset) <= m_w - 20;
             offset += step) {
            label(offset, u" " + DateStamp(static_cast<DayNumber>(m_start + offset), order),
                  offset == 0);
        }
        return;
    }
    long long offset = 0;
    bool afterTerm = false;
    long long termOffset = 0;
    bool preterm = m_birthAge < 0;
    if (preterm && m_span > 729) {
        // A long stay: the labels start at the term date.
        offset = static_cast<long long>(-m_birthAge * kDaysPerMonth);
        afterTerm = true;
    }
    bool first = true;
    while (offset <= m_span && X(m_start + offset) <= m_w - 20) {
        if (m_span > 120) afterTerm = true;
        long long step = 7;
        std::optional<float> age = AgeAt(m_start + offset);
        if (!age) break;
        double g = *age;
        double t = g * kDaysPerMonth + (g < 0 ? kTermDays : 0);
        long long n = static_cast<long long>(t / 7 + 0.5);
        // The term date of a preterm child: 40 weeks of gestation, or week 0 after it.
        bool term = preterm && ((g < 0 && n == kTermDays / 7) || (g >= 0 && n == 0));
        std::u16string text = ToText(n) + m_graph.m_weekLetter;
        if (term) {
            text = u"T";
            afterTerm = true;
            termOffset = offset;
        }
        if (afterTerm) {
            long long r = m_span - termOffset;
            if (r > 31 && r < 730) {
                step = 30;
                if (!term) text = ToText(RoundHalfAway(g)) + m_graph.m_monthLetter;
            }
            if (r > 729) {
                step = 365;
                text = ToText(static_cast<long long>(g / 12 + 0.5)) + m_graph.m_yearLetter;
            }
        }
        label(offset, text, first);
        first = false;
        offset += step;
    }
}

bool ExamGraphLayout::ValueRange() {
    double lowest = 1e18;
    double highest = 0;
    for (double v : m_values) {
        lowest = std::min(lowest, v);
        highest = std::max(highest, v);
    }
    if (m_curves) {
        // The lowest curve where the curves start, the highest where they end.
        auto range = m_set->AgeRange();
        float from = std::clamp(m_startAge, range->first, range->second);
        float to = std::clamp(m_endAge, range->first, range->second);
        lowest = std::min(lowest, Displayed(m_set->CurveValue(0, from)));
        highest = std::max(highest, Displayed(m_set->CurveValue(m_set->CurveCount() - 1, to)));
    }
    if (lowest > highest) lowest = highest;
    if (m_values.size() == 1 && !m_curves && highest > 0) {
        // A single value stands halfway up a scale from 0, clear of the title at the top.
        lowest = 0;
        highest *= 2;
    }
    if (highest / lowest >= 3) lowest = 0;
    double r = (highest - lowest) * 0.1;
    if (r < 0.05) {
        lowest = 0;
        r = highest * 0.1;
        if (r < 0.0001) {
            // Values of 0: a scale from 0 to 1, the values on the baseline.
            if (m_values.empty()) return false;
            m_base = 0;
            m_step = 1;
            m_count = 1;
            m_valueSpan = 1;
            return true;
        }
    }
    m_step = r;
    for (const StepLimit& limit : kSteps) {
        if (r < limit.below) {
            m_step = limit.step;
            break;
        }
    }
    // The scale starts at the step at or below the lowest value, below zero too.
    m_base = std::floor(lowest / m_step) * m_step;
    m_count = static_cast<int>(std::floor((highest - m_base) / m_step + 1));
    m_count = std::clamp(m_count, 1, 1000);
    m_valueSpan = m_count * m_step;
    return true;
}

void ExamGraphLayout::ValueLabels() {
    const int fh = ExamGraph::kFontHeight;
    int every = m_count > 10 ? 2 : 1;
    // Lines closer than a text's height are labelled one in two, or fewer.
    while (every < m_count && PlotHeight() * every / m_count < fh + 1) ++every;
    for (int i = 0; i <= m_count; ++i) {
        int y = Baseline() - PlotHeight() * i / m_count;
        m_scene.Line(kPlotLeft - 1, y, kPlotLeft + 2, y, kGraphBlack);
        if (i > 0) m_scene.Line(kPlotLeft + 3, y, m_w - 2, y, kGraphGrid);
        if (i % every != 0) continue;
        m_scene.Text(ScaleLabel(m_base + i * m_step), 0, y - 6, kPlotLeft - 2, y + 7, fh,
                     kGraphBlack, GraphItem::Align::Right, GraphItem::VAlign::Centre);
    }
}

void ExamGraphLayout::Curves() {
    auto range = m_set->AgeRange();
    const int count = m_set->CurveCount();
    const int fh = ExamGraph::kFontHeight;
    std::vector<GraphPoint> ends(static_cast<size_t>(count), GraphPoint{-1, -1});
    for (int c = 0; c < count; ++c) {
        int width = (c == 0 || c == 3 || c == count - 1) ? 2 : 1;
        std::vector<GraphPoint> line;
        for (int i = 0; i < kCurvePoints; ++i) {
            double at = m_startAge + i * 0.02 * (m_endAge - m_startAge);
            // No reference before term, nor after the curves' last age.
            if (at < range->first || at > range->second) continue;
            double value = Displayed(m_set->CurveValue(c, static_cast<float>(at)));
            line.push_back({kPlotLeft + static_cast<int>(i * 0.02 * PlotWidth()), Y(value)});
        }
        if (line.empty()) continue;
        ends[static_cast<size_t>(c)] = line.back();
        m_scene.Polyline(std::move(line), kGraphCurve, width);
    }
    // "P3", "P10" ... at the right end of each curve, on a white ground that the curves and
    // grid lines do not cross, kept inside the window: the thick curves first, the others where
    // their label does not run into one already written. The values are drawn over them.
    std::vector<int> order;
    for (int c : {0, 3, count - 1}) {
        if (c >= 0 && c < count && std::find(order.begin(), order.end(), c) == order.end()) {
            order.push_back(c);
        }
    }
    for (int c = 0; c < count; ++c) {
        if (std::find(order.begin(), order.end(), c) == order.end()) order.push_back(c);
    }
    std::vector<GraphRect> written;
    for (int c : order) {
        GraphPoint end = ends[static_cast<size_t>(c)];
        if (end.x < 0) continue;
        std::u16string text = u"P" + ToText(m_set->CurveAt(c).percentile);
        GraphRect box = CurveLabelBox(text, end.y);
        bool room = std::none_of(written.begin(), written.end(),
                                 [&](const GraphRect& other) { return other.Intersects(box); });
        if (!room) continue;
        written.push_back(box);
        m_scene.Fill(box, kGraphWhite);
        m_scene.Text(std::move(text), box.left, box.top, box.right - 1, box.bottom - 1, fh,
                     kGraphCurveLabel, GraphItem::Align::Right, GraphItem::VAlign::Centre);
    }
    std::u16string note;
    if (m_startAge < range->first) note = u"No curves before term";
    if (m_endAge > range->second + 0.5f) {
        note = u"No curves after " + ToText(static_cast<long long>(range->second / 12)) + u" years";
    }
    if (!note.empty()) {
        m_scene.Text(note, kPlotLeft + 4, 31, m_w - 2, 43, ExamGraph::kFontHeight, kGraphNote,
                     GraphItem::Align::Left, GraphItem::VAlign::Top);
    }
}

GraphRect ExamGraphLayout::CurveLabelBox(std::u16string_view text, int y) const {
    const int fh = ExamGraph::kFontHeight;
    const int height = fh + 3;
    const int right = m_w - 1;
    GraphRect box{right - TextWidth(text, fh) - 3, y - height / 2, right, 0};
    // Inside the window, above the time axis.
    box.top = std::clamp(box.top, 1, std::max(1, Baseline() - height));
    box.bottom = box.top + height;
    return box;
}

void ExamGraphLayout::Values() {
    std::vector<GraphPoint> line;
    for (size_t i = 0; i < m_values.size(); ++i) {
        int x = X(m_graph.m_points[i].day);
        if (x == kPlotLeft) x = kPlotLeft + 1;
        line.push_back({x, Y(m_values[i])});
    }
    if (line.size() == 1) {
        GraphPoint p = line.front();
        m_scene.Line(p.x, p.y, p.x + 1, p.y, kGraphValues, 2);
        m_scene.Line(p.x - 7, p.y - 7, p.x + 7, p.y + 7, kGraphValues, 2);
        m_scene.Line(p.x + 7, p.y - 7, p.x - 7, p.y + 7, kGraphValues, 2);
        return;
    }
    m_scene.Polyline(std::move(line), kGraphValues, 2);
}

void ExamGraphLayout::Title() {
    const int fh = ExamGraph::kFontHeight;
    std::u16string text(ShownTitle(m_graph.m_title));
    if (m_curves) {
        text += u" " + (m_graph.m_patient.sex == 0 ? m_graph.m_girlWord : m_graph.m_boyWord);
        bool weight = *m_measure == GrowthMeasure::Weight;
        if (m_graph.m_imperialUnits) {
            text += weight ? u" (Pound)" : u" (Inch)";
        } else {
            text += weight ? u" (Kg)" : u" (cm)";
        }
    }
    // Beside the curves' labels on the right, not over them.
    int right = m_w - 2;
    if (m_curves && m_set->CurveCount() > 0) {
        right = CurveLabelBox(u"P" + ToText(m_set->CurveAt(m_set->CurveCount() - 1).percentile), 0)
                    .left -
                2;
    }
    m_scene.Text(text, kPlotLeft + 2, 5, right, 35 * fh / 12, fh + 2, kGraphBlack,
                 GraphItem::Align::Centre, GraphItem::VAlign::Top);
}

GraphScene ExamGraph::Layout(int width, int height, const DateTime& now,
                             const GraphTextWidth& textWidth) const {
    return ExamGraphLayout(*this, width, height, now, textWidth).Run();
}

}  // namespace pondrel
