#pragma once

// The problem panel of the problems page without its widgets: the current problem and day, the
// working copies of the title, differential diagnosis, redaction and six sections, the commit
// that writes them into the journal, problem navigation and list, urgency, panes and layouts.
// The Qt panel shows the values and forwards the user's actions; every action returns what
// the form must refresh.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "journal/EditorRefresh.h"
#include "journal/JournalFormat.h"
#include "journal/ProblemJournal.h"
#include "records/DayNumber.h"

namespace pondrel {

class EditedRecord;
class UserMessages;
struct JournalWords;

class ProblemPanelModel {
public:
    enum class BottomPane { DifferentialDiagnosis, Other };
    enum class SectionLayout { All = 0, AnamnesiaStatus = 1, AttitudeExaminations = 2 };

    // Told when a commit changes the days of the journal; the day logic implements it.
    class DayEvents {
    public:
        virtual ~DayEvents() = default;
        // The panel rebuilt its entry days (a day received its first entry or lost its last).
        virtual void EntryDaysRebuilt() = 0;
        // A day block was created.
        virtual void RebuildDayList() = 0;
    };

    // `messages` and `words` must outlive the model.
    ProblemPanelModel(UserMessages& messages, const JournalWords& words);
    ProblemPanelModel(const ProblemPanelModel&) = delete;
    ProblemPanelModel& operator=(const ProblemPanelModel&) = delete;

    // `events` (may be null) must outlive the model or be reset.
    void SetDayEvents(DayEvents* events) { m_dayEvents = events; }

    // Commits the patient shown before, then copies the record's journal into the editor,
    // makes problem 0 current on `day`, clears the day-added flag and shows the problem.
    // `record` must stay alive until Close or the next Open.
    void Open(EditedRecord& record, DayNumber day);
    // Commits and forgets the record.
    EditorRefresh Close();
    bool IsOpen() const { return m_record != nullptr; }

    // The one gate of every change of the record made here (typing, shortcut rows, stop lines,
    // urgency, the problem manager): asked before the change, it answers false, after telling
    // the user why, when the change must not be made. The page sets the form's gate; without
    // one, a read-only record is refused with the "Read only" notice.
    void SetChangeGate(std::function<bool()> gate) { m_gate = std::move(gate); }
    // Whether the open record may be changed now; false, with the gate's notice, when it may
    // not, and false without a record.
    bool MayChange();

    // Writes the changed working copies into the journal and the journal into the record.
    EditorRefresh CommitCurrentProblem();
    // The problem manager's OK: commits, then the journal (editor and record) becomes `text`,
    // problem 0 becomes current and everything drawn from the journal is to be rebuilt.
    // Refused when the gate refuses the change.
    EditorRefresh ReplaceJournal(std::u16string text);
    // Loads the working copies of (current day, current problem) from the journal. `opening`
    // shows urgency 0 as "-" instead of " ".
    void ShowCurrentProblem(bool opening = false);

    // Typed changes: stored in the working copy and, with EditCommit::Now, committed at once.
    // With EditCommit::Deferred the journal is left alone until the next commit (the panel
    // commits when a field is left and before every navigation, so typing never waits on the
    // journal); what the form must refresh for the change comes with that commit's result.
    // When the gate refuses the change (a read-only record), the working copy gets the stored
    // text back and the gate's notice is shown; the result then has `panel` set and `accepted`
    // false.
    enum class EditCommit { Now, Deferred };
    struct EditResult {
        bool accepted = true;
        EditorRefresh refresh;
    };
    EditResult EditTitle(std::u16string text, EditCommit commit = EditCommit::Now);
    EditResult EditDifferentialDiagnosis(std::u16string text, EditCommit commit = EditCommit::Now);
    EditResult EditRedaction(std::u16string text, EditCommit commit = EditCommit::Now);
    EditResult EditSection(int section, std::u16string text, EditCommit commit = EditCommit::Now);
    // True while a typed change waits for the next commit.
    bool HasUncommittedEdits() const { return m_titleChanged || m_sectionsChanged; }

