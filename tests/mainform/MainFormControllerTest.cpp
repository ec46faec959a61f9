// The main-form controller with pages and a host that record what they are asked: page changes,
// commits before every save and move, records let go only when records really go, and the
// two ways of ending (asked and unattended).

#include "mainform/MainFormController.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TestPlatform.h"
#include "mainform/FormPage.h"
#include "mainform/MainFormHost.h"
#include "mainform/UnsavedAtEnd.h"
#include "records/ActivePatients.h"
#include "records/ItemEncoding.h"
#include "records/LocationList.h"
#include "records/PatientFileWriter.h"
#include "records/PatientSet.h"
#include "records/WorkingFolders.h"

namespace pondrel::test {
namespace {

using Calls = std::vector<std::string>;

class RecordingHost final : public MainFormHost {
public:
    explicit RecordingHost(Calls& calls) : m_calls(calls) {}
    void ScrollToPage(int page) override { m_calls.push_back("scroll " + std::to_string(page)); }
    void ShowPatientBox() override { m_calls.push_back("box"); }
    void PatientsChanged() override { m_calls.push_back("patients"); }
    void SavePreferences() override { m_calls.push_back("preferences"); }

private:
    Calls& m_calls;
};

// A page that keeps a typed value and writes it into field 98 of its record at each commit,
// as a real page keeps its working copies.
class TypingPage final : public FormPage {
public:
    TypingPage(std::string name, Calls& calls) : m_name(std::move(name)), m_calls(calls) {}
    void ShowRecord(PatientRecord* record) override {
        m_record = record;
        m_calls.push_back(m_name + " show");
    }
    void Commit() override {
        m_calls.push_back(m_name + " commit");
        if (m_record && !typed.empty()) m_record->SetField(98, typed);
    }
    void Release() override {
        m_calls.push_back(m_name + " release");
        m_record = nullptr;
    }
    PatientRecord* Record() const { return m_record; }

    std::u16string typed;

private:
    std::string m_name;
    Calls& m_calls;
    PatientRecord* m_record = nullptr;
};

class MainFormControllerTest : public ::testing::Test {
protected:
    MainFormControllerTest() {
        for (auto folder : {WorkingFolders::kActivePatients, WorkingFolders::kArchives}) {
            t.files.AddFolder(folder);
        }
        t.files.AddFolder(folders.Backup());
        locations.SetNamesText(u"Ward 1|");
        form.SetPage(20, &problems);
        form.SetPage(21, &summary);
    }

    void PutPatient(const std::u16string& last, const std::u16string& year) {
        PatientRecord r;
        r.inUse = 1;
        // The identity fields 120 to 124 and their copies 2 to 6.
        for (auto [n, v] : {std::pair{2, last}, {3, u"Ann"}, {4, u"1"}, {5, u"2"}, {6, year}}) {
            r.SetField(n, v);
            r.SetField(n + 118, v);
        }
        r.subfolderType = u"Hosp";
        r.location = u"Ward 1";
        r.admission = DateTime{2006, 3, 13, 9, 41, 7};
        r.exit = r.admission;
        t.files.AddFile(WorkingFolders::ActiveFile(last + u"_Ann_" + year + u".pdr"),
                        EncodeItemText(ComposePatientText(r, SubfolderKeyOf(r))));
    }
    std::u16string ActiveText(std::u16string_view name) const {
        auto bytes = t.files.Bytes(WorkingFolders::ActiveFile(name));
        return bytes ? DecodeItemText(*bytes) : u"<none>";
    }
    void Load() {
        form.LoadActivePatients(1);
        calls.clear();
    }

