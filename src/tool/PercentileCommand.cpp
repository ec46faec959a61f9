// pondrel-tool percentile SEX MEASURE AGE_MONTHS VALUE: the percentile and band the program gives
// a child's measurement, from the growth curves built into the program.

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <system_error>

#include "charts/GrowthCurves.h"
#include "charts/PercentileField.h"
#include "platform/Text.h"
#include "tool/HostFiles.h"
#include "tool/ToolCommand.h"

namespace pondrel::tool {
namespace {

int RunPercentile(const std::vector<std::string>& args);
const ToolCommand kPercentile{
    "percentile", "percentile SEX MEASURE AGE_MONTHS VALUE",
    "prints percentile= and band= of a child's measurement as the program judges it (SEX m or "
    "f; MEASURE weight, height or head; AGE_MONTHS the corrected age; VALUE in kg or cm, grams, "
    "metres and millimetres read as the form reads them)",
    RunPercentile};

bool ParseDecimal(const std::string& text, double& value) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && !text.empty() && std::isfinite(value);
}

int RunPercentile(const std::vector<std::string>& args) {
    if (args.size() != 4) return UsageError(kPercentile);
    int sex = 0;
    if (args[0] == "m") {
        sex = 1;
    } else if (args[0] != "f") {
        return UsageError(kPercentile, "SEX is m or f");
    }
    GrowthMeasure measure = GrowthMeasure::Weight;
    if (args[1] == "height") {
        measure = GrowthMeasure::Height;
    } else if (args[1] == "head") {
        measure = GrowthMeasure::Head;
    } else if (args[1] != "weight") {
        return UsageError(kPercentile, "MEASURE is weight, height or head");
    }
    double age = 0;
    double value = 0;
    if (!ParseDecimal(args[2], age)) return UsageError(kPercentile, "AGE_MONTHS is a number");
    if (!ParseDecimal(args[3], value) || value <= 0) {
        return UsageError(kPercentile, "VALUE is a positive number");
    }
    StderrMessages messages;
    GrowthCurves curves = GrowthCurves::Load(messages);
    const CCourbepercentile& set = curves.Set(measure, sex);
    auto judged =
        JudgeMeasurement(set, static_cast<float>(age), ToCurveUnits(measure, value, false));
    if (!judged) {
        auto range = set.AgeRange();
        if (!range) {
            std::fprintf(stderr, "no curves for this measure\n");
        } else {
            std::fprintf(stderr, "no band: the curves cover corrected ages %g to %g months\n",
                         static_cast<double>(range->first), static_cast<double>(range->second));
        }
        return 1;
    }
    std::printf("percentile=%.1f\nband=%s\n", static_cast<double>(judged->percentile),
                ToUtf8(judged->band).c_str());
    return 0;
}

}  // namespace
}  // namespace pondrel::tool
