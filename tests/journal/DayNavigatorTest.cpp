#include "journal/DayNavigator.h"

#include <gtest/gtest.h>

#include "PlainRecord.h"
#include "TestPlatform.h"
#include "journal/JournalDays.h"
#include "journal/JournalWords.h"

namespace pondrel {
namespace {

using test::PlainRecord;

constexpr DayNumber k13Mar06 = 2263;

class DayNavigatorTest : public ::testing::Test {
protected:
    DayNavigatorTest() { platform.clock.now = {2006, 3, 15, 10, 0, 0}; }

    void OpenHospital(std::u16string journal = {}) {
        record.journal = std::move(journal);
        record.dates.subfolderType = u"Hosp";
        record.dates.admission = {2006, 3, 13, 9, 41, 7};
        days.OpenPatient(record);
    }
    const test::ScriptedMessages::Box& LastBox() { return platform.messages.boxes.back(); }

    test::TestPlatform platform;
    JournalWords words;
    PlainRecord record;
    ProblemPanelModel panel{platform.messages, words};
    DayNavigator days{panel, platform.clock, platform.messages, words};
};

TEST_F(DayNavigatorTest, HospitalDayListAndDateLabel) {
    OpenHospital(u"§0|A¦¦A¦#2264§0|x||||||");
    EXPECT_EQ(days.DayRows(), (std::vector<std::u16string>{
                                  u"D 1    Monday 13 March 2006",
                                  u"D 2  - Tuesday 14 March 2006",
                                  u"D 3    Wednesday 15 March 2006",
                              }));
    EXPECT_EQ(panel.CurrentDay(), k13Mar06 + 2);  // opened on today
    EXPECT_EQ(days.DateLabel(), u"D3 - We 15 Mar 06");
    EXPECT_EQ(days.SelectedRow(), 2);
    EXPECT_EQ(record.dates.exit, (DateTime{2006, 3, 15, 12, 0, 0}));  // unset exit: today noon
    days.ChooseCalendarDate(2006, 3, 12);
    EXPECT_EQ(days.DateLabel(), u"D-1 - Su 12 Mar 06");
    EXPECT_EQ(days.SelectedRow(), -1);
    days.FirstDay();
    EXPECT_EQ(days.DateLabel(), u"D1 - Mo 13 Mar 06");
    EXPECT_EQ(days.FirstDayCaption(), u"D1");
}

TEST_F(DayNavigatorTest, MovingTheDay) {
    OpenHospital(u"§0|A¦¦A¦#2260§0|a||||||#2264§0|b||||||");
    days.NextDay();  // beyond the last day is allowed
    EXPECT_EQ(panel.CurrentDay(), k13Mar06 + 3);
    EXPECT_EQ(days.SelectedRow(), -1);
    days.PreviousEntryDay();
    EXPECT_EQ(panel.CurrentDay(), 2264);
    EXPECT_EQ(panel.SectionText(0), u"b");
    days.PreviousEntryDay();
    EXPECT_EQ(panel.CurrentDay(), 2260);
    days.PreviousEntryDay();  // on the first entry day nothing moves
    EXPECT_EQ(panel.CurrentDay(), 2260);
    days.NextEntryDay();
    days.NextEntryDay();
    EXPECT_EQ(panel.CurrentDay(), 2264);
    days.Now();
    EXPECT_EQ(panel.CurrentDay(), k13Mar06 + 2);
    days.ChooseDayRow(0);
    EXPECT_EQ(panel.CurrentDay(), k13Mar06);
    days.PreviousDay();
    EXPECT_EQ(panel.CurrentDay(), k13Mar06 - 1);
}

TEST_F(DayNavigatorTest, EveryMoveCommitsFirst) {
    OpenHospital(u"");
    panel.EditSection(1, u"stable");
    days.PreviousDay();
    panel.EditSection(1, u"worse");
    EXPECT_EQ(record.journal, u"§0|Problem n°1¦¦A¦#2264§0||worse|||||#2265§0||stable|||||");
    EXPECT_EQ(days.DayRows()[1], u"D 2  - Tuesday 14 March 2006");  // rebuilt on new block
    EXPECT_EQ(panel.EntryDays(), (std::vector<DayNumber>{2264, 2265}));
}

TEST_F(DayNavigatorTest, NowRebuildsTheListWhenTheDateChanged) {
    OpenHospital();
    platform.clock.now = {2006, 3, 16, 0, 5, 0};
    days.Now();
    EXPECT_EQ(days.DayRows().size(), 4u);
    EXPECT_EQ(panel.CurrentDay(), k13Mar06 + 3);
}

TEST_F(DayNavigatorTest, AmbulatoryDaysAreTheConsultations) {
    record.journal = u"§0|A¦¦A¦#2194§0|x||||||#2347§0|y||||||";  // 3 Jan and 5 Jun 2006
    record.dates.subfolderType = u"Ambu";
    record.dates.historyPeriod = u"All";
    platform.clock.now = {2006, 7, 1, 10, 0, 0};
    days.OpenPatient(record);
    EXPECT_EQ(days.DayRows(),
              (std::vector<std::u16string>{u"Tuesday 3 January 2006", u"Monday 5 June 2006"}));
    EXPECT_EQ(record.dates.admission, (DateTime{2006, 1, 3, 12, 0, 0}));
    EXPECT_EQ(record.dates.admissionDay, 2194);
    EXPECT_EQ(days.DateLabel(), u"Sa 1 Jul 06");
}

TEST_F(DayNavigatorTest, HistoryPeriods) {
    record.journal = u"§0|A¦¦A¦#2000§0|a||||||#2100§0|b||||||#2200§0|c||||||#2260§0|d||||||";
    record.dates.subfolderType = u"Ambu";
    days.OpenPatient(record);
    // An empty period of an ambulatory subfolder is "5 meetings before": only 4 before today.
    EXPECT_EQ(record.dates.historyStartDay, 2000 - 1095);
    days.ChooseHistoryPeriod(u"10 meetings before");
    EXPECT_EQ(record.dates.historyStartDay, 2000 - 1095);
    days.ChooseHistoryPeriod(u"3 meetings before");  // unknown: 5 meetings
    EXPECT_EQ(record.dates.historyPeriod, u"3 meetings before");
    days.ChooseHistoryPeriod(u"1 week before");
    EXPECT_EQ(record.dates.historyStartDay, k13Mar06 + 2 - 7);
    EXPECT_EQ(days.DayRows().size(), 1u);  // the ambulatory list starts there
    EXPECT_FALSE(days.ChooseHistoryPeriod(u"-------------------------").historyCaptions);
    EXPECT_EQ(record.dates.historyPeriod, u"1 week before");
}

TEST_F(DayNavigatorTest, AdmissionDateChecks) {
    OpenHospital();
    EXPECT_FALSE(days.ChangeAdmissionDate(2006, 3, 16).accepted);
    EXPECT_EQ(LastBox().text, u"This day can not be in the futur !");
    EXPECT_EQ(LastBox().caption, u"Invalid day");
    EXPECT_EQ(LastBox().icon, BoxIcon::Warning);
    EXPECT_EQ(record.dates.admissionDay, k13Mar06);

    ASSERT_TRUE(days.ChangeExitDate(DateTime{2006, 3, 14, 18, 0, 0}).accepted);
    EXPECT_EQ(record.dates.exitDateSet, 1);
    EXPECT_EQ(record.dates.exit, (DateTime{2006, 3, 14, 12, 0, 0}));  // the exit field's time
    EXPECT_EQ(days.DayRows().size(), 2u);
    EXPECT_FALSE(days.ChangeAdmissionDate(2006, 3, 15).accepted);
    EXPECT_EQ(LastBox().text, u"The admission day can not be after the exit date !");

    auto accepted = days.ChangeAdmissionDate(2006, 3, 10);
    EXPECT_TRUE(accepted.accepted && accepted.refresh.patientList);
    EXPECT_EQ(record.dates.admission, (DateTime{2006, 3, 10, 9, 41, 7}));
    EXPECT_EQ(record.dates.admissionDay, k13Mar06 - 3);
    EXPECT_EQ(days.DayRows().size(), 5u);
    EXPECT_EQ(panel.CurrentDay(), k13Mar06 + 1);  // Now: the exit day of a closed subfolder
    EXPECT_TRUE(days.ChangeAdmissionTime(7, 5, 0).accepted);
    EXPECT_EQ(record.dates.admission, (DateTime{2006, 3, 10, 7, 5, 0}));
    EXPECT_FALSE(days.ChangeAdmissionTime(24, 0, 0).accepted);
}

TEST_F(DayNavigatorTest, ExitBeforeAdmissionReopens) {
    OpenHospital();
    days.ChangeExitDate(DateTime{2006, 3, 14, 0, 0, 0});
    EXPECT_FALSE(days.ChangeExitDate(DateTime{2006, 3, 12, 0, 0, 0}).accepted);
    EXPECT_EQ(LastBox().text, u"The exit day can not precede the admission date !");
    EXPECT_EQ(record.dates.exitDateSet, 0);
    EXPECT_EQ(days.DayRows().size(), 3u);
    EXPECT_EQ(panel.CurrentDay(), k13Mar06 + 2);
    days.ChangeExitDate(DateTime{2006, 3, 13, 0, 0, 0});
    days.ChangeExitDate(std::nullopt);  // cleared: open again
    EXPECT_EQ(record.dates.exitDateSet, 0);
    EXPECT_EQ(days.LastDay(), k13Mar06 + 2);
}

TEST_F(DayNavigatorTest, OpeningRepairsDamagedDates) {
    record.dates.admission = {1850, 2, 30, 0, 0, 0};
    record.dates.exitDateSet = 1;
    record.dates.exit = {2006, 13, 1, 0, 0, 0};
    days.OpenPatient(record);
    EXPECT_EQ(record.dates.admission, platform.clock.now);
    EXPECT_EQ(record.dates.admissionDay, k13Mar06 + 2);
    EXPECT_EQ(record.dates.exitDateSet, 0);
    EXPECT_EQ(days.DayRows().size(), 1u);
}

TEST_F(DayNavigatorTest, FarAdmissionListIsBounded) {
    record.dates.admission = {1900, 1, 1, 0, 0, 0};
    record.dates.exitDateSet = 1;
    record.dates.exit = {9999, 12, 31, 0, 0, 0};
    days.OpenPatient(record);
    EXPECT_EQ(static_cast<int>(days.DayRows().size()), kMaxDayRows);
    EXPECT_EQ(days.ShownDays().back(), kLastJournalDay);
    days.NextDay();  // clamped at the last day a journal may hold
    EXPECT_EQ(panel.CurrentDay(), kLastJournalDay);
}

TEST_F(DayNavigatorTest, MistypedEarlyAdmissionWithThousandsOfEntryDays) {
    // Admission typed in 1900: the list shows its last 20,000 days, each marked from one set
    // of the days with entries built for the list, not from a search per row.
    std::u16string journal = u"§0|A¦¦A¦";
    for (DayNumber day = 2263 - 12568; day <= 2263; ++day) {
        journal += u"#" + ToText(day) + u"§0|x||||||";
    }
    record.journal = journal;
    record.dates.subfolderType = u"Hosp";
    record.dates.admission = {1900, 1, 1, 9, 0, 0};
    days.OpenPatient(record);
    ASSERT_EQ(static_cast<int>(days.DayRows().size()), kMaxDayRows);
    const std::vector<DayNumber>& shown = days.ShownDays();
    int marked = 0;
    for (size_t row = 0; row < shown.size(); ++row) {
        bool hasEntries = shown[row] >= 2263 - 12568 && shown[row] <= 2263;
        EXPECT_EQ(days.DayRows()[row].substr(5, 2), hasEntries ? u"- " : u"  ") << row;
        marked += hasEntries;
    }
    EXPECT_EQ(marked, 12569);
    days.PageShown();
    days.BuildDayList(false);
    EXPECT_EQ(static_cast<int>(days.DayRows().size()), kMaxDayRows);
}

TEST_F(DayNavigatorTest, SwitchingTypeRedisplays) {
    OpenHospital(u"§0|A¦¦A¦#2264§0|x||||||");
    days.SwitchSubfolderType();
    EXPECT_EQ(record.dates.subfolderType, u"Ambu");
    EXPECT_EQ(days.SubfolderTypeCaption(), u"Ambulatory");
    EXPECT_EQ(record.dates.admissionDay, 2264);
    EXPECT_EQ(days.DayRows(), std::vector<std::u16string>{u"Tuesday 14 March 2006"});
}

TEST_F(DayNavigatorTest, OpeningAnotherPatientCommitsTheFirst) {
    OpenHospital();
    panel.EditTitle(u"Flu");
    panel.EditSection(0, u"cough");
    PlainRecord second;
    second.journal = u"§0|Gout¦¦A¦";
    days.OpenPatient(second);
    EXPECT_EQ(record.journal, u"§0|Flu¦¦A¦#2265§0|cough||||||");
    EXPECT_EQ(panel.Title(), u"Gout");
    EXPECT_EQ(panel.SectionText(0), u"");
    panel.EditSection(0, u"pain");
    EXPECT_EQ(second.journal, u"§0|Gout¦¦A¦#2265§0|pain||||||");
    EXPECT_EQ(record.journal, u"§0|Flu¦¦A¦#2265§0|cough||||||");
}

TEST_F(DayNavigatorTest, CalendarBoldDaysAndGrid) {
    OpenHospital(u"§0|A¦¦A¦#2250§0|a||||||#2263§0|b||||||#2340§0|c||||||#2360§0|d||||||");
    // From 1 March 2006 (2251): March, April, May; 2340 is 29 May, 2360 is 18 June.
    EXPECT_EQ(days.BoldDays(2251), (std::vector<DayNumber>{2263, 2340}));
    auto grid = days.MonthGrid(2006, 3, 0);
    EXPECT_FALSE(grid[0][0].inMonth);  // 26 February, a Sunday
    EXPECT_EQ(grid[0][3].dayOfMonth, 1);
    EXPECT_TRUE(grid[0][3].inMonth);
    EXPECT_TRUE(grid[2][1].bold);  // Monday 13 March
    EXPECT_TRUE(grid[2][3].current && grid[2][3].today);
    auto mondayFirst = days.MonthGrid(2006, 3, 1);
    EXPECT_EQ(mondayFirst[0][2].dayOfMonth, 1);
}

TEST_F(DayNavigatorTest, SectionHistoryOfTheCurrentProblem) {
    record.fields[64] = u"-aspirin";
    record.fields[20] = u"sinus rhythm";
    OpenHospital(u"§0|A¦¦A¦#2263§0|||Hb 12|amoxicillin|||");
    auto input = days.HistoryInput(DateOrder::DayMonthYear);
    JournalReader reader = panel.Journal().Reader();
    EXPECT_EQ(SectionHistory::Rows(reader, input, Section::Medicine, words),
              (std::vector<std::u16string>{u"Usual: aspirin", u"13.3.06: amoxicillin", u"Stop",
                                           u"One time"}));
    EXPECT_EQ(SectionHistory::Rows(reader, input, Section::Examinations, words),
              (std::vector<std::u16string>{u"|Adm 13.3.06 ECG: sinus rhythm", u"|13.3.06: Hb 12"}));
    EXPECT_FALSE(SectionHistory::IsEnabled(reader, input, Section::Status));
    EXPECT_EQ(days.NowCaption(), u"Now");
}

}  // namespace
}  // namespace pondrel
