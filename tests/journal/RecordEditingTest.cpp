// The journal editor on a real PatientRecord: the panel and the day navigator edit the record
// through RecordEditing, the writer saves it and the reader brings it back.

#include "journal/RecordEditing.h"

#include <gtest/gtest.h>

#include "TestPlatform.h"
#include "journal/DayNavigator.h"
#include "journal/JournalWords.h"
#include "journal/ProblemJournal.h"
#include "journal/ProblemPanelModel.h"
#include "records/ItemEncoding.h"
#include "records/LocationList.h"
#include "records/PatientFileReader.h"
#include "records/PatientFileWriter.h"
#include "records/PatientSet.h"
#include "records/WorkingFolders.h"

namespace pondrel {
namespace {

constexpr DayNumber k13Mar06 = 2263;
constexpr int kStatus = static_cast<int>(Section::Status);
constexpr int kMedicine = static_cast<int>(Section::Medicine);
constexpr std::u16string_view kFile = u"Doe_John_1950.pdr";

class RecordEditingTest : public ::testing::Test {
protected:
    RecordEditingTest() {
        t.clock.now = {2006, 3, 15, 10, 0, 0};
        t.files.AddFolder(WorkingFolders::kActivePatients);
        t.files.AddFolder(folders.Backup());
        locations.Select(std::u16string(kAllActivatedFolders));
    }

    // Writes a patient file holding `journal` and reads it into the set, as the program
    // loads its patients; returns the loaded record.
    PatientRecord& LoadPatient(std::u16string journal, std::u16string lockState = u"W") {
        PatientRecord& r = set.AddNew();
        for (auto [n, v] : {std::pair{2, u"Doe"},
                            {3, u"John"},
                            {6, u"1950"},
                            {120, u"Doe"},
                            {121, u"John"},
                            {122, u"1"},
                            {123, u"2"},
                            {124, u"1950"}}) {
            r.SetField(n, v);
        }
        r.SetField(64, u"aspirin 100 mg");
        r.inUse = 1;
        r.subfolderType = u"Hosp";
        r.admission = DateTime{2006, 3, 13, 9, 41, 7};
        r.admissionDay = k13Mar06;
        // What opening gives an unset exit and an empty history period.
        r.exit = DateTime{2006, 3, 15, 12, 0, 0};
        r.historyStartDay = k13Mar06;
        r.problemJournal = std::move(journal);
        r.lockState = std::move(lockState);
        EXPECT_EQ(Save(r), SaveOutcome::Written);
        set.RemoveAll();
        EXPECT_TRUE(reader.ReadPatientFile(kFile));
        return *set.Current();
    }
    SaveOutcome Save(PatientRecord& r) {
        SaveState state;
        state.quiet = QuietLevel::Automatic;
        return writer.SavePatient(r, set.IndexOf(&r), SaveMode::Normal, state);
    }
    // The record as a fresh read of its file gives it.
    PatientRecord ReadBack() {
        PatientSet fresh{t.clock};
        PatientFileReader freshReader{t.files, t.messages, folders, fresh, locations};
        EXPECT_TRUE(freshReader.ReadPatientFile(kFile));
        return fresh.Current() ? *fresh.Current() : PatientRecord{};
    }
    std::string FileBytes() { return t.files.Bytes(WorkingFolders::ActiveFile(kFile)).value(); }

