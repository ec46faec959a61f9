#include "journal/TreatmentTables.h"

#include <gtest/gtest.h>

#include "journal/JournalWords.h"
#include "journal/SubfolderDates.h"
#include "platform/Text.h"
#include "TreatmentJournal.h"

namespace pondrel {
namespace {

using test::k12Mar06;
using test::k13Mar06;
using test::k14Mar06;
using test::k15Mar06;
using test::k16Mar06;
using test::TreatmentJournal;

using Rows = std::vector<std::pair<std::u16string, std::u16string>>;

class TreatmentTablesTest : public ::testing::Test {
protected:
    std::vector<TreatmentCourse> Courses(TreatmentKind kind = TreatmentKind::Treatments) {
        return TreatmentLines::Read(journal.Text(), kind, words);
    }
    TreatmentDays Days(DayNumber today, DayNumber current) {
        TreatmentDays days;
        days.today = today;
        days.lastDay = today;
        days.currentDay = current;
        days.firstDay = k12Mar06;
        return days;
    }
    TreatmentSheet Sheet(TreatmentKind kind, DayNumber today) {
        return BuildTreatmentSheet(kind, {journal.Text(), Days(today, today), order}, words);
    }
    TreatmentLists Lists(DayNumber today, DayNumber current,
                         TreatmentKind kind = TreatmentKind::Treatments) {
        return BuildTreatmentLists(kind, {journal.Text(), Days(today, current), order}, words);
    }
    static Rows RowsOf(const std::vector<TreatmentListRow>& rows) {
        Rows out;
        for (const auto& row : rows) out.emplace_back(row.text, row.status);
        return out;
    }

