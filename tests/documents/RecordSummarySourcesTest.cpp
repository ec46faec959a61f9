#include <gtest/gtest.h>

#include "Doubles.h"
#include "documents/RecordSummarySources.h"
#include "journal/JournalWords.h"

namespace pondrel::test {
namespace {

// The summaries read the journal's own treatment tables: what runs today for the problem and
// evolution summaries, what runs on the summarised day for the day and all-patients summaries.
TEST(RecordSummarySourcesTest, RunningListsAreForTodayDayListsForTheDayAsked) {
    JournalWords words;
    PatientRecord record;
    record.subfolderType = u"Hosp";
    record.admission = {2006, 3, 13, 12, 0, 0};
    record.admissionDay = record.historyStartDay = 2263;
    record.problemJournal =
        u"§0|Pneumonia¦¦A¦#2263§0||||amoxicillin|||#2265§0||||amoxicillin (Stop)||O2|";
    record.SetField(4, u"13");
    record.SetField(5, u"3");
    record.SetField(6, u"1950");
    FixedClock clock(DateTime{2006, 3, 15, 9, 0, 0});
    RecordSummarySources sources(words, AgeWords{}, DateOrder::DayMonthYear, clock);
    SummaryLists today = sources.RunningLists(record);
    EXPECT_TRUE(today.treatments.empty());  // stopped today
    ASSERT_EQ(today.actions.size(), 1u);
    EXPECT_EQ(today.actions[0].status, u"Start");

    SummaryLists onStopDay = sources.DayLists(record, 2265);
    ASSERT_EQ(onStopDay.treatments.size(), 1u);
    EXPECT_EQ(onStopDay.treatments[0].text, u"amoxicillin");
    EXPECT_EQ(onStopDay.treatments[0].status, u"Stop D3 (Start  13.3.06)");
    SummaryLists nextDay = sources.DayLists(record, 2264);
    ASSERT_EQ(nextDay.treatments.size(), 1u);
    EXPECT_EQ(nextDay.treatments[0].status, u"D2 (Start  13.3.06)");
    EXPECT_TRUE(nextDay.actions.empty());

    // The age on the day asked, not today's.
    EXPECT_EQ(sources.LongAge(record, 2264), u"56 years , 0 months , 1 days");
    EXPECT_EQ(sources.LongAge(record, 2265), u"56 years , 0 months , 2 days");
}

// What was read from a journal is kept only while the journal stays as it was.
TEST(RecordSummarySourcesTest, AChangedJournalIsReadAgain) {
    JournalWords words;
    PatientRecord record;
    record.subfolderType = u"Hosp";
    record.admissionDay = record.historyStartDay = 2263;
    record.problemJournal = u"§0|Pneumonia¦¦A¦#2263§0||||amoxicillin|||";
    FixedClock clock(DateTime{2006, 3, 15, 9, 0, 0});
    RecordSummarySources sources(words, AgeWords{}, DateOrder::DayMonthYear, clock);
    ASSERT_EQ(sources.RunningLists(record).treatments.size(), 1u);
    ASSERT_EQ(sources.RunningLists(record).treatments.size(), 1u);

    record.problemJournal += u"#2264§0||||amoxicillin (Stop)|||";
    EXPECT_TRUE(sources.RunningLists(record).treatments.empty());
    // The same length, another text.
    record.problemJournal = u"§0|Pneumonia¦¦A¦#2263§0||||paracetamol|||";
    ASSERT_EQ(sources.RunningLists(record).treatments.size(), 1u);
    EXPECT_EQ(sources.RunningLists(record).treatments[0].text, u"paracetamol");
}

}  // namespace
}  // namespace pondrel::test