    test::TestPlatform t;
    WorkingFolders folders;
    PatientSet set{t.clock};
    LocationList locations;
    PatientFileWriter writer{t.files, t.messages, PatientFolders::Of(folders)};
    PatientFileReader reader{t.files, t.messages, folders, set, locations};
    JournalWords words;
    ProblemPanelModel panel{t.messages, words};
    DayNavigator days{panel, t.clock, t.messages, words};
};

TEST_F(RecordEditingTest, TypedSectionsReachTheFileAndComeBack) {
    const std::u16string before =
        u"§0|Pneumonia¦Heart failure¦A¦§1|Diabetes¦¦I¦"
        u"#2263§0|cough|crackles right|||||§1|||glucose 9|insulin|||";
    PatientRecord& record = LoadPatient(before);
    RecordEditing editing(record);
    days.OpenPatient(editing);
    ASSERT_EQ(panel.CurrentDay(), k13Mar06 + 2);  // opened on today
    EXPECT_EQ(panel.ProblemCount(), 2);

    // Day 14 March, problem 2 (number 1).
    days.ChooseCalendarDate(2006, 3, 14);
    panel.NextProblem();
    ASSERT_EQ(panel.CurrentProblem(), 1);
    EXPECT_TRUE(panel.EditSection(kStatus, u"thirsty\r\n-polyuria").accepted);
    EXPECT_TRUE(panel.EditSection(kMedicine, u"insulin 10 U").accepted);
    // Each edit is committed into the record at once.
    EXPECT_EQ(ProblemJournal(record.problemJournal).GetSection(k13Mar06 + 1, 1, kMedicine),
              u"insulin 10 U");

    days.NextDay();
    EXPECT_EQ(panel.SectionText(kStatus), u"");
    days.PreviousEntryDay();
    ASSERT_EQ(panel.CurrentDay(), k13Mar06 + 1);
    EXPECT_EQ(panel.SectionText(kStatus), u"thirsty\r\n-polyuria");
    EXPECT_EQ(panel.SectionText(kMedicine), u"insulin 10 U");
    days.ClosePatient();

    ASSERT_EQ(Save(record), SaveOutcome::Written);
    PatientRecord back = ReadBack();
    ProblemJournal journal(back.problemJournal);
    EXPECT_EQ(journal.GetEntry(k13Mar06 + 1, 1),
              (Sections{u"", u"thirsty\r\n-polyuria", u"", u"insulin 10 U", u"", u""}));
    // Everything else is as it was.
    EXPECT_EQ(journal.GetEntry(k13Mar06, 0),
              (Sections{u"cough", u"crackles right", u"", u"", u"", u""}));
    EXPECT_EQ(journal.GetEntry(k13Mar06, 1),
              (Sections{u"", u"", u"glucose 9", u"insulin", u"", u""}));
    EXPECT_EQ(journal.GetDifferentialDiagnosis(0), u"Heart failure");
    EXPECT_EQ(journal.GetProblemState(1), u"I");
    EXPECT_TRUE(journal.Reader().CheckStructure(nullptr));
    EXPECT_EQ(back.Field(64), u"aspirin 100 mg");
}

TEST_F(RecordEditingTest, AReadOnlyRecordRefusesEveryEdit) {
    const std::u16string journal = u"§0|Pneumonia¦¦A¦#2263§0|cough||||||";
    PatientRecord& record = LoadPatient(journal, u"R");
    ASSERT_EQ(record.lockState, u"R");
    const std::string bytes = FileBytes();
    RecordEditing editing(record);
    EXPECT_TRUE(editing.IsReadOnly());
    days.OpenPatient(editing);
    days.FirstDay();
    EXPECT_FALSE(panel.EditSection(kStatus, u"worse").accepted);
    EXPECT_FALSE(panel.EditTitle(u"Sepsis").accepted);
    EXPECT_EQ(panel.SectionText(kStatus), u"");  // the stored text is back on the screen
    EXPECT_EQ(panel.Title(), u"Pneumonia");
    ASSERT_FALSE(t.messages.notices.empty());
    EXPECT_EQ(t.messages.notices.back().text, u"Read only");
    days.ClosePatient();
    EXPECT_EQ(record.problemJournal, journal);
    ASSERT_EQ(Save(record), SaveOutcome::Written);
    EXPECT_EQ(FileBytes(), bytes);
}

TEST_F(RecordEditingTest, DateChangesAreStoredInTheRecord) {
    PatientRecord& record = LoadPatient(u"§0|Pneumonia¦¦A¦#2264§0|cough||||||");
    RecordEditing editing(record);
    days.OpenPatient(editing);
    ASSERT_TRUE(days.ChangeExitDate(DateTime{2006, 3, 14, 0, 0, 0}).accepted);
    EXPECT_EQ(record.exitDateSet, 1);
    EXPECT_EQ(record.exit.day, 14);
    // An ambulatory subfolder starts on its first consultation.
    days.SwitchSubfolderType();
    EXPECT_EQ(record.subfolderType, u"Ambu");
    EXPECT_EQ(record.admission, (DateTime{2006, 3, 14, 12, 0, 0}));
    EXPECT_EQ(record.admissionDay, k13Mar06 + 1);
    days.ChooseHistoryPeriod(u"All");
    EXPECT_EQ(record.historyPeriod, u"All");
    EXPECT_EQ(record.historyStartDay, k13Mar06 + 2 - 3650);
    // The editor reads the form fields of the record ("Usual drugs" heads the Medicine list).
    EXPECT_EQ(days.HistoryInput(DateOrder::DayMonthYear).usualDrugs, u"aspirin 100 mg");
    days.ClosePatient();

    ASSERT_EQ(Save(record), SaveOutcome::Written);
    PatientRecord back = ReadBack();
    EXPECT_EQ(back.subfolderType, u"Ambu");
    EXPECT_EQ(back.exitDateSet, 1);
    EXPECT_EQ(back.exit, record.exit);
    EXPECT_EQ(back.admission, (DateTime{2006, 3, 14, 12, 0, 0}));
    EXPECT_EQ(back.admissionDay, k13Mar06 + 1);
    EXPECT_EQ(back.historyStartDay, record.historyStartDay);
}

}  // namespace
}  // namespace pondrel
