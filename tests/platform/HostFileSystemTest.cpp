#include "platform/HostFileSystem.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TempFolder.h"
#include "platform/Text.h"
#include "TestPlatform.h"

namespace pondrel {
namespace {

namespace fs = std::filesystem;

class HostFileSystemTest : public ::testing::Test {
protected:
    HostFileSystemTest() { fs::create_directories(root / "My Documents" / "PD_ActivePatients"); }

    test::TempFolder temp{"pondrel-fs"};
    const fs::path root = temp.Path();
};

TEST_F(HostFileSystemTest, NamesMatchIgnoringCaseWithEitherSeparator) {
    HostFileSystem files(root);
    ASSERT_TRUE(files.WriteFile(u"\\my documents\\pd_activepatients\\Doe_John_1950.pdr", "abc"));
    EXPECT_TRUE(fs::exists(root / "My Documents" / "PD_ActivePatients" / "Doe_John_1950.pdr"));
    EXPECT_TRUE(files.FileExists(u"/MY DOCUMENTS/PD_ACTIVEPATIENTS/doe_john_1950.PDR"));
    EXPECT_TRUE(files.FolderExists(u"\\My Documents"));
    EXPECT_FALSE(files.FileExists(u"\\My Documents"));
    std::string bytes;
    ASSERT_TRUE(
        files.ReadFile(u"\\My Documents\\PD_ActivePatients\\DOE_JOHN_1950.pdr", 100, bytes));
    EXPECT_EQ(bytes, "abc");
}

// A name differing only in Latin Extended-A case is the same file; a neighbouring letter of the
// alphabet (the next code) is another file.
TEST_F(HostFileSystemTest, ExtendedLettersMatchOnlyTheirOwnCase) {
    HostFileSystem files(root);
    ASSERT_TRUE(files.WriteFile(u"\\My Documents\\PD_ActivePatients\\\u0141uk_A_1950.pdr", "L"));
    EXPECT_TRUE(files.FileExists(u"\\My Documents\\PD_ActivePatients\\\u0142uk_A_1950.pdr"));
    EXPECT_FALSE(files.FileExists(u"\\My Documents\\PD_ActivePatients\\\u0143uk_A_1950.pdr"));
    ASSERT_TRUE(files.WriteFile(u"\\My Documents\\PD_ActivePatients\\\u0143uk_A_1950.pdr", "N"));
    std::string bytes;
    ASSERT_TRUE(files.ReadFile(u"\\My Documents\\PD_ActivePatients\\\u0141uk_A_1950.pdr", 10, bytes));
    EXPECT_EQ(bytes, "L");
}

TEST_F(HostFileSystemTest, FolderSyncedOnceForManyFiles) {
    HostFileSystem files(root);
    for (const char16_t* name : {u"A_A_1.pdr", u"B_B_2.pdr"}) {
        ASSERT_TRUE(files.WriteFileFolderUnsynced(
            JoinPath(u"\\My Documents\\PD_ActivePatients", name), "x"));
    }
    EXPECT_TRUE(files.SyncFolder(u"\\my documents\\pd_activepatients"));
    EXPECT_FALSE(files.SyncFolder(u"\\My Documents\\Nowhere"));
    std::vector<std::u16string> names;
    ASSERT_TRUE(files.ListFiles(u"\\My Documents\\PD_ActivePatients", u"*", names));
    EXPECT_EQ(names, (std::vector<std::u16string>{u"A_A_1.pdr", u"B_B_2.pdr"}));
    // 255 bytes of UTF-8 is the longest file name.
    EXPECT_TRUE(FitsFileNameLimit(std::u16string(127, u'\u00E9') + u"x"));
    EXPECT_FALSE(FitsFileNameLimit(std::u16string(128, u'\u00E9')));
}

TEST_F(HostFileSystemTest, DevicePathsNeverLeaveTheRoot) {
    HostFileSystem files(root / "My Documents");
    fs::path mapped = files.HostPath(u"\\..\\..\\etc\\passwd");
    EXPECT_EQ(mapped.string().rfind((root / "My Documents").string(), 0), 0u) << mapped;
    EXPECT_EQ(mapped.string().find(".."), std::string::npos);
}

// The path shown to the user is the whole host path, spelled as on the disk.
TEST_F(HostFileSystemTest, ShownPathIsTheWholeHostPath) {
    HostFileSystem files(root);
    const std::u16string shown = files.ShownPath(u"\\my documents\\PD_ActivePatients");
    EXPECT_EQ(shown, FromUtf8((fs::absolute(root) / "My Documents" / "PD_ActivePatients")
                                  .lexically_normal()
                                  .string()));
    EXPECT_EQ(shown.front(), u'/');
    // A relative root is shown from the file system's root.
    HostFileSystem relative(fs::path("device"));
    EXPECT_EQ(relative.ShownPath(u"\\x").front(), u'/');
}

TEST_F(HostFileSystemTest, ReadStopsAtTheLimit) {
    HostFileSystem files(root);
    ASSERT_TRUE(files.WriteFile(u"\\big.bin", std::string(10000, 'x')));
    std::string bytes;
    ASSERT_TRUE(files.ReadFile(u"\\big.bin", 4000, bytes));
    EXPECT_EQ(bytes.size(), 4000u);
    EXPECT_EQ(files.FileSize(u"\\big.bin"), 10000u);
    Error error;
    EXPECT_FALSE(files.ReadFile(u"\\missing.bin", 10, bytes, &error));
    EXPECT_EQ(error.kind, ErrorKind::NotFound);
}

TEST_F(HostFileSystemTest, WriteReplacesWholeAndLeavesNoTemporaryFile) {
    HostFileSystem files(root);
    ASSERT_TRUE(files.WriteFile(u"\\a.pdr", std::string(5000, 'o')));
    ASSERT_TRUE(files.WriteFile(u"\\A.PDR", "new"));
    std::string bytes;
    ASSERT_TRUE(files.ReadFile(u"\\a.pdr", 100000, bytes));
    EXPECT_EQ(bytes, "new");
    size_t count = 0;
    for (const auto& entry : fs::directory_iterator(root)) count += entry.is_regular_file();
    EXPECT_EQ(count, 1u);
    // Patient files and the preferences (with the server password) are for their owner only.
    EXPECT_EQ(fs::status(root / "a.pdr").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(HostFileSystemTest, NamesUpToTheHostLimitCanBeWrittenAgain) {
    // The host allows 255 bytes per name: a temporary name longer than that would make such a
    // file impossible to save.
    HostFileSystem files(root);
    std::string accented = "ccc";
    for (int i = 0; i < 124; ++i) accented += "\xC3\xA9";  // "é", two bytes each
    accented += ".pdr";
    for (const std::string& host :
         {std::string(251, 'a') + ".pdr", std::string(255, 'b'), accented}) {
        ASSERT_EQ(host.size(), 255u);
        const std::u16string device = u"\\" + FromUtf8(host);
        ASSERT_TRUE(files.WriteFile(device, "first")) << host.size();
        ASSERT_TRUE(files.WriteFile(device, "second")) << host.size();
        std::string bytes;
        ASSERT_TRUE(files.ReadFile(device, 100, bytes));
        EXPECT_EQ(bytes, "second");
    }
    size_t count = 0;
    for (const auto& entry : fs::directory_iterator(root)) count += entry.is_regular_file();
    EXPECT_EQ(count, 3u);  // no temporary file left
}

TEST_F(HostFileSystemTest, FailedWriteKeepsTheOldFile) {
    HostFileSystem files(root);
    ASSERT_TRUE(files.WriteFile(u"\\keep.pdr", "old"));
    // A folder standing where the temporary file would go makes the write fail.
    fs::create_directories(root / ".keep.pdr.tmp" / "x");
    Error error;
    EXPECT_FALSE(files.WriteFile(u"\\keep.pdr", "new", &error));
    std::string bytes;
    ASSERT_TRUE(files.ReadFile(u"\\keep.pdr", 100, bytes));
    EXPECT_EQ(bytes, "old");
    EXPECT_FALSE(files.WriteFile(u"\\no such folder\\x.pdr", "new"));
}

TEST_F(HostFileSystemTest, ListMoveDeleteAndFolders) {
    HostFileSystem files(root);
    for (auto name : {u"b.pdr", u"A.PDR", u"c.txt", u"d.pdr.tmp"}) {
        ASSERT_TRUE(files.WriteFile(JoinPath(u"\\My Documents\\PD_ActivePatients", name), "x"));
    }
    bool more = false;
    std::vector<std::u16string> names;
    ASSERT_TRUE(files.ListFiles(u"\\My Documents\\PD_ActivePatients", u"*.pdr", names, 10, &more));
    EXPECT_EQ(names, (std::vector<std::u16string>{u"A.PDR", u"b.pdr"}));
    EXPECT_FALSE(more);
    ASSERT_TRUE(files.ListFiles(u"\\My Documents\\PD_ActivePatients", u"*.pdr", names, 1, &more));
    EXPECT_EQ(names.size(), 1u);
    EXPECT_TRUE(more);

    ASSERT_TRUE(files.CreateFolder(u"\\My Documents\\PD_Archives"));
    EXPECT_TRUE(files.CreateFolder(u"\\My Documents\\PD_Archives"));  // already there
    EXPECT_FALSE(files.CreateFolder(u"\\x\\y\\z"));
    ASSERT_TRUE(files.MoveFile(u"\\My Documents\\PD_ActivePatients\\b.pdr",
                               u"\\My Documents\\PD_Archives\\b.pdr"));
    EXPECT_FALSE(files.FileExists(u"\\My Documents\\PD_ActivePatients\\b.pdr"));
    ASSERT_TRUE(files.CopyFile(u"\\My Documents\\PD_Archives\\b.pdr",
                               u"\\My Documents\\PD_ActivePatients\\b.pdr"));
    EXPECT_FALSE(files.MoveFile(u"\\My Documents\\PD_ActivePatients\\b.pdr",
                                u"\\My Documents\\PD_Archives\\B.pdr"));
    EXPECT_TRUE(files.DeleteFile(u"\\My Documents\\PD_Archives\\b.pdr"));
    EXPECT_FALSE(files.DeleteFile(u"\\My Documents\\PD_Archives\\b.pdr"));
    auto when = files.ModificationTime(u"\\My Documents\\PD_ActivePatients\\b.pdr");
    ASSERT_TRUE(when.has_value());
    EXPECT_GE(when->year, 2020);
}

TEST_F(HostFileSystemTest, FoldersThatCanNotBeMadeOrReadAreReported) {
    HostFileSystem files(root);
    // A file where the folder should be: not a folder, and it can not become one.
    ASSERT_TRUE(files.WriteFile(u"\\My Documents\\PD_Archives", "a file"));
    Error error;
    EXPECT_FALSE(files.CreateFolder(u"\\My Documents\\PD_Archives", &error));
    EXPECT_EQ(error.kind, ErrorKind::CannotOpen);
    EXPECT_NE(error.message.find("a file has that name"), std::string::npos) << error.message;
    // Listing it, or a folder that is not there, fails instead of giving no name.
    std::vector<std::u16string> names{u"left over"};
    EXPECT_FALSE(
        files.ListFiles(u"\\My Documents\\PD_Archives", u"*.pdr", names, 10, nullptr, &error));
    EXPECT_EQ(error.kind, ErrorKind::ReadFailed);
    EXPECT_TRUE(names.empty());
    EXPECT_FALSE(files.ListFiles(u"\\My Documents\\Nowhere", u"*.pdr", names, 10, nullptr, &error));
    EXPECT_EQ(error.kind, ErrorKind::NotFound);
    // An empty folder lists as empty, successfully.
    EXPECT_TRUE(files.ListFiles(u"\\My Documents\\PD_ActivePatients", u"*.pdr", names));
    EXPECT_TRUE(names.empty());
}

TEST(PatternTest, StarAndQuestionMarkIgnoreCase) {
    EXPECT_TRUE(MatchesPattern(u"Doe_John_1950.PDR", u"*.pdr"));
    EXPECT_FALSE(MatchesPattern(u"Doe.pdr.bak", u"*.pdr"));
    EXPECT_TRUE(MatchesPattern(u"a.wnd", u"?.WND"));
    EXPECT_FALSE(MatchesPattern(u"ab.wnd", u"?.wnd"));
    EXPECT_TRUE(MatchesPattern(u"", u"*"));
}

}  // namespace
}  // namespace pondrel
