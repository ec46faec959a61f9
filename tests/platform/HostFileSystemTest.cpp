#include "platform/HostFileSystem.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TempFolder.h"
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

TEST_F(HostFileSystemTest, DevicePathsNeverLeaveTheRoot) {
    HostFileSystem files(root / "My Documents");
    fs::path mapped = files.HostPath(u"\\..\\..\\etc\\passwd");
    EXPECT_EQ(mapped.string().rfind((root / "My Documents").string(), 0), 0u) << mapped;
    EXPECT_EQ(mapped.string().find(".."), std::string::npos);
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
    auto names = files.ListFiles(u"\\My Documents\\PD_ActivePatients", u"*.pdr", 10, &more);
    EXPECT_EQ(names, (std::vector<std::u16string>{u"A.PDR", u"b.pdr"}));
    EXPECT_FALSE(more);
    names = files.ListFiles(u"\\My Documents\\PD_ActivePatients", u"*.pdr", 1, &more);
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

TEST(PatternTest, StarAndQuestionMarkIgnoreCase) {
    EXPECT_TRUE(MatchesPattern(u"Doe_John_1950.PDR", u"*.pdr"));
    EXPECT_FALSE(MatchesPattern(u"Doe.pdr.bak", u"*.pdr"));
    EXPECT_TRUE(MatchesPattern(u"a.wnd", u"?.WND"));
    EXPECT_FALSE(MatchesPattern(u"ab.wnd", u"?.wnd"));
    EXPECT_TRUE(MatchesPattern(u"", u"*"));
}

}  // namespace
}  // namespace pondrel
