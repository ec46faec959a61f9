#pragma once

// The exam graph below the exam table: the values of the selected row as a red line over a date
// axis, or, for a child's weight, height or head circumference with "Zoom" on, over the child's
// corrected age with the seven percentile curves beneath. This class holds the graph's data and
// lays the drawing out; the graph window paints the scene.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "charts/GraphScene.h"
#include "charts/GrowthCurves.h"
#include "platform/DateTime.h"
#include "records/DayNumber.h"
#include "records/PatientRecord.h"

namespace pondrel {

struct ExamRow;
struct Labels;

// The measure a row's title names, looked for in the title folded to lower case, blanks
// ignored: "weight", then "height", then "cranial perimeter" or "head circumference"; the last
// found decides.
std::optional<GrowthMeasure> MeasureOfTitle(std::u16string_view title);

// The width in pixels of a text in the graph's font of that height.
using GraphTextWidth = std::function<int(std::u16string_view text, int fontHeight)>;
// The width by `textWidth`, or an estimate of the program's font without one.
int MeasureGraphText(const GraphTextWidth& textWidth, std::u16string_view text, int fontHeight);

class ExamGraph {
public:
    static constexpr int kMaxPoints = 199;
    static constexpr int kFontHeight = 10;
    static constexpr std::u16string_view kZoomText = u"Zoom";

    struct Point {
        DayNumber day = 0;
        double value = 0;
    };

    // `curves` must outlive the graph.
    explicit ExamGraph(const GrowthCurves& curves) : m_curves(curves) {}

    // The row's title and values (the first of each day, at most 199).
    void LoadGraphRow(const ExamRow& row);
    // What the graph takes from the record and the settings: sex, birth date and gestation;
    // date order and units; the sex words (labels 178, 179) and the age letters.
    void SetPatient(const PatientRecord& record);
    void SetSettings(bool dayFirst, bool imperialUnits);
    void SetWords(const Labels& labels);
    // The "Zoom" option (preferences item 51).
    void SetCurvesShown(bool shown) { m_curvesShown = shown; }
    bool CurvesShown() const { return m_curvesShown; }

    const std::u16string& Title() const { return m_title; }
    const std::vector<Point>& Points() const { return m_points; }
    std::optional<GrowthMeasure> Measure() const { return MeasureOfTitle(m_title); }

    // The "Zoom" button is offered for a measure of a patient not older than 18 at `now`.
    bool ZoomOffered(const DateTime& now) const;
    // Where the button stands in a window of `width` x `height` pixels: in the bottom right
    // corner, under the time axis and its arrow, as wide as its text in the axis font and
    // some room. The time labels leave it free while it is offered.
    static GraphRect ZoomBox(int width, int height, const GraphTextWidth& textWidth);
    // The curves are drawn when the button is offered and the option is on.
    bool DrawsCurves(const DateTime& now) const { return m_curvesShown && ZoomOffered(now); }

    // The drawing of a window of `width` x `height` pixels at `now`. `textWidth` measures the
    // labels, so that none overlaps another.
    GraphScene Layout(int width, int height, const DateTime& now,
                      const GraphTextWidth& textWidth) const;

private:
    friend class ExamGraphLayout;

    const GrowthCurves& m_curves;
    std::u16string m_title;
    std::vector<Point> m_points;
    PatientRecord m_patient;  // sex, birth date and gestation only
    bool m_dayFirst = false;
    bool m_imperialUnits = false;
    bool m_curvesShown = false;
    std::u16string m_boyWord = u"Boy";
    std::u16string m_girlWord = u"Girl";
    std::u16string m_weekLetter = u"w";
    std::u16string m_monthLetter = u"m";
    std::u16string m_yearLetter = u"y";
};

}  // namespace pondrel
