#pragma once

// What the codes of a template read: the open patient's record and what the main form holds
// beside it (labels, the date order, the day list, the current day, the treatment and action
// tables). The program fills it from the form's state; pondrel-tool from a patient file
// (LetterData.h). The references must outlive every use of the struct.

#include <string>
#include <vector>

#include "records/DayNumber.h"
#include "records/PatientRecord.h"

namespace pondrel {

struct Labels;

// A line of the treatment or action sheet text: its start day and its text without the stop
// mark.
struct StartedLine {
    DayNumber start = 0;
    std::u16string text;
};

struct TemplateData {
    TemplateData(const PatientRecord& patient, const Labels& words)
        : record(patient), labels(words) {}

    const PatientRecord& record;
    const Labels& labels;
    DateOrder dateOrder = DateOrder::DayMonthYear;
    // The day list of the form: every day of the stay (a hospitalisation) or the consultation
    // days (an ambulatory folder), ascending.
    std::vector<DayNumber> stayDays;
    DayNumber currentDay = 0;
    // Column 0 of the rows of the current-day treatment and action lists.
    std::vector<std::u16string> treatmentsToday;
    std::vector<std::u16string> actionsToday;
    // Every line of the treatment and action sheet texts.
    std::vector<StartedLine> treatmentLines;
    std::vector<StartedLine> actionLines;
};

}  // namespace pondrel
