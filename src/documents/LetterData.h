#pragma once

// The data a template reads, gathered the same way for the program and for pondrel-tool: the
// treatment and action tables built from the record's journal for its own dates, and the age
// text of the identity page as it reads at `now`.

#include <vector>

#include "documents/TemplateData.h"
#include "platform/DateTime.h"

namespace pondrel {

struct Labels;

// The day list and the current day of the problem page.
struct LetterDays {
    std::vector<DayNumber> days;  // every day of the stay, or the consultation days, ascending
    DayNumber currentDay = 0;
};

// `record` and `labels` must outlive the result. `days` are the form's day list and current day.
TemplateData MakeTemplateData(const PatientRecord& record, const Labels& labels, DateOrder order,
                              const DateTime& now, LetterDays days);

// The day list and current day the problem page shows right after the patient is opened at
// `now`: every day from the admission to today (or to the exit day of a closed stay), or the
// consultation days of the history period of an ambulatory folder; the current day is the last
// day. `record` gets the corrections opening makes to its dates (an invalid admission becomes
// `now`, an ambulatory folder starts on its first consultation).
LetterDays DaysOnOpening(PatientRecord& record, const Labels& labels, const DateTime& now);

}  // namespace pondrel
