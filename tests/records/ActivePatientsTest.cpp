// The active set: loading with its limits, saving with its notices, the timers driven tick by
// tick, and the commands that close or archive patients.

#include "records/ActivePatients.h"

#include <gtest/gtest.h>

#include <functional>

#include "TestPlatform.h"
#include "records/ItemEncoding.h"
#include "records/LocationList.h"
#include "records/PatientFileLoader.h"
#include "records/PatientFileWriter.h"
#include "records/PatientSet.h"
#include "records/WorkingFolders.h"

namespace pondrel::test {
namespace {

using Op = MemoryFileSystem::Op;

// The text of a saved file of a small patient.
std::u16string PatientText(const std::u16string& last, const std::u16string& first,
                           const std::u16string& year, const std::u16string& location) {
    PatientRecord r;
    r.inUse = 1;
    for (auto [n, v] : {std::pair{2, last},
                        {3, first},
                        {4, u"1"},
                        {5, u"2"},
                        {6, year},
                        {120, last},
                        {121, first},
                        {122, u"1"},
                        {123, u"2"},
                        {124, year}}) {
        r.SetField(n, v);
    }
    r.subfolderType = u"Hosp";
    r.location = location;
    r.admission = DateTime{2006, 3, 13, 9, 41, 7};
    r.exit = r.admission;
    return ComposePatientText(r, SubfolderKeyOf(r));
}

class ActivePatientsTest : public ::testing::Test {
protected:
    ActivePatientsTest() {
        for (auto folder : {WorkingFolders::kActivePatients, WorkingFolders::kArchives}) {
            t.files.AddFolder(folder);
        }
        t.files.AddFolder(folders.Backup());
        locations.SetNamesText(u"Ward 1|Cardio A|Cardio B|");
    }

    void PutPatient(const std::u16string& last, const std::u16string& first,
                    const std::u16string& year, const std::u16string& location = u"Ward 1") {
        t.files.AddFile(WorkingFolders::ActiveFile(last + u"_" + first + u"_" + year + u".pdr"),
                        EncodeItemText(PatientText(last, first, year, location)));
    }
    // `count` files named P0000_A_1950.pdr..., all of one small patient text.
    void PutManyFiles(int count, const std::u16string& location = u"Ward 1") {
        std::string bytes = EncodeItemText(PatientText(u"P", u"A", u"1950", location));
        for (int i = 0; i < count; ++i) {
            t.files.AddFile(WorkingFolders::ActiveFile(Format(u"P%d_A_1950.pdr", {10000 + i})),
                            bytes);
        }
    }
    std::u16string ActiveText(std::u16string_view name) const {
        auto bytes = t.files.Bytes(WorkingFolders::ActiveFile(name));
        return bytes ? DecodeItemText(*bytes) : u"<none>";
    }
    bool InArchive(std::u16string_view name) const {
        return t.files.Bytes(JoinPath(WorkingFolders::kArchives, name)).has_value();
    }
    bool InActive(std::u16string_view name) const {
        return t.files.Bytes(WorkingFolders::ActiveFile(name)).has_value();
    }
    std::u16string BackupPath(std::u16string_view name) const {
        return JoinPath(folders.Backup(), name);
    }
    int BoxesWithCaption(std::u16string_view caption) const {
        int n = 0;
        for (const auto& box : t.messages.boxes) n += box.caption == caption;
        return n;
    }
    int NoticesWithText(std::u16string_view text) const {
        int n = 0;
        for (const auto& notice : t.messages.notices) n += notice.text == text;
        return n;
    }
    PatientRecord* Find(std::u16string_view last) {
        for (int i = 0; i < set.Count(); ++i) {
            if (set.At(i)->Field(2) == last) return set.At(i);
        }
        return nullptr;
    }
    void Tick(TimerId id, int count) {
        for (int i = 0; i < count; ++i) ASSERT_TRUE(t.timers.Fire(id));
    }

