#pragma once

// What the HTML summaries read besides the records: the words of the labels file, the date
// order, the open patient as the main form shows it, the arrangement of the form pages, and the
// rules other parts of the program own (the age text, the treatment and action lists).

#include <array>
#include <string>
#include <vector>

#include "journal/TreatmentTables.h"
#include "records/DayNumber.h"
#include "records/PatientRecord.h"

namespace pondrel {

struct JournalWords;
struct Labels;

// The treatment and action lists of one patient for one reference day.
struct SummaryLists {
    std::vector<TreatmentListRow> treatments;
    std::vector<TreatmentListRow> actions;

    bool Empty() const { return treatments.empty() && actions.empty(); }
};

// Rules the summaries take from the rest of the program. The program implements them with its
// own age text and treatment tables; the tests with plain values.
class SummarySources {
public:
    virtual ~SummarySources() = default;
    // The patient's age text for summaries, with `day` as the reference day where the text
    // needs one (the calendar age of a newborn).
    virtual std::u16string LongAge(const PatientRecord& record, DayNumber day) const = 0;
    // What runs today (the running lists of the treatment and action tables).
    virtual SummaryLists RunningLists(const PatientRecord& record) const = 0;
    // What runs on `day` (the current-day lists).
    virtual SummaryLists DayLists(const PatientRecord& record, DayNumber day) const = 0;
};

// Shared by every builder. All references must outlive the context.
struct SummaryContext {
    const Labels& labels;
    const JournalWords& words;  // date names and problem span texts, from the same labels
    DateOrder dateOrder;
    const SummarySources& sources;
};

// The open patient as the main form shows it. The record's journal must hold what is on screen
// (the form commits the problem panel before building).
struct OpenPatient {
    const PatientRecord* record = nullptr;  // must not be null
    DayNumber currentDay = 0;
    int currentProblem = 0;
    std::vector<DayNumber> days;    // the day list, earliest first
    std::u16string dayCaption;      // the current-day caption, e.g. "D3 - Mo 15 Mar 06"
    std::u16string timeSinceEvent;  // the time-since-event text when it is shown, else empty
};

inline constexpr int kEntryPageCount = 19;  // form pages 0 to 18 hold the field windows
inline constexpr int kNoFormPage = -1;

// Where the fields lie on the form pages, for the entry summary.
struct FormArrangement {
    // The form page (0 to 18) of each field's window, or kNoFormPage.
    std::array<int, kFieldCount> fieldPage{};
    // The form page of each free-field block (fields 100 to 109, 110 to 119), or kNoFormPage.
    std::array<int, 2> blockPage{kNoFormPage, kNoFormPage};
    // The heading captions of the form pages (page 0 shows the "General information" label).
    std::array<std::u16string, kEntryPageCount> pageTitles;
    // The titles the user gave the two free-field pages.
    std::array<std::u16string, 2> blockTitles;
    // The caption of the admission date field.
    std::u16string admissionCaption;
};

}  // namespace pondrel
