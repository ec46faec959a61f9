// A save pass over the whole set: which records write which file (two records never write one
// file, a replaced record stops), the names a file system can not take, and records that are
// not written again while their file already holds their text.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "TempFolder.h"
#include "TestPlatform.h"
#include "platform/HostFileSystem.h"
#include "records/ActivePatients.h"
#include "records/ItemEncoding.h"
#include "records/LocationList.h"
#include "records/PatientFileParser.h"
#include "records/PatientFileWriter.h"
#include "records/PatientSet.h"
#include "records/WorkingFolders.h"

namespace pondrel::test {
namespace {

namespace fs = std::filesystem;

// The text of a saved file of a small patient; `tasks` (field 98) tells files apart.
std::u16string PatientText(const std::u16string& last, const std::u16string& first,
                           const std::u16string& year, const std::u16string& tasks) {
    PatientRecord r;
    r.inUse = 1;
    for (auto [n, v] : {std::pair{2, last}, {3, first}, {4, u"1"}, {5, u"2"}, {6, year}}) {
        r.SetField(n, v);
        r.SetField(n + 118, v);
    }
    r.SetField(98, tasks);
    r.subfolderType = u"Hosp";
    r.location = u"Ward 1";
    r.admission = DateTime{2006, 3, 13, 9, 41, 7};
    r.exit = r.admission;
    return ComposePatientText(r, SubfolderKeyOf(r));
}

// The active set over a device, every location shown.
struct Ward {
    explicit Ward(DeviceFileSystem& files)
        : active(files, messages, timers, folders, set, locations) {
        locations.Select(std::u16string(kAllActivatedFolders));
    }
    ScriptedMessages messages;
    ManualTimers timers;
    FixedClock clock;
    WorkingFolders folders;
    PatientSet set{clock};
    LocationList locations;
    ActivePatients active;

    PatientRecord* Find(std::u16string_view tasks) {
        for (int i = 0; i < set.Count(); ++i) {
            if (set.At(i)->Field(98) == tasks) return set.At(i);
        }
        return nullptr;
    }
    int BoxesWithCaption(std::u16string_view caption) const {
        int n = 0;
        for (const auto& box : messages.boxes) n += box.caption == caption;
        return n;
    }
};

void Rename(PatientRecord& r, const std::u16string& last) {
    r.SetField(2, last);
    r.SetField(120, last);
}

// --- Two records, one file --------------------------------------------------------------------

// A folder copied from a device that ignores case holds two files whose names differ only in
// case. Both load; neither may be written into the other's file.
TEST(SavePassTest, FilesDifferingOnlyInCaseAreNeverWrittenIntoEachOther) {
    const TempFolder temp("pondrel-save-pass");
    const fs::path active = temp / "My Documents" / "PD_ActivePatients";
    fs::create_directories(active);
    fs::create_directories(temp / "Program files" / "Pondrel" / "Backup");
    auto put = [&](const char* name, const std::u16string& tasks) {
        std::ofstream(active / name, std::ios::binary)
            << EncodeItemText(PatientText(u"Doe", u"John", u"1950", tasks));
    };
    put("doe_john_1950.pdr", u"first file");
    put("Doe_John_1950.pdr", u"second file");
    auto bytesOf = [&](const char* name) {
        std::string bytes;
        ReadHostFile(active / name, 1 << 20, bytes);
        return bytes;
    };
    const std::string lower = bytesOf("doe_john_1950.pdr");
    const std::string upper = bytesOf("Doe_John_1950.pdr");

    HostFileSystem files(temp.Path());
    Ward ward(files);
    ward.active.LoadActivePatients();
    ASSERT_EQ(ward.set.Count(), 2);
    PatientRecord* first = ward.Find(u"first file");
    ASSERT_NE(first, nullptr);
    first->SetField(98, u"typed into the first");

    EXPECT_FALSE(ward.active.SaveAll(QuietLevel::Messages));
    EXPECT_EQ(ward.active.LastOutcomes(),
              (std::vector<SaveOutcome>{SaveOutcome::SameFile, SaveOutcome::SameFile}));
    ASSERT_EQ(ward.BoxesWithCaption(u"Save failure"), 1);
    const std::u16string& text = ward.messages.boxes.back().text;
    EXPECT_NE(text.find(u"(doe_john_1950.pdr)"), std::u16string::npos) << ToUtf8(text);
    EXPECT_NE(text.find(u"(Doe_John_1950.pdr)"), std::u16string::npos) << ToUtf8(text);
    EXPECT_EQ(bytesOf("doe_john_1950.pdr"), lower);
    EXPECT_EQ(bytesOf("Doe_John_1950.pdr"), upper);
    // The doctor's typing is still in memory, and the program does not end without asking.
    EXPECT_EQ(first->Field(98), u"typed into the first");
    ward.messages.Queue(BoxAnswer::Ok);      // the "Save failure" naming them
    ward.messages.Queue(BoxAnswer::Cancel);  // "Exit without saving all?"
    EXPECT_FALSE(ward.active.SaveOnExit());

    // Once one of the files is gone, the other record writes into its own file, spelt as it is.
    fs::remove(active / "Doe_John_1950.pdr");
    ward.active.LoadActivePatients();
    ASSERT_EQ(ward.set.Count(), 1);
    ward.set.At(0)->SetField(98, u"typed again");
    EXPECT_TRUE(ward.active.SaveAll(QuietLevel::Automatic));
    EXPECT_EQ(ward.set.At(0)->fileName, u"doe_john_1950.pdr");
    EXPECT_FALSE(fs::exists(active / "Doe_John_1950.pdr"));
    EXPECT_NE(bytesOf("doe_john_1950.pdr"), lower);
}

class SavePassMemoryTest : public ::testing::Test {
protected:
    SavePassMemoryTest() {
        t.files.AddFolder(WorkingFolders::kActivePatients);
        t.files.AddFolder(ward.folders.Backup());
    }
    void Put(const std::u16string& last, const std::u16string& tasks) {
        t.files.AddFile(WorkingFolders::ActiveFile(last + u"_Ann_1941.pdr"),
                        EncodeItemText(PatientText(last, u"Ann", u"1941", tasks)));
    }
    std::u16string TasksIn(const std::u16string& name) const {
        auto bytes = t.files.Bytes(WorkingFolders::ActiveFile(name));
        if (!bytes) return u"<none>";
        PatientRecord r;
        const std::u16string text = DecodeItemText(*bytes);
        return ParsePatientText(text, r, false, nullptr) ? r.Field(98) : u"<damaged>";
    }

