#pragma once

// What the codes of a template read: the open patient's record and what the main form holds
// beside it (labels, the date order, the day list, the current day, the treatment and action
// tables). LetterData.h fills it for the program and for pondrel-tool alike. The references must
// outlive every use of the struct.

#include <string>
#include <vector>

#include "journal/TreatmentLines.h"
#include "records/DayNumber.h"
#include "records/PatientRecord.h"

namespace pondrel {

struct Labels;

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
    // The age text of the identity page (field 15 as the form shows it now).
    std::u16string age;
    // Column 0 of the rows of the current-day treatment and action lists that still run after
    // the current day (what stops on it is not a current treatment).
    std::vector<std::u16string> treatmentsToday;
    std::vector<std::u16string> actionsToday;
    // Every course of the treatment and action sheets (one line of each sheet text), with its
    // start day and its text as written, stop mark left out.
    std::vector<TreatmentCourse> treatmentCourses;
    std::vector<TreatmentCourse> actionCourses;
};

}  // namespace pondrel