    TestPlatform t;
    WorkingFolders folders;
    PatientSet set{t.clock};
    LocationList locations;
    Calls calls;
    RecordingHost host{calls};
    TypingPage problems{"problems", calls};
    TypingPage summary{"summary", calls};
    MainFormController form{t.platform, folders, set, locations, host};
};

TEST_F(MainFormControllerTest, ShowingAPageLeavesTheOldOneFirst) {
    PutPatient(u"Ames", u"1941");
    Load();
    form.ShowPage(20);
    EXPECT_EQ(calls, (Calls{"scroll 20", "problems show"}));
    EXPECT_EQ(problems.Record(), set.Current());

    calls.clear();
    form.ShowPage(21);
    EXPECT_EQ(calls, (Calls{"problems commit", "scroll 21", "summary show"}));

    // The page shown again only commits before it shows the record again.
    calls.clear();
    form.ShowPage(21);
    EXPECT_EQ(calls, (Calls{"summary commit", "scroll 21", "summary show"}));

    calls.clear();
    form.ShowPage(39);
    form.ShowPage(-1);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(form.CurrentPage(), 21);

    // The page order's ends: nothing before page 0.
    form.ShowPage(0);
    EXPECT_FALSE(form.PreviousPage());
    EXPECT_TRUE(form.NextPage());
    EXPECT_NE(form.CurrentPage(), 0);
}

TEST_F(MainFormControllerTest, MovesCommitEveryPageBeforeTheRecordChanges) {
    PutPatient(u"Ames", u"1941");
    PutPatient(u"Bell", u"1952");
    Load();
    form.ShowPage(20);
    PatientRecord* first = set.Current();
    problems.typed = u"typed on the problems page";
    calls.clear();

    form.MoveRecord(RecordNavigation::Move::Next);
    EXPECT_EQ(first->Field(98), u"typed on the problems page");
    EXPECT_EQ(calls, (Calls{"problems commit", "summary commit", "box", "problems show"}));
    EXPECT_NE(problems.Record(), first);
    problems.typed.clear();

    // "Next" on the last record in use appends an empty one: the patient list follows.
    calls.clear();
    form.MoveRecord(RecordNavigation::Move::Next);
    EXPECT_EQ(set.Count(), 3);
    EXPECT_NE(std::find(calls.begin(), calls.end(), "patients"), calls.end());

    // "New patient" with the last record still empty adds none and shows page 0.
    calls.clear();
    form.NewPatient();
    EXPECT_EQ(set.Count(), 3);
    EXPECT_EQ(form.CurrentPage(), 0);
    EXPECT_EQ(t.messages.notices.back().text, u"New patient");
}

TEST_F(MainFormControllerTest, SaveAllWritesWhatThePagesHold) {
    PutPatient(u"Ames", u"1941");
    Load();
    form.ShowPage(20);
    problems.typed = u"morning round";
    form.SaveAll();
    EXPECT_NE(ActiveText(u"Ames_Ann_1941.pdr").find(u"morning round"), std::u16string::npos);
    EXPECT_EQ(t.messages.notices.back().text, u"Save successfull");
}

// "Open all" answered Cancel and "Close one" answered No change nothing: the pages keep the
// record they show, where they show it.
TEST_F(MainFormControllerTest, QuestionsAnsweredNoKeepThePagesOnTheirRecord) {
    PutPatient(u"Ames", u"1941");
    PutPatient(u"Bell", u"1952");
    Load();
    form.ShowPage(20);
    PatientRecord* shown = set.Current();
    calls.clear();

    t.messages.Queue(BoxAnswer::Cancel);
    form.OpenAll();
    t.messages.Queue(BoxAnswer::No);
    form.CloseOne();
    for (const std::string& call : calls) EXPECT_EQ(call.find("release"), std::string::npos);
    EXPECT_EQ(problems.Record(), shown);
    EXPECT_EQ(set.Count(), 2);

    // Answered Yes, the records go: released first, then the record read again is shown.
    calls.clear();
    form.CloseOne();
    EXPECT_EQ(set.Count(), 1);
    EXPECT_EQ(problems.Record(), set.Current());
    auto released = std::find(calls.begin(), calls.end(), "problems release");
    ASSERT_NE(released, calls.end());
    EXPECT_NE(std::find(released, calls.end(), "problems show"), calls.end());
}

TEST_F(MainFormControllerTest, NothingIsSavedBeforeThePatientsAreLoaded) {
    PatientRecord& early = set.AddNew();
    early.inUse = 1;
    early.SetField(2, u"Early");
    form.SaveAll();
    EXPECT_TRUE(form.SaveOnExit());
    EXPECT_EQ(calls, (Calls{"problems commit", "summary commit", "preferences"}));
    std::vector<std::u16string> names;
    EXPECT_TRUE(t.files.ListFiles(WorkingFolders::kActivePatients, u"*.pdr", names));
    EXPECT_TRUE(names.empty());
}

// Ending from outside: the same saves as Exit, no box nobody could answer, and the records that
// could not be written are named.
TEST_F(MainFormControllerTest, UnattendedSaveAsksNothing) {
    PutPatient(u"Ames", u"1941");
    Load();
    form.Active().StartTimers();
    form.ShowPage(20);
    problems.typed = u"typed before the signal";
    PatientRecord& half = set.AddNew();
    half.inUse = 1;
    half.SetField(2, u"Half");
    calls.clear();

    MainFormController::UnattendedSave exit = form.SaveUnattended();
    EXPECT_FALSE(exit.saved);
    ASSERT_EQ(exit.unsaved.size(), 1u);
    EXPECT_EQ(exit.unsaved[0], u"patient n\u00B02 Half  : incomplete name");
    EXPECT_TRUE(t.messages.boxes.empty());
    EXPECT_TRUE(t.messages.notices.empty());
    EXPECT_EQ(calls.front(), "problems commit");
    EXPECT_NE(std::find(calls.begin(), calls.end(), "preferences"), calls.end());
    EXPECT_NE(ActiveText(u"Ames_Ann_1941.pdr").find(u"typed before the signal"),
              std::u16string::npos);
    // The program may go on (the session's end may be cancelled): the timers keep running.
    EXPECT_TRUE(t.timers.IsRunning(TimerId::Backup));
}

// An end from outside that left a patient unsaved is told at the next start, once; an end that
// saved everything, or one the doctor answered, leaves nothing to tell.
TEST_F(MainFormControllerTest, TheNextStartNamesThePatientsAnEndFromOutsideLeftUnsaved) {
    const std::u16string note = folders.InstallationFile(UnsavedAtEnd::kFileName);
    PutPatient(u"Ames", u"1941");
    Load();
    PatientRecord& half = set.AddNew();
    half.inUse = 1;
    half.SetField(2, u"Half");
    t.clock.now = DateTime{2007, 1, 2, 8, 5, 0};
    EXPECT_FALSE(form.SaveUnattended().saved);
    EXPECT_TRUE(t.files.FileExists(note));
    EXPECT_TRUE(t.messages.boxes.empty());

    // The next start: another program on the same device.
    PatientSet nextSet{t.clock};
    TypingPage nextPage{"next", calls};
    MainFormController next{t.platform, folders, nextSet, locations, host};
    next.SetPage(20, &nextPage);
    next.LoadActivePatients(1);
    ASSERT_EQ(t.messages.boxes.size(), 1u);
    const auto& box = t.messages.boxes[0];
    EXPECT_EQ(box.caption, u"Changes not saved");
    EXPECT_EQ(box.icon, BoxIcon::Warning);
    EXPECT_EQ(box.text,
              u"When the program was ended from outside on 02/01/2007 08:05, the last changes of "
              u"these patients could not be saved:\r\npatient n\u00B02 Half  : incomplete "
              u"name\r\nCheck them and type these changes again.");
    EXPECT_FALSE(t.files.FileExists(note));
    next.LoadActivePatients(1);
    EXPECT_EQ(t.messages.boxes.size(), 1u);

    // A later end from outside that saved everything removes an older note.
    half.SetField(3, u"Ann");
    half.SetField(6, u"1950");
    ASSERT_TRUE(t.files.WriteFile(note, "01/01/2007 10:00\nold\n"));
    EXPECT_TRUE(form.SaveUnattended().saved);
    EXPECT_FALSE(t.files.FileExists(note));

    // So does an end the doctor answered.
    ASSERT_TRUE(t.files.WriteFile(note, "01/01/2007 10:00\nold\n"));
    EXPECT_TRUE(form.SaveOnExit());
    EXPECT_FALSE(t.files.FileExists(note));
}

}  // namespace
}  // namespace pondrel::test
