#include "journal/SectionHistory.h"

#include <gtest/gtest.h>

#include "journal/HistoryPeriod.h"
#include "journal/JournalDays.h"
#include "journal/JournalWords.h"
#include "journal/ProblemJournal.h"
#include "platform/Text.h"

namespace pondrel {
namespace {

constexpr DayNumber k13Mar06 = 2263;

TEST(SectionHistoryTest, LinesAreCleaned) {
    EXPECT_EQ(
        SectionHistory::Lines(u"-amoxicillin 1 g ..\r\n-  \r\n- paracetamol ,.\r\n\r\nrest . "),
        (std::vector<std::u16string>{u"amoxicillin 1 g.", u"paracetamol.", u"rest."}));
    EXPECT_TRUE(SectionHistory::Lines(u"\r\n-\r\n").empty());
}

class SectionHistoryListTest : public ::testing::Test {
protected:
    SectionHistoryListTest()
        : journal(
              u"§0|A¦¦A¦§1|B¦¦A¦"
              u"#2260§0||||old drug|||"
              u"#2263§0|||CRP 120|amoxicillin\r\n-paracetamol||rest|"
              u"#2264§1|||||other problem||") {
        entryDays = journal.Reader().EntryDays();
        input.problem = 0;
        input.entryDays = &entryDays;
        input.admissionDay = k13Mar06;
        input.historyStartDay = k13Mar06;
    }
    std::vector<std::u16string> Rows(Section section) {
        return SectionHistory::Rows(journal.Reader(), input, section, words);
    }