    TestPlatform t;
    WorkingFolders folders;
    PatientSet set{t.clock};
    LocationList locations;
    int refreshes = 0;
    int preferenceSaves = 0;
    int releases = 0;
    ActivePatients active{
        t.files,
        t.messages,
        t.timers,
        folders,
        set,
        locations,
        ActivePatientsHooks{nullptr, [this] { ++refreshes; }, [this] { ++preferenceSaves; },
                            [this] { ++releases; }}};
};

// --- Loading -------------------------------------------------------------------------------

TEST_F(ActivePatientsTest, EmptyFolderLeavesOneEmptyRecord) {
    locations.CountPatient(u"Cardio A");
    active.LoadActivePatients();
    ASSERT_EQ(set.Count(), 1);
    EXPECT_EQ(set.At(0)->inUse, 0);
    EXPECT_EQ(locations.CounterOf(kCountAllActivated), 0);
    EXPECT_TRUE(t.messages.boxes.empty());
    EXPECT_EQ(refreshes, 1);
}

TEST_F(ActivePatientsTest, ThousandFilesLoadWithoutLimitMessage) {
    PutManyFiles(1000);
    active.LoadActivePatients();
    EXPECT_EQ(set.Count(), 1000);
    EXPECT_EQ(BoxesWithCaption(u"File load limitation"), 0);
    // Far above 70: the slow-down warning still comes, once.
    EXPECT_EQ(BoxesWithCaption(u"Active files: 1000"), 1);
}

TEST_F(ActivePatientsTest, ThousandAndOneFilesLoadTheFirstThousandWithMessage) {
    PutManyFiles(1001);
    active.LoadActivePatients();
    EXPECT_EQ(set.Count(), 1000);
    EXPECT_EQ(set.At(999)->fileName, u"P10999_A_1950.pdr");
    ASSERT_EQ(BoxesWithCaption(u"File load limitation"), 1);
    const auto& box = t.messages.boxes.front();
    EXPECT_EQ(box.icon, BoxIcon::Error);
    EXPECT_EQ(box.text.rfind(u"There is more than 1000 patients into the <<PD_ActivePatients>>", 0),
              0u);
    EXPECT_EQ(active.ListedFileCount(), 1000);
}

TEST_F(ActivePatientsTest, SeventyFilesGiveNoWarning) {
    PutManyFiles(70);
    active.LoadActivePatients();
    EXPECT_EQ(set.Count(), 70);
    EXPECT_TRUE(t.messages.boxes.empty());
}

TEST_F(ActivePatientsTest, SeventyOneFilesWarnEvenWhenTheFilterLoadsFew) {
    PutManyFiles(68, u"Cardio B");
    PutPatient(u"Ames", u"Ann", u"1941", u"Cardio A");
    PutPatient(u"Bell", u"Bob", u"1952", u"Cardio A");
    PutPatient(u"Cole", u"Cy", u"1963", u"Cardio A");
    locations.Select(u"Cardio A");
    active.LoadActivePatients();
    EXPECT_EQ(set.Count(), 3);
    EXPECT_EQ(locations.CounterOf(u"Cardio B"), 68);
    ASSERT_EQ(t.messages.boxes.size(), 1u);
    EXPECT_EQ(t.messages.boxes[0].caption, u"Active files: 71");
    EXPECT_NE(t.messages.boxes[0].text.find(u"\r\nYou already have 71 files.\r\n"),
              std::u16string::npos);
}

TEST_F(ActivePatientsTest, UnreadableFolderIsNeverTakenForAnEmptyWard) {
    PutPatient(u"Ames", u"Ann", u"1941");
    t.files.Fail(Op::List, WorkingFolders::kActivePatients);
    EXPECT_FALSE(active.LoadActivePatients());
    ASSERT_EQ(t.messages.boxes.size(), 1u);
    EXPECT_EQ(t.messages.boxes[0].caption, u"File load failure");
    EXPECT_EQ(t.messages.boxes[0].icon, BoxIcon::Error);
    EXPECT_NE(t.messages.boxes[0].text.find(u"<\\My Documents\\PD_ActivePatients> can not be read"),
              std::u16string::npos);
    // One empty record to type into; saving it writes nothing over the folder's files.
    ASSERT_EQ(set.Count(), 1);
    EXPECT_EQ(set.Current()->inUse, 0);
    EXPECT_EQ(refreshes, 1);
    const std::string before = *t.files.Bytes(WorkingFolders::ActiveFile(u"Ames_Ann_1941.pdr"));
    EXPECT_TRUE(active.SaveAll(QuietLevel::Automatic));
    EXPECT_EQ(*t.files.Bytes(WorkingFolders::ActiveFile(u"Ames_Ann_1941.pdr")), before);

    // "Open all" while the folder can not be read keeps the patients already open.
    t.files.ClearFailures();
    ASSERT_TRUE(active.LoadActivePatients());
    set.Current()->SetField(98, u"typed, not saved yet");
    t.files.Fail(Op::List, WorkingFolders::kActivePatients);
    EXPECT_FALSE(active.LoadActivePatients());
    ASSERT_EQ(set.Count(), 1);
    EXPECT_EQ(set.Current()->Field(98), u"typed, not saved yet");
}

TEST_F(ActivePatientsTest, MissingFolderIsReportedToo) {
    MemoryFileSystem bare;
    ActivePatients other(bare, t.messages, t.timers, folders, set, locations);
    EXPECT_FALSE(other.LoadActivePatients());
    EXPECT_EQ(BoxesWithCaption(u"File load failure"), 1);
    EXPECT_EQ(set.Count(), 1);
}

TEST_F(ActivePatientsTest, SelectsRememberedPatientThenRememberedPosition) {
    PutPatient(u"Ames", u"Ann", u"1941");
    PutPatient(u"Bell", u"Bob", u"1952");
    PutPatient(u"Cole", u"Cy", u"1963");
    active.SetRememberedPosition(2);
    active.LoadActivePatients();
    EXPECT_EQ(set.Current()->Field(2), u"Bell");

    active.RememberPatient(u"Cole|Cy");
    active.LoadActivePatients();
    EXPECT_EQ(set.Current()->Field(2), u"Cole");
    EXPECT_EQ(active.RememberedPosition(), 3);
    EXPECT_TRUE(active.RememberedPatient().empty());

    // A remembered patient who is not there falls back to the position; a position beyond
    // the set to the first record.
    active.RememberPatient(u"Gone|Gus");
    active.SetRememberedPosition(7);
    active.LoadActivePatients();
    EXPECT_EQ(set.CurrentIndex(), 0);
}

TEST_F(ActivePatientsTest, DamagedFirstFileLeavesNoEmptyRecordAmongPatients) {
    t.files.AddFile(WorkingFolders::ActiveFile(u"Aaa_Bad_1900.pdr"), EncodeItemText(u"junk"));
    PutPatient(u"Bell", u"Bob", u"1952");
    t.messages.Queue(BoxAnswer::Ok);  // damaged
    t.messages.Queue(BoxAnswer::No);  // do not delete
    t.messages.Queue(BoxAnswer::Ok);
    active.LoadActivePatients();
    ASSERT_EQ(set.Count(), 1);
    EXPECT_EQ(set.At(0)->Field(2), u"Bell");
    EXPECT_TRUE(InActive(u"Aaa_Bad_1900.pdr"));
}

// --- Saving --------------------------------------------------------------------------------

TEST_F(ActivePatientsTest, SaveAllNotices) {
    active.LoadActivePatients();  // one empty record: nothing to write
    EXPECT_TRUE(active.SaveAll(QuietLevel::Messages));
    ASSERT_EQ(t.messages.notices.size(), 1u);
    EXPECT_EQ(t.messages.notices[0].text, u"Nothing was saved !");
    EXPECT_EQ(t.messages.notices[0].milliseconds, 3000);
    EXPECT_TRUE(t.messages.notices[0].warning);

    PutPatient(u"Ames", u"Ann", u"1941");
    active.LoadActivePatients();
    t.messages.notices.clear();
    EXPECT_TRUE(active.SaveAll(QuietLevel::Messages));
    EXPECT_EQ(t.messages.notices.back().text, u"Save successfull");
    EXPECT_EQ(t.messages.notices.back().milliseconds, 2000);
    // Nothing changed: the automatic save writes nothing and says nothing.
    size_t quiet = t.messages.notices.size();
    EXPECT_TRUE(active.SaveAll(QuietLevel::Automatic));
    EXPECT_EQ(active.LastSavedCount(), 0);
    EXPECT_EQ(t.messages.notices.size(), quiet);
    set.At(0)->SetField(98, u"a task");
    EXPECT_TRUE(active.SaveAll(QuietLevel::Automatic));
    EXPECT_EQ(t.messages.notices.back().text, u"Quick Save");
    size_t before = t.messages.notices.size();
    EXPECT_TRUE(active.SaveAll(QuietLevel::Silent));
    EXPECT_TRUE(active.SaveAll(QuietLevel::Automatic, SaveMode::Backup));
    EXPECT_EQ(t.messages.notices.size(), before);
    EXPECT_TRUE(t.files.Bytes(BackupPath(u"Ames_Ann_1941.pdr")));

    // A record with a last name only cannot be saved.
    PatientRecord& half = set.AddNew();
    half.inUse = 1;
    half.SetField(2, u"Half");
    set.At(0)->SetField(98, u"another task");
    EXPECT_FALSE(active.SaveAll(QuietLevel::Automatic));
    // No Quick Save after an error: the failure is told instead.
    ASSERT_EQ(t.messages.notices.size(), before + 1);
    EXPECT_EQ(t.messages.notices.back().text,
              u"Automatic save failed !\r\n(a patient could not be saved)");
    set.At(0)->SetField(98, u"a third task");
    EXPECT_FALSE(active.SaveAll(QuietLevel::Messages));
    EXPECT_EQ(t.messages.notices.back().text, u"End Save  \r\n (there was an error)");
    EXPECT_EQ(t.messages.notices.back().milliseconds, 4000);
    EXPECT_EQ(active.LastSavedCount(), 1);
}

TEST_F(ActivePatientsTest, SaveThatCouldNotCreateTheFileEndsWithTheErrorNotice) {
    PutPatient(u"Ames", u"Ann", u"1941");
    active.LoadActivePatients();
    t.files.Fail(Op::Write, u"Ames_Ann");
    t.messages.notices.clear();
    set.At(0)->SetField(98, u"a task");
    EXPECT_FALSE(active.SaveAll(QuietLevel::Messages));
    EXPECT_EQ(active.LastSavedCount(), 0);
    EXPECT_EQ(BoxesWithCaption(u"Save failure. The file seems to be used by another application "
                               u"or is currently in a synchronization process. Try again later."),
              1);
    ASSERT_EQ(t.messages.notices.size(), 1u);
    EXPECT_EQ(t.messages.notices[0].text, u"End Save  \r\n (there was an error)");
    EXPECT_EQ(t.messages.notices[0].milliseconds, 4000);
    EXPECT_TRUE(t.messages.notices[0].warning);
}

TEST_F(ActivePatientsTest, BackupOfANewRecordNeverReplacesTheCopyOfAnotherPatient) {
    PutPatient(u"Ames", u"Ann", u"1941");
    active.LoadActivePatients();
    ASSERT_TRUE(active.SaveAll(QuietLevel::Automatic, SaveMode::Backup));
    const std::string amesCopy = *t.files.Bytes(BackupPath(u"Ames_Ann_1941.pdr"));
    // A second patient typed with the same name and birth year, never saved.
    PatientRecord& twin = set.AddNew();
    twin.inUse = 1;
    for (auto [n, v] : {std::pair{2, u"Ames"}, {3, u"Ann"}, {4, u"3"}, {5, u"4"}, {6, u"1941"}}) {
        twin.SetField(n, v);
        twin.SetField(n + 118, v);
    }
    twin.SetField(98, u"the twin's tasks");
    EXPECT_FALSE(active.SaveAll(QuietLevel::Automatic,
                                SaveMode::Backup));  // refused: a failure, not a success
    EXPECT_EQ(*t.files.Bytes(BackupPath(u"Ames_Ann_1941.pdr")), amesCopy);
    EXPECT_EQ(active.LastOutcomes()[1], SaveOutcome::Conflict);
    EXPECT_TRUE(twin.fileName.empty());
}

TEST_F(ActivePatientsTest, FailedAutomaticSavesAreToldWithoutABox) {
    PutPatient(u"Ames", u"Ann", u"1941");
    active.LoadActivePatients();
    active.SetAutoSaveInterval(1);
    active.StartTimers();
    t.files.Fail(Op::Write, u"Ames_Ann");
    set.At(0)->SetField(98, u"a task");
    for (int minute = 0; minute < 3; ++minute) Tick(TimerId::AutoSave, 1);
    EXPECT_EQ(NoticesWithText(u"Automatic save failed !\r\n(a patient could not be saved)"), 3);
    EXPECT_TRUE(t.messages.notices.back().warning);
    EXPECT_TRUE(active.LastSaveFailed());
    EXPECT_TRUE(t.messages.boxes.empty());
    Tick(TimerId::Backup, 1);
    EXPECT_EQ(NoticesWithText(u"Backup failed !\r\n(a patient could not be copied)"), 1);
    EXPECT_TRUE(t.messages.boxes.empty());
    // Once the file can be written again, saving says so.
    t.files.ClearFailures();
    Tick(TimerId::AutoSave, 1);
    EXPECT_EQ(t.messages.notices.back().text, u"Quick Save");
    EXPECT_FALSE(active.LastSaveFailed());
}

TEST_F(ActivePatientsTest, TooBigPatientWarnsOnceAmongAutomaticSaves) {
    PutPatient(u"Ames", u"Ann", u"1941");
    active.LoadActivePatients();
    set.Current()->SetField(58, std::u16string(196000, u'x'));  // written, with a warning
    active.SetAutoSaveInterval(1);
    active.StartTimers();
    Tick(TimerId::AutoSave, 3);
    EXPECT_EQ(BoxesWithCaption(u"Patient's file too big"), 1);
    // "Save all" always tells.
    active.SaveAll(QuietLevel::Messages);
    EXPECT_EQ(BoxesWithCaption(u"Patient's file too big"), 2);
}

// --- Timers --------------------------------------------------------------------------------

TEST_F(ActivePatientsTest, AutoSaveEveryTenMinutesFromStartUp) {
    PutPatient(u"Ames", u"Ann", u"1941");
    active.SetAutoSaveInterval(10);
    active.StartTimers();
    active.LoadActivePatients();
    EXPECT_EQ(t.timers.Interval(TimerId::AutoSave), 60000);
    for (int round = 1; round <= 3; ++round) {
        set.Current()->SetField(98, Format(u"round %d", {round}));
        Tick(TimerId::AutoSave, 9);
        EXPECT_EQ(NoticesWithText(u"Quick Save"), round - 1);
        Tick(TimerId::AutoSave, 1);
        EXPECT_EQ(NoticesWithText(u"Quick Save"), round);
        EXPECT_NE(ActiveText(u"Ames_Ann_1941.pdr").find(Format(u"round %d", {round})),
                  std::u16string::npos);
    }
}

TEST_F(ActivePatientsTest, AutoSaveTimerFollowsIntervalAndWindowActivation) {
    active.StartTimers();
    EXPECT_FALSE(t.timers.IsRunning(TimerId::AutoSave));  // interval 0
    EXPECT_TRUE(t.timers.IsRunning(TimerId::Backup));
    active.SetAutoSaveInterval(3);
    EXPECT_TRUE(t.timers.IsRunning(TimerId::AutoSave));
    active.OnWindowDeactivated();
    EXPECT_FALSE(t.timers.IsRunning(TimerId::AutoSave));
    active.SetAutoSaveInterval(5);  // settings closed while inactive: still waits
    EXPECT_FALSE(t.timers.IsRunning(TimerId::AutoSave));
    active.OnWindowActivated();
    EXPECT_TRUE(t.timers.IsRunning(TimerId::AutoSave));
    active.SetAutoSaveInterval(0);
    EXPECT_FALSE(t.timers.IsRunning(TimerId::AutoSave));
    active.OnWindowActivated();
    EXPECT_FALSE(t.timers.IsRunning(TimerId::AutoSave));
    active.SetAutoSaveInterval(-4);
    EXPECT_EQ(active.AutoSaveInterval(), 0);
}

TEST_F(ActivePatientsTest, AutoSaveDuringTransferIsSkippedForAWholeInterval) {
    PutPatient(u"Ames", u"Ann", u"1941");
    active.LoadActivePatients();
    set.At(0)->SetField(98, u"a task");
    active.SetAutoSaveInterval(5);
    active.SetPendingTransfers(1);
    Tick(TimerId::AutoSave, 5);
    EXPECT_EQ(NoticesWithText(u"Quick Save"), 0);
    active.SetPendingTransfers(0);
    Tick(TimerId::AutoSave, 4);
    EXPECT_EQ(NoticesWithText(u"Quick Save"), 0);
    Tick(TimerId::AutoSave, 1);
    EXPECT_EQ(NoticesWithText(u"Quick Save"), 1);
}

TEST_F(ActivePatientsTest, BackupAtStartUpEveryThirtyMinutesAndRetriedAfterTransfer) {
    PutPatient(u"Ames", u"Ann", u"1941");
    const std::u16string copy = BackupPath(u"Ames_Ann_1941.pdr");
    active.StartTimers();
    active.LoadActivePatients();
    Tick(TimerId::Backup, 1);  // the start-up tick
    ASSERT_TRUE(t.files.Bytes(copy));
    EXPECT_EQ(active.BackupTickCount(), 0);

    t.files.DeleteFile(copy);
    Tick(TimerId::Backup, 29);
    EXPECT_FALSE(t.files.Bytes(copy));
    Tick(TimerId::Backup, 1);
    ASSERT_TRUE(t.files.Bytes(copy));

    // Due while a file is being transferred: tried again two minutes later.
    t.files.DeleteFile(copy);
    active.SetPendingTransfers(2);
    Tick(TimerId::Backup, 30);
    EXPECT_FALSE(t.files.Bytes(copy));
    active.SetPendingTransfers(0);
    Tick(TimerId::Backup, 1);
    EXPECT_FALSE(t.files.Bytes(copy));
    Tick(TimerId::Backup, 1);
    EXPECT_TRUE(t.files.Bytes(copy));
    EXPECT_EQ(NoticesWithText(u"Quick Save"), 0);  // backups are quiet
}

TEST_F(ActivePatientsTest, BackupRecreatesAMissingBackupFolder) {
    PutPatient(u"Ames", u"Ann", u"1941");
    MemoryFileSystem fresh;
    fresh.AddFolder(folders.installation);
    fresh.AddFile(WorkingFolders::ActiveFile(u"Ames_Ann_1941.pdr"),
                  *t.files.Bytes(WorkingFolders::ActiveFile(u"Ames_Ann_1941.pdr")));
    ActivePatients other(fresh, t.messages, t.timers, folders, set, locations);
    other.StartTimers();
    other.LoadActivePatients();
    Tick(TimerId::Backup, 1);
    EXPECT_TRUE(fresh.Bytes(BackupPath(u"Ames_Ann_1941.pdr")));
}

// A message box that lets the timers tick while it waits, as a modal box does.
class TickingMessages final : public UserMessages {
public:
    BoxAnswer ShowBox(const std::u16string& text, const std::u16string& caption, BoxButtons,
                      BoxIcon) override {
        boxes.push_back(caption + u": " + text);
        if (whileShown) whileShown();
        return answer;
    }
    void ShowNotice(const std::u16string& text, int, bool) override { notices.push_back(text); }