    TestPlatform t;
    Ward ward{t.files};
};

// The doctor renames a patient onto the name of another open patient and lets it replace the
// old file: the record that held that file must not write it back afterwards.
TEST_F(SavePassMemoryTest, RecordWhoseFileWasReplacedStopsWriting) {
    Put(u"Ames", u"renamed one");
    Put(u"Zed", u"old Zed");
    ward.active.LoadActivePatients();
    PatientRecord* renamed = ward.Find(u"renamed one");
    PatientRecord* holder = ward.Find(u"old Zed");
    ASSERT_TRUE(renamed && holder);
    Rename(*renamed, u"Zed");
    holder->SetField(98, u"old Zed, edited");
    ward.messages.Queue(BoxAnswer::Ok);  // "Save conflict": replace the old version
    EXPECT_TRUE(ward.active.SaveAll(QuietLevel::Messages));
    EXPECT_EQ(ward.BoxesWithCaption(u"Save conflict"), 1);
    EXPECT_EQ(TasksIn(u"Zed_Ann_1941.pdr"), u"renamed one");
    EXPECT_EQ(TasksIn(u"Ames_Ann_1941.pdr"), u"<none>");
    EXPECT_TRUE(holder->fileReplaced);
    EXPECT_TRUE(holder->fileName.empty());
    EXPECT_EQ(holder->lockState, u"R");  // nothing typed into it could be saved
    EXPECT_EQ(ward.active.LastOutcomes()[static_cast<size_t>(ward.set.IndexOf(holder))],
              SaveOutcome::Replaced);

    // Later passes leave the file to the record that replaced it.
    holder->SetField(98, u"old Zed, edited again");
    renamed->SetField(98, u"renamed one, edited");
    EXPECT_TRUE(ward.active.SaveAll(QuietLevel::Automatic));
    EXPECT_EQ(TasksIn(u"Zed_Ann_1941.pdr"), u"renamed one, edited");
    EXPECT_EQ(renamed->fileName, u"Zed_Ann_1941.pdr");
}

TEST_F(SavePassMemoryTest, TwoNewPatientsOfOneNameAreBothRefused) {
    for (const char16_t* tasks : {u"twin one", u"twin two"}) {
        PatientRecord& r = ward.set.AddNew();
        r.inUse = 1;
        for (auto [n, v] : {std::pair{2, u"Ames"}, {3, u"Ann"}, {4, u"3"}, {5, u"4"}, {6, u"1941"}}) {
            r.SetField(n, v);
            r.SetField(n + 118, v);
        }
        r.SetField(98, tasks);
    }
    EXPECT_FALSE(ward.active.SaveAll(QuietLevel::Messages));
    EXPECT_EQ(TasksIn(u"Ames_Ann_1941.pdr"), u"<none>");
    EXPECT_EQ(ward.active.LastOutcomes(),
              (std::vector<SaveOutcome>{SaveOutcome::SameFile, SaveOutcome::SameFile}));
    EXPECT_EQ(ward.BoxesWithCaption(u"Save conflict"), 0);
    // Quiet passes refuse them the same way, without a box.
    ward.messages.boxes.clear();
    EXPECT_FALSE(ward.active.SaveAll(QuietLevel::Automatic));
    EXPECT_TRUE(ward.messages.boxes.empty());
    EXPECT_EQ(TasksIn(u"Ames_Ann_1941.pdr"), u"<none>");
}

// Two patients renamed onto the file of a third: the holder keeps its file, both are refused.
TEST_F(SavePassMemoryTest, RecordsRenamedOntoAHeldFileAreRefused) {
    Put(u"Ames", u"one");
    Put(u"Bell", u"two");
    Put(u"Zed", u"holder");
    ward.active.LoadActivePatients();
    Rename(*ward.Find(u"one"), u"Zed");
    Rename(*ward.Find(u"two"), u"zed");
    ward.Find(u"holder")->SetField(98, u"holder, edited");
    EXPECT_FALSE(ward.active.SaveAll(QuietLevel::Automatic));
    EXPECT_EQ(TasksIn(u"Zed_Ann_1941.pdr"), u"holder, edited");
    EXPECT_EQ(TasksIn(u"Ames_Ann_1941.pdr"), u"one");
    EXPECT_EQ(TasksIn(u"Bell_Ann_1941.pdr"), u"two");
}

// --- Names a file system can not take -----------------------------------------------------------

TEST_F(SavePassMemoryTest, NameLongerThanAFileNameIsRefusedWithTheReason) {
    PatientRecord& r = ward.set.AddNew();
    r.inUse = 1;
    // 121 two-byte letters + "_John_1950.pdr": 256 bytes, one too many.
    const std::u16string last(121, u'\u00E9');
    for (auto [n, v] : {std::pair{2, last}, {3, std::u16string(u"John")}, {6, std::u16string(u"1950")}}) {
        r.SetField(n, v);
        r.SetField(n + 118, v);
    }
    EXPECT_FALSE(ward.active.SaveAll(QuietLevel::Messages));
    EXPECT_EQ(ward.active.LastOutcomes()[0], SaveOutcome::InvalidName);
    ASSERT_EQ(ward.BoxesWithCaption(u"Save failure"), 1);
    const std::u16string& text = ward.messages.boxes[0].text;
    EXPECT_NE(text.find(u"too long"), std::u16string::npos);
    EXPECT_NE(text.find(u"255 bytes"), std::u16string::npos);
    EXPECT_EQ(text.find(u"another application"), std::u16string::npos);
    EXPECT_EQ(t.files.FileCount(), 0u);

    // 120 of them make 254 bytes: saved.
    const std::u16string shorter(120, u'\u00E9');
    r.SetField(2, shorter);
    r.SetField(120, shorter);
    EXPECT_TRUE(ward.active.SaveAll(QuietLevel::Messages));
    EXPECT_TRUE(t.files.FileExists(WorkingFolders::ActiveFile(shorter + u"_John_1950.pdr")));
}

// --- Only what changed is written ---------------------------------------------------------------

TEST_F(SavePassMemoryTest, PassWritesOnlyRecordsWhoseTextChanged) {
    Put(u"Ames", u"a");
    Put(u"Bell", u"b");
    Put(u"Cole", u"c");
    ward.active.LoadActivePatients();
    const DateTime loaded{};  // as the files were put
    const DateTime later{2002, 2, 2};
    auto modified = [&](const std::u16string& last) {
        return t.files.ModificationTime(WorkingFolders::ActiveFile(last + u"_Ann_1941.pdr"));
    };

    t.files.now = later;
    EXPECT_TRUE(ward.active.SaveAll(QuietLevel::Automatic));
    EXPECT_EQ(ward.active.LastSavedCount(), 0);
    for (auto last : {u"Ames", u"Bell", u"Cole"}) EXPECT_EQ(modified(last), loaded) << ToUtf8(last);
    EXPECT_EQ(ward.active.LastOutcomes()[0], SaveOutcome::Unchanged);

    ward.Find(u"b")->SetField(98, u"b, edited");
    EXPECT_TRUE(ward.active.SaveAll(QuietLevel::Automatic));
    EXPECT_EQ(ward.active.LastSavedCount(), 1);
    EXPECT_EQ(modified(u"Ames"), loaded);
    EXPECT_EQ(modified(u"Bell"), later);
    // Written once, then left alone again.
    EXPECT_TRUE(ward.active.SaveAll(QuietLevel::Automatic));
    EXPECT_EQ(ward.active.LastSavedCount(), 0);

    // A file removed behind the program's back is written again.
    t.files.DeleteFile(WorkingFolders::ActiveFile(u"Cole_Ann_1941.pdr"));
    EXPECT_TRUE(ward.active.SaveAll(QuietLevel::Automatic));
    EXPECT_EQ(ward.active.LastSavedCount(), 1);
    EXPECT_EQ(TasksIn(u"Cole_Ann_1941.pdr"), u"c");

    // Backups: every copy once, then only the changed ones, and a lost copy again.
    const std::u16string copy = JoinPath(ward.folders.Backup(), u"Ames_Ann_1941.pdr");
    EXPECT_TRUE(ward.active.SaveAll(QuietLevel::Automatic, SaveMode::Backup));
    EXPECT_EQ(ward.active.LastSavedCount(), 3);
    EXPECT_TRUE(ward.active.SaveAll(QuietLevel::Automatic, SaveMode::Backup));
    EXPECT_EQ(ward.active.LastSavedCount(), 0);
    ward.Find(u"a")->SetField(98, u"a, edited");
    t.files.DeleteFile(JoinPath(ward.folders.Backup(), u"Cole_Ann_1941.pdr"));
    EXPECT_TRUE(ward.active.SaveAll(QuietLevel::Automatic, SaveMode::Backup));
    EXPECT_EQ(ward.active.LastSavedCount(), 2);
    auto bytes = t.files.Bytes(copy);
    ASSERT_TRUE(bytes);
    EXPECT_NE(DecodeItemText(*bytes).find(u"a, edited"), std::u16string::npos);

    // "Save all" of an unchanged set is still a success, not "Nothing was saved !".
    ward.messages.notices.clear();
    EXPECT_TRUE(ward.active.SaveAll(QuietLevel::Messages));
    ASSERT_FALSE(ward.messages.notices.empty());
    EXPECT_EQ(ward.messages.notices.back().text, u"Save successfull");
}

// After passes that found nothing to write, an edit of any part of the record is written by the
// next automatic pass.
TEST_F(SavePassMemoryTest, EveryKindOfEditIsWrittenAfterUnchangedPasses) {
    Put(u"Ames", u"a");
    ward.active.LoadActivePatients();
    PatientRecord& r = *ward.set.At(0);
    const std::vector<std::function<void()>> edits = {
        [&] { r.icon = 7; },
        [&] { r.checked = 1; },
        [&] { r.location = u"Cardio A"; },
        [&] { r.problemJournal = u"\u00A70|Pneumonia\u00A6\u00A6"; },
        [&] { r.SetDrawing(3, u"1,2,3"); },
        [&] { r.SetField(201, u"chart 2"); },
        [&] { r.SetField(130, u"Lyon"); },
        [&] { r.exit.minute = 59; },
        [&] { r.admission.second = 8; },
        [&] { r.exitDateSet = 1; },
        [&] { r.historyStartDay = 12; },
    };
    for (size_t i = 0; i < edits.size(); ++i) {
        EXPECT_TRUE(ward.active.SaveAll(QuietLevel::Automatic));
        EXPECT_EQ(ward.active.LastSavedCount(), 0) << "before edit " << i;
        edits[i]();
        EXPECT_TRUE(ward.active.SaveAll(QuietLevel::Automatic));
        EXPECT_EQ(ward.active.LastSavedCount(), 1) << "edit " << i;
        EXPECT_TRUE(ward.active.SaveAll(QuietLevel::Automatic, SaveMode::Backup));
        EXPECT_EQ(ward.active.LastSavedCount(), 1) << "backup after edit " << i;
    }
    PatientRecord back;
    auto bytes = t.files.Bytes(WorkingFolders::ActiveFile(u"Ames_Ann_1941.pdr"));
    ASSERT_TRUE(bytes);
    const std::u16string text = DecodeItemText(*bytes);
    ASSERT_TRUE(ParsePatientText(text, back, false, nullptr));
    EXPECT_EQ(back.icon, 7);
    EXPECT_EQ(back.location, u"Cardio A");
    EXPECT_EQ(back.Drawing(3), u"1,2,3");
    EXPECT_EQ(back.historyStartDay, 12);
}

}  // namespace
}  // namespace pondrel::test
