#pragma once

// The six growth curve sets of the program, read once at start-up, and the percentile of a
// measurement against them.

#include <array>
#include <optional>
#include <string>

#include "charts/CCourbepercentile.h"
#include "charts/CurveResources.h"

namespace pondrel {

class UserMessages;

enum class GrowthMeasure { Weight = 0, Height = 1, Head = 2 };

inline constexpr int kCurveSetCount = 6;

// The index of a measure's set: weight 0, height 2, head circumference 4, one more for a girl
// (`sex` 0).
int CurveSetIndex(GrowthMeasure measure, int sex);

class GrowthCurves {
public:
    // The resource names of the sets in index order ("#7500" .. "#7505").
    static std::u16string ResourceName(int index);

    // Reads the six built-in sets (LoadCurveSets). A missing set shows "Internal ressource not
    // found", a set with damaged curves "Internal ressource damaged" and a curve longer than the
    // program keeps "Percentile overflow error 1", each once, here; the sets keep what was sound.
    static GrowthCurves Load(UserMessages& messages);
    static GrowthCurves Load(const CurveResourceLookup& lookup, UserMessages& messages);

    const CCourbepercentile& Set(int index) const { return m_sets.at(static_cast<size_t>(index)); }
    const CCourbepercentile& Set(GrowthMeasure measure, int sex) const {
        return Set(CurveSetIndex(measure, sex));
    }

private:
    std::array<CCourbepercentile, kCurveSetCount> m_sets;
};

// Where the curves come from, for the About box (plain text, one paragraph).
std::u16string_view GrowthReferenceNotice();

// The percentile of a measurement at a corrected age (months) against a set: below the lowest
// curve that curve's percentile (3), above the highest 100, in between interpolated through the
// curves' values with the curves' spline. None when the set has no curve or the result is not a
// number. The caller checks that the set covers the age (CCourbepercentile::AgeRange).
std::optional<float> PercentileOf(const CCourbepercentile& set, float age, float value);

}  // namespace pondrel
