// Files received from the server on the device: the user's typing saved first, the replaced
// version kept in the backup folder, nothing replaced when a step fails.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Doubles.h"
#include "MemoryFileSystem.h"
#include "platform/Text.h"
#include "records/ActivePatients.h"
#include "records/ItemEncoding.h"
#include "records/LocationList.h"
#include "records/PatientRecord.h"
#include "records/PatientSet.h"
#include "records/WorkingFolders.h"
#include "sync/ActivePatientFiles.h"

namespace pondrel {
namespace {

constexpr std::u16string_view kFile = u"Doe_John_1950.pdr";
constexpr int kStatusField = 60;

class ActivePatientFilesTest : public ::testing::Test {
protected:
    ActivePatientFilesTest() {
        files.AddFolder(WorkingFolders::kActivePatients);
        files.AddFolder(WorkingFolders::kArchives);
        files.AddFolder(folders.Backup());
        PatientRecord& r = patients.Count() > 0 ? *patients.At(0) : patients.AddNew();
        const std::u16string values[] = {u"Doe", u"John", u"1", u"2", u"1950"};
        for (int i = 0; i < 5; ++i) {
            r.SetField(2 + i, values[i]);
            r.SetField(120 + i, values[i]);
        }
        r.SetField(kStatusField, u"as saved");
        r.inUse = 1;
        r.subfolderType = u"Hosp";
        r.location = u"Ward 7";
        active.SaveAll(QuietLevel::Silent);
    }
    // The record of the patient's file (received files close and open it again).
    PatientRecord& Record() {
        for (int i = 0; i < patients.Count(); ++i) {
            if (patients.At(i)->fileName == kFile) return *patients.At(i);
        }
        return *patients.At(0);
    }
    std::u16string ActiveText() {
        return DecodeItemText(*files.Bytes(WorkingFolders::ActiveFile(kFile)));
    }
    // The server's version: the same patient with another status.
    std::u16string ServerText(std::u16string_view status) {
        std::u16string text = ActiveText();
        size_t at = text.find(Record().Field(kStatusField));
        return text.replace(at, Record().Field(kStatusField).size(), status);
    }
    std::vector<std::u16string> Replaced() {
        std::vector<std::u16string> names;
        files.ListFiles(folders.Backup(), u"Doe_John_1950 (replaced *).pdr", names);
        return names;
    }

    test::MemoryFileSystem files;
    test::ScriptedMessages messages;
    test::ManualTimers timers;
    test::FixedClock clock;
    WorkingFolders folders;
    PatientSet patients{clock};
    LocationList locations;
    ActivePatients active{files, messages, timers, folders, patients, locations};
    ActivePatientFiles received{active, patients, locations, files, folders, clock};
};

TEST_F(ActivePatientFilesTest, TheUsersTypingIsSavedAndKeptBeforeTheServersVersionReplacesIt) {
    ASSERT_EQ(Record().fileName, kFile);
    std::u16string server = ServerText(u"from the server");
    Record().SetField(kStatusField, u"typed, not saved");
    ASSERT_EQ(received.StoreReceivedFile(kFile, server), ReceivedFile::Stored);

    ASSERT_EQ(Replaced().size(), 1u);
    EXPECT_EQ(Replaced()[0], u"Doe_John_1950 (replaced 2006-03-13 09.41.07).pdr");
    std::u16string kept = DecodeItemText(*files.Bytes(JoinPath(folders.Backup(), Replaced()[0])));
    EXPECT_NE(kept.find(u"typed, not saved"), std::u16string::npos);
    EXPECT_EQ(ActiveText(), server);
    EXPECT_EQ(Record().Field(kStatusField), u"from the server");

    // Only the last few replaced versions stay.
    for (int minute = 42; minute < 48; ++minute) {
        clock.now.minute = minute;
        ASSERT_EQ(received.StoreReceivedFile(kFile, ServerText(u"again")), ReceivedFile::Stored);
    }
    EXPECT_EQ(Replaced().size(), ActivePatientFiles::kKeptReplacedVersions);
    EXPECT_EQ(Replaced().back(), u"Doe_John_1950 (replaced 2006-03-13 09.47.07).pdr");
}

TEST_F(ActivePatientFilesTest, NothingIsReplacedWhenTheTypingOrTheFileCannotBeWritten) {
    std::u16string before = ActiveText();
    std::u16string server = ServerText(u"from the server");
    Record().SetField(kStatusField, u"typed, not saved");
    files.Fail(test::MemoryFileSystem::Op::Write, u"PD_ActivePatients");
    EXPECT_EQ(received.StoreReceivedFile(kFile, server), ReceivedFile::NotSaved);
    EXPECT_EQ(ActiveText(), before);
    EXPECT_EQ(Record().Field(kStatusField), u"typed, not saved");

    // A record another user holds has nothing of the user's to save: the write itself fails.
    Record().SetField(kStatusField, u"as saved");
    Record().lockState = u"R";
    EXPECT_EQ(received.StoreReceivedFile(kFile, server), ReceivedFile::NotWritten);
    EXPECT_EQ(ActiveText(), before);
    EXPECT_EQ(Record().fileName, kFile);

    // A name with a folder part never reaches the file system.
    files.ClearFailures();
    size_t count = files.FileCount();
    EXPECT_EQ(received.StoreReceivedFile(u"..\\Doe_John_1950.pdr", server),
              ReceivedFile::NotWritten);
    EXPECT_EQ(received.StoreReceivedFile(u"Sub\\Doe_John_1950.pdr", server),
              ReceivedFile::NotWritten);
    EXPECT_EQ(files.FileCount(), count);
}

TEST_F(ActivePatientFilesTest, TheFormCommitsBeforeAPatientBecomesReadOnlyAndShowsEachChange) {
    std::vector<std::string> calls;
    ActivePatientFiles hooked{active, patients, locations, files, folders, clock,
                              {[&] { calls.push_back("commit"); }, [&] { calls.push_back("release"); },
                               [&] { calls.push_back("refresh"); }}};
    patients.SetCurrent(patients.IndexOf(&Record()));

    hooked.SetAccess(kFile, u"R");
    EXPECT_EQ(Record().lockState, u"R");
    EXPECT_EQ(calls, (std::vector<std::string>{"commit", "refresh"}));

    calls.clear();
    hooked.SetAccess(kFile, u"R");  // no change: the form is left alone
    hooked.SetAccess(u"Other_Patient_1960.pdr", u"W");
    EXPECT_TRUE(calls.empty());

    hooked.SetAccess(kFile, u"W");
    EXPECT_EQ(Record().lockState, u"W");
    EXPECT_EQ(calls, (std::vector<std::string>{"refresh"}));
}

}  // namespace
}  // namespace pondrel
