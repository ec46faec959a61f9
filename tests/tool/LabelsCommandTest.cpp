// pondrel-tool labels and labels-build, run as a program.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "labels/LabelsWriter.h"

namespace pondrel {
namespace {

struct ToolRun {
    int status = -1;
    std::string output;
};

ToolRun RunTool(const std::string& arguments) {
    ToolRun run;
    std::string command = std::string(PONDREL_TOOL) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, n);
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string Slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

class LabelsCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir =
            std::filesystem::temp_directory_path() /
            ("pondrel-labels-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }
    std::string Write(const std::string& name, const std::string& bytes) {
        std::ofstream(m_dir / name, std::ios::binary) << bytes;
        return (m_dir / name).string();
    }

    std::filesystem::path m_dir;
    const std::string m_resources = PONDREL_RESOURCES_DIR;
};

TEST_F(LabelsCommandTest, PrintsTheFactoryFileInStableOrder) {
    ToolRun run = RunTool("labels " + m_resources + "/Labels.txt");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output.find("encoding: UTF-16LE\nlayout: current\n"), 0u);
    EXPECT_NE(run.output.find("\nfield 9 caption: T° [°C]\nfield 9 shortcuts: 36.5|37|"),
              std::string::npos);
    EXPECT_NE(run.output.find("\nlabel 122: Stop\n"), std::string::npos);
    EXPECT_NE(run.output.find("\nshort month 11: Dec\n"), std::string::npos);
    EXPECT_LT(run.output.find("field 229 shortcuts"), run.output.find("section 0:"));
    EXPECT_LT(run.output.find("label 249"), run.output.find("weekday 0"));
}

TEST_F(LabelsCommandTest, EscapesBackslashesAndLineBreaks) {
    std::u16string text = u"3.00##C:\\Docs\r\nList##a\\b||\r\n\r\n#Labels#|x|";
    ToolRun run = RunTool("labels " + Write("odd.txt", EncodeLabelsText(text)));
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("\nfield 0 caption: C:\\\\Docs\\r\\nList\n"), std::string::npos);
    EXPECT_NE(run.output.find("\nfield 0 shortcuts: a\\\\b||\n"), std::string::npos);
    EXPECT_NE(run.output.find("\nsection captions: 1, intact\n"), std::string::npos);
    // A header below 40: the tool shows what the program would read after conversion.
    EXPECT_NE(run.output.find("\nlayout: 3.00 (converted)\n"), std::string::npos);
    EXPECT_NE(run.output.find("\nfield 229 caption: Window 87\n"), std::string::npos);
}

TEST_F(LabelsCommandTest, RefusesWhatIsNotALabelsFile) {
    EXPECT_EQ(RunTool("labels " + Write("plain.txt", "hello")).status, 1);
    EXPECT_EQ(RunTool("labels " + (m_dir / "none.txt").string()).status, 1);
    EXPECT_EQ(RunTool("labels").status, 2);
}

TEST_F(LabelsCommandTest, BuildMakesTheShippedFileFromItsSource) {
    std::string out = (m_dir / "Labels.txt").string();
    ToolRun run = RunTool("labels-build " + m_resources + "/src/labels-en.txt " + out);
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(Slurp(out), Slurp(m_resources + "/Labels.txt"));
}

TEST_F(LabelsCommandTest, BuildNamesTheFaultyLineAndWritesNothing) {
    std::string out = (m_dir / "Labels.txt").string();
    ToolRun run =
        RunTool("labels-build " + Write("bad.txt", "field 0:\nfield 1: A|B\n") + " " + out);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("line 2: the characters | #"), std::string::npos) << run.output;
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(RunTool("labels-build " + out).status, 2);
}

}  // namespace
}  // namespace pondrel
