#pragma once

// The exam table of page 36: one row per exam, one column per day with results, built from the
// free text of the Examinations and Status sections and the admission fields. Nothing of it is
// stored; it is built again from the record whenever it is out of date.

#include <string>
#include <vector>

#include "records/DayNumber.h"

namespace pondrel {

struct Labels;
struct PatientRecord;

struct ExamValue {
    DayNumber day = 0;
    std::u16string value;  // as written, "," made "."
    friend bool operator==(const ExamValue&, const ExamValue&) = default;
};

// A row: a title of the exam titles list (or an exam name found in the text) and its values in
// the order of the text.
struct ExamRow {
    std::u16string title;  // with all its aliases ("Leu,WBC")
    std::vector<ExamValue> values;
    // The name shown: the title's first alias.
    std::u16string ShownTitle() const;
    friend bool operator==(const ExamRow&, const ExamRow&) = default;
};

struct ExamTable {
    std::vector<DayNumber> days;               // one column each, in the order of the day list
    std::vector<std::u16string> columnLabels;  // " 13.3.06" (or " 3.13.06", month first)
    std::vector<ExamRow> rows;
    // cells[row][column]: the values of the row's exam on the column's day, the first first,
    // joined by ";"; "" when none.
    std::vector<std::vector<std::u16string>> cells;
    friend bool operator==(const ExamTable&, const ExamTable&) = default;
};

struct ExamTableInput {
    const PatientRecord* record = nullptr;  // the record shown; required
    std::vector<DayNumber> shownDays;       // the day list of the problems page
    const Labels* labels = nullptr;         // the captions of the admission fields; required
    std::u16string examTitles;              // preferences item 42, each title followed by "|"
    bool dayFirst = false;                  // the date order: day before month
};

// Builds the table: the admission line, the gathering of every day, the values marked, each
// value given to the first row whose title matches its name (ExamNameMatchesTitle) or to a new
// row after the configured ones, at most kMaxExamTitles rows.
ExamTable BuildExamTable(const ExamTableInput& input);

// The days of the problems page's day list for a record's stored dates: every day from the
// admission day to the exit day (or today) for a hospitalisation (at most the last 20000), the
// days with entries from the history start for an ambulatory folder.
std::vector<DayNumber> ShownDaysOf(const PatientRecord& record, DayNumber today);

}  // namespace pondrel
