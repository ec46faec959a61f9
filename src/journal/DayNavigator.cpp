#include "journal/DayNavigator.h"

#include <algorithm>
#include <iterator>

#include "journal/EditedRecord.h"
#include "journal/HistoryPeriod.h"
#include "journal/JournalDays.h"
#include "journal/JournalWords.h"
#include "platform/Clock.h"
#include "platform/Text.h"
#include "platform/UserMessages.h"

namespace pondrel {

namespace {

const std::u16string kInvalidDay = u"Invalid day";
const std::u16string kFutureDay = u"This day can not be in the futur !";
const std::u16string kAdmissionAfterExit = u"The admission day can not be after the exit date !";
const std::u16string kExitBeforeAdmission = u"The exit day can not precede the admission date !";

DayNumber ClampDay(long long day) {
    return static_cast<DayNumber>(std::clamp<long long>(day, kFirstJournalDay, kLastJournalDay));
}

DateTime WithTime(DateTime t, int hour, int minute, int second) {
    t.hour = hour;
    t.minute = minute;
    t.second = second;
    return t;
}

bool IsTime(int hour, int minute, int second) {
    return hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60;
}

}  // namespace

DayNavigator::DayNavigator(ProblemPanelModel& panel, Clock& clock, UserMessages& messages,
                           const JournalWords& words)
    : m_panel(panel), m_clock(clock), m_messages(messages), m_words(words) {
    m_panel.SetDayEvents(this);
}

DayNavigator::~DayNavigator() {
    m_panel.SetDayEvents(nullptr);
}

DayNumber DayNavigator::Today() const {
    return CalendarDayOf(m_clock.Now());
}

void DayNavigator::StoreDates() {
    if (m_record) m_record->StoreDates(m_dates);
}

EditorRefresh DayNavigator::OpenPatient(EditedRecord& record) {
    EditorRefresh refresh;
    if (m_panel.IsOpen()) refresh |= m_panel.Close();
    m_record = &record;
    m_dates = record.Dates();
    SubfolderDates before = m_dates;
    DateTime now = m_clock.Now();
    if (!IsValid(m_dates.admission) || m_dates.admission.year < 1900 ||
        m_dates.admission.year > 9999) {
        m_dates.admission = now;
    }
    m_dates.admissionDay = CalendarDayOf(m_dates.admission);
    if (m_dates.exitDateSet == 1 &&
        (!IsValid(m_dates.exit) || m_dates.exit.year < 1900 || m_dates.exit.year > 9999)) {
        m_dates.exitDateSet = 0;  // a damaged exit date reopens rather than breaking the days
    }
    if (m_dates.exitDateSet != 1) {
        m_dates.exitDateSet = 0;
        m_dates.exit = NoonOf(CalendarDayOf(now));
    }
    m_panel.Open(record, Today());
    BuildEntryDays();
    ApplyHistoryPeriod();
    BuildDayList(false);
    m_panel.SetCurrentDay(m_lastDay);
    m_panel.ShowCurrentProblem(true);
    if (!(m_dates == before)) StoreDates();
    refresh.panel = refresh.caption = refresh.dayList = refresh.day = true;
    refresh.historyCaptions = true;
    return refresh;
}

EditorRefresh DayNavigator::ClosePatient() {
    EditorRefresh refresh = m_panel.Close();
    m_record = nullptr;
    m_rows.clear();
    m_shownDays.clear();
    return refresh;
}

void DayNavigator::BuildEntryDays() {
    m_panel.SetEntryDays(m_panel.Journal().Reader().EntryDays());
    AdjustAmbulatoryAdmission();
}

void DayNavigator::AdjustAmbulatoryAdmission() {
    const auto& days = m_panel.EntryDays();
    if (m_dates.IsAmbulatory() && !days.empty() && m_dates.admissionDay != days.front()) {
        // An ambulatory subfolder starts with its first consultation.
        m_dates.admission = NoonOf(days.front());
        m_dates.admissionDay = days.front();
        StoreDates();
    }
}

EditorRefresh DayNavigator::BuildDayList(bool goToNow) {
    DayNumber today = Today();
    m_listDate = today;
    m_lastDay = LastDayOf(m_dates, today);
    m_rows.clear();
    m_shownDays = ShownDayList(m_dates, m_panel.EntryDays(), today);
    JournalReader reader = m_panel.Journal().Reader();
    for (DayNumber day : m_shownDays) {
        m_rows.push_back(m_dates.IsAmbulatory()
                             ? LongDayText(day, m_words)
                             : HospitalDayRow(day - m_dates.admissionDay + 1,
                                              reader.DayHasEntries(day), day, m_words));
    }
    EditorRefresh refresh;
    refresh.dayList = refresh.day = true;
    if (goToNow) refresh |= Now();
    return refresh;
}

EditorRefresh DayNavigator::PageShown() {
    EditorRefresh refresh;
    if (m_panel.IsOpen() && m_panel.EntryDaysOutOfDate()) {
        BuildEntryDays();
        refresh.panel = true;  // the '+' buttons follow the entry days
    }
    return refresh;
}

EditorRefresh DayNavigator::MoveTo(std::optional<DayNumber> day, bool commit) {
    EditorRefresh refresh;
    if (commit) refresh = m_panel.CommitCurrentProblem();
    if (!day || !m_panel.IsOpen()) return refresh;
    DayNumber target = ClampDay(*day);
    m_panel.SetCurrentDay(target);
    m_panel.ShowCurrentProblem();
    refresh.panel = refresh.day = refresh.daySummary = true;
    return refresh;
}

EditorRefresh DayNavigator::GoToDay(DayNumber day) {
    return MoveTo(day);
}

EditorRefresh DayNavigator::PreviousDay() {
    return MoveTo(ClampDay(static_cast<long long>(m_panel.CurrentDay()) - 1));
}

EditorRefresh DayNavigator::NextDay() {
    return MoveTo(ClampDay(static_cast<long long>(m_panel.CurrentDay()) + 1));
}

EditorRefresh DayNavigator::PreviousEntryDay() {
    const auto& days = m_panel.EntryDays();
    auto it = std::lower_bound(days.begin(), days.end(), m_panel.CurrentDay());
    if (it == days.begin()) return MoveTo(std::nullopt);
    return MoveTo(*(it - 1));
}

EditorRefresh DayNavigator::NextEntryDay() {
    const auto& days = m_panel.EntryDays();
    auto it = std::upper_bound(days.begin(), days.end(), m_panel.CurrentDay());
    if (it == days.end()) return MoveTo(std::nullopt);
    return MoveTo(*it);
}

EditorRefresh DayNavigator::Now() {
    EditorRefresh refresh = m_panel.CommitCurrentProblem();
    if (Today() != m_listDate && m_dates.exitDateSet != 1) refresh |= BuildDayList(false);
    refresh |= MoveTo(m_lastDay, false);
    return refresh;
}

EditorRefresh DayNavigator::FirstDay() {
    return MoveTo(m_dates.admissionDay);
}

EditorRefresh DayNavigator::ChooseDayRow(int row) {
    if (row < 0 || row >= static_cast<int>(m_shownDays.size())) return MoveTo(std::nullopt);
    return MoveTo(m_shownDays[static_cast<size_t>(row)]);
}

EditorRefresh DayNavigator::ChooseCalendarDate(int year, int month, int day) {
    if (!MonthCalendar::IsSelectable(year, month, day)) return MoveTo(std::nullopt);
    DayNumber chosen = DayNumberOf(year, month, day);
    if (chosen == m_panel.CurrentDay()) return MoveTo(std::nullopt);
    return MoveTo(chosen);
}

DayNavigator::DateChange DayNavigator::ChangeAdmissionDate(int year, int month, int day) {
    DateChange change;
    if (!m_record || !MonthCalendar::IsSelectable(year, month, day)) return change;
    DayNumber picked = DayNumberOf(year, month, day);
    if (picked > Today()) {
        m_messages.ShowBox(kFutureDay, kInvalidDay, BoxButtons::Ok, BoxIcon::Warning);
        return change;
    }
    // The exit date counts only once it has been set.
    if (m_dates.exitDateSet == 1 && picked > CalendarDayOf(m_dates.exit)) {
        m_messages.ShowBox(kAdmissionAfterExit, kInvalidDay, BoxButtons::Ok, BoxIcon::Warning);
        return change;
    }
    change.accepted = true;
    change.refresh = m_panel.CommitCurrentProblem();
    m_dates.admission = WithTimeOf(picked, m_dates.admission);
    m_dates.admissionDay = picked;
    StoreDates();
    change.refresh |= BuildDayList(true);
    change.refresh.problemSummary = change.refresh.evolutionSummary = true;
    change.refresh.patientList = true;
    return change;
}

DayNavigator::DateChange DayNavigator::ChangeAdmissionTime(int hour, int minute, int second) {
    DateChange change;
    if (!m_record || !IsTime(hour, minute, second)) return change;
    m_dates.admission = WithTime(m_dates.admission, hour, minute, second);
    StoreDates();
    change.accepted = true;
    return change;
}

DayNavigator::DateChange DayNavigator::ChangeExitDate(std::optional<DateTime> date) {
    DateChange change;
    if (!m_record) return change;
    change.refresh = m_panel.CommitCurrentProblem();
    if (date && !MonthCalendar::IsSelectable(date->year, date->month, date->day)) {
        return change;  // not a date the field offers: nothing changes
    }
    bool reopen = !date;
    if (date && DayNumberOf(date->year, date->month, date->day) < m_dates.admissionDay) {
        m_messages.ShowBox(kExitBeforeAdmission, kInvalidDay, BoxButtons::Ok, BoxIcon::Warning);
        reopen = true;
    } else {
        change.accepted = true;
    }
    if (reopen) {
        m_dates.exitDateSet = 0;
        StoreDates();
        change.refresh |= BuildDayList(true);
    } else {
        m_dates.exit = WithTimeOf(DayNumberOf(date->year, date->month, date->day), m_dates.exit);
        m_dates.exitDateSet = 1;
        StoreDates();
    }
    change.refresh |= BuildDayList(false);
    change.refresh.patientList = true;
    return change;
}

DayNavigator::DateChange DayNavigator::ChangeExitTime(int hour, int minute, int second) {
    DateChange change;
    if (!m_record || !IsTime(hour, minute, second)) return change;
    m_dates.exit = WithTime(m_dates.exit, hour, minute, second);
    StoreDates();
    change.accepted = true;
    return change;
}

EditorRefresh DayNavigator::SwitchSubfolderType() {
    if (!m_record) return {};
    EditorRefresh refresh = m_panel.CommitCurrentProblem();
    m_dates.subfolderType = std::u16string(m_dates.IsAmbulatory() ? kHospitalisation : kAmbulatory);
    StoreDates();
    refresh |= OpenPatient(*m_record);
    refresh.patientList = true;
    return refresh;
}

void DayNavigator::ApplyHistoryPeriod() {
    m_dates.historyStartDay =
        HistoryPeriod::StartDay(m_dates.historyPeriod, m_dates.IsAmbulatory(), Today(),
                                m_dates.admissionDay, m_panel.EntryDays(), m_panel.CurrentDay());
}

EditorRefresh DayNavigator::ChooseHistoryPeriod(const std::u16string& name) {
    if (!m_record || HistoryPeriod::IsSeparator(name)) return {};
    EditorRefresh refresh = m_panel.CommitCurrentProblem();
    m_dates.historyPeriod = name;
    ApplyHistoryPeriod();
    StoreDates();
    // An ambulatory day list starts at the history start day.
    if (m_dates.IsAmbulatory()) refresh |= BuildDayList(false);
    refresh.historyCaptions = refresh.problemSummary = refresh.evolutionSummary = true;
    refresh.daySummary = refresh.panel = true;
    return refresh;
}

std::u16string DayNavigator::DateLabel() const {
    return DateLabelText(m_panel.CurrentDay(), m_dates.admissionDay, !m_dates.IsAmbulatory(),
                         m_words);
}

int DayNavigator::SelectedRow() const {
    auto it = std::find(m_shownDays.begin(), m_shownDays.end(), m_panel.CurrentDay());
    return it == m_shownDays.end() ? -1 : static_cast<int>(it - m_shownDays.begin());
}

std::u16string DayNavigator::SubfolderTypeCaption() const {
    return m_dates.IsAmbulatory() ? u"Ambulatory" : u"Hospitalization";
}

std::u16string DayNavigator::FirstDayCaption() const {
    return m_words.dayLetter.substr(0, 1) + u"1";
}

const std::u16string& DayNavigator::NowCaption() const {
    return m_words.now;
}

SectionHistoryInput DayNavigator::HistoryInput(DateOrder order) const {
    SectionHistoryInput input;
    input.problem = m_panel.CurrentProblem();
    input.entryDays = &m_panel.EntryDays();
    input.admissionDay = m_dates.admissionDay;
    input.historyStartDay = m_dates.historyStartDay;
    input.ambulatory = m_dates.IsAmbulatory();
    input.dateOrder = order;
    if (m_record) {
        input.usualDrugs = m_record->Field(64);
        static constexpr int kExamFields[] = {79, 80, 81, 82, 83, 84, 85, 20};
        for (size_t i = 0; i < std::size(kExamFields); ++i) {
            input.admissionExams.emplace_back(m_words.admissionExamCaptions[i],
                                              m_record->Field(kExamFields[i]));
        }
    }
    return input;
}

std::vector<DayNumber> DayNavigator::BoldDays(DayNumber firstDay) const {
    return MonthCalendar::BoldDays(m_panel.EntryDays(), firstDay);
}

MonthCalendar::Grid DayNavigator::MonthGrid(int year, int month, int firstWeekday) const {
    return MonthCalendar::MonthGrid(year, month, firstWeekday, m_panel.EntryDays(),
                                    m_panel.CurrentDay(), Today());
}

}  // namespace pondrel
