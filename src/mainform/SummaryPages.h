#pragma once

// The seven summary pages of the main form without their widgets: which page shows which
// summary, when a page is built again, and the navigation of the day summary bar, the problem
// summary arrows and the all-patients page's days.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "documents/SummaryInputs.h"
#include "journal/EditorRefresh.h"

namespace pondrel {

class DayNavigator;
class HtmlSink;
class ProblemPanelModel;

enum class SummaryKind { Day, Problem, Evolution, Exams, Entry, Tasks, AllPatients };
inline constexpr int kSummaryKinds = 7;

// Page 21 day, 22 problem, 38 evolution, 24 exams, 25 entry, 23 tasks, 34 all patients.
int SummaryPageOf(SummaryKind kind);
std::optional<SummaryKind> SummaryKindOfPage(int page);

// The problem panel's editor for a record: the panel's model and day logic.
struct SummaryEditor {
    ProblemPanelModel& panel;
    DayNavigator& days;
};

// What the summary pages read from the rest of the main form (CCorvaneView in the program, a
// double in tests).
class SummaryForm {
public:
    virtual ~SummaryForm() = default;
    // The words, date order and sources of the summaries, as they are now.
    virtual const SummaryContext& Context() = 0;
    // Changes whenever the words or settings the summaries show change.
    virtual uint64_t SettingsStamp() = 0;
    // The problem panel showing `record`, opened on it when it showed another patient, and
    // committed; none for a record it cannot show (not begun).
    virtual std::optional<SummaryEditor> Editor(PatientRecord& record) = 0;
    // The panel was moved from a summary page: it shows its day and problem again.
    virtual void EditorMoved(const EditorRefresh& refresh) = 0;
    // The patients of the patient list, in its order.
    virtual std::vector<const PatientRecord*> PatientList() = 0;
    // Where the fields lie on the form pages.
    virtual FormArrangement Arrangement() = 0;
    virtual DayNumber Today() = 0;

protected:
    SummaryForm() = default;
    SummaryForm(const SummaryForm&) = default;
    SummaryForm& operator=(const SummaryForm&) = default;
};

class SummaryPages {
public:
    // `form` must outlive the pages.
    explicit SummaryPages(SummaryForm& form) : m_form(form) {}
    SummaryPages(const SummaryPages&) = delete;
    SummaryPages& operator=(const SummaryPages&) = delete;

    // Shows the summary of `kind` for `record` (the record on screen; null while there is
    // none) in `sink`, building it only when the page is out of date: when it was never built,
    // was marked stale, or what it shows changed (the record, the open patient's day and
    // problem, the patients, the words and settings, today's date). True when it was built.
    bool Show(SummaryKind kind, PatientRecord* record, HtmlSink& sink);
    // The caption of the page as the last build left it (day, problem and all-patients pages).
    const std::u16string& Caption(SummaryKind kind) const;

    void MarkStale(SummaryKind kind) { Slot(kind).stale = true; }
    void MarkAllStale();
    bool IsCurrent(SummaryKind kind) const { return !Slot(kind).stale && Slot(kind).built; }

    // The day summary bar: the commands move the open patient's current day. True when the day
    // changed; the caller then shows the page again.
    enum class DayCommand { PreviousDay, NextDay, PreviousEntryDay, NextEntryDay, Now, FirstDay };
    bool MoveDay(PatientRecord* record, DayCommand command);
    // The day list under the day summary's caption: the rows of the problem panel's day list
    // and the row of the current day (-1 when it is not listed). Choosing a row moves the day.
    struct ListRows {
        std::vector<std::u16string> rows;
        int selected = -1;
    };
    ListRows DayRows(PatientRecord* record);
    bool ChooseDayRow(PatientRecord* record, int row);
    // The arrows beside the problem summary's caption. True when the problem changed.
    bool PreviousProblem(PatientRecord* record);
    bool NextProblem(PatientRecord* record);
    // The problem list under the problem summary's caption (the problem panel's list).
    ListRows ProblemRows(PatientRecord* record);
    bool ChooseProblemRow(PatientRecord* record, int row);
    // The all-patients page: the day before, the day after, today (nothing when the day is
    // today already). The day is the current day of the problem panel; without an open patient
    // the page keeps a day of its own. True when the day changed: the day summary and the
    // all-patients page are then out of date.
    enum class AllPatientsMove { Previous, Next, Today };
    bool MoveAllPatientsDay(PatientRecord* record, AllPatientsMove move);
    // The day the all-patients page shows.
    DayNumber AllPatientsDay(PatientRecord* record);

private:
    struct Page {
        bool built = false;
        bool stale = true;
        uint64_t inputs = 0;
        std::u16string caption;
    };
    Page& Slot(SummaryKind kind) { return m_pages[static_cast<size_t>(kind)]; }
    const Page& Slot(SummaryKind kind) const { return m_pages[static_cast<size_t>(kind)]; }
    std::optional<SummaryEditor> EditorOf(PatientRecord* record);
    bool Moved(bool changed, const EditorRefresh& refresh);

    SummaryForm& m_form;
    std::array<Page, kSummaryKinds> m_pages{};
    std::optional<DayNumber> m_ownDay;  // the all-patients day while no patient is open
};

}  // namespace pondrel
