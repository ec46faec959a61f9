#include "journal/ProblemPanelModel.h"

#include <gtest/gtest.h>

#include "PlainRecord.h"
#include "TestPlatform.h"
#include "journal/JournalWords.h"

namespace pondrel {
namespace {

using test::PlainRecord;

constexpr DayNumber k13Mar06 = 2263;

class ProblemPanelModelTest : public ::testing::Test {
protected:
    void Open(std::u16string journal, DayNumber day = k13Mar06) {
        record.journal = std::move(journal);
        panel.Open(record, day);
    }

    test::TestPlatform platform;
    JournalWords words;
    PlainRecord record;
    ProblemPanelModel panel{platform.messages, words};
};

TEST_F(ProblemPanelModelTest, EmptyJournal) {
    Open(u"");
    EXPECT_EQ(panel.ProblemCount(), 0);
    EXPECT_EQ(panel.Caption(), u"P1/0:  ");
    EXPECT_EQ(panel.UrgencyText(), u"-");
    EXPECT_EQ(panel.ProblemListRows(),
              std::vector<std::u16string>{u"---------------------- Aucun --------------------- "});
    auto edit = panel.EditSection(1, u"fever");
    EXPECT_TRUE(edit.accepted);
    EXPECT_EQ(record.journal, u"§0|Problem n°1¦¦A¦#2263§0||fever|||||");
    EXPECT_EQ(panel.Title(), u"Problem n°1");
    EXPECT_TRUE(edit.refresh.dayList);
    EXPECT_EQ(panel.ProblemCount(), 1);
    EXPECT_EQ(panel.EntryDays(), std::vector<DayNumber>{k13Mar06});
}

TEST_F(ProblemPanelModelTest, EditsAreCommittedAtOnceAndMarkTables) {
    Open(u"§0|Asthma¦¦A¦");
    auto medicine = panel.EditSection(static_cast<int>(Section::Medicine), u"salbutamol");
    EXPECT_TRUE(medicine.refresh.treatmentTable);
    EXPECT_FALSE(medicine.refresh.actionTable);
    EXPECT_TRUE(panel.EditSection(static_cast<int>(Section::Attitude), u"x").refresh.actionTable);
    EXPECT_EQ(record.journal, u"§0|Asthma¦¦A¦#2263§0||||salbutamol||x|");
    auto title = panel.EditTitle(u"Asthma (!)");
    EXPECT_TRUE(title.refresh.patientList);  // problem 1's title is in the patient list
    panel.EditDifferentialDiagnosis(u"COPD");
    panel.EditRedaction(u"since 1990");
    EXPECT_EQ(record.journal, u"§0|Asthma (!)¦COPD¦A¦since 1990#2263§0||||salbutamol||x|");
    // Emptying the last section removes the entry and the day.
    panel.EditSection(static_cast<int>(Section::Medicine), u"");
    auto last = panel.EditSection(static_cast<int>(Section::Attitude), u"");
    EXPECT_TRUE(last.refresh.dayList);
    EXPECT_EQ(record.journal, u"§0|Asthma (!)¦COPD¦A¦since 1990");
}

TEST_F(ProblemPanelModelTest, ReadOnlyRecordRefusesEdits) {
    Open(u"§0|Asthma¦¦A¦#2263§0|a||||||");
    record.lockState = u"R";
    int stores = record.journalStores;
    auto edit = panel.EditSection(0, u"changed");
    EXPECT_FALSE(edit.accepted);
    EXPECT_EQ(panel.SectionText(0), u"a");
    EXPECT_FALSE(panel.EditTitle(u"Other").accepted);
    EXPECT_EQ(panel.Title(), u"Asthma");
    EXPECT_EQ(record.journalStores, stores);
    ASSERT_EQ(platform.messages.notices.size(), 2u);
    EXPECT_EQ(platform.messages.notices[0].text, u"Read only");
    EXPECT_EQ(platform.messages.notices[0].milliseconds, 1000);
    EXPECT_TRUE(platform.messages.notices[0].warning);
}

// The page's gate replaces the model's own rule: it is asked before every change, and its
// answer alone decides (here a writable record refused, the notice the gate's own).
TEST_F(ProblemPanelModelTest, TheGateDecidesEveryChange) {
    EXPECT_FALSE(panel.MayChange());  // no record
    Open(u"§0|Asthma¦¦A¦#2263§0|a||||||");
    int asked = 0;
    panel.SetChangeGate([&] {
        ++asked;
        return false;
    });
    const std::u16string stored = record.journal;
    EXPECT_FALSE(panel.EditSection(0, u"changed").accepted);
    EXPECT_FALSE(panel.EditTitle(u"Other").accepted);
    EXPECT_FALSE(panel.EditRedaction(u"r").accepted);
    EXPECT_FALSE(panel.EditDifferentialDiagnosis(u"d").accepted);
    EXPECT_FALSE(panel.CycleUrgency().accepted);
    panel.ReplaceJournal(u"§0|Other¦¦A¦");
    EXPECT_EQ(asked, 6);
    EXPECT_EQ(record.journal, stored);
    EXPECT_EQ(panel.Title(), u"Asthma");
    EXPECT_TRUE(platform.messages.notices.empty());

    // A gate that lets a read-only record pass is the one that holds.
    record.lockState = u"R";
    panel.SetChangeGate([] { return true; });
    EXPECT_TRUE(panel.EditSection(0, u"changed").accepted);
}

TEST_F(ProblemPanelModelTest, NavigationStepsOnePastTheLastProblem) {
    Open(u"§0|A¦¦A¦§1|B¦¦I¦#2263§1|b||||||");
    EXPECT_EQ(panel.Caption(), u"P1/2: (Empty) ");
    panel.NextProblem();
    EXPECT_EQ(panel.CurrentProblem(), 1);
    EXPECT_EQ(panel.SectionText(0), u"b");
    EXPECT_EQ(panel.Caption(), u"P2/2: 13 Mar 06 - 13 Mar 06 (S)");
    panel.NextProblem();
    EXPECT_EQ(panel.CurrentProblem(), 2);
    EXPECT_EQ(panel.Title(), u"");
    panel.NextProblem();  // an empty slot is the end
    EXPECT_EQ(panel.CurrentProblem(), 2);
    EXPECT_FALSE(panel.CanSummaryNext());
    panel.PreviousProblem();
    panel.PreviousProblem();
    panel.PreviousProblem();
    EXPECT_EQ(panel.CurrentProblem(), 0);
    EXPECT_FALSE(panel.CanSummaryPrevious());
    EXPECT_TRUE(panel.CanSummaryNext());
}

TEST_F(ProblemPanelModelTest, NoMoreThanHundredProblems) {
    std::u16string head;
    for (int p = 0; p < 100; ++p) head += u"§" + ToText(p) + u"|T" + ToText(p) + u"¦¦A¦";
    Open(head);
    EXPECT_EQ(panel.ChooseProblem(99).caption, true);
    EXPECT_EQ(panel.CurrentProblem(), 99);
    panel.NextProblem();
    EXPECT_EQ(panel.CurrentProblem(), 99);
    ASSERT_EQ(platform.messages.notices.size(), 1u);
    EXPECT_EQ(platform.messages.notices[0].text, u"No more than 100 problems allowed");
    EXPECT_EQ(platform.messages.notices[0].milliseconds, 2000);
}

TEST_F(ProblemPanelModelTest, ProblemListRows) {
    Open(
        u"§0|Pneumonia¦¦A¦§1|Diabetes¦¦I¦§2|Gout¦¦C¦§3|Rash¦¦A¦"
        u"#2263§0|x||||||§1|y||||||#2264§1|z||||||§2|w||||||");
    EXPECT_EQ(panel.ProblemListRows(), (std::vector<std::u16string>{
                                           u"P1: Pneumonia   (Start 13 Mar 06)",
                                           u"P2: Diabetes   (S)(13 Mar 06 - 14 Mar 06)",
                                           u"P3: Gout   (C)(14 Mar 06 - 14 Mar 06)",
                                           u"P4: Rash   ((Empty))",
                                       }));
    EXPECT_EQ(panel.PreselectedRow(), 0);
    auto chosen = panel.ChooseProblem(2);
    EXPECT_TRUE(chosen.problemSummary);
    EXPECT_EQ(panel.Title(), u"Gout");
    EXPECT_EQ(panel.PreselectedRow(), 2);
    EXPECT_FALSE(panel.ChooseProblem(4).caption);  // no such row
}

TEST_F(ProblemPanelModelTest, UrgencyCycle) {
    Open(u"§0|Sepsis (!!!)¦¦A¦");
    EXPECT_EQ(panel.Urgency(), 2);
    EXPECT_EQ(panel.UrgencyText(), u"!!!");
    panel.CycleUrgency();
    EXPECT_EQ(panel.Title(), u"Sepsis");
    EXPECT_EQ(panel.Urgency(), 0);
    EXPECT_EQ(panel.UrgencyText(), u"-");
    EXPECT_EQ(record.journal, u"§0|Sepsis¦¦A¦");
    panel.CycleUrgency();
    EXPECT_EQ(panel.Title(), u"Sepsis (!)");
    panel.CycleUrgency();
    EXPECT_EQ(panel.Title(), u"Sepsis (!!!)");
    EXPECT_EQ(record.journal, u"§0|Sepsis (!!!)¦¦A¦");
    EXPECT_EQ(ProblemPanelModel::UrgencyOf(u"Sepsis (!)  "), 1);
    EXPECT_EQ(ProblemPanelModel::UrgencyOf(u"Sepsis !"), 0);
    // Shown again (not on opening), urgency 0 is a blank.
    panel.CycleUrgency();
    panel.NextProblem();
    panel.PreviousProblem();
    EXPECT_EQ(panel.UrgencyText(), u" ");
}

TEST_F(ProblemPanelModelTest, TitleOfTheMiddleProblemCannotBeCleared) {
    Open(u"§0|A¦¦A¦§1|B¦¦A¦§2|C¦¦A¦§3|D¦¦A¦");
    panel.ChooseProblem(2);
    panel.EditTitle(u"");
    EXPECT_EQ(panel.Journal().GetProblemTitle(2), u"Problem n°3");
    panel.ChooseProblem(3);
    panel.EditTitle(u"");
    EXPECT_EQ(panel.Journal().GetProblemTitle(3), u"D");
    EXPECT_EQ(panel.ProblemCount(), 4);
}

TEST_F(ProblemPanelModelTest, TextTypedIntoAnEmptySlotShowsTheTitleItCreated) {
    // A differential diagnosis typed after the last problem creates "Problem n°2": the title
    // field shows it, as when a section is typed there.
    Open(u"§0|Flu¦¦A¦");
    panel.NextProblem();
    ASSERT_EQ(panel.CurrentProblem(), 1);
    auto edit = panel.EditDifferentialDiagnosis(u"viral?");
    EXPECT_EQ(record.journal, u"§0|Flu¦¦A¦§1|Problem n°2¦viral?¦A¦");
    EXPECT_EQ(panel.Title(), u"Problem n°2");
    EXPECT_TRUE(edit.refresh.panel);
    EXPECT_EQ(panel.ProblemCount(), 2);
    // The same for a redaction, committed when the field is left.
    panel.NextProblem();
    panel.EditRedaction(u"to follow", ProblemPanelModel::EditCommit::Deferred);
    EXPECT_EQ(panel.Title(), u"");
    EditorRefresh refresh = panel.CommitCurrentProblem();
    EXPECT_EQ(panel.Title(), u"Problem n°3");
    EXPECT_TRUE(refresh.panel);
}

TEST_F(ProblemPanelModelTest, CommitsOnDamagedJournalsStayQuick) {
    // Runs of "#" or "§" near the file size limit: opening and every commit read the journal
    // once.
    for (const std::u16string& tail :
         {std::u16string(190000, u'#'), std::u16string(190000, u'§')}) {
        Open(u"§0|Flu¦¦A¦" + tail);
        EXPECT_EQ(panel.ProblemCount(), 1);
        for (int i = 0; i < 5; ++i) panel.EditSection(1, u"fever " + ToText(i));
        EXPECT_EQ(panel.EntryDays(), std::vector<DayNumber>{k13Mar06});
        EXPECT_EQ(JournalReader(record.journal).GetSection(k13Mar06, 0, 1), u"fever 4");
    }
}

TEST_F(ProblemPanelModelTest, PanesAndLayouts) {
    EXPECT_EQ(panel.Pane(), ProblemPanelModel::BottomPane::DifferentialDiagnosis);
    panel.ShowOtherPane();
    EXPECT_EQ(panel.Pane(), ProblemPanelModel::BottomPane::Other);
    using Layout = ProblemPanelModel::SectionLayout;
    panel.ToggleEnlargedLayout();
    EXPECT_EQ(panel.Layout(), Layout::AnamnesiaStatus);
    panel.ToggleEnlargedLayout();
    EXPECT_EQ(panel.Layout(), Layout::AttitudeExaminations);
    panel.ResetLayout();
    EXPECT_EQ(panel.Layout(), Layout::All);
    panel.ToggleEnlargedLayout();  // the one after the layout last used
    EXPECT_EQ(panel.Layout(), Layout::AnamnesiaStatus);
}

TEST_F(ProblemPanelModelTest, HostileTypingKeepsJournalSound) {
    Open(u"§0|A¦¦A¦§1|B¦¦A¦#2263§0|a||||||§1|b||||||");
    panel.EditSection(0, u"x#2264§1|y");
    panel.EditTitle(u"T¦#§|");
    EXPECT_EQ(panel.SectionText(0), u"x#2264§1|y");  // the screen keeps what was typed
    EXPECT_EQ(record.journal, u"§0|T¦¦A¦§1|B¦¦A¦#2263§0|x22641y||||||§1|b||||||");
    EXPECT_TRUE(ProblemJournal(record.journal).Reader().CheckStructure(nullptr));
}

TEST_F(ProblemPanelModelTest, CloseCommitsIntoTheRecord) {
    Open(u"");
    panel.EditTitle(u"Flu");
    PlainRecord other;
    auto stores = record.journalStores;
    panel.Close();
    EXPECT_EQ(record.journal, u"§0|Flu¦¦A¦");
    EXPECT_EQ(record.journalStores, stores);  // nothing new to store
    EXPECT_FALSE(panel.IsOpen());
    EXPECT_FALSE(panel.EditTitle(u"lost").accepted);
}

TEST_F(ProblemPanelModelTest, DeferredEditsWaitForTheNextCommit) {
    using Commit = ProblemPanelModel::EditCommit;
    Open(u"§0|Asthma¦¦A¦");
    int stores = record.journalStores;
    auto typed = panel.EditSection(static_cast<int>(Section::Medicine), u"salb", Commit::Deferred);
    EXPECT_TRUE(typed.accepted);
    typed = panel.EditSection(static_cast<int>(Section::Medicine), u"salbutamol", Commit::Deferred);
    panel.EditTitle(u"Asthma (!)", Commit::Deferred);
    // Nothing reached the journal or the record yet; the working copies show the typing.
    EXPECT_EQ(record.journal, u"§0|Asthma¦¦A¦");
    EXPECT_EQ(record.journalStores, stores);
    EXPECT_TRUE(panel.HasUncommittedEdits());
    EXPECT_EQ(panel.SectionText(static_cast<int>(Section::Medicine)), u"salbutamol");
    EXPECT_FALSE(typed.refresh.treatmentTable);
    // The commit writes both and reports what the typing changed.
    EditorRefresh refresh = panel.CommitCurrentProblem();
    EXPECT_EQ(record.journal, u"§0|Asthma (!)¦¦A¦#2263§0||||salbutamol|||");
    EXPECT_TRUE(refresh.treatmentTable);
    EXPECT_TRUE(refresh.patientList);
    EXPECT_TRUE(refresh.dayList);
    EXPECT_FALSE(panel.HasUncommittedEdits());
    EXPECT_FALSE(panel.CommitCurrentProblem().treatmentTable);  // reported once
}

TEST_F(ProblemPanelModelTest, DeferredEditsAreCommittedByNavigationAndClose) {
    using Commit = ProblemPanelModel::EditCommit;
    Open(u"§0|A¦¦A¦§1|B¦¦A¦");
    panel.EditSection(1, u"first", Commit::Deferred);
    panel.NextProblem();
    EXPECT_EQ(record.journal, u"§0|A¦¦A¦§1|B¦¦A¦#2263§0||first|||||");
    panel.EditSection(1, u"second", Commit::Deferred);
    panel.Close();
    EXPECT_EQ(record.journal, u"§0|A¦¦A¦§1|B¦¦A¦#2263§0||first|||||§1||second|||||");
}

TEST_F(ProblemPanelModelTest, DeferredEditOfAReadOnlyRecordIsRefusedAtOnce) {
    Open(u"§0|A¦¦A¦#2263§0||kept|||||");
    record.lockState = u"R";
    auto typed = panel.EditSection(1, u"keptx", ProblemPanelModel::EditCommit::Deferred);
    EXPECT_FALSE(typed.accepted);
    EXPECT_EQ(panel.SectionText(1), u"kept");
    ASSERT_EQ(platform.messages.notices.size(), 1u);
    EXPECT_EQ(platform.messages.notices[0].text, u"Read only");
    EXPECT_FALSE(panel.HasUncommittedEdits());
}

TEST_F(ProblemPanelModelTest, EnlargedLayoutToggleNamesItsNextLayout) {
    using Layout = ProblemPanelModel::SectionLayout;
    EXPECT_EQ(panel.NextEnlargedLayout(), Layout::AnamnesiaStatus);
    panel.ToggleEnlargedLayout();
    EXPECT_EQ(panel.Layout(), Layout::AnamnesiaStatus);
    EXPECT_EQ(panel.NextEnlargedLayout(), Layout::AttitudeExaminations);
    panel.ResetLayout();
    EXPECT_EQ(panel.NextEnlargedLayout(), Layout::AttitudeExaminations);
    panel.ToggleEnlargedLayout();
    EXPECT_EQ(panel.Layout(), Layout::AttitudeExaminations);
}

}  // namespace
}  // namespace pondrel