    TreatmentJournal journal;
    JournalWords words;
    DateOrder order = DateOrder::DayMonthYear;
};

TEST_F(TreatmentTablesTest, TreatmentStoppedTwoDaysLater) {
    journal.Medicine(k13Mar06, 0, u"-amoxicillin 1 g x3\r\n-paracetamol 1 g")
        .Medicine(k15Mar06, 1, u"-amoxicillin 1 g x3 (Stop)");

    TreatmentSheet sheet = Sheet(TreatmentKind::Treatments, k16Mar06);
    EXPECT_EQ(sheet.text,
              u"D2263  Mo 13.3.06 : amoxicillin 1 g x3 (Stop D2265  We 15.3.06)\r\n"
              u"D2263  Mo 13.3.06 : paracetamol 1 g ");
    ASSERT_EQ(sheet.rows.size(), 2u);
    EXPECT_EQ(sheet.rows[0],
              (TreatmentSheetRow{u"amoxicillin 1 g x3", u"Mo 13.3.06", u"D3  We 15.3.06", 0}));
    EXPECT_EQ(sheet.rows[1], (TreatmentSheetRow{u"paracetamol 1 g", u"Mo 13.3.06  (D4)", u"", 1}));

    // On the 16th it is in neither list; on the 15th it stops, and is not running when the
    // 15th is today.
    EXPECT_EQ(RowsOf(Lists(k16Mar06, k16Mar06).running),
              (Rows{{u"paracetamol 1 g", u"D4 (Start  13.3.06)"}}));
    EXPECT_EQ(RowsOf(Lists(k16Mar06, k16Mar06).currentDay),
              RowsOf(Lists(k16Mar06, k16Mar06).running));
    TreatmentLists on15 = Lists(k15Mar06, k15Mar06);
    EXPECT_EQ(RowsOf(on15.currentDay), (Rows{{u"amoxicillin 1 g x3", u"Stop D3 (Start  13.3.06)"},
                                             {u"paracetamol 1 g", u"D3 (Start  13.3.06)"}}));
    EXPECT_EQ(RowsOf(on15.running), (Rows{{u"paracetamol 1 g", u"D3 (Start  13.3.06)"}}));
    // It ran on the 13th, 14th and 15th.
    EXPECT_EQ(Lists(k16Mar06, k13Mar06).currentDay[0].status, u"Start");
    EXPECT_EQ(Lists(k16Mar06, k14Mar06).currentDay[0].status, u"D2 (Start  13.3.06)");
}

TEST_F(TreatmentTablesTest, OneTimeLineRunsOnItsDayOnly) {
    journal.Medicine(k14Mar06, 0, u"paracetamol 1 g (One time)");
    EXPECT_EQ(Courses(),
              (std::vector<TreatmentCourse>{{u"paracetamol 1 g", k14Mar06, k14Mar06, false}}));
    TreatmentSheet sheet = Sheet(TreatmentKind::Treatments, k16Mar06);
    EXPECT_EQ(sheet.rows[0].stop, u"D1  Tu 14.3.06");
    EXPECT_EQ(sheet.text, u"D2264  Tu 14.3.06 : paracetamol 1 g (Stop D2264  Tu 14.3.06)");
    EXPECT_EQ(RowsOf(Lists(k16Mar06, k14Mar06).currentDay),
              (Rows{{u"paracetamol 1 g", u"Stop D1 (Start  14.3.06)"}}));
    EXPECT_TRUE(Lists(k14Mar06, k15Mar06).currentDay.empty());
    EXPECT_TRUE(Lists(k14Mar06, k14Mar06).running.empty());
}

TEST_F(TreatmentTablesTest, StopsEndTheEarliestRunningStartInTurn) {
    journal.Medicine(k12Mar06, 0, u"heparin")
        .Medicine(k13Mar06, 0, u"heparin")
        .Medicine(k14Mar06, 0, u"heparin (Stop)");
    auto courses = Courses();
    ASSERT_EQ(courses.size(), 2u);
    EXPECT_EQ(courses[0].stopDay, k14Mar06);
    EXPECT_FALSE(courses[1].stopDay);
    // A second stop ends the next one, not the one already stopped.
    journal.Medicine(k15Mar06, 0, u"heparin (stop)");
    courses = Courses();
    ASSERT_EQ(courses.size(), 2u);
    EXPECT_EQ(courses[1].stopDay, k15Mar06);
}

TEST_F(TreatmentTablesTest, MonthFirstDateOrderAlsoInStopMarks) {
    order = DateOrder::MonthDayYear;
    journal.Medicine(k13Mar06, 0, u"amoxicillin").Medicine(k15Mar06, 0, u"amoxicillin (Stop)");
    EXPECT_EQ(Sheet(TreatmentKind::Treatments, k16Mar06).text,
              u"D2263  Mo 3.13.06 : amoxicillin (Stop D2265  We 3.15.06)");
    EXPECT_EQ(Lists(k16Mar06, k14Mar06).currentDay[0].status, u"D2 (Start  3.13.06)");
}

TEST_F(TreatmentTablesTest, StatusCountsDaysOfTreatment) {
    journal.Medicine(k13Mar06, 0, u"ceftriaxone").Medicine(k15Mar06, 0, u"insulin");
    EXPECT_EQ(RowsOf(Lists(k15Mar06, k15Mar06).running),
              (Rows{{u"ceftriaxone", u"D3 (Start  13.3.06)"}, {u"insulin", u"Start"}}));
}

TEST_F(TreatmentTablesTest, SheetLeavesOutWhatStoppedBeforeTheFirstDay) {
    journal.Medicine(k12Mar06 - 5, 0, u"old drug")
        .Medicine(k12Mar06 - 1, 0, u"old drug (Stop)")
        .Medicine(k12Mar06 - 3, 0, u"long drug");
    auto rows = Sheet(TreatmentKind::Treatments, k16Mar06).rows;
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].text, u"long drug");
    EXPECT_EQ(rows[0].course, 1u);
}

