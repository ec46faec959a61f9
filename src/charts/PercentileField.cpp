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

bool IsAsciiLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// The word written right after a measurement's leading number ("3500 g", "1.05m"): its
// letters, empty when the number is followed by anything else.
std::u16string_view WordAfterNumber(std::u16string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) ++i;
    const size_t digits = i;
    while (i < text.size() && ((text[i] >= u'0' && text[i] <= u'9') || text[i] == u'.')) ++i;
    if (i == digits) return {};
    while (i < text.size() && text[i] == u' ') ++i;
    size_t end = i;
    while (end < text.size() && IsAsciiLetter(text[end])) ++end;
    return text.substr(i, end - i);
}

struct UnitFactor {
    std::u16string_view unit;
    double toCurve;  // to the curves' kilograms or centimetres
};
constexpr UnitFactor kWeightUnits[] = {{u"g", 0.001}, {u"kg", 1}, {u"lb", 0.454545},
                                       {u"lbs", 0.454545}};
constexpr UnitFactor kLengthUnits[] = {
    {u"mm", 0.1}, {u"cm", 1}, {u"m", 100}, {u"in", 2.54}, {u"ft", 30.48}};

// The factor of a unit of the measure to the curves' unit; none for a word that is no unit.
std::optional<double> UnitToCurve(GrowthMeasure measure, std::u16string_view unit) {
    auto find = [unit](const auto& units) -> std::optional<double> {
        for (const UnitFactor& known : units) {
            if (!unit.empty() && EqualsIgnoreCase(unit, known.unit)) return known.toCurve;
        }
        return std::nullopt;
    };
    return measure == GrowthMeasure::Weight ? find(kWeightUnits) : find(kLengthUnits);
}

// The unit a bare number of the measure is read in (see ToDisplayedUnits), and whether that is
// the unit the program shows (kilograms, centimetres; pounds, inches).
struct ReadUnit {
    std::u16string_view unit;
    bool shownUnit = true;
};
ReadUnit UnitOfBareNumber(GrowthMeasure measure, double value, bool imperialUnits) {
    if (measure == GrowthMeasure::Weight) {
        if (imperialUnits) return {u"lb", true};
        return value > 400 ? ReadUnit{u"g", false} : ReadUnit{u"kg", true};
    }
    if (ToDisplayedUnits(measure, value, imperialUnits) == value) {
        return {imperialUnits ? u"in" : u"cm", true};
    }
    if (imperialUnits) return {u"ft", false};
    return {ToDisplayedUnits(measure, value, false) > value ? u"m" : u"mm", false};
}

// The text with `unit` inserted before a band the program wrote, else at its end.
std::u16string InsertUnit(std::u16string_view text, std::u16string_view unit) {
    size_t band = BandStart(text);
    if (band == std::u16string_view::npos) return std::u16string(text) + std::u16string(unit);
    return TrimRightSpaces(text.substr(0, band)) + std::u16string(unit) +
           std::u16string(text.substr(band));
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
    return InsertUnit(text, unit);
}

std::optional<std::u16string> WithMeasurementUnit(GrowthMeasure measure,
                                                  std::u16string_view caption,
                                                  std::u16string_view text, bool imperialUnits) {
    const std::u16string captionUnit = CaptionUnit(caption);
    const double typed = LeadingDecimal(text);
    if (captionUnit.empty() || !(typed > 0)) return WithCaptionUnit(caption, text);
    // A text that carries its unit keeps it.
    if (UnitToCurve(measure, WordAfterNumber(text)) ||
        text.find(captionUnit) != std::u16string_view::npos) {
        return std::nullopt;
    }
    // A bare number gets the unit it is read in: the caption's when the caption names that
    // unit (or names the shown unit in words of its own), else the one the number implies.
    const ReadUnit read = UnitOfBareNumber(measure, typed, imperialUnits);
    const bool captionKnown = UnitToCurve(measure, captionUnit).has_value();
    if (captionKnown ? EqualsIgnoreCase(captionUnit, read.unit) : read.shownUnit) {
        return InsertUnit(text, captionUnit);
    }
    return InsertUnit(text, read.unit);
}

double MeasurementInCurveUnits(GrowthMeasure measure, std::u16string_view text,
                               bool imperialUnits) {
    const double typed = LeadingDecimal(text);
    if (auto factor = UnitToCurve(measure, WordAfterNumber(text))) return typed * *factor;
    return ToCurveUnits(measure, typed, imperialUnits);
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
    // The curves are a girl's or a boy's: nothing is judged before the civility is chosen.
    if (record.sex == kSexNotChosen) return std::nullopt;
    if (!(LeadingDecimal(text) > 0)) return std::nullopt;
    const auto value =
        static_cast<float>(MeasurementInCurveUnits(*measure, text, imperialUnits));
    std::optional<PercentileJudgement> judgement =
        JudgeMeasurement(curves.Set(*measure, record.sex), *age, value);
    if (!judgement) return std::nullopt;
    return text + u" (" + std::u16string(judgement->band) + u")";
}

std::optional<std::u16string> TextOnLeavingField(int field, std::u16string_view caption,
                                                 const PatientRecord& record, bool imperialUnits,
                                                 const DateTime& now, const GrowthCurves& curves) {
    const std::u16string& before = record.Field(field);
    std::optional<GrowthMeasure> measure = BandFieldMeasure(field);
    std::u16string text =
        (measure ? WithMeasurementUnit(*measure, caption, before, imperialUnits)
                 : WithCaptionUnit(caption, before))
            .value_or(before);
    if (measure) {
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
