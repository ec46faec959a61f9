#pragma once

#include <QWidget>

#include <array>
#include <functional>
#include <memory>

#include "journal/DayNavigator.h"
#include "journal/EditorRefresh.h"
#include "journal/ProblemPanelModel.h"
#include "journal/TreatmentStops.h"
#include "journal/TreatmentTables.h"
#include "journal/ui/PanelWords.h"
#include "labels/Labels.h"
#include "records/DayNumber.h"

class QCalendarWidget;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace pondrel {

class CDayPopup;
class CPopupList;
class CSectionArea;
class CSectionEdit;
class CShortcutLists;
class CStopList;
class Clock;
class EditedRecord;
class UserMessages;

// The problems page (page 20) of the main form, 240 x 290: the date bar (days with entries, the
// date label that opens the day list with the dates of the subfolder, day arrows, Now, D1 and the
// month calendar), the problem bar (problem arrows, the problem button and its list, the section
// layouts, the problem manager), the urgency button and the Diagnosis, the problem redaction
// and the history period, and the six sections with their '+' history lists, the bottom-right
// pane showing the differential diagnosis or the Other section.
//
// The panel only shows the editor's state and forwards the user's actions; the journal logic is
// in ProblemPanelModel and DayNavigator. Typing edits the working copies; they are committed
// into the journal and the record when a field is left, on every navigation, on PageLeft and
// ClosePatient, and by Commit.
class CProblemPanel final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 240;
    static constexpr int kHeight = 290;

    // `messages` and `clock` must outlive the panel.
    CProblemPanel(UserMessages& messages, Clock& clock, QWidget* parent = nullptr);
    ~CProblemPanel() override;

    // --- What the main window calls ---
    // Words and captions from the labels file (at start-up and after the label editor).
    void SetLabels(const Labels& labels);
    // The date-order setting (day first or month first) of the section history stamps and the
    // date fields.
    void SetDateOrder(DateOrder order);
    // The bottom-right pane kept in the preferences (1 differential diagnosis, 2 Other).
    void SetPane(ProblemPanelModel::BottomPane pane);
    ProblemPanelModel::BottomPane Pane() const { return m_model.Pane(); }

    // Shows a patient: commits the one shown before, then opens `record` on its last day with
    // problem 1. `record` must stay alive until ClosePatient or the next OpenPatient.
    void OpenPatient(EditedRecord& record);
    // Commits and lets the record go; call it before the record is saved for the last time,
    // closed, archived or removed from the set. The panel then shows nothing.
    void ClosePatient();
    bool IsOpen() const { return m_model.IsOpen(); }
    // The page is shown: the entry days and the day list are brought up to date.
    void PageShown();
    // The page is left: the working copies are committed and the pop-up lists closed.
    void PageLeft();
    // Writes the working copies into the journal and the record; call it before any save of
    // the record (save all, auto-save, backup, exit) and before reading the journal for output.
    EditorRefresh Commit();

    // Redraws what `refresh` names; for the main window after it moved the editor itself
    // (the day summary bar, the problem summary arrows, the problem manager).
    void Refresh(const EditorRefresh& refresh);
    // Told after every action what the form must refresh beyond the panel (patient list,
    // summaries, treatment and action tables).
    void SetRefreshHandler(std::function<void(const EditorRefresh&)> handler) {
        m_refreshHandler = std::move(handler);
    }
    // The one gate of every change the panel makes to the record: typing, shortcut rows, stop
    // lines, urgency and the problem manager ask it first and change nothing when it answers
    // false (it tells the user why). Without it a read-only record is refused with "Read only".
    void SetChangeGate(std::function<bool()> gate);
    // The problem manager button opens the problem manager (RunProblemManager) unless another
    // handler is set; an empty handler hides the button.
    void SetProblemManagerHandler(std::function<void()> handler);
    // Commits, then lets the user change the problems of the open patient in the problem
    // manager; its OK replaces the journal and shows problem 1. A record the gate refuses is
    // shown without commands, after the gate's notice.
    void RunProblemManager();

    // The "C" beside the Diagnosis runs `handler` (the ICD-10 code search); without a handler
    // the button is hidden.
    void SetCodeSearchHandler(std::function<void()> handler);
    // The Diagnosis as the panel shows it (typing not yet committed included).
    std::u16string Diagnosis() const;
    // Replaces the Diagnosis through the change gate and commits the problem; false (nothing
    // changed, the gate's notice shown) when the record may not change.
    bool ReplaceDiagnosis(const std::u16string& text);