    ProblemJournal journal;
    std::vector<DayNumber> entryDays;
    SectionHistoryInput input;
    JournalWords words;
};

TEST_F(SectionHistoryListTest, MedicineListHasUsualDrugsThenDatedLinesThenMarks) {
    input.usualDrugs = u"-aspirin\r\n-statin";
    EXPECT_EQ(
        Rows(Section::Medicine),
        (std::vector<std::u16string>{u"Usual: aspirin", u"Usual: statin", u"13.3.06: amoxicillin",
                                     u"13.3.06: paracetamol", u"Stop", u"One time"}));
    input.historyStartDay = 2000;  // the day before admission is listed from the history start
    EXPECT_EQ(Rows(Section::Medicine)[2], u"10.3.06: old drug");
    input.dateOrder = DateOrder::MonthDayYear;
    EXPECT_EQ(Rows(Section::Medicine)[2], u"3.10.06: old drug");
}

TEST_F(SectionHistoryListTest, ExaminationsListStartsWithAdmissionExams) {
    input.admissionExams = {{u"Labo", u"Hb 12\r\nK 4.1"}, {u"Gazo", u""}, {u"ECG", u"sinus"}};
    EXPECT_EQ(Rows(Section::Examinations),
              (std::vector<std::u16string>{u"|Adm 13.3.06 Labo: Hb 12", u"|Adm 13.3.06 Labo: K 4.1",
                                           u"|Adm 13.3.06 ECG: sinus", u"|13.3.06: CRP 120"}));
}

TEST_F(SectionHistoryListTest, EnabledOnlyWithTextSinceAdmission) {
    EXPECT_TRUE(SectionHistory::IsEnabled(journal.Reader(), input, Section::Medicine));
    EXPECT_FALSE(SectionHistory::IsEnabled(journal.Reader(), input, Section::Anamnesia));
    EXPECT_TRUE(SectionHistory::IsEnabled(journal.Reader(), input, Section::Examinations));
    input.admissionDay = k13Mar06 + 1;
    EXPECT_FALSE(SectionHistory::IsEnabled(journal.Reader(), input, Section::Medicine));
    input.admissionExams = {{u"Labo", u"Hb"}};
    EXPECT_TRUE(SectionHistory::IsEnabled(journal.Reader(), input, Section::Examinations));
    input.ambulatory = true;  // an ambulatory subfolder counts from the history start
    EXPECT_TRUE(SectionHistory::IsEnabled(journal.Reader(), input, Section::Medicine));
}

TEST_F(SectionHistoryListTest, NeverMoreThanHundredLines) {
    ProblemJournal big;
    std::u16string many;
    for (int i = 0; i < 30; ++i) many += u"line " + ToText(i) + u"\r\n-";
    for (DayNumber day = 2263; day < 2273; ++day) big.SetEntry(day, 0, {u"", u"", u"", many});
    entryDays = big.Reader().EntryDays();
    auto rows = SectionHistory::Rows(big.Reader(), input, Section::Medicine, words);
    EXPECT_EQ(rows.size(), 102u);  // 100 lines, then Stop and One time
    EXPECT_EQ(rows[99], u"16.3.06: line 9");
}

TEST_F(SectionHistoryListTest, ThousandsOfEntryDaysAreWalkedOnce) {
    // 12,569 days with a Status each, near the file size limit: the '+' buttons and the lists
    // look at each day block once, not search the whole journal for every day.
    ProblemJournal big;
    std::u16string text = u"§0|A¦¦A¦";
    for (DayNumber day = 0; day < 12569; ++day) text += u"#" + ToText(day) + u"§0||s|||||";
    big.SetText(text);
    entryDays = big.Reader().EntryDays();
    ASSERT_EQ(entryDays.size(), 12569u);
    input.admissionDay = 0;
    input.historyStartDay = 12000;
    EXPECT_FALSE(SectionHistory::IsEnabled(big.Reader(), input, Section::Anamnesia));
    EXPECT_TRUE(SectionHistory::IsEnabled(big.Reader(), input, Section::Status));
    EXPECT_EQ(SectionHistory::Rows(big.Reader(), input, Section::Anamnesia, words).size(), 0u);
    auto rows = SectionHistory::Rows(big.Reader(), input, Section::Status, words);
    ASSERT_EQ(rows.size(), 100u);
    EXPECT_EQ(rows[0], DateStamp(12000, DateOrder::DayMonthYear) + u": s");
    // Only the entry days the panel knows count.
    entryDays = {5};
    input.historyStartDay = 0;
    EXPECT_EQ(SectionHistory::Rows(big.Reader(), input, Section::Status, words).size(), 1u);
}

TEST(SectionHistoryChoiceTest, ChoosingRows) {
    JournalWords words;
    auto stop = SectionHistory::Choose(u"Stop", Section::Medicine, u"aspirin", words);
    EXPECT_TRUE(stop.atCaret);
    EXPECT_EQ(stop.text, u" (Stop)");
    // "Stop" is an ordinary row in the other lists.
    EXPECT_FALSE(SectionHistory::Choose(u"Stop", Section::Status, u"", words).atCaret);
    auto line = SectionHistory::Choose(u"13.3.06:  amoxicillin ", Section::Medicine,
                                       u"-aspirin \r\n\r\n", words);
    EXPECT_FALSE(line.atCaret);
    EXPECT_TRUE(line.newLine);
    EXPECT_EQ(line.section, u"-aspirin");
    EXPECT_EQ(line.text, u"amoxicillin");
    EXPECT_FALSE(SectionHistory::Choose(u"x: y", Section::Status, u"", words).newLine);
    EXPECT_FALSE(SectionHistory::Choose(u"x: y", Section::Status, u"a\r\n-", words).newLine);
    EXPECT_EQ(
        SectionHistory::Choose(u"|Adm 13.3.06 Labo: Hb 12", Section::Examinations, u"", words).text,
        u"Hb 12");
}

TEST(HistoryPeriodTest, StartDays) {
    const DayNumber today = 5000;
    std::vector<DayNumber> days = {4000, 4100, 4200, 4300, 4400, 4500, 5000, 5100};
    auto start = [&](std::u16string_view name, bool ambulatory = false) {
        return HistoryPeriod::StartDay(name, ambulatory, today, 4100, days, 4900);
    };
    EXPECT_EQ(start(u"1 week before"), today - 7);
    EXPECT_EQ(start(u"6 months before"), today - 184);
    EXPECT_EQ(start(u"All"), today - 3650);
    EXPECT_EQ(start(u"All hospitalization"), 4100);
    EXPECT_EQ(start(u""), 4100);
    // Six entry days before today: the 5th last is number 6 - 5 = 1.
    EXPECT_EQ(start(u"", true), 4100);
    EXPECT_EQ(start(u"5 meetings before"), 4100);
    EXPECT_EQ(start(u"nonsense"), 4100);
    EXPECT_EQ(start(u"10 meetings before"), 4000 - 1095);
    EXPECT_EQ(HistoryPeriod::StartDay(u"5 meetings before", true, today, 0, {}, 4900), 4900 - 1095);
    EXPECT_EQ(HistoryPeriod::Names().size(), 19u);
    EXPECT_TRUE(HistoryPeriod::IsSeparator(HistoryPeriod::Names()[11]));
}

TEST(JournalDaysTest, Texts) {
    JournalWords words;
    EXPECT_EQ(WeekdayOf(0), 6);  // 1 January 2000, a Saturday
    EXPECT_EQ(WeekdayOf(-1), 5);
    EXPECT_EQ(ShortDayText(k13Mar06, words), u"13 Mar 06");
    EXPECT_EQ(ShortDayText(DayNumberOf(1999, 9, 3), words), u"3 Sept 99");
    EXPECT_EQ(LongDayText(k13Mar06, words), u"Monday 13 March 2006");
    EXPECT_EQ(DateStamp(k13Mar06, DateOrder::DayMonthYear), u"13.3.06");
    EXPECT_EQ(DateStamp(DayNumberOf(2009, 11, 5), DateOrder::MonthDayYear), u"11.5.09");
    EXPECT_EQ(HospitalDayIndex(k13Mar06, k13Mar06), 1);
    EXPECT_EQ(HospitalDayIndex(k13Mar06 - 1, k13Mar06), -1);
    EXPECT_EQ(HospitalDayIndex(k13Mar06 - 2, k13Mar06), -2);
    EXPECT_EQ(DateLabelText(k13Mar06 + 2, k13Mar06, true, words), u"D3 - We 15 Mar 06");
    EXPECT_EQ(HospitalDayRow(12, true, k13Mar06, words), u"D 12 - Monday 13 March 2006");
    EXPECT_EQ(HospitalDayRow(1234, false, k13Mar06, words), u"D 123  Monday 13 March 2006");
    EXPECT_EQ(CalendarDayOf(DateTime{1999, 12, 31, 23, 0, 0}), -1);
}

TEST(SectionHistoryChoiceTest, InsertingAChoice) {
    JournalWords words;
    // A line of an earlier day goes on a new bulleted line at the end; every line is bulleted.
    auto choice = SectionHistory::Choose(u"13.3.06: amoxicillin", Section::Medicine,
                                         u"-aspirin\r\nheparin \r\n", words);
    auto insertion = SectionHistory::Insert(choice, u"-aspirin\r\nheparin \r\n", 0);
    EXPECT_EQ(insertion.text, u"-aspirin\r\n-heparin\r\n-amoxicillin");
    EXPECT_EQ(insertion.caret, insertion.text.size());
    // Into an empty section, or after a bare "-", the text goes as it is.
    choice = SectionHistory::Choose(u"13.3.06: amoxicillin", Section::Medicine, u"", words);
    EXPECT_EQ(SectionHistory::Insert(choice, u"", 0).text, u"amoxicillin");
    choice = SectionHistory::Choose(u"13.3.06: amoxicillin", Section::Medicine, u"x\r\n-", words);
    EXPECT_EQ(SectionHistory::Insert(choice, u"x\r\n-", 2).text, u"x\r\n-amoxicillin");
    // The stop mark goes at the caret, which is clamped to the text.
    choice = SectionHistory::Choose(u"Stop", Section::Attitude, u"rest", words);
    EXPECT_EQ(SectionHistory::Insert(choice, u"rest", 4).text, u"rest (Stop)");
    insertion = SectionHistory::Insert(choice, u"rest", 99);
    EXPECT_EQ(insertion.text, u"rest (Stop)");
    EXPECT_EQ(insertion.caret, 11u);
    choice = SectionHistory::Choose(u"One time", Section::Medicine, u"ab", words);
    EXPECT_EQ(SectionHistory::Insert(choice, u"ab", 1).text, u"a (One time)b");
}

}  // namespace
}  // namespace pondrel