TEST_F(TreatmentTablesTest, LowerCaseStopThatEndsNothing) {
    journal.Medicine(k13Mar06, 0, u"vitamin K (stop)").Attitude(k13Mar06, 0, u"CT-Scan (stop)");
    auto treatments = Sheet(TreatmentKind::Treatments, k16Mar06).rows;
    ASSERT_EQ(treatments.size(), 1u);
    EXPECT_EQ(treatments[0].text, u"vitamin K (stop)");
    EXPECT_EQ(treatments[0].stop, u"");
    // The action sheet reads the mark as a stop on the line's own day.
    auto actions = Sheet(TreatmentKind::Actions, k16Mar06).rows;
    ASSERT_EQ(actions.size(), 1u);
    EXPECT_EQ(actions[0].text, u"CT-Scan");
    EXPECT_EQ(actions[0].stop, u"D1  Mo 13.3.06");
    // The lists read the same rule: the treatment runs under its full text, the action ran on
    // its own day only, stopped that day.
    EXPECT_EQ(Lists(k16Mar06, k16Mar06, TreatmentKind::Treatments).running[0].text,
              u"vitamin K (stop)");
    EXPECT_TRUE(Lists(k16Mar06, k16Mar06, TreatmentKind::Actions).running.empty());
    EXPECT_TRUE(Lists(k16Mar06, k16Mar06, TreatmentKind::Actions).currentDay.empty());
    auto sameDay = Lists(k13Mar06, k13Mar06, TreatmentKind::Actions);
    EXPECT_TRUE(sameDay.running.empty());
    ASSERT_EQ(sameDay.currentDay.size(), 1u);
    EXPECT_EQ(sameDay.currentDay[0].text, u"CT-Scan");
    EXPECT_EQ(sameDay.currentDay[0].status.substr(0, 4), u"Stop");
}

TEST_F(TreatmentTablesTest, StopBeforeItsStartOnTheSameDayRunsThatDayOnly) {
    // Problem 1 is read before problem 2, so the stop comes first: the treatment started and
    // stopped that day, it does not keep running.
    journal.Medicine(k14Mar06, 0, u"furosemide (Stop)").Medicine(k14Mar06, 1, u"furosemide");
    EXPECT_EQ(Courses(),
              (std::vector<TreatmentCourse>{{u"furosemide", k14Mar06, k14Mar06, false}}));
    EXPECT_TRUE(Lists(k16Mar06, k16Mar06).running.empty());
    EXPECT_EQ(Sheet(TreatmentKind::Treatments, k16Mar06).rows[0].stop, u"D1  Tu 14.3.06");
    // An earlier start is stopped first, as always; the later start then runs.
    journal.Medicine(k13Mar06, 2, u"furosemide");
    auto courses = Courses();
    ASSERT_EQ(courses.size(), 2u);
    EXPECT_EQ(courses[0], (TreatmentCourse{u"furosemide", k13Mar06, k14Mar06, false}));
    EXPECT_EQ(courses[1], (TreatmentCourse{u"furosemide", k14Mar06, std::nullopt, false}));
}

TEST_F(TreatmentTablesTest, WholeTextMatchesBeforeATail) {
    journal.Medicine(k12Mar06, 0, u"rapid insulin")
        .Medicine(k13Mar06, 0, u"insulin")
        .Medicine(k14Mar06, 0, u"insulin (Stop)");
    auto courses = Courses();
    EXPECT_FALSE(courses[0].stopDay);
    EXPECT_EQ(courses[1].stopDay, k14Mar06);
    // With no whole-text match, a shortened stop line ends the earliest text ending with it.
    journal.Medicine(k15Mar06, 0, u"insulin (Stop)");
    courses = Courses();
    EXPECT_EQ(courses[0].stopDay, k15Mar06);
    EXPECT_EQ(courses.size(), 2u);
}

TEST_F(TreatmentTablesTest, LinesLoseBulletsAndBlanks) {
    EXPECT_EQ(TreatmentLines::Lines(u"--a \r\n- b\r\n\r\n-\r\n  \r\nc\td\t"),
              (std::vector<std::u16string_view>{u"a", u"b", u"c\td"}));
    journal.Medicine(k13Mar06, 0, u"- amoxicillin  ").Medicine(k14Mar06, 0, u"-amoxicillin (Stop)");
    EXPECT_EQ(Courses()[0].stopDay, k14Mar06);
}

