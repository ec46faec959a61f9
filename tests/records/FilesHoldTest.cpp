// Files held: automatic saves, backups and other writers wait while a dialogue edits files, and
// a dialogue's write is refused when the file changed after it was read.

#include "records/FilesHold.h"

#include <gtest/gtest.h>

#include <utility>

#include "TestPlatform.h"
#include "records/ActivePatients.h"
#include "records/LocationList.h"
#include "records/PatientSet.h"
#include "records/WorkingFolders.h"

namespace pondrel::test {
namespace {

class FilesHoldTest : public ::testing::Test {
protected:
    FilesHoldTest() {
        for (auto folder : {WorkingFolders::kActivePatients, WorkingFolders::kArchives}) {
            t.files.AddFolder(folder);
        }
        t.files.AddFolder(folders.Backup());
        t.files.AddFolder(u"\\My Documents");
        active.LoadActivePatients();
        // One patient with something to save.
        PatientRecord* record = set.Current();
        record->inUse = 1;
        for (auto [n, v] :
             {std::pair{2, u"Ames"}, {3, u"Ann"}, {4, u"1"}, {5, u"2"}, {6, u"1941"}}) {
            record->SetField(n, v);
        }
    }
    int NoticesWithText(std::u16string_view text) const {
        int n = 0;
        for (const auto& notice : t.messages.notices) n += notice.text == text;
        return n;
    }
    void Tick(TimerId id, int count) {
        for (int i = 0; i < count; ++i) ASSERT_TRUE(t.timers.Fire(id));
    }
    bool Backed() const {
        return t.files.Bytes(JoinPath(folders.Backup(), u"Ames_Ann_1941.pdr")).has_value();
    }

    TestPlatform t;
    WorkingFolders folders;
    PatientSet set{t.clock};
    LocationList locations;
    ActivePatients active{t.files, t.messages, t.timers, folders, set, locations};
};

TEST_F(FilesHoldTest, AutoSaveAndBackupWaitWhileHeldAndRunAfterRelease) {
    active.SetAutoSaveInterval(2);
    active.StartTimers();
    {
        FilesHold hold(active);
        EXPECT_TRUE(active.FilesHeld());
        Tick(TimerId::AutoSave, 3);
        EXPECT_EQ(NoticesWithText(u"Quick Save"), 0);
        Tick(TimerId::Backup, 1);  // the start-up backup falls while held
        EXPECT_FALSE(Backed());
    }
    EXPECT_FALSE(active.FilesHeld());
    // Released: the auto-save that waited runs at the next tick, the backup two minutes later.
    Tick(TimerId::AutoSave, 1);
    EXPECT_EQ(NoticesWithText(u"Quick Save"), 1);
    Tick(TimerId::Backup, 1);
    EXPECT_FALSE(Backed());
    Tick(TimerId::Backup, 1);
    EXPECT_TRUE(Backed());
}

TEST_F(FilesHoldTest, HoldsNestAndListenersRunOnceAtTheLastRelease) {
    int released = 0;
    std::vector<int> order;
    active.AddReleaseListener([&] {
        ++released;
        order.push_back(1);
    });
    active.AddReleaseListener([&] { order.push_back(2); });
    {
        FilesHold outer(active);
        {
            FilesHold inner(active);
            FilesHold moved(std::move(inner));  // the moved-from hold releases nothing
        }
        EXPECT_TRUE(active.FilesHeld());
        EXPECT_EQ(released, 0);
    }
    EXPECT_FALSE(active.FilesHeld());
    EXPECT_EQ(released, 1);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    active.ReleaseFiles();  // one release too many changes nothing
    EXPECT_EQ(released, 1);
}

TEST_F(FilesHoldTest, WriteIfUnchangedWritesOnlyOverWhatWasRead) {
    const std::u16string path = u"\\My Documents\\Cardio.wnd";
    t.files.AddFile(path, "first");
    FileAsRead read = ReadForEditing(t.files, path, 100);
    ASSERT_TRUE(read.bytes);
    EXPECT_EQ(*read.bytes, "first");
    EXPECT_EQ(WriteIfUnchanged(t.files, t.messages, read, "second"), CheckedWrite::Written);
    EXPECT_EQ(*t.files.Bytes(path), "second");
    EXPECT_TRUE(t.messages.boxes.empty());

    // Written by someone else since: refused, said, and the other text kept. A longer text
    // that starts with what was read is a change too.
    read = ReadForEditing(t.files, path, 100);
    t.files.AddFile(path, "second and more");
    EXPECT_EQ(WriteIfUnchanged(t.files, t.messages, read, "mine"), CheckedWrite::Changed);
    EXPECT_EQ(*t.files.Bytes(path), "second and more");
    ASSERT_EQ(t.messages.boxes.size(), 1u);
    EXPECT_EQ(t.messages.boxes[0].caption, u"File changed");

    // Deleted since, or created since it was found missing: refused as well.
    read = ReadForEditing(t.files, path, 100);
    t.files.DeleteFile(path);
    EXPECT_EQ(WriteIfUnchanged(t.files, t.messages, read, "mine"), CheckedWrite::Changed);
    EXPECT_FALSE(t.files.Bytes(path));
    read = ReadForEditing(t.files, path, 100);
    EXPECT_FALSE(read.bytes);
    EXPECT_TRUE(StillAsRead(t.files, read));
    t.files.AddFile(path, "theirs");
    EXPECT_EQ(WriteIfUnchanged(t.files, t.messages, read, "mine"), CheckedWrite::Changed);
    EXPECT_EQ(*t.files.Bytes(path), "theirs");
}

TEST_F(FilesHoldTest, ATooLongFileIsNeverWrittenOverAndAFailedWriteIsSaid) {
    const std::u16string path = u"\\My Documents\\Big.wnd";
    t.files.AddFile(path, std::string(11, 'x'));
    FileAsRead read = ReadForEditing(t.files, path, 10);
    EXPECT_FALSE(read.complete);
    EXPECT_EQ(WriteIfUnchanged(t.files, t.messages, read, "short"), CheckedWrite::Changed);
    EXPECT_EQ(*t.files.Bytes(path), std::string(11, 'x'));

    t.files.AddFile(path, "ten bytes!");
    read = ReadForEditing(t.files, path, 10);
    EXPECT_TRUE(read.complete);
    t.files.Fail(MemoryFileSystem::Op::Write, u"Big.wnd");
    EXPECT_EQ(WriteIfUnchanged(t.files, t.messages, read, "new"), CheckedWrite::Failed);
    EXPECT_EQ(*t.files.Bytes(path), "ten bytes!");
    EXPECT_EQ(t.messages.boxes.back().caption, u"File write failure");
}

}  // namespace
}  // namespace pondrel::test
