#pragma once

// The exam text: the results a doctor wrote as free text ("Hb 12.5", "CRP 5") gathered from a
// record into one working text, with each value marked. Items end with "¢"; a marked item is
// the exam name, "¦" and the value ("Hb¦12.5"); every day starts with "#J" + day + "¢".

#include <string>
#include <string_view>
#include <vector>

#include "records/DayNumber.h"

namespace pondrel {

struct Labels;
struct PatientRecord;

inline constexpr char16_t kExamItemEnd = u'\u00A2';    // "¢"
inline constexpr char16_t kExamValueMark = u'\u00A6';  // "¦"

// The admission exam line of a hospitalisation: fields 79 and 80, then "caption=text" for the
// vital signs and the weight and height (fields 9, 13, 10, 11, 12, 14, 48, 7, 8), with the
// captions the form shows (from the labels file). Empty for an ambulatory subfolder and when all
// these fields are empty.
std::u16string AdmissionExamLine(const PatientRecord& record, const Labels& labels);

struct GatheredExams {
    std::u16string text;          // "#J" + day + "¢" + items, day after day
    std::vector<DayNumber> days;  // the days that gave text, in the order of `shownDays`
};

// Gathers the Examinations and Status sections of every problem on every shown day, the
// admission line first on the admission day, then cleans the text.
GatheredExams GatherExamText(const PatientRecord& record, const std::vector<DayNumber>& shownDays,
                             std::u16string_view admissionLine);

// Marks the values of a gathered text: every value becomes "¦" + value + "¢", what follows it on
// its line is dropped (a unit, a comment), then blanks and "=" are removed.
std::u16string MarkExamValues(std::u16string_view text);

}  // namespace pondrel
