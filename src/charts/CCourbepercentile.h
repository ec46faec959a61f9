#pragma once

// One set of growth percentile curves (one measure, one sex): seven curves P3 .. P97 of
// points (age in months of corrected age, value in kg or cm) and the spline through each.
//
// The text of a set, as the program carries it (docs/growth-curves.md):
//   line 1: the set's name
//   then per curve three lines: "NNN PP" (point count, percentile), the ages, the values;
// numbers are decimal with "." and separated by blanks, a data line may begin with a tab.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pondrel {

inline constexpr int kMaxCurves = 10;
// A curve keeps at most this many points; a longer curve in a text is cut.
inline constexpr int kMaxCurvePoints = 99;

class CCourbepercentile {
public:
    struct Curve {
        int percentile = 0;    // the curve's key: 3, 10, 25 ...
        std::vector<float> x;  // ages, strictly increasing
        std::vector<float> y;  // values
        std::vector<float> m;  // the spline's second derivatives, one per point
    };

    // What parsing a text found wrong; the set keeps the curves that were sound.
    struct ParseReport {
        bool truncated = false;  // a curve had more than kMaxCurvePoints points
        int curvesDropped = 0;   // curves without two points of increasing ages
    };

    CCourbepercentile() = default;
    // Reads a set from its text (the byte-order mark already removed or absent). Curves whose
    // ages do not increase or that have fewer than two points are dropped, never evaluated.
    static CCourbepercentile Parse(std::u16string_view text, ParseReport* report = nullptr);

    const std::u16string& Name() const { return m_name; }
    int CurveCount() const { return static_cast<int>(m_curves.size()); }
    const Curve& CurveAt(int index) const { return m_curves.at(static_cast<size_t>(index)); }
    bool Empty() const { return m_curves.empty(); }

    // The value of the curve of that percentile at `age` (months); 0 when the set has no such
    // curve. Ages outside the curve's points take the value at its nearest end.
    float PercentileFunc(int percentile, float age) const;
    // The value of curve `index` at `age`, likewise.
    float CurveValue(int index, float age) const;
    // The ages all curves cover: from the greatest first age to the smallest last age.
    std::optional<std::pair<float, float>> AgeRange() const;

    // The spline through points of strictly increasing x: the second derivative at each interior
    // point from its two neighbouring slopes alone, 0 at both ends.
    static std::vector<float> SplineCoefficients(const std::vector<float>& x,
                                                 const std::vector<float>& y);
    // The spline at `at`, which must lie within x.front() .. x.back(); x has two points or more.
    static float SplineValue(const std::vector<float>& x, const std::vector<float>& y,
                             const std::vector<float>& m, float at);

private:
    std::u16string m_name;
    std::vector<Curve> m_curves;
};

}  // namespace pondrel