TEST_F(TreatmentTablesTest, StopMarksAreFoundAfterTheFirstCharacterOnly) {
    EXPECT_FALSE(TreatmentLines::ParseStopLine(u"(Stop)", words));
    EXPECT_FALSE(TreatmentLines::ParseStopLine(u"(One time) aspirin", words));
    auto stop = TreatmentLines::ParseStopLine(u"aspirin (Stop) (One time)", words);
    ASSERT_TRUE(stop);
    EXPECT_EQ(stop->name, u"aspirin (Stop)");
    EXPECT_EQ(stop->mark, StopLine::Mark::OneTime);
    words.stop = u"Arr\u00EAt";
    EXPECT_EQ(TreatmentLines::ParseStopLine(u"aspirin (Arr\u00EAt)", words)->name, u"aspirin");
    EXPECT_FALSE(TreatmentLines::ParseStopLine(u"aspirin (Stop)", words));

    // "(Stop)" alone is a treatment named so: it runs, with no absurd stop.
    journal.Medicine(k13Mar06, 0, u"(Stop)\r\n(One time)");
    auto rows = Sheet(TreatmentKind::Treatments, k16Mar06).rows;
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].text, u"(Stop)");
    EXPECT_EQ(rows[0].start, u"Mo 13.3.06  (D4)");
    EXPECT_EQ(rows[1].stop, u"");
}

TEST_F(TreatmentTablesTest, HostileJournalsStayBoundedAndRight) {
    std::u16string many;
    for (int i = 0; i < 1000; ++i) many += u"-drug " + ToText(i) + u"\r\n";
    std::u16string longLine(10000, u'x');
    journal.Medicine(k13Mar06, 0, many)
        .Medicine(k13Mar06, 1, longLine)
        .Medicine(k14Mar06, 0, longLine + u" (Stop)")
        .Medicine(k15Mar06, 0, u"g 999 (Stop)\r\n" + std::u16string(5000, u'y') + u" (Stop)");
    auto courses = Courses();
    ASSERT_EQ(courses.size(), 1002u);
    EXPECT_EQ(courses[999].stopDay, k15Mar06);  // "drug 999" by its tail
    EXPECT_EQ(courses[1000].stopDay, k14Mar06);
    EXPECT_EQ(courses[1001].startDay, k15Mar06);  // the unmatched stop: one day
    EXPECT_EQ(courses[1001].stopDay, k15Mar06);

    // Separators and damaged blocks never reach a table; days out of order are read in order.
    std::u16string damaged =
        u"§0|A¦¦A¦#2265§0||||b (Stop)|||#x§0||||junk|||#2263§0||||b|||"
        u"#99999999999§0||||far|||#2264§0||||c|";
    auto read = TreatmentLines::Read(damaged, TreatmentKind::Treatments, words);
    EXPECT_EQ(read, (std::vector<TreatmentCourse>{{u"b", k13Mar06, k15Mar06, false},
                                                  {u"c", k14Mar06, std::nullopt, false}}));
    EXPECT_TRUE(TreatmentLines::Read(u"#", TreatmentKind::Actions, words).empty());
    EXPECT_TRUE(TreatmentLines::Read(u"#2263§", TreatmentKind::Actions, words).empty());
    EXPECT_EQ(TreatmentLines::Read(u"#2263§0||||||x", TreatmentKind::Actions, words).size(), 1u);
}

