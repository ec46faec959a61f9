#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/FileRegistry.h"
#include "platform/HostFileSystem.h"
#include "records/InstallationFinder.h"

namespace pondrel {
namespace {

namespace fs = std::filesystem;

class InitDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("pondrel-init-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root);
        device = root / "device";
    }
    void TearDown() override { fs::remove_all(root); }

    // Runs the tool with the arguments (already quoted); returns its exit status.
    int Tool(const std::string& arguments) {
        std::string command = std::string("'") + PONDREL_TOOL + "' " + arguments + " >'" +
                              (root / "out.txt").string() + "' 2>'" + (root / "err.txt").string() +
                              "'";
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

    fs::path root;
    fs::path device;
};

TEST_F(InitDeviceTest, MakesADeviceTheProgramStartsOn) {
    ASSERT_EQ(Tool("init-device " + Quoted(device)), 0) << Read(root / "err.txt");
    fs::path installation = device / "Program files" / "Pondrel";
    for (const char* name :
         {"Labels.txt", "HelloBitmap.jpg", "Patients Icons.jpg", "Scroll list icons.jpg"}) {
        EXPECT_EQ(Read(installation / name), Read(fs::path(PONDREL_RESOURCES_DIR) / name)) << name;
    }
    EXPECT_FALSE(fs::exists(installation / "README.md"));
    EXPECT_FALSE(fs::exists(installation / "src"));
    EXPECT_TRUE(fs::is_directory(installation / "Backup"));
    for (const char* folder : {"PD_ActivePatients", "PD_Archives", "PD_PrintDoc"}) {
        EXPECT_TRUE(fs::is_directory(device / "My Documents" / folder)) << folder;
    }
    EXPECT_EQ(Read(device / "registry.txt"),
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

    EXPECT_EQ(Tool("init-device " + Quoted(device)), 1);
    EXPECT_NE(Read(root / "err.txt").find("not empty"), std::string::npos);
    EXPECT_FALSE(fs::exists(labels.parent_path() / "HelloBitmap.jpg"));

    ASSERT_EQ(Tool("init-device --force " + Quoted(device)), 0) << Read(root / "err.txt");
    EXPECT_EQ(Read(patient), "patient");
    EXPECT_EQ(Read(labels), "edited labels");
    EXPECT_TRUE(fs::exists(labels.parent_path() / "HelloBitmap.jpg"));
    EXPECT_NE(Read(root / "out.txt").find("kept    \\Program files\\Pondrel\\Labels.txt"),
              std::string::npos);
}

TEST_F(InitDeviceTest, ResourcesFolderComesFromTheCommandLine) {
    fs::path resources = root / "factory";
    fs::create_directories(resources / "Models");
    std::ofstream(resources / "Labels.txt") << "labels";
    std::ofstream(resources / "Models" / "PrintModel.pdt") << "model";
    fs::create_directories(resources / "src");
    std::ofstream(resources / "src" / "labels-en.txt") << "source";
    std::ofstream(resources / "README.md") << "readme";
    ASSERT_EQ(Tool("init-device --resources " + Quoted(resources) + " " + Quoted(device)), 0)
        << Read(root / "err.txt");
    EXPECT_EQ(Read(device / "Program files" / "Pondrel" / "Models" / "PrintModel.pdt"), "model");
    EXPECT_FALSE(fs::exists(device / "Program files" / "Pondrel" / "HelloBitmap.jpg"));
    EXPECT_FALSE(fs::exists(device / "Program files" / "Pondrel" / "src"));
    EXPECT_FALSE(fs::exists(device / "Program files" / "Pondrel" / "README.md"));

    fs::path empty = root / "empty";
    fs::create_directories(empty);
    EXPECT_EQ(Tool("init-device --resources " + Quoted(empty) + " " + Quoted(root / "other")), 1);
    EXPECT_NE(Read(root / "err.txt").find("holds no Labels.txt"), std::string::npos);
    EXPECT_FALSE(fs::exists(root / "other"));
}

TEST_F(InitDeviceTest, WrongUsageAndAFileInTheWay) {
    EXPECT_EQ(Tool("init-device"), 2);
    EXPECT_EQ(Tool("init-device --bogus " + Quoted(device)), 2);
    EXPECT_EQ(Tool("init-device --resources"), 2);
    std::ofstream(root / "file") << "x";
    EXPECT_EQ(Tool("init-device " + Quoted(root / "file")), 1);
    EXPECT_EQ(Read(root / "file"), "x");
}

}  // namespace
}  // namespace pondrel
