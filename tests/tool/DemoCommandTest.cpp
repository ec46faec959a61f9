// pondrel-tool demo: refuses a folder without active patients folder, creates it on request,
// writes files the loader reads, the same for the same seed, and never replaces a file.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "ToolTestSupport.h"
#include "platform/HostFileSystem.h"
#include "records/PatientFileLoader.h"
#include "records/PatientRecord.h"
#include "records/WorkingFolders.h"

namespace pondrel {
namespace {

namespace fs = std::filesystem;
using test::Slurp;

class DemoCommandTest : public ::testing::Test {
protected:
    DemoCommandTest() { fs::create_directories(dir / "device"); }

    int Tool(const std::vector<std::string>& args) {
        test::ToolRun run = test::RunTool(args);
        out = run.out;
        err = run.err;
        return run.status;
    }
    fs::path Active(const std::string& device = "device") const {
        return dir / device / "My Documents" / "PD_ActivePatients";
    }
    std::string Device(const std::string& name = "device") const { return (dir / name).string(); }

    test::TempFolder temp{"pondrel-demo-tool"};
    const fs::path dir = temp.Path();
    std::string out;
    std::string err;
};

TEST_F(DemoCommandTest, RefusesAFolderWithoutActivePatientsFolder) {
    EXPECT_EQ(Tool({"demo", Device(), "--patients", "3"}), 1);
    EXPECT_NE(err.find("pondrel-tool init-device"), std::string::npos) << err;
    EXPECT_NE(err.find("--create"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "device" / "My Documents"));
    EXPECT_EQ(Tool({"demo", Device("missing"), "--patients", "3", "--create"}), 1);
}

TEST_F(DemoCommandTest, WritesReadablePatientsTheSameForTheSameSeed) {
    ASSERT_EQ(Tool({"demo", Device(), "--patients", "8", "--create", "--seed", "42"}), 0) << err;
    EXPECT_NE(out.find("8 patients written"), std::string::npos) << out;
    fs::create_directories(dir / "other");
    ASSERT_EQ(Tool({"demo", Device("other"), "--patients", "8", "--seed", "42", "--create"}), 0)
        << err;

    HostFileSystem device(dir / "device");
    std::vector<std::u16string> names;
    ASSERT_TRUE(device.ListFiles(WorkingFolders::kActivePatients, u"*.pdr", names));
    ASSERT_EQ(names.size(), 8u);
    for (const std::u16string& name : names) {
        PatientRecord r;
        EXPECT_TRUE(LoadPatientFile(device, WorkingFolders::ActiveFile(name), r).Ok());
        EXPECT_EQ(PatientFileName(r), name);
        fs::path file = device.HostPath(WorkingFolders::ActiveFile(name));
        EXPECT_EQ(Slurp(file), Slurp(Active("other") / file.filename())) << file;
    }
}

TEST_F(DemoCommandTest, NeverReplacesAnExistingFile) {
    ASSERT_EQ(Tool({"demo", Device(), "--patients", "3", "--create"}), 0) << err;
    fs::path first = fs::directory_iterator(Active())->path();
    std::ofstream(first, std::ios::binary | std::ios::trunc) << "mine";
    EXPECT_EQ(Tool({"demo", Device(), "--patients", "3"}), 0);
    EXPECT_NE(out.find("0 patients written"), std::string::npos) << out;
    EXPECT_NE(err.find("skipped"), std::string::npos);
    EXPECT_EQ(Slurp(first), "mine");
}

TEST_F(DemoCommandTest, WrongArguments) {
    EXPECT_EQ(Tool({"demo", Device()}), 2);  // --patients is required
    EXPECT_EQ(Tool({"demo", Device(), "--patients", "many"}), 2);
    EXPECT_EQ(Tool({"demo", Device(), "--patients", "10001"}), 2);
    EXPECT_EQ(Tool({"demo", Device(), "--patients", "2", "--date", "2026-02-30"}), 2);
    EXPECT_EQ(Tool({"demo", Device(), "--patients", "2", "--colour", "red"}), 2);
}

}  // namespace
}  // namespace pondrel