    std::function<void()> whileShown;
    BoxAnswer answer = BoxAnswer::Cancel;
    std::vector<std::u16string> boxes;
    std::vector<std::u16string> notices;
};

TEST_F(ActivePatientsTest, TimerTicksDuringAQuestionWaitForTheCommand) {
    PutPatient(u"Ames", u"Ann", u"1941");
    TickingMessages messages;
    ActivePatients busy(t.files, messages, t.timers, folders, set, locations);
    busy.LoadActivePatients();
    set.At(0)->SetField(98, u"a task");
    busy.SetAutoSaveInterval(1);
    busy.StartTimers();
    const std::u16string copy = BackupPath(u"Ames_Ann_1941.pdr");
    messages.whileShown = [&] {
        t.timers.Fire(TimerId::AutoSave);
        t.timers.Fire(TimerId::Backup);
    };
    busy.OpenAll();  // cancelled
    EXPECT_TRUE(messages.notices.empty());
    EXPECT_FALSE(t.files.Bytes(copy));
    messages.whileShown = nullptr;
    t.timers.Fire(TimerId::AutoSave);  // the deferred auto-save comes at the next tick
    EXPECT_EQ(messages.notices, std::vector<std::u16string>{u"Quick Save"});
    Tick(TimerId::Backup, 2);
    EXPECT_TRUE(t.files.Bytes(copy));
}

// --- Open all, close all, exit -------------------------------------------------------------

TEST_F(ActivePatientsTest, OpenAllCancelledChangesNothing) {
    PutPatient(u"Ames", u"Ann", u"1941");
    active.LoadActivePatients();
    set.Current()->SetField(98, u"unsaved");
    t.messages.Queue(BoxAnswer::Cancel);
    active.OpenAll();
    EXPECT_EQ(set.Current()->Field(98), u"unsaved");
    EXPECT_EQ(ActiveText(u"Ames_Ann_1941.pdr").find(u"unsaved"), std::u16string::npos);
    ASSERT_EQ(t.messages.boxes.size(), 1u);
    EXPECT_EQ(t.messages.boxes[0].caption, u"Save all before");
    EXPECT_EQ(t.messages.boxes[0].buttons, BoxButtons::YesNoCancel);
    EXPECT_EQ(t.messages.boxes[0].icon, BoxIcon::Question);
}

// The form lets go of its records only when records are really destroyed: a question answered
// Cancel or No leaves the editors where they were.
TEST_F(ActivePatientsTest, FormLetsGoOfRecordsOnlyWhenTheyGo) {
    PutPatient(u"Ames", u"Ann", u"1941");
    PutPatient(u"Bell", u"Bob", u"1952");
    active.LoadActivePatients();
    const int afterLoad = releases;
    t.messages.Queue(BoxAnswer::Cancel);
    active.OpenAll();
    t.messages.Queue(BoxAnswer::No);
    EXPECT_FALSE(active.CloseOne());
    set.Current()->SetField(6, u"");
    EXPECT_FALSE(active.CloseOne());  // "No patient name"
    EXPECT_EQ(releases, afterLoad);

    set.Current()->SetField(6, u"1941");
    t.messages.Queue(BoxAnswer::No);
    active.OpenAll();
    EXPECT_EQ(releases, afterLoad + 1);

    // Closing one: released before the record is removed, while it is still in the set.
    int countAtRelease = -1;
    ActivePatientsHooks hooks;
    hooks.releaseForm = [&] {
        if (countAtRelease < 0) countAtRelease = set.Count();
    };
    ActivePatients closing(t.files, t.messages, t.timers, folders, set, locations, hooks);
    EXPECT_TRUE(closing.CloseOne());
    EXPECT_EQ(countAtRelease, 2);
}

TEST_F(ActivePatientsTest, OpenAllSavesThenReloadsButNotAfterAnError) {
    PutPatient(u"Ames", u"Ann", u"1941");
    active.LoadActivePatients();
    set.Current()->SetField(98, u"kept");
    PutPatient(u"Bell", u"Bob", u"1952");  // arrived from elsewhere
    active.OpenAll();                      // Yes
    EXPECT_EQ(set.Count(), 2);
    EXPECT_EQ(Find(u"Ames")->Field(98), u"kept");

    PatientRecord& half = set.AddNew();
    half.inUse = 1;
    half.SetField(2, u"Half");
    active.OpenAll();  // Yes, but a record cannot be saved: nothing is read again
    EXPECT_EQ(set.Count(), 3);
    EXPECT_TRUE(Find(u"Half"));
}

TEST_F(ActivePatientsTest, CloseAllWithSaveErrorAsksBeforeDiscarding) {
    PutPatient(u"Ames", u"Ann", u"1941");
    active.LoadActivePatients();
    PatientRecord& half = set.AddNew();
    half.inUse = 1;
    half.SetField(2, u"Half");

    t.messages.Queue(BoxAnswer::Yes);
    t.messages.Queue(BoxAnswer::Ok);  // Save failure box of the writer
    t.messages.Queue(BoxAnswer::Cancel);
    active.CloseAll();
    EXPECT_EQ(set.Count(), 2);
    EXPECT_EQ(BoxesWithCaption(u"Close without saving all?"), 1);

    t.messages.Queue(BoxAnswer::Yes);
    t.messages.Queue(BoxAnswer::Ok);
    t.messages.Queue(BoxAnswer::Ok);
    active.CloseAll();
    ASSERT_EQ(set.Count(), 1);
    EXPECT_EQ(set.At(0)->inUse, 0);
    EXPECT_TRUE(InActive(u"Ames_Ann_1941.pdr"));  // closing is not archiving
}

TEST_F(ActivePatientsTest, SaveOnExit) {
    PutPatient(u"Ames", u"Ann", u"1941");
    active.StartTimers();
    active.LoadActivePatients();
    PatientRecord& half = set.AddNew();
    half.inUse = 1;
    half.SetField(2, u"Half");
    t.messages.Queue(BoxAnswer::Ok);  // Save failure
    t.messages.Queue(BoxAnswer::Cancel);
    EXPECT_FALSE(active.SaveOnExit());
    EXPECT_EQ(preferenceSaves, 1);
    EXPECT_EQ(t.messages.boxes.back().caption, u"Exit without saving all?");
    EXPECT_EQ(t.messages.boxes.back().text.rfind(u"There was a patient save failure while exit", 0),
              0u);
    EXPECT_TRUE(t.timers.IsRunning(TimerId::Backup));

    t.messages.Queue(BoxAnswer::Ok);
    t.messages.Queue(BoxAnswer::Ok);
    EXPECT_TRUE(active.SaveOnExit(false));
    EXPECT_EQ(t.messages.boxes.back().text,
              u"There was a save failure while exit. Do you want to exit without saving all ?");
    EXPECT_FALSE(t.timers.IsRunning(TimerId::Backup));
}

// --- Close one -----------------------------------------------------------------------------

TEST_F(ActivePatientsTest, CloseOneWithoutBirthYearArchivesNothing) {
    PutPatient(u"Ames", u"Ann", u"1941");
    active.LoadActivePatients();
    set.Current()->SetField(6, u"");
    EXPECT_FALSE(active.CloseOne());
    ASSERT_EQ(t.messages.notices.size(), 1u);
    EXPECT_EQ(t.messages.notices[0].text, u"No patient name");
    EXPECT_EQ(t.messages.notices[0].milliseconds, 1000);
    EXPECT_TRUE(t.messages.notices[0].warning);
    EXPECT_TRUE(t.messages.boxes.empty());
    EXPECT_TRUE(InActive(u"Ames_Ann_1941.pdr"));
    EXPECT_EQ(set.Count(), 1);
}

TEST_F(ActivePatientsTest, CloseOneSavesArchivesAndReloads) {
    PutPatient(u"Ames", u"Ann", u"1941", u"Cardio A");
    PutPatient(u"Bell", u"Bob", u"1952", u"Cardio A");
    t.files.AddFile(BackupPath(u"Bell_Bob_1952.pdr"), "old");
    active.LoadActivePatients();
    set.SetCurrent(1);
    set.Current()->SetField(98, u"discharged");

    t.messages.Queue(BoxAnswer::No);
    EXPECT_FALSE(active.CloseOne());
    EXPECT_EQ(t.messages.boxes[0].text,
              u"Do you really want to save, close and archive Bell B 1952");
    EXPECT_EQ(t.messages.boxes[0].caption, u"Close patient : yes or no ?");
    EXPECT_EQ(t.messages.boxes[0].icon, BoxIcon::Information);
    EXPECT_TRUE(InActive(u"Bell_Bob_1952.pdr"));

    EXPECT_TRUE(active.CloseOne());
    EXPECT_FALSE(InActive(u"Bell_Bob_1952.pdr"));
    ASSERT_TRUE(InArchive(u"Bell_Bob_1952.pdr"));
    EXPECT_NE(
        DecodeItemText(*t.files.Bytes(JoinPath(WorkingFolders::kArchives, u"Bell_Bob_1952.pdr")))
            .find(u"discharged"),
        std::u16string::npos);
    EXPECT_FALSE(t.files.Bytes(BackupPath(u"Bell_Bob_1952.pdr")));
    EXPECT_EQ(t.messages.notices.back().text, u"The file has been saved, closed and archived");
    EXPECT_EQ(t.messages.notices.back().milliseconds, 5000);
    ASSERT_EQ(set.Count(), 1);
    EXPECT_EQ(set.At(0)->Field(2), u"Ames");
    EXPECT_EQ(locations.CounterOf(u"Cardio A"), 1);
}

TEST_F(ActivePatientsTest, CloseOneReplacesAnOlderArchiveOnlyWithTheNewFile) {
    PutPatient(u"Ames", u"Ann", u"1941");
    t.files.AddFile(JoinPath(WorkingFolders::kArchives, u"Ames_Ann_1941.pdr"), "older stay");
    active.LoadActivePatients();
    set.Current()->SetField(98, u"second stay");

    // The copy into the archive fails: the older archive and the active file both stay.
    t.files.Fail(Op::Write, u"PD_Archives");
    EXPECT_FALSE(active.CloseOne());
    EXPECT_EQ(*t.files.Bytes(JoinPath(WorkingFolders::kArchives, u"Ames_Ann_1941.pdr")),
              "older stay");
    EXPECT_NE(ActiveText(u"Ames_Ann_1941.pdr").find(u"second stay"), std::u16string::npos);
    EXPECT_EQ(set.Count(), 1);
    EXPECT_EQ(set.Current()->Field(98), u"second stay");
    EXPECT_EQ(t.messages.boxes.back().caption, u"Close patient");
    EXPECT_EQ(t.messages.boxes.back().icon, BoxIcon::Error);

    // Copied, but the active file cannot be removed: both copies stay, the patient stays open.
    t.files.ClearFailures();
    t.files.Fail(Op::Delete, u"PD_ActivePatients");
    EXPECT_FALSE(active.CloseOne());
    EXPECT_TRUE(InActive(u"Ames_Ann_1941.pdr"));
    EXPECT_NE(t.messages.boxes.back().text.find(u"could not be removed"), std::u16string::npos);
    EXPECT_EQ(set.At(0)->inUse, 1);

    t.files.ClearFailures();
    EXPECT_TRUE(active.CloseOne());
    EXPECT_FALSE(InActive(u"Ames_Ann_1941.pdr"));
    EXPECT_NE(
        DecodeItemText(*t.files.Bytes(JoinPath(WorkingFolders::kArchives, u"Ames_Ann_1941.pdr")))
            .find(u"second stay"),
        std::u16string::npos);
    EXPECT_EQ(set.Count(), 1);
    EXPECT_EQ(set.At(0)->inUse, 0);
}

TEST_F(ActivePatientsTest, CloseOneKeepsThePatientWhenTheArchiveCannotTakeIt) {
    PutPatient(u"Ames", u"Ann", u"1941", u"Cardio A");
    PutPatient(u"Bell", u"Bob", u"1952", u"Cardio A");
    t.files.AddFile(BackupPath(u"Bell_Bob_1952.pdr"), "copy");
    active.LoadActivePatients();
    set.SetCurrent(1);
    t.files.Fail(Op::Move, u"PD_Archives");
    EXPECT_FALSE(active.CloseOne());
    EXPECT_TRUE(InActive(u"Bell_Bob_1952.pdr"));
    EXPECT_FALSE(InArchive(u"Bell_Bob_1952.pdr"));
    EXPECT_TRUE(t.files.Bytes(BackupPath(u"Bell_Bob_1952.pdr")));
    EXPECT_EQ(set.Count(), 2);
    EXPECT_EQ(set.Current()->Field(2), u"Bell");
    EXPECT_EQ(locations.CounterOf(u"Cardio A"), 2);
    EXPECT_NE(t.messages.boxes.back().text.find(u"stays open"), std::u16string::npos);
}

TEST_F(ActivePatientsTest, CloseOneOfAPatientThatCannotBeSavedArchivesNothing) {
    PutPatient(u"Ames", u"Ann", u"1941");
    active.LoadActivePatients();
    set.Current()->SetField(98, u"latest");
    t.files.Fail(Op::Write, u"Ames_Ann");
    EXPECT_FALSE(active.CloseOne());
    EXPECT_TRUE(InActive(u"Ames_Ann_1941.pdr"));
    EXPECT_FALSE(InArchive(u"Ames_Ann_1941.pdr"));
    EXPECT_EQ(set.Current()->Field(98), u"latest");
    EXPECT_EQ(t.messages.boxes.back().caption, u"Close patient");
}

TEST_F(ActivePatientsTest, CloseOneAfterAnotherRecordFailedKeepsTheUnsavedRecords) {
    PutPatient(u"Ames", u"Ann", u"1941");
    PutPatient(u"Bell", u"Bob", u"1952");
    active.LoadActivePatients();
    set.At(0)->SetField(98, u"unsaved note");
    t.files.Fail(Op::Write, u"Ames_Ann");
    set.SetCurrent(1);
    EXPECT_TRUE(active.CloseOne());
    EXPECT_TRUE(InArchive(u"Bell_Bob_1952.pdr"));
    ASSERT_EQ(set.Count(), 1);
    EXPECT_EQ(set.At(0)->Field(98), u"unsaved note");  // not replaced by the file's older text
}

TEST_F(ActivePatientsTest, CloseOneOfARenamedPatientArchivesTheNewFile) {
    PutPatient(u"Ames", u"Ann", u"1941");
    active.LoadActivePatients();
    set.Current()->SetField(3, u"Anna");
    set.Current()->SetField(121, u"Anna");
    EXPECT_TRUE(active.CloseOne());
    EXPECT_FALSE(InActive(u"Ames_Ann_1941.pdr"));
    EXPECT_FALSE(InActive(u"Ames_Anna_1941.pdr"));
    ASSERT_TRUE(InArchive(u"Ames_Anna_1941.pdr"));
    PatientRecord archived;
    ASSERT_TRUE(LoadPatientFile(t.files, JoinPath(WorkingFolders::kArchives, u"Ames_Anna_1941.pdr"),
                                archived)
                    .Ok());
    EXPECT_EQ(archived.Field(121), u"Anna");
}

}  // namespace
}  // namespace pondrel::test
