#include <gtest/gtest.h>

#include <memory>

#include "Doubles.h"
#include "documents/HtmlText.h"
#include "documents/RecordSummarySources.h"
#include "journal/DayNavigator.h"
#include "journal/JournalWords.h"
#include "journal/ProblemPanelModel.h"
#include "journal/RecordEditing.h"
#include "labels/Labels.h"
#include "mainform/SummaryPages.h"

namespace pondrel::test {
namespace {

// The main form around the summary pages: a problem panel that opens the record asked for, the
// program's sources, a patient list of the records given.
class FormDouble final : public SummaryForm {
public:
    FormDouble()
        : clock(DateTime{2006, 3, 15, 10, 0, 0}),
          words(JournalWordsFrom(labels)),
          sources(words, AgeWords{}, DateOrder::DayMonthYear, clock),
          context{labels, words, DateOrder::DayMonthYear, sources},
          panel(messages, words),
          days(panel, clock, messages, words) {}

    const SummaryContext& Context() override { return context; }
    uint64_t SettingsStamp() override { return stamp; }
    std::optional<SummaryEditor> Editor(PatientRecord& record) override {
        if (&record != open) {
            editing = std::make_unique<RecordEditing>(record);
            days.OpenPatient(*editing);
            open = &record;
        }
        panel.CommitCurrentProblem();
        return SummaryEditor{panel, days};
    }
    void EditorMoved(const EditorRefresh&) override { ++moves; }
    std::vector<const PatientRecord*> PatientList() override { return patients; }
    FormArrangement Arrangement() override {
        FormArrangement a;
        a.fieldPage.fill(kNoFormPage);
        return a;
    }
    DayNumber Today() override { return 2265; }

    FixedClock clock;
    ScriptedMessages messages;
    Labels labels = Labels::Defaults();
    JournalWords words;
    RecordSummarySources sources;
    SummaryContext context;
    ProblemPanelModel panel;
    DayNavigator days;
    std::unique_ptr<RecordEditing> editing;
    PatientRecord* open = nullptr;
    std::vector<const PatientRecord*> patients;
    uint64_t stamp = 1;
    int moves = 0;
};

class SummaryPagesTest : public ::testing::Test {
protected:
    SummaryPagesTest() {
        record.inUse = 1;
        record.SetField(2, u"Doe");
        record.SetField(3, u"John");
        record.SetField(6, u"1950");
        record.subfolderType = u"Hosp";
        record.admission = {2006, 3, 13, 9, 0, 0};
        record.admissionDay = record.historyStartDay = 2263;
        record.problemJournal = u"§0|Pneumonia¦¦A¦§1|Diabetes¦¦A¦#2263§0|cough||||||";
        form.patients = {&record};
    }

