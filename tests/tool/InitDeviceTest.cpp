#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "ToolTestSupport.h"
#include "platform/FileRegistry.h"
#include "platform/HostFileSystem.h"
#include "startup/InstallationFinder.h"

namespace pondrel {
namespace {

namespace fs = std::filesystem;
using test::Slurp;

class InitDeviceTest : public ::testing::Test {
protected:
    // Runs the tool with the arguments; returns its exit status and keeps its output.
    int Tool(const std::vector<std::string>& args) {
        test::ToolRun run = test::RunTool(args);
        out = run.out;
        err = run.err;
        return run.status;
    }

    test::TempFolder temp{"pondrel-init"};
    const fs::path root = temp.Path();
    const fs::path device = root / "device";
    std::string out;
    std::string err;
};

TEST_F(InitDeviceTest, MakesADeviceTheProgramStartsOn) {
    ASSERT_EQ(Tool({"init-device", device.string()}), 0) << err;
    fs::path installation = device / "Program files" / "Pondrel";
    for (const char* name :
         {"Labels.txt", "HelloBitmap.jpg", "Patients Icons.jpg", "Scroll list icons.jpg",
          "Initial position.wnd", "Default position.wnd"}) {
        EXPECT_EQ(Slurp(installation / name), Slurp(fs::path(PONDREL_RESOURCES_DIR) / name))
            << name;
    }
    EXPECT_FALSE(fs::exists(installation / "README.md"));
    EXPECT_FALSE(fs::exists(installation / "src"));
    EXPECT_TRUE(fs::is_directory(installation / "Backup"));
    for (const char* folder : {"PD_ActivePatients", "PD_Archives", "PD_PrintDoc"}) {
        EXPECT_TRUE(fs::is_directory(device / "My Documents" / folder)) << folder;
    }
    EXPECT_EQ(Slurp(device / "registry.txt"),
              "SOFTWARE\\Apps\\Omblane Pondrel\\InstallDir=\\Program files\\Pondrel\n");

    HostFileSystem files(device);
    FileRegistry registry(device / "registry.txt");
    EXPECT_EQ(InstallationFinder(files, registry).Find(), u"\\Program files\\Pondrel");
    // Found by its fixed place as well, without the registry value.
    fs::remove(device / "registry.txt");
    EXPECT_EQ(InstallationFinder(files, registry).Find(), u"\\Program files\\Pondrel");
}

TEST_F(InitDeviceTest, RefusesAFolderInUseAndForceReplacesNothing) {
    fs::path patient = device / "My Documents" / "PD_ActivePatients" / "Doe_John_1950.pdr";
    fs::create_directories(patient.parent_path());
    std::ofstream(patient) << "patient";
    fs::path labels = device / "Program files" / "Pondrel" / "Labels.txt";
    fs::create_directories(labels.parent_path());
    std::ofstream(labels) << "edited labels";

    EXPECT_EQ(Tool({"init-device", device.string()}), 1);
    EXPECT_NE(err.find("not empty"), std::string::npos);
    EXPECT_FALSE(fs::exists(labels.parent_path() / "HelloBitmap.jpg"));

    ASSERT_EQ(Tool({"init-device", "--force", device.string()}), 0) << err;
    EXPECT_EQ(Slurp(patient), "patient");
    EXPECT_EQ(Slurp(labels), "edited labels");
    EXPECT_TRUE(fs::exists(labels.parent_path() / "HelloBitmap.jpg"));
    EXPECT_NE(out.find("kept    \\Program files\\Pondrel\\Labels.txt"), std::string::npos);
}

TEST_F(InitDeviceTest, ResourcesFolderComesFromTheCommandLine) {
    fs::path resources = root / "factory";
    fs::create_directories(resources / "Models");
    std::ofstream(resources / "Labels.txt") << "labels";
    std::ofstream(resources / "Models" / "PrintModel.pdt") << "model";
    fs::create_directories(resources / "src");
    std::ofstream(resources / "src" / "labels-en.txt") << "source";
    std::ofstream(resources / "README.md") << "readme";
    ASSERT_EQ(Tool({"init-device", "--resources", resources.string(), device.string()}), 0) << err;
    EXPECT_EQ(Slurp(device / "Program files" / "Pondrel" / "Models" / "PrintModel.pdt"), "model");
    EXPECT_FALSE(fs::exists(device / "Program files" / "Pondrel" / "HelloBitmap.jpg"));
    EXPECT_FALSE(fs::exists(device / "Program files" / "Pondrel" / "src"));
    EXPECT_FALSE(fs::exists(device / "Program files" / "Pondrel" / "README.md"));

    fs::path empty = root / "empty";
    fs::create_directories(empty);
    EXPECT_EQ(Tool({"init-device", "--resources", empty.string(), (root / "other").string()}), 1);
    EXPECT_NE(err.find("holds no Labels.txt"), std::string::npos);
    EXPECT_FALSE(fs::exists(root / "other"));
}

TEST_F(InitDeviceTest, WrongUsageAndAFileInTheWay) {
    EXPECT_EQ(Tool({"init-device"}), 2);
    EXPECT_EQ(Tool({"init-device", "--bogus", device.string()}), 2);
    EXPECT_EQ(Tool({"init-device", "--resources"}), 2);
    std::ofstream(root / "file") << "x";
    EXPECT_EQ(Tool({"init-device", (root / "file").string()}), 1);
    EXPECT_EQ(Slurp(root / "file"), "x");
}

// The wallpaper comes with a new device, is added to an older one, and a department's own is kept.
TEST(InitDeviceWallpaperTest, WallpaperIsCopiedWhereAbsentAndNeverReplaced) {
    test::TempFolder temp{"pondrel-wallpaper-device"};
    const fs::path fresh = temp.Path() / "new";
    ASSERT_EQ(test::RunTool({"init-device", fresh.string()}).status, 0);
    const std::string ours = Slurp(fs::path(PONDREL_RESOURCES_DIR) / "PDBackground.jpg");
    ASSERT_GT(ours.size(), 1000u);
    EXPECT_EQ(Slurp(fresh / "Program files" / "Pondrel" / "PDBackground.jpg"), ours);

    const fs::path older = temp.Path() / "older" / "Program files" / "Pondrel";
    fs::create_directories(older);
    ASSERT_EQ(test::RunTool({"init-device", "--force", (temp.Path() / "older").string()}).status,
              0);
    EXPECT_EQ(Slurp(older / "PDBackground.jpg"), ours);
    test::Put(older / "PDBackground.jpg", "the department's own wallpaper");
    ASSERT_EQ(test::RunTool({"init-device", "--force", (temp.Path() / "older").string()}).status,
              0);
    EXPECT_EQ(Slurp(older / "PDBackground.jpg"), "the department's own wallpaper");
}

}  // namespace
}  // namespace pondrel