TEST_F(TreatmentTablesTest, ClosedSubfolderCountsFromItsExitDay) {
    SubfolderDates dates;
    dates.admissionDay = k12Mar06;
    dates.exitDateSet = 1;
    dates.exit = DateTime{2006, 3, 14, 10, 0, 0};
    TreatmentDays days = TreatmentDays::Of(dates, k16Mar06 + 10);
    EXPECT_EQ(days.lastDay, k14Mar06);
    EXPECT_EQ(days.currentDay, k14Mar06);
    EXPECT_EQ(days.firstDay, k12Mar06);
    dates.subfolderType = u"Ambu";
    dates.historyStartDay = k12Mar06 - 100;
    EXPECT_EQ(TreatmentDays::Of(dates, k16Mar06, k13Mar06).firstDay, k12Mar06 - 100);
    EXPECT_EQ(TreatmentDays::Of(dates, k16Mar06, k13Mar06).currentDay, k13Mar06);

    // A line written after the exit day runs today; counted from the exit day it is never day 0.
    journal.Medicine(k16Mar06, 0, u"late drug");
    auto lists =
        BuildTreatmentLists(TreatmentKind::Treatments,
                            {journal.Text(), TreatmentDays::Of(dates, k16Mar06), order}, words);
    EXPECT_EQ(lists.running[0].status, u"D-2 (Start  16.3.06)");
}

TEST_F(TreatmentTablesTest, TablesAreRebuiltWhenStaleOrChanged) {
    DayNumber current = k13Mar06;
    int builds = 0;
    TreatmentTables tables(words, [&] {
        ++builds;
        return TreatmentInputs{journal.Text(), Days(k16Mar06, current), order};
    });
    journal.Medicine(k13Mar06, 0, u"amoxicillin");
    EXPECT_EQ(tables.Lists(TreatmentKind::Treatments).currentDay.size(), 1u);
    EXPECT_FALSE(tables.ListsStale(TreatmentKind::Treatments));
    EXPECT_TRUE(tables.SheetStale(TreatmentKind::Treatments));
    EXPECT_TRUE(tables.SheetText(TreatmentKind::Treatments).empty());  // not built yet

    // A change of the journal shows without any flag.
    journal.Medicine(k13Mar06, 0, u"amoxicillin\r\nparacetamol");
    EXPECT_EQ(tables.Lists(TreatmentKind::Treatments).currentDay.size(), 2u);
    // So does a move of the current day.
    current = k12Mar06;
    EXPECT_TRUE(tables.Lists(TreatmentKind::Treatments).currentDay.empty());
    // The flag forces a rebuild, e.g. after the labels changed.
    current = k13Mar06;
    tables.Lists(TreatmentKind::Treatments);
    words.start = u"D\u00E9but";
    EXPECT_EQ(tables.Lists(TreatmentKind::Treatments).currentDay[0].status, u"Start");
    tables.MarkAllStale();
    EXPECT_EQ(tables.Lists(TreatmentKind::Treatments).currentDay[0].status, u"D\u00E9but");

    EXPECT_EQ(tables.Sheet(TreatmentKind::Treatments).rows.size(), 2u);
    EXPECT_EQ(tables.SheetText(TreatmentKind::Treatments),
              u"D2263  Mo 13.3.06 : amoxicillin \r\nD2263  Mo 13.3.06 : paracetamol ");
    EXPECT_TRUE(tables.Sheet(TreatmentKind::Actions).rows.empty());
    EXPECT_GT(builds, 0);

    // The sheet and the lists read the journal once between them, yet a new stop word reaches
    // both after the flag, and a journal changed between the two reaches the second.
    journal.Medicine(k15Mar06, 1, u"amoxicillin (Halt)");
    words.stop = u"Halt";
    tables.MarkAllStale();
    EXPECT_EQ(tables.Sheet(TreatmentKind::Treatments).rows[0].stop, u"D3  We 15.3.06");
    current = k15Mar06;
    EXPECT_EQ(tables.Lists(TreatmentKind::Treatments).currentDay[0].status.substr(0, 4), u"Halt");
    journal.Medicine(k15Mar06, 1, u"");
    EXPECT_TRUE(tables.Sheet(TreatmentKind::Treatments).rows[0].stop.empty());
}

}  // namespace
}  // namespace pondrel