    // Stores new quick notes (field 198) through the form's field rules after a quick-note row
    // of a shortcut list moved a line; until it is set the lists offer no quick notes.
    void SetQuickNotesStore(std::function<void(const std::u16string&)> store);

    // The editor behind the panel, for the other parts of the form that read or move it.
    ProblemPanelModel& Model() { return m_model; }
    DayNavigator& Days() { return m_days; }
    // The treatment and action tables of the patient shown (running, current-day lists and
    // sheets), up to date whenever read.
    TreatmentTables& Treatments() { return m_treatments; }
    // The shortcut lists of the panel's fields.
    CShortcutLists& Shortcuts() { return *m_shortcuts; }

private:
    // Rows of the page, from the top.
    static constexpr int kRow = 20;
    static constexpr int kDateBarTop = 0;
    static constexpr int kProblemBarTop = 21;
    static constexpr int kTitleTop = 42;
    static constexpr int kRedactionTop = 63;
    static constexpr int kSectionsTop = 84;

    void BuildDateBar();
    void BuildProblemBar();
    void BuildSections();
    void BuildPopups();

    // Actions.
    void Act(const EditorRefresh& refresh);
    void SectionEdited(int section);
    void TitleEdited();
    void DifferentialDiagnosisEdited();
    void RedactionEdited();
    void Restore(ProblemPanelModel::EditResult result);
    void ToggleProblemList();
    void ToggleDayList();
    void ToggleCalendar();
    void ToggleHistory(int section);
    void ChooseHistoryRow(int row);
    void TogglePeriods();
    void StopChosen(const TreatmentStops::Result& result);
    void ShowStopButtons();
    void CloseBut(QWidget* keep);

    // Showing.
    void ShowProblem();
    void ShowCaption();
    void ShowDay();
    void ShowHistoryCaption();
    void ShowCalendarMonth(int year, int month);
    void ArrangeSections();
    void ShowWords();
    void EnableControls();

    UserMessages& m_messages;
    PanelWords m_words;
    Labels m_labels = Labels::Defaults();  // the shortcut lists read them
    ProblemPanelModel m_model;
    DayNavigator m_days;
    TreatmentTables m_treatments;
    TreatmentStops m_stops;
    DateOrder m_dateOrder = DateOrder::DayMonthYear;
    std::function<void(const EditorRefresh&)> m_refreshHandler;
    std::function<void()> m_managerHandler;
    bool m_dayListStale = true;
    int m_historySection = -1;  // the section whose history list is open

    // Date bar.
    QPushButton* m_previousEntryDay = nullptr;
    QPushButton* m_dateLabel = nullptr;
    QPushButton* m_nextEntryDay = nullptr;
    QToolButton* m_previousDay = nullptr;
    QToolButton* m_nextDay = nullptr;
    QPushButton* m_now = nullptr;
    QPushButton* m_firstDay = nullptr;
    QPushButton* m_calendarButton = nullptr;
    // Problem bar.
    QToolButton* m_previousProblem = nullptr;
    QPushButton* m_problemButton = nullptr;
    QToolButton* m_nextProblem = nullptr;
    QPushButton* m_resetLayout = nullptr;
    QPushButton* m_toggleLayout = nullptr;
    QPushButton* m_manager = nullptr;
    QPushButton* m_urgency = nullptr;
    QLineEdit* m_title = nullptr;
    QPushButton* m_codeSearch = nullptr;
    std::function<void()> m_codeSearchHandler;
    CSectionEdit* m_redaction = nullptr;
    QPushButton* m_historyPeriod = nullptr;
    // The sections and the bottom-right pane.
    CSectionArea* m_area = nullptr;
    // Pop-ups.
    CPopupList* m_problemList = nullptr;
    CPopupList* m_historyList = nullptr;
    CPopupList* m_periodList = nullptr;
    CDayPopup* m_dayPopup = nullptr;
    QCalendarWidget* m_calendar = nullptr;
    CStopList* m_stopList = nullptr;
    CShortcutLists* m_shortcuts = nullptr;
};

}  // namespace pondrel
