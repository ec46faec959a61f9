#pragma once

// The measurement fields of the form and their growth band: the unit a field's caption asks for
// and the percentile band ("P25-P50") written after a child's weight, height or head
// circumference when the field is left.

#include <optional>
#include <string>
#include <string_view>

#include "charts/GrowthCurves.h"
#include "platform/DateTime.h"

namespace pondrel {

struct PatientRecord;

// The fields that get a band: 7 weight, 8 height, 208 head circumference (at admission) and 205,
// 206, 207 the same at birth.
std::optional<GrowthMeasure> BandFieldMeasure(int field);
bool IsBandField(int field);

// The band of a percentile, "<P3" to ">P97"; none outside (0, 100] or for a number that is none.
std::optional<std::u16string_view> PercentileBand(float percentile);

// The unit of a caption: the text between "[" and the next "]" ("Weight [kg]" gives "kg"); empty
// when there is none.
std::u16string CaptionUnit(std::u16string_view caption);

// The unit step when a field is left: the text with its caption's unit appended (before a band
// the program wrote), when the caption has a unit, the text does not hold it and is more than
// blanks. None when the text stays as it is.
std::optional<std::u16string> WithCaptionUnit(std::u16string_view caption,
                                              std::u16string_view text);

// The unit step of a weight, height or head circumference field: a text that carries a unit
// ("3500 g", "1.05m") or the caption's unit gets none; a bare number gets the unit it is read in
// ("3500" under "Weight [kg]" is grams: "3500g"; "3.5" under "Birth weight [g]" is kilograms:
// "3.5kg"), which is the caption's unit when the number is read in it. Without a number or a
// caption unit, the same as WithCaptionUnit.
std::optional<std::u16string> WithMeasurementUnit(GrowthMeasure measure,
                                                  std::u16string_view caption,
                                                  std::u16string_view text, bool imperialUnits);

// A measurement text in the curves' kilograms or centimetres: in the unit written after its
// number when that is a unit of the measure (g, kg, lb, mm, cm, m, in, ft), else as
// ToCurveUnits reads the bare number.
double MeasurementInCurveUnits(GrowthMeasure measure, std::u16string_view text,
                               bool imperialUnits);

// The text without the band the program wrote at its end (" (P50)"), trailing blanks removed;
// any other bracket, such as a comment "(naked)", stays.
std::u16string WithoutBand(std::u16string_view text);

// A measurement as typed brought to the unit the program shows: kilograms (a number above 400
// is grams) and centimetres (a small number is metres, a large one millimetres: below 20 and
// above 250 for a height, below 15 and above 80 for a head circumference); with
// `imperialUnits` pounds as typed and inches (below 8, or 6, feet).
double ToDisplayedUnits(GrowthMeasure measure, double value, bool imperialUnits);
// The same in the curves' kilograms or centimetres, pounds and inches converted.
float ToCurveUnits(GrowthMeasure measure, double value, bool imperialUnits);

struct PercentileJudgement {
    float percentile = 0;
    std::u16string_view band;
};
// The percentile and band of a measurement already in the curves' units at a corrected age;
// none when the set does not cover the age (before term, head circumference after five years).
std::optional<PercentileJudgement> JudgeMeasurement(const CCourbepercentile& set, float age,
                                                    float value);

// UpdatePercentileField without the form: the new text of a band field once left, the band
// after the text " (" + band + ")"; none when the field keeps its text (not a band field, no real
// birth date, older than 18 years at `now`, no positive number, an age the curves do not cover).
// Weights and heights at birth are judged at the birth date, the others at the admission.
std::optional<std::u16string> PercentileFieldText(int field, const PatientRecord& record,
                                                  bool imperialUnits, const DateTime& now,
                                                  const GrowthCurves& curves);

// What the form does with a field the user leaves (the unit step, then the band of a band
// field): the field's new text, none when it stays as it is. `caption` is the field's caption
// as the form shows it. The form skips both steps when the focus went to the shortcut list or
// to a day or problem button of the problem editor.
std::optional<std::u16string> TextOnLeavingField(int field, std::u16string_view caption,
                                                 const PatientRecord& record, bool imperialUnits,
                                                 const DateTime& now, const GrowthCurves& curves);

}  // namespace pondrel
