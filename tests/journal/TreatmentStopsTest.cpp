#include "journal/TreatmentStops.h"

#include <gtest/gtest.h>

#include "PlainRecord.h"
#include "TestPlatform.h"
#include "TreatmentJournal.h"
#include "journal/JournalWords.h"
#include "journal/ProblemPanelModel.h"
#include "journal/TreatmentTables.h"
#include "platform/Text.h"

namespace pondrel {
namespace {

using test::k12Mar06;
using test::k13Mar06;
using test::k14Mar06;
using test::k15Mar06;
using test::k16Mar06;

constexpr int kMedicine = static_cast<int>(Section::Medicine);
constexpr int kAttitude = static_cast<int>(Section::Attitude);
constexpr int kExaminations = static_cast<int>(Section::Examinations);

class TreatmentStopsTest : public ::testing::Test {
protected:
    void Open(const test::TreatmentJournal& journal, DayNumber day, int problem = 0) {
        record.journal = journal.Text();
        panel.Open(record, day);
        for (int p = 0; p < problem; ++p) panel.NextProblem();
        tables.MarkAllStale();
    }
    std::vector<std::u16string> RowTexts(StopButton button) {
        std::vector<std::u16string> texts;
        for (const auto& row : stops.Rows(button)) texts.push_back(row.text);
        return texts;
    }
    TreatmentStops::Result Stop(StopButton button, size_t row) {
        auto rows = stops.Rows(button);
        EXPECT_LT(row, rows.size());
        return stops.Choose(button, rows.at(row));
    }
    // Is the treatment running on `day` by the tables?
    bool RunsOn(std::u16string_view text, DayNumber day) {
        TreatmentDays days{today, today, day, k12Mar06};
        auto lists = BuildTreatmentLists(TreatmentKind::Treatments, {record.journal, days}, words);
        for (const auto& row : lists.currentDay) {
            if (row.text == text) return true;
        }
        return false;
    }

    test::TestPlatform platform;
    JournalWords words;
    test::PlainRecord record;
    ProblemPanelModel panel{platform.messages, words};
    DayNumber today = k16Mar06;
    TreatmentTables tables{words, [this] {
                               return TreatmentInputs{
                                   panel.Journal().Text(),
                                   TreatmentDays{today, today, panel.CurrentDay(), k12Mar06}};
                           }};
    TreatmentStops stops{panel, tables, platform.messages, words};
};

TEST_F(TreatmentStopsTest, StopTwoDaysAfterTheStart) {
    test::TreatmentJournal journal;
    journal.Medicine(k13Mar06, 0, u"-amoxicillin 1 g x3").Medicine(k15Mar06, 0, u"-paracetamol");
    Open(journal, k15Mar06);
    EXPECT_EQ(RowTexts(StopButton::Medicine),
              (std::vector<std::u16string>{u"amoxicillin 1 g x3   <D4 (Start  13.3.06)>",
                                           u"paracetamol   <D2 (Start  15.3.06)>"}));
    auto result = Stop(StopButton::Medicine, 0);
    EXPECT_TRUE(result.stopped);
    EXPECT_TRUE(result.refresh.treatmentTable);
    EXPECT_EQ(panel.SectionText(kMedicine), u"-paracetamol\r\n-amoxicillin 1 g x3 (Stop)");
    EXPECT_EQ(result.focus, Section::Medicine);
    EXPECT_EQ(result.caret, panel.SectionText(kMedicine).size());
    EXPECT_TRUE(platform.messages.boxes.empty());
    // Committed into the record: it ran on the 13th to the 15th, not on the 16th.
    EXPECT_TRUE(RunsOn(u"amoxicillin 1 g x3", k13Mar06));
    EXPECT_TRUE(RunsOn(u"amoxicillin 1 g x3", k15Mar06));
    EXPECT_FALSE(RunsOn(u"amoxicillin 1 g x3", k16Mar06));
    // The list shown again holds the rest.
    EXPECT_EQ(RowTexts(StopButton::Medicine),
              std::vector<std::u16string>{u"paracetamol   <D2 (Start  15.3.06)>"});
}

TEST_F(TreatmentStopsTest, AStopWrittenOnALaterDayIsNeitherOfferedNorWrittenAgain) {
    test::TreatmentJournal journal;
    journal.Medicine(k13Mar06, 0, u"-amoxicillin 1 g x3").Medicine(k14Mar06, 0, u"-paracetamol");
    today = k15Mar06;
    Open(journal, k16Mar06);  // the day after today: the drug still runs on the last day
    const std::vector<TreatmentStops::Row> rows = stops.Rows(StopButton::Medicine);
    ASSERT_EQ(rows.size(), 2u);
    ASSERT_TRUE(stops.Choose(StopButton::Medicine, rows[0]).stopped);
    const std::u16string written = panel.SectionText(kMedicine);
    EXPECT_TRUE(written.ends_with(u"amoxicillin 1 g x3 (Stop)")) << ToUtf8(written);
    // The list shown again no longer offers it...
    const std::vector<TreatmentStops::Row> again = stops.Rows(StopButton::Medicine);
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].name, u"paracetamol");
    // ...and a second tap on the row still on screen is refused with a notice.
    EXPECT_FALSE(stops.Choose(StopButton::Medicine, rows[0]).stopped);
    EXPECT_EQ(panel.SectionText(kMedicine), written);
    ASSERT_FALSE(platform.messages.notices.empty());
    EXPECT_EQ(platform.messages.notices.back().text, u"Already stopped on this day");
    EXPECT_TRUE(platform.messages.boxes.empty());
}

