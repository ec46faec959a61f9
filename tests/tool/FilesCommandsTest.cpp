// pondrel-tool subfolders, merge and statistics: the files manager's operations from the
// command line, on files of a device folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "ToolTestSupport.h"
#include "platform/Text.h"
#include "records/ItemEncoding.h"
#include "records/PatientFileWriter.h"

namespace pondrel {
namespace {

namespace fs = std::filesystem;
using test::Slurp;

class FilesCommandsTest : public ::testing::Test {
protected:
    FilesCommandsTest() {
        fs::create_directories(active);
        fs::create_directories(archive);
        fs::create_directories(backup);
    }
    int Tool(const std::vector<std::string>& args) {
        test::ToolRun run = test::RunTool(args);
        out = run.out;
        err = run.err;
        return run.status;
    }
    static std::string File(const std::u16string& journal, int day) {
        PatientRecord r = test::SamplePatient();
        r.problemJournal = journal;
        r.admission.day = day;
        r.subfolderKey = SubfolderKeyOf(r);
        return EncodeItemText(ComposePatientText(r, r.subfolderKey));
    }

    test::TempFolder temp{"pondrel-files-tool"};
    const fs::path device = temp.Path();
    const fs::path active = device / "My Documents" / "PD_ActivePatients";
    const fs::path archive = device / "My Documents" / "PD_Archives";
    const fs::path backup = device / "Program files" / "Pondrel" / "Backup";
    std::string out;
    std::string err;
};

TEST_F(FilesCommandsTest, SubfoldersListsTheStays) {
    test::Put(active / "Doe_Zoe_1950.pdr", File(u"§0|Flu¦¦A¦§1|Cough¦¦A¦", 13));
    ASSERT_EQ(Tool({"subfolders", (active / "Doe_Zoe_1950.pdr").string()}), 0) << err;
    EXPECT_NE(out.find("stay=Hosp"), std::string::npos) << out;
    EXPECT_NE(out.find(": 13.3.2006 -> 20.3.2006  <Edit>\n"), std::string::npos) << out;
    EXPECT_NE(out.find("current=0\n"), std::string::npos) << out;
    EXPECT_NE(out.find("titles=Flu|Cough\n"), std::string::npos) << out;
    EXPECT_EQ(Tool({"subfolders", (active / "missing.pdr").string()}), 1);
}

TEST_F(FilesCommandsTest, MergeWritesTheArchiveAndRemovesTheActiveFileAndItsBackup) {
    test::Put(active / "Doe_Zoe_1950.pdr", File(u"§0|Flu¦¦A¦#2263§0|cough||||||", 13));
    test::Put(backup / "Doe_Zoe_1950.pdr", "copy");
    test::Put(archive / "Doe_Zoe_1950.pdr", File(u"§0|Flu (!)¦¦A¦#2263§0||fever|||||", 1));
    ASSERT_EQ(Tool({"merge", (active / "Doe_Zoe_1950.pdr").string(),
                    (archive / "Doe_Zoe_1950.pdr").string()}),
              0)
        << err;
    EXPECT_EQ(out, "problems=1 days=1\n");
    EXPECT_FALSE(fs::exists(active / "Doe_Zoe_1950.pdr"));
    EXPECT_FALSE(fs::exists(backup / "Doe_Zoe_1950.pdr"));
    const std::u16string merged = DecodeItemText(Slurp(archive / "Doe_Zoe_1950.pdr"));
    EXPECT_NE(merged.find(u"#2263§0|cough|fever|||||"), std::u16string::npos);

    // A refusal changes nothing.
    std::u16string many;
    for (int p = 0; p < 60; ++p) many += u"§" + ToText(p) + u"|A" + ToText(p) + u"¦¦A¦";
    std::u16string other;
    for (int p = 0; p < 60; ++p) other += u"§" + ToText(p) + u"|B" + ToText(p) + u"¦¦A¦";
    test::Put(active / "Roe_Jim_1950.pdr", File(many, 13));
    test::Put(archive / "Roe_Jim_1950.pdr", File(other, 1));
    const std::string before = Slurp(archive / "Roe_Jim_1950.pdr");
    EXPECT_EQ(Tool({"merge", (active / "Roe_Jim_1950.pdr").string(),
                    (archive / "Roe_Jim_1950.pdr").string()}),
              1);
    EXPECT_NE(err.find("more than 100 different problems"), std::string::npos) << err;
    EXPECT_TRUE(fs::exists(active / "Roe_Jim_1950.pdr"));
    EXPECT_EQ(Slurp(archive / "Roe_Jim_1950.pdr"), before);
}

TEST_F(FilesCommandsTest, StatisticsCountsRowsReadAndSkipped) {
    test::Put(active / "Doe_Zoe_1950.pdr", File(u"§0|Flu¦¦A¦", 13));
    test::Put(active / "Broken.pdr", "not a patient file");
    ASSERT_EQ(Tool({"statistics", device.string(), "--active", "--out", (device / "out").string()}),
              0)
        << err;
    EXPECT_EQ(out, "rows=1 read=1 skipped=1\n");
    EXPECT_NE(err.find("skipped Broken.pdr"), std::string::npos) << err;
    const std::string table = Slurp(device / "out" / "Statistic table 2.xls");
    ASSERT_GE(table.size(), 4u);
    EXPECT_EQ(table.substr(0, 2), "\xFF\xFE");
    ASSERT_EQ(Tool({"statistics", device.string(), "--archive"}), 0) << err;
    EXPECT_EQ(out, "rows=0 read=0 skipped=0\n");
    EXPECT_TRUE(fs::exists(device / "My Documents" / "PD_PrintDoc" / "Statistic table 1.xls"));
}

}  // namespace
}  // namespace pondrel
