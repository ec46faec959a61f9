#pragma once

// Days and dates of the open patient: the admission and exit dates with their checks, the
// history period, the entry days, the day list, the date label and every command that moves the
// current day of the problem panel. Each move commits the panel first and shows the problem of
// the new day.

#include <optional>
#include <string>
#include <vector>

#include "journal/EditorRefresh.h"
#include "journal/JournalDays.h"
#include "journal/MonthCalendar.h"
#include "journal/SectionHistory.h"
#include "journal/ProblemPanelModel.h"
#include "journal/SubfolderDates.h"

namespace pondrel {

class Clock;
class EditedRecord;
class UserMessages;
struct JournalWords;

class DayNavigator final : private ProblemPanelModel::DayEvents {
public:
    // All references must outlive the navigator; it registers itself with `panel`.
    DayNavigator(ProblemPanelModel& panel, Clock& clock, UserMessages& messages,
                 const JournalWords& words);
    ~DayNavigator() override;
    DayNavigator(const DayNavigator&) = delete;
    DayNavigator& operator=(const DayNavigator&) = delete;

    // Commits the patient shown before, then opens `record`: shows its dates (an invalid
    // admission becomes now, an unset exit today at noon), applies its history period, builds
    // the entry days and the day list and goes to the last day. `record` must stay alive until
    // ClosePatient or the next OpenPatient.
    EditorRefresh OpenPatient(EditedRecord& record);
    EditorRefresh ClosePatient();

    // Rebuilding.
    void BuildEntryDays();
    EditorRefresh BuildDayList(bool goToNow);
    // The problems page is shown again: the entry days are rebuilt if the journal changed.
    EditorRefresh PageShown();

    // Moving the current day; each commits first.
    EditorRefresh GoToDay(DayNumber day);
    EditorRefresh PreviousDay();
    EditorRefresh NextDay();
    EditorRefresh PreviousEntryDay();  // nothing moves when there is none
    EditorRefresh NextEntryDay();
    EditorRefresh Now();
    EditorRefresh FirstDay();  // "D1": the admission day
    EditorRefresh ChooseDayRow(int row);
    EditorRefresh ChooseCalendarDate(int year, int month, int day);
    // The day summary bar's "previous day" is offered only after day 0.
    bool CanSummaryPreviousDay() const { return m_panel.CurrentDay() > 0; }

    // Dates. A refused change shows its message box; the field then shows the stored value.
    struct DateChange {
        bool accepted = false;
        EditorRefresh refresh;
    };
    DateChange ChangeAdmissionDate(int year, int month, int day);
    DateChange ChangeAdmissionTime(int hour, int minute, int second);
    // No date (`none`) reopens the subfolder.
    DateChange ChangeExitDate(std::optional<DateTime> date);
    DateChange ChangeExitTime(int hour, int minute, int second);
    EditorRefresh SwitchSubfolderType();

    // History period: a separator row changes nothing.
    EditorRefresh ChooseHistoryPeriod(const std::u16string& name);

    // What the form shows.
    const SubfolderDates& Dates() const { return m_dates; }
    DayNumber LastDay() const { return m_lastDay; }
    DayNumber Today() const;
    // Whether the day shown comes after today: entries written there are not in today's
    // summaries, and the page marks it.
    bool IsFutureDay() const { return m_panel.CurrentDay() > Today(); }
    bool IsFutureDay(DayNumber day) const { return day > Today(); }
    std::u16string DateLabel() const;
    const std::vector<std::u16string>& DayRows() const { return m_rows; }
    const std::vector<DayNumber>& ShownDays() const { return m_shownDays; }
    // The row of the current day, or -1 when it is not listed.
    int SelectedRow() const;
    std::u16string SubfolderTypeCaption() const;
    // The "D1" and "Now" button captions.
    std::u16string FirstDayCaption() const;
    const std::u16string& NowCaption() const;
    // What the section history lists of the current problem are built from: the entry days,
    // the dates, the "Usual drugs" field (64) and the admission examinations (79 to 85, 20).
    SectionHistoryInput HistoryInput(DateOrder order) const;
    // Calendar support.
    std::vector<DayNumber> BoldDays(DayNumber firstDay) const;
    MonthCalendar::Grid MonthGrid(int year, int month, int firstWeekday) const;

private:
    void EntryDaysRebuilt() override { AdjustAmbulatoryAdmission(); }
    void AdjustAmbulatoryAdmission();
    void RebuildDayList() override { BuildDayList(false); }
    void StoreDates();
    void ApplyHistoryPeriod();
    EditorRefresh MoveTo(std::optional<DayNumber> day, bool commit = true);

    ProblemPanelModel& m_panel;
    Clock& m_clock;
    UserMessages& m_messages;
    const JournalWords& m_words;
    EditedRecord* m_record = nullptr;

    SubfolderDates m_dates;
    DayNumber m_lastDay = 0;
    DayNumber m_listDate = 0;
    std::vector<DayNumber> m_shownDays;
    std::vector<std::u16string> m_rows;
};

}  // namespace pondrel