TEST_F(TreatmentStopsTest, StopBeforeTheStartIsRefused) {
    test::TreatmentJournal journal;
    journal.Medicine(k13Mar06, 0, u"amoxicillin 1 g x3").Attitude(k13Mar06, 0, u"chest X-ray");
    Open(journal, k12Mar06);
    const std::u16string before = record.journal;
    EXPECT_FALSE(Stop(StopButton::Medicine, 0).stopped);
    EXPECT_FALSE(Stop(StopButton::Attitude, 0).stopped);
    ASSERT_EQ(platform.messages.boxes.size(), 2u);
    EXPECT_EQ(platform.messages.boxes[0].text,
              u"You can not stop this drug before it starts\r\n\r\nYou must stop it only the "
              u"same day or several days after it starts !");
    EXPECT_EQ(platform.messages.boxes[0].caption, u"Stop before starting day");
    EXPECT_EQ(platform.messages.boxes[1].text,
              u"You can not stop this action before it starts\r\n\r\nYou must stop it only the "
              u"same day or several days after it starts !");
    EXPECT_EQ(record.journal, before);
    EXPECT_EQ(panel.SectionText(kMedicine), u"");
}

TEST_F(TreatmentStopsTest, SameDayStopMustBeInTheProblemOfTheStart) {
    test::TreatmentJournal journal;
    journal.Medicine(k16Mar06, 1, u"furosemide 40 mg").Attitude(k16Mar06, 1, u"echography");
    Open(journal, k16Mar06, 0);
    const std::u16string before = record.journal;
    EXPECT_FALSE(Stop(StopButton::Medicine, 0).stopped);
    EXPECT_FALSE(Stop(StopButton::Examinations, 0).stopped);
    ASSERT_EQ(platform.messages.boxes.size(), 2u);
    EXPECT_EQ(platform.messages.boxes[0].text,
              u"This drug starts this day but under another problem.\r\n\r\nYou must stop it in "
              u"the same problem box where it starts !");
    EXPECT_EQ(platform.messages.boxes[0].caption, u"Stop conflict");
    EXPECT_EQ(platform.messages.boxes[1].text,
              u"This action starts this day but under another problem.\r\n\r\nYou must stop it "
              u"in the same problem box where it starts !");
    EXPECT_EQ(record.journal, before);

    panel.NextProblem();  // problem 2, where it starts
    EXPECT_TRUE(Stop(StopButton::Medicine, 0).stopped);
    EXPECT_EQ(panel.SectionText(kMedicine), u"-furosemide 40 mg\r\n-furosemide 40 mg (Stop)");
    EXPECT_FALSE(RunsOn(u"furosemide 40 mg", k16Mar06 + 1));
}

