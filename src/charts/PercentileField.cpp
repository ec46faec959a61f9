#include "charts/PercentileField.h"

#include <array>
#include <cmath>

#include "charts/GrowthAge.h"
#include "journal/BodyMassIndex.h"
#include "platform/Text.h"
#include "records/PatientRecord.h"

namespace pondrel {

namespace {

struct Band {
    float upper;  // the band holds percentiles above the previous upper limit up to this one
    std::u16string_view text;
};

constexpr std::array<Band, 15> kBands = {{
    {3, u"<P3"},
    {5, u"P3"},
    {8, u"P3-P10"},
    {12, u"P10"},
    {20, u"P10-P25"},
    {30, u"P25"},
    {45, u"P25-P50"},
    {55, u"P50"},
    {70, u"P50-P75"},
    {80, u"P75"},
    {85, u"P75-P90"},
    {90, u"P90"},
    {95, u"P90-P97"},
    {97, u"P97"},
    {100, u">P97"},
}};

bool IsBandText(std::u16string_view text) {
    for (const Band& band : kBands) {
        if (band.text == text) return true;
    }
    return false;
}

// Where a band the program wrote begins (the blanks before its "(" included), or npos.
size_t BandStart(std::u16string_view text) {
    size_t end = text.find_last_not_of(u' ');
    if (end == std::u16string_view::npos || text[end] != u')') return std::u16string_view::npos;
    size_t open = text.rfind(u'(', end);
    if (open == std::u16string_view::npos) return std::u16string_view::npos;
    if (!IsBandText(text.substr(open + 1, end - open - 1))) return std::u16string_view::npos;
    while (open > 0 && text[open - 1] == u' ') --open;
    return open;
}

bool IsBirthField(int field) {
    return field >= 205 && field <= 207;
}

}  // namespace

std::optional<GrowthMeasure> BandFieldMeasure(int field) {
    switch (field) {
        case 7:
        case 205:
            return GrowthMeasure::Weight;
        case 8:
        case 206:
            return GrowthMeasure::Height;
        case 207:
        case 208:
            return GrowthMeasure::Head;
        default:
            return std::nullopt;
    }
}

bool IsBandField(int field) {
    return BandFieldMeasure(field).has_value();
}

std::optional<std::u16string_view> PercentileBand(float percentile) {
    if (!(percentile > 0) || !(percentile <= 100)) return std::nullopt;
    for (const Band& band : kBands) {
        if (percentile <= band.upper) return band.text;
    }
    return std::nullopt;
}

std::u16string CaptionUnit(std::u16string_view caption) {
    size_t open = caption.find(u'[');
    if (open == std::u16string_view::npos) return {};
    size_t close = caption.find(u']', open + 1);
    if (close == std::u16string_view::npos) return {};
    return std::u16string(caption.substr(open + 1, close - open - 1));
}

std::optional<std::u16string> WithCaptionUnit(std::u16string_view caption,
                                              std::u16string_view text) {
    std::u16string unit = CaptionUnit(caption);
    if (unit.empty() || text.find(unit) != std::u16string_view::npos) return std::nullopt;
    if (RemoveAll(text, u' ').empty()) return std::nullopt;
    size_t band = BandStart(text);
    if (band == std::u16string_view::npos) return std::u16string(text) + unit;
    return TrimRightSpaces(text.substr(0, band)) + unit + std::u16string(text.substr(band));
}

std::u16string WithoutBand(std::u16string_view text) {
    size_t band = BandStart(text);
    return TrimRightSpaces(band == std::u16string_view::npos ? text : text.substr(0, band));
}

double ToDisplayedUnits(GrowthMeasure measure, double value, bool imperialUnits) {
    // A number too small or too large for the unit was typed in another one.
    struct Limits {
        double feetBelow;
        double metresBelow;
        double millimetresAbove;
    };
    constexpr double kGramsAbove = 400;
    if (measure == GrowthMeasure::Weight) {
        return !imperialUnits && value > kGramsAbove ? value * 0.001 : value;
    }
    const Limits limits = measure == GrowthMeasure::Height ? Limits{8, 20, 250} : Limits{6, 15, 80};
    if (imperialUnits) return value < limits.feetBelow ? value * 12 : value;
    if (value < limits.metresBelow) return value * 100;
    return value > limits.millimetresAbove ? value * 0.1 : value;
}

float ToCurveUnits(GrowthMeasure measure, double value, bool imperialUnits) {
    if (imperialUnits) {
        value = measure == GrowthMeasure::Weight ? value * 0.454545
                                                 : ToDisplayedUnits(measure, value, true) * 2.54;
    }
    return static_cast<float>(ToDisplayedUnits(measure, value, false));
}

std::optional<PercentileJudgement> JudgeMeasurement(const CCourbepercentile& set, float age,
                                                    float value) {
    std::optional<std::pair<float, float>> range = set.AgeRange();
    if (!range || !(age >= range->first) || !(age <= range->second)) return std::nullopt;
    if (!(value > 0) || !std::isfinite(value)) return std::nullopt;
    std::optional<float> percentile = PercentileOf(set, age, value);
    if (!percentile) return std::nullopt;
    std::optional<std::u16string_view> band = PercentileBand(*percentile);
    if (!band) return std::nullopt;
    return PercentileJudgement{*percentile, *band};
}

std::optional<std::u16string> PercentileFieldText(int field, const PatientRecord& record,
                                                  bool imperialUnits, const DateTime& now,
                                                  const GrowthCurves& curves) {
    std::optional<GrowthMeasure> measure = BandFieldMeasure(field);
    if (!measure) return std::nullopt;
    std::u16string text = WithoutBand(record.Field(field));
    std::optional<double> years = AgeInYears(record, now);
    if (!years || *years > kGrowthCurveMaxYears) return std::nullopt;
    std::optional<DateTime> date =
        IsBirthField(field) ? BirthDateTime(record) : std::optional<DateTime>(record.admission);
    std::optional<float> age = date ? CorrectedAge(record, *date) : std::nullopt;
    if (!age) return std::nullopt;
    double typed = LeadingDecimal(text);
    if (!(typed > 0)) return std::nullopt;
    float value = ToCurveUnits(*measure, typed, imperialUnits);
    std::optional<PercentileJudgement> judgement =
        JudgeMeasurement(curves.Set(*measure, record.sex), *age, value);
    if (!judgement) return std::nullopt;
    return text + u" (" + std::u16string(judgement->band) + u")";
}

std::optional<std::u16string> TextOnLeavingField(int field, std::u16string_view caption,
                                                 const PatientRecord& record, bool imperialUnits,
                                                 const DateTime& now, const GrowthCurves& curves) {
    const std::u16string& before = record.Field(field);
    std::u16string text = WithCaptionUnit(caption, before).value_or(before);
    if (IsBandField(field)) {
        PatientRecord judged = record;
        judged.SetField(field, text);
        if (auto banded = PercentileFieldText(field, judged, imperialUnits, now, curves)) {
            text = std::move(*banded);
        }
    }
    if (text == before) return std::nullopt;
    return text;
}

}  // namespace pondrel
