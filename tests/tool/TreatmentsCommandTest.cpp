// Runs pondrel-tool treatments on a patient file of a temporary folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TempFolder.h"
#include "ToolTestSupport.h"
#include "platform/Text.h"
#include "records/ItemEncoding.h"
#include "records/PatientFileWriter.h"
#include "records/PatientRecord.h"

namespace pondrel {
namespace {

namespace fs = std::filesystem;

TEST(TreatmentsCommandTest, PrintsSheetsAndTheListsOfADay) {
    test::TempFolder temp{"pondrel-treatments-tool"};
    const fs::path file = temp.Path() / "Doe_Zoe_1950.pdr";
    PatientRecord r = test::SamplePatient();
    r.exitDateSet = 1;  // out on 20 March 2006: the last day
    r.problemJournal =
        u"§0|Pneumonia¦¦A¦§1|Diabetes¦¦A¦"
        u"#2263§0||||amoxicillin 1 g x3\r\n-paracetamol 1 g||chest X-ray|"
        u"§1||||insulin\\10 U|||"
        u"#2265§0||||amoxicillin 1 g x3 (Stop)||chest X-ray (Stop)\r\nCT-Scan thorax|";
    test::Put(file, EncodeItemText(ComposePatientText(r, SubfolderKeyOf(r))));

    test::ToolRun run = test::RunTool({"treatments", file.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "day=2006-03-20\n"
              "treatment=amoxicillin 1 g x3|Mo 13.3.06|D3  We 15.3.06\n"
              "treatment=paracetamol 1 g|Mo 13.3.06  (D8)|\n"
              "treatment=insulin\\\\10 U|Mo 13.3.06  (D8)|\n"
              "treatment.day=paracetamol 1 g|D8 (Start  13.3.06)\n"
              "treatment.day=insulin\\\\10 U|D8 (Start  13.3.06)\n"
              "action=chest X-ray|Mo 13.3.06|D3  We 15.3.06\n"
              "action=CT-Scan thorax|We 15.3.06  (D6)|\n"
              "action.day=CT-Scan thorax|D6 (Start  15.3.06)\n");

    run = test::RunTool({"treatments", file.string(), "--day", "2006-03-15"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("day=2006-03-15\n"), std::string::npos);
    EXPECT_NE(run.out.find("treatment.day=amoxicillin 1 g x3|Stop D3 (Start  13.3.06)\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("action.day=CT-Scan thorax|Start\n"), std::string::npos);

    EXPECT_EQ(test::RunTool({"treatments", file.string(), "--day", "2006-02-30"}).status, 2);
    EXPECT_EQ(test::RunTool({"treatments", file.string(), "--day"}).status, 2);
    EXPECT_EQ(test::RunTool({"treatments", (temp.Path() / "missing.pdr").string()}).status, 1);
}

}  // namespace
}  // namespace pondrel
