// Runs pondrel-tool's percentile and exams commands.

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
using test::RunTool;
using test::ToolRun;

TEST(PercentileCommand, PrintsThePercentileAndBandOfAMeasurement) {
    ToolRun run = RunTool({"percentile", "m", "weight", "0", "3.5"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "percentile=62.3\nband=P50-P75\n");
    // Grams read as the form reads them; decimals of an age.
    EXPECT_EQ(RunTool({"percentile", "m", "weight", "0", "3500"}).out, run.out);
    EXPECT_EQ(RunTool({"percentile", "f", "height", "24.5", "60"}).out,
              "percentile=3.0\nband=<P3\n");
    EXPECT_EQ(RunTool({"percentile", "f", "head", "12", "80"}).out,
              "percentile=100.0\nband=>P97\n");
}

TEST(PercentileCommand, AgesWithoutReferenceAndWrongArguments) {
    ToolRun preterm = RunTool({"percentile", "f", "weight", "-0.5", "2"});
    EXPECT_EQ(preterm.status, 1);
    EXPECT_EQ(preterm.out, "");
    EXPECT_NE(preterm.err.find("no band"), std::string::npos);
    EXPECT_EQ(RunTool({"percentile", "m", "head", "61", "50"}).status, 1);
    EXPECT_EQ(RunTool({"percentile", "x", "weight", "1", "4"}).status, 2);
    EXPECT_EQ(RunTool({"percentile", "m", "bmi", "1", "4"}).status, 2);
    EXPECT_EQ(RunTool({"percentile", "m", "weight", "one", "4"}).status, 2);
    EXPECT_EQ(RunTool({"percentile", "m", "weight", "1", "-4"}).status, 2);
    EXPECT_EQ(RunTool({"percentile", "m", "weight", "1"}).status, 2);
}

TEST(ExamsCommand, PrintsTheTableOfAPatientFile) {
    test::TempFolder temp{"pondrel-exams-tool"};
    PatientRecord record = test::SamplePatient();
    record.SetField(7, u"70 kg");
    record.problemJournal =
        u"§0|Pneumonia¦¦A¦#2263§0||febrile|Hb 12,5 g/dl\r\nCRP 120||||"
        u"#2265§0||better|CRP 40\r\nNa 140 K 4|||";
    fs::path file = temp.Path() / "Doe_Zoe_1950.pdr";
    test::Put(file, EncodeItemText(ComposePatientText(record, SubfolderKeyOf(record))));
    ToolRun run = RunTool({"exams", file.string(), "--today", "2006-03-20"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "days=2006-03-13 2006-03-15\n"
              "Weight\t2006-03-13=70\n"
              "Hb\t2006-03-13=12.5\n"
              "CRP\t2006-03-13=120 2006-03-15=40\n"
              "Na\t2006-03-15=140\n");
    EXPECT_EQ(RunTool({"exams", file.string(), "--today", "13.3.06"}).status, 2);
    EXPECT_EQ(RunTool({"exams", (temp.Path() / "none.pdr").string()}).status, 1);
}

}  // namespace
}  // namespace pondrel