    // Navigation between problems.
    EditorRefresh NextProblem();
    EditorRefresh PreviousProblem();
    // The arrows beside the "Problem summary" caption are enabled by these.
    bool CanSummaryPrevious() const { return m_current > 0; }
    bool CanSummaryNext() const;
    // The problem list: commits, then one row per problem ("---------------------- Aucun
    // --------------------- " when there is none).
    std::vector<std::u16string> ProblemListRows();
    // The row to preselect: the first problem whose title equals the title field, or -1.
    int PreselectedRow() const;
    EditorRefresh ChooseProblem(int row);

    // Urgency button: cycles 0, 1, 2 and rewrites the title's "(!)" / "(!!!)" ending.
    EditResult CycleUrgency();
    static int UrgencyOf(std::u16string_view title);

    void ShowDifferentialDiagnosisPane() { m_pane = BottomPane::DifferentialDiagnosis; }
    void ShowOtherPane() { m_pane = BottomPane::Other; }
    void ResetLayout() { m_layout = SectionLayout::All; }
    // Alternates between the two enlarged layouts; from "All" it goes to the one after the
    // enlarged layout last used.
    void ToggleEnlargedLayout();
    // The layout ToggleEnlargedLayout goes to from the present one.
    SectionLayout NextEnlargedLayout() const;

    // The day logic moves the current day (after committing) and keeps the entry days.
    DayNumber CurrentDay() const { return m_day; }
    void SetCurrentDay(DayNumber day) { m_day = day; }
    const std::vector<DayNumber>& EntryDays() const { return m_entryDays; }
    void SetEntryDays(std::vector<DayNumber> days);
    // Set when a write may have changed the days; cleared by SetEntryDays.
    bool EntryDaysOutOfDate() const { return m_entryDaysOutOfDate; }

    // What the panel shows.
    int CurrentProblem() const { return m_current; }
    int ProblemCount() const { return m_count; }
    std::u16string Caption() const;
    int Urgency() const { return m_urgency; }
    const std::u16string& UrgencyText() const { return m_urgencyText; }
    const std::u16string& Title() const { return m_title; }
    const std::u16string& DifferentialDiagnosis() const { return m_differentialDiagnosis; }
    const std::u16string& Redaction() const { return m_redaction; }
    const std::u16string& SectionText(int section) const;
    BottomPane Pane() const { return m_pane; }
    SectionLayout Layout() const { return m_layout; }
    const ProblemJournal& Journal() const { return m_journal; }
    bool TitleChanged() const { return m_titleChanged; }
    bool SectionsChanged() const { return m_sectionsChanged; }
    EditedRecord* Record() const { return m_record; }

private:
    // The state mark of a problem: "(S)", "(C)" or "".
    std::u16string StateMark(int problem) const;
    void Recount() { m_count = m_journal.ProblemCount(); }
    EditorRefresh MoveTo(int problem);
    bool Refuse() { return !MayChange(); }
    void StoreJournal();
    // Commits now, or keeps `refresh` for the commit that will write the change.
    EditorRefresh CommitOrDefer(EditCommit commit, const EditorRefresh& refresh);

    UserMessages& m_messages;
    const JournalWords& m_words;
    DayEvents* m_dayEvents = nullptr;
    std::function<bool()> m_gate;
    EditedRecord* m_record = nullptr;

    ProblemJournal m_journal;
    bool m_journalDirty = false;  // changed since last copied into the record
    int m_current = 0;
    int m_count = 0;
    DayNumber m_day = 0;
    std::vector<DayNumber> m_entryDays;
    bool m_entryDaysOutOfDate = false;
    bool m_titleChanged = false;
    bool m_sectionsChanged = false;
    bool m_dayAdded = false;
    EditorRefresh m_pending;  // what the deferred edits ask the next commit to refresh
    int m_urgency = 0;
    std::u16string m_urgencyText = u"-";
    BottomPane m_pane = BottomPane::DifferentialDiagnosis;
    SectionLayout m_layout = SectionLayout::All;
    SectionLayout m_lastEnlarged = SectionLayout::AttitudeExaminations;

    std::u16string m_title;
    std::u16string m_differentialDiagnosis;
    std::u16string m_redaction;
    Sections m_sections;
};

}  // namespace pondrel