TEST_F(TreatmentStopsTest, ExaminationsStopWritesAttitudeAndAResultLine) {
    test::TreatmentJournal journal;
    journal.Attitude(k13Mar06, 0, u"CT-Scan thorax")
        .Set(k15Mar06, 0, Section::Examinations, u"CRP 20\r\n");
    Open(journal, k15Mar06);
    auto result = Stop(StopButton::Examinations, 0);
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(panel.SectionText(kAttitude), u"CT-Scan thorax (Stop)");
    EXPECT_EQ(panel.SectionText(kExaminations), u"-CRP 20\r\n-CT-Scan thorax=");
    EXPECT_EQ(result.focus, Section::Examinations);
    EXPECT_EQ(result.caret, panel.SectionText(kExaminations).size());
    EXPECT_EQ(panel.Journal().GetSection(k15Mar06, 0, kAttitude), u"CT-Scan thorax (Stop)");
    EXPECT_TRUE(stops.Rows(StopButton::Attitude).empty());
    EXPECT_FALSE(stops.IsEnabled(StopButton::Examinations));
}

TEST_F(TreatmentStopsTest, ButtonsFollowTheRunningLists) {
    test::TreatmentJournal journal;
    journal.Medicine(k13Mar06, 0, u"aspirin");
    Open(journal, k16Mar06);
    EXPECT_TRUE(stops.IsEnabled(StopButton::Medicine));
    EXPECT_FALSE(stops.IsEnabled(StopButton::Attitude));
    EXPECT_FALSE(stops.IsEnabled(StopButton::Examinations));
    EXPECT_TRUE(stops.Rows(StopButton::Attitude).empty());
    // A typed action not yet committed is listed: opening the list commits.
    panel.EditSection(kAttitude, u"physiotherapy", ProblemPanelModel::EditCommit::Deferred);
    EXPECT_EQ(RowTexts(StopButton::Attitude),
              std::vector<std::u16string>{u"physiotherapy   <Start>"});
}

TEST_F(TreatmentStopsTest, RowsStayTiedToTheirTreatment) {
    // A drug text holding "   <" is stopped whole.
    test::TreatmentJournal journal;
    journal.Medicine(k13Mar06, 0, u"insulin   <10 U if glucose > 15>");
    Open(journal, k15Mar06);
    ASSERT_TRUE(Stop(StopButton::Medicine, 0).stopped);
    EXPECT_EQ(panel.SectionText(kMedicine), u"insulin   <10 U if glucose > 15> (Stop)");
    EXPECT_FALSE(RunsOn(u"insulin   <10 U if glucose > 15>", k16Mar06));
}

TEST_F(TreatmentStopsTest, StopGoesAtTheTrueEndOfALongSection) {
    // Twenty lines, then a drug started today: its stop must come after it, or the journal
    // would read a stop before the start.
    std::u16string section;
    for (int i = 0; i < 20; ++i) section += u"-note " + std::u16string(1, u'a' + i) + u"\r\n";
    test::TreatmentJournal journal;
    journal.Medicine(k15Mar06, 0, section + u"-heparin\r\n-line after");
    Open(journal, k15Mar06);
    ASSERT_EQ(RowTexts(StopButton::Medicine)[20], u"heparin   <D2 (Start  15.3.06)>");
    ASSERT_TRUE(Stop(StopButton::Medicine, 20).stopped);
    EXPECT_TRUE(
        panel.SectionText(kMedicine).ends_with(u"-heparin\r\n-line after\r\n-heparin (Stop)"));
    auto courses = TreatmentLines::Read(record.journal, TreatmentKind::Treatments, words);
    ASSERT_EQ(courses.size(), 22u);
    EXPECT_EQ(courses[20], (TreatmentCourse{u"heparin", k15Mar06, k15Mar06, false}));
}

TEST_F(TreatmentStopsTest, ReadOnlyRecordWritesNothing) {
    test::TreatmentJournal journal;
    journal.Medicine(k13Mar06, 0, u"aspirin");
    Open(journal, k15Mar06);
    record.lockState = u"R";
    const std::u16string before = record.journal;
    EXPECT_FALSE(Stop(StopButton::Medicine, 0).stopped);
    EXPECT_EQ(record.journal, before);
    ASSERT_EQ(platform.messages.notices.size(), 1u);
    EXPECT_EQ(platform.messages.notices[0].text, u"Read only");
}

}  // namespace
}  // namespace pondrel