    FormDouble form;
    SummaryPages pages{form};
    PatientRecord record;
    HtmlText html;
};

TEST_F(SummaryPagesTest, APageIsBuiltAgainOnlyWhenWhatItShowsChanged) {
    EXPECT_TRUE(pages.Show(SummaryKind::Day, &record, html));
    EXPECT_EQ(pages.Caption(SummaryKind::Day), u"D3 We 15 Mar 06");
    EXPECT_FALSE(pages.Show(SummaryKind::Day, &record, html));
    EXPECT_EQ(html.Clears(), 1);

    record.SetField(94, u"12");  // typed on another page
    EXPECT_TRUE(pages.Show(SummaryKind::Day, &record, html));
    form.stamp = 2;  // the labels or settings changed
    EXPECT_TRUE(pages.Show(SummaryKind::Day, &record, html));
    pages.MarkStale(SummaryKind::Day);
    EXPECT_TRUE(pages.Show(SummaryKind::Day, &record, html));
    EXPECT_FALSE(pages.Show(SummaryKind::Day, &record, html));

    // Each page has its own flag.
    HtmlText other;
    EXPECT_TRUE(pages.Show(SummaryKind::Evolution, &record, other));
    EXPECT_FALSE(pages.Show(SummaryKind::Day, &record, html));
}

TEST_F(SummaryPagesTest, TheDaySummaryBarMovesTheOpenPatientsDay) {
    pages.Show(SummaryKind::Day, &record, html);
    EXPECT_TRUE(pages.MoveDay(&record, SummaryPages::DayCommand::PreviousEntryDay));
    EXPECT_EQ(form.panel.CurrentDay(), 2263);
    EXPECT_FALSE(pages.IsCurrent(SummaryKind::Day));
    EXPECT_TRUE(pages.Show(SummaryKind::Day, &record, html));
    EXPECT_NE(html.Text().find(u"Anamnesia : </B>cough."), std::u16string::npos);
    // No earlier day with entries: nothing moves, nothing is built again.
    EXPECT_FALSE(pages.MoveDay(&record, SummaryPages::DayCommand::PreviousEntryDay));
    EXPECT_FALSE(pages.Show(SummaryKind::Day, &record, html));
    EXPECT_TRUE(pages.MoveDay(&record, SummaryPages::DayCommand::Now));
    EXPECT_EQ(form.panel.CurrentDay(), 2265);
    EXPECT_GE(form.moves, 2);
}

TEST_F(SummaryPagesTest, TheDayAndProblemListsMoveTheEditor) {
    SummaryPages::ListRows days = pages.DayRows(&record);
    ASSERT_EQ(days.rows.size(), 3u);  // 13 to 15 March
    EXPECT_EQ(days.selected, 2);
    EXPECT_TRUE(pages.ChooseDayRow(&record, 0));
    EXPECT_EQ(form.panel.CurrentDay(), 2263);
    EXPECT_FALSE(pages.ChooseDayRow(&record, 0));

    SummaryPages::ListRows problems = pages.ProblemRows(&record);
    ASSERT_EQ(problems.rows.size(), 2u);
    EXPECT_TRUE(pages.ChooseProblemRow(&record, 1));
    EXPECT_EQ(form.panel.CurrentProblem(), 1);
    EXPECT_FALSE(pages.ChooseProblemRow(&record, 5));
    PatientRecord empty;
    EXPECT_TRUE(pages.DayRows(&empty).rows.empty());
}

TEST_F(SummaryPagesTest, TheProblemArrowsStopAtTheFirstAndLastProblem) {
    pages.Show(SummaryKind::Problem, &record, html);
    EXPECT_FALSE(pages.PreviousProblem(&record));
    EXPECT_TRUE(pages.NextProblem(&record));
    EXPECT_EQ(form.panel.CurrentProblem(), 1);
    EXPECT_FALSE(pages.NextProblem(&record));  // problem 3 has no title
    EXPECT_TRUE(pages.Show(SummaryKind::Problem, &record, html));
    EXPECT_EQ(pages.Caption(SummaryKind::Problem), u"P2/2 - Diabetes");
}

TEST_F(SummaryPagesTest, TheAllPatientsDaysMoveTheSharedCurrentDay) {
    EXPECT_TRUE(pages.Show(SummaryKind::AllPatients, &record, html));
    EXPECT_FALSE(pages.MoveAllPatientsDay(&record, SummaryPages::AllPatientsMove::Today));
    HtmlText day;
    pages.Show(SummaryKind::Day, &record, day);
    EXPECT_TRUE(pages.MoveAllPatientsDay(&record, SummaryPages::AllPatientsMove::Previous));
    EXPECT_EQ(form.panel.CurrentDay(), 2264);
    EXPECT_FALSE(pages.IsCurrent(SummaryKind::Day));
    EXPECT_FALSE(pages.IsCurrent(SummaryKind::AllPatients));
    EXPECT_TRUE(pages.Show(SummaryKind::AllPatients, &record, html));
    EXPECT_EQ(pages.Caption(SummaryKind::AllPatients), u"D2 Tu 14 Mar 06");
    EXPECT_TRUE(pages.MoveAllPatientsDay(&record, SummaryPages::AllPatientsMove::Today));
    EXPECT_EQ(form.panel.CurrentDay(), 2265);

    // Without an open patient the page keeps a day of its own.
    EXPECT_TRUE(pages.MoveAllPatientsDay(nullptr, SummaryPages::AllPatientsMove::Next));
    EXPECT_EQ(pages.AllPatientsDay(nullptr), 2266);
}

TEST_F(SummaryPagesTest, WithoutAPatientThePagesAreEmptyAndTheTasksPageKeepsItsText) {
    PatientRecord empty;  // not begun
    EXPECT_TRUE(pages.Show(SummaryKind::Day, &empty, html));
    EXPECT_EQ(html.Text(), u"<HTML><BODY></BODY></HTML>");
    EXPECT_TRUE(pages.Show(SummaryKind::Exams, nullptr, html));
    EXPECT_EQ(html.Text(), u"<HTML><BODY></BODY></HTML>");

    record.SetField(98, u"ECG#0|N|");
    EXPECT_TRUE(pages.Show(SummaryKind::Tasks, &record, html));
    std::u16string tasks = html.Text();
    form.patients.clear();
    pages.Show(SummaryKind::Tasks, &record, html);
    EXPECT_EQ(html.Text(), tasks);
}

}  // namespace
}  // namespace pondrel::test
