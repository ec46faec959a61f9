#include "documents/PrintFolderClearing.h"

#include <gtest/gtest.h>

#include "TestPlatform.h"
#include "platform/Text.h"
#include "records/WorkingFolders.h"

namespace pondrel {
namespace {

using test::U8;

class PrintFolderClearingTest : public ::testing::Test {
protected:
    void AddPrintFiles(int count) {
        for (int i = 0; i < count; ++i) {
            t.files.AddFile(JoinPath(WorkingFolders::kPrintDoc, u"doc" + ToText(i) + u".rtf"), "x");
        }
    }
    size_t Left() const {
        size_t n = 0;
        for (const std::u16string& path : t.files.AllFiles()) {
            if (path.find(u"PD_PrintDoc") != std::u16string::npos) ++n;
        }
        return n;
    }
    test::TestPlatform t;
};

// Every plain file goes in one run (no limit of 100), and the box says how many.
TEST_F(PrintFolderClearingTest, DeletesEveryPlainFileAndSaysHowMany) {
    AddPrintFiles(150);
    t.files.AddFile(JoinPath(WorkingFolders::kPrintDoc, u"Old\\kept.rtf"), "sub-folder");
    t.files.AddFile(u"\\My Documents\\Letter.rtf", "outside");
    t.messages.Queue(BoxAnswer::Ok);
    const FolderClearing result = ClearPrintFolder(t.files, t.messages);
    EXPECT_EQ(result.deleted, 150);
    EXPECT_EQ(result.failed, 0);
    ASSERT_EQ(t.messages.boxes.size(), 2u);
    EXPECT_EQ(U8(t.messages.boxes[1].text), "Operation successful, 150 files have been deleted.");
    EXPECT_EQ(U8(t.messages.boxes[1].caption), "Operation successful");
    // The sub-folder and its file, and the files outside, stay.
    EXPECT_TRUE(t.files.Bytes(JoinPath(WorkingFolders::kPrintDoc, u"Old\\kept.rtf")));
    EXPECT_TRUE(t.files.Bytes(u"\\My Documents\\Letter.rtf"));
    EXPECT_EQ(Left(), 1u);
    // A second run finds nothing to delete.
    t.messages.Queue(BoxAnswer::Ok);
    ClearPrintFolder(t.files, t.messages);
    EXPECT_EQ(U8(t.messages.boxes.back().text), "The folder <PD_PrintDoc> is already empty.");
}

TEST_F(PrintFolderClearingTest, FailuresAreCountedAndNeverReportedAsSuccess) {
    AddPrintFiles(5);
    t.files.Fail(test::MemoryFileSystem::Op::Delete, u"doc3");
    t.messages.Queue(BoxAnswer::Ok);
    const FolderClearing result = ClearPrintFolder(t.files, t.messages);
    EXPECT_EQ(result.deleted, 4);
    EXPECT_EQ(result.failed, 1);
    EXPECT_EQ(U8(t.messages.boxes.back().text),
              "4 files have been deleted, 1 files could not be deleted.");
    EXPECT_EQ(t.messages.boxes.back().icon, BoxIcon::Warning);
    // A folder that cannot be read is not called empty.
    t.files.Fail(test::MemoryFileSystem::Op::List, u"PD_PrintDoc");
    t.messages.Queue(BoxAnswer::Ok);
    EXPECT_FALSE(ClearPrintFolder(t.files, t.messages).listed);
    EXPECT_EQ(t.messages.boxes.back().icon, BoxIcon::Error);
}

TEST_F(PrintFolderClearingTest, CancelDeletesNothing) {
    AddPrintFiles(3);
    t.messages.Queue(BoxAnswer::Cancel);
    const FolderClearing result = ClearPrintFolder(t.files, t.messages);
    EXPECT_EQ(result.deleted, 0);
    EXPECT_EQ(Left(), 3u);
    EXPECT_EQ(U8(t.messages.boxes.back().text), "Operation canceled.");
    EXPECT_EQ(U8(t.messages.boxes.back().caption), "Cancel");
}

}  // namespace
}  // namespace pondrel
