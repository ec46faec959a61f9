// pondrel-tool labels and labels-build, run as a program.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TempFolder.h"
#include "ToolTestSupport.h"
#include "labels/LabelsWriter.h"

namespace pondrel {
namespace {

using test::RunTool;
using test::Slurp;
using test::ToolRun;

class LabelsCommandTest : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& bytes) {
        test::Put(m_dir / name, bytes);
        return (m_dir / name).string();
    }

    test::TempFolder m_temp{"pondrel-labels"};
    const std::filesystem::path m_dir = m_temp.Path();
    const std::string m_resources = PONDREL_RESOURCES_DIR;
};

TEST_F(LabelsCommandTest, PrintsTheFactoryFileInStableOrder) {
    ToolRun run = RunTool({"labels", m_resources + "/Labels.txt"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.find("encoding: UTF-16LE\nlayout: current\n"), 0u);
    EXPECT_NE(run.out.find("\nfield 9 caption: T° [°C]\nfield 9 shortcuts: 36.5|37|"),
              std::string::npos);
    EXPECT_NE(run.out.find("\nlabel 122: Stop\n"), std::string::npos);
    EXPECT_NE(run.out.find("\nshort month 11: Dec\n"), std::string::npos);
    EXPECT_LT(run.out.find("field 229 shortcuts"), run.out.find("section 0:"));
    EXPECT_LT(run.out.find("label 249"), run.out.find("weekday 0"));
}

TEST_F(LabelsCommandTest, EscapesBackslashesAndLineBreaks) {
    std::u16string text = u"3.00##C:\\Docs\r\nList##a\\b||\r\n\r\n#Labels#|x|";
    ToolRun run = RunTool({"labels", Write("odd.txt", EncodeLabelsText(text))});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\nfield 0 caption: C:\\\\Docs\\r\\nList\n"), std::string::npos);
    EXPECT_NE(run.out.find("\nfield 0 shortcuts: a\\\\b||\n"), std::string::npos);
    EXPECT_NE(run.out.find("\nsection captions: 1, intact\n"), std::string::npos);
    // A header below 40: the tool shows what the program would read after conversion.
    EXPECT_NE(run.out.find("\nlayout: 3.00 (converted)\n"), std::string::npos);
    EXPECT_NE(run.out.find("\nfield 229 caption: Window 87\n"), std::string::npos);
}

TEST_F(LabelsCommandTest, RefusesWhatIsNotALabelsFile) {
    EXPECT_EQ(RunTool({"labels", Write("plain.txt", "hello")}).status, 1);
    EXPECT_EQ(RunTool({"labels", (m_dir / "none.txt").string()}).status, 1);
    EXPECT_EQ(RunTool({"labels"}).status, 2);
}

TEST_F(LabelsCommandTest, BuildMakesTheShippedFileFromItsSource) {
    std::string out = (m_dir / "Labels.txt").string();
    ToolRun run = RunTool({"labels-build", m_resources + "/src/labels-en.txt", out});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Slurp(out), Slurp(m_resources + "/Labels.txt"));
}

TEST_F(LabelsCommandTest, BuildNamesTheFaultyLineAndWritesNothing) {
    std::string out = (m_dir / "Labels.txt").string();
    ToolRun run = RunTool({"labels-build", Write("bad.txt", "field 0:\nfield 1: A|B\n"), out});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("line 2: the characters | #"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(RunTool({"labels-build", out}).status, 2);
}

}  // namespace
}  // namespace pondrel
