// pondrel-tool drawing: the strokes of a drawing as the program reads them, and what it skipped.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TempFolder.h"
#include "ToolTestSupport.h"
#include "records/ItemEncoding.h"
#include "records/PatientFileWriter.h"
#include "records/PatientRecord.h"

namespace pondrel {
namespace {

namespace fs = std::filesystem;

TEST(DrawingCommandTest, PrintsTheStrokesAndReportsWhatWasSkipped) {
    test::TempFolder temp{"pondrel-drawing-tool"};
    PatientRecord r = test::SamplePatient();
    r.SetDrawing(2, u"#255,0,0/0|10,20¦11,22¦13,25#300,0,0/9|x,1¦5,6");
    const fs::path file = temp.Path() / "Doe_Zoë_1950.pdr";
    test::Put(file, EncodeItemText(ComposePatientText(r, SubfolderKeyOf(r))));

    test::ToolRun run = test::RunTool({"drawing", file.string(), "2"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "strokes=2\n"
              "stroke=255,0,0 width=0 points=3 first=10,20 last=13,25\n"
              "stroke=255,0,0 width=2 points=1 first=5,6 last=5,6\n");
    EXPECT_NE(run.err.find("stroke 2: colour 300 taken as 255"), std::string::npos);
    EXPECT_NE(run.err.find("1 unreadable point(s) skipped"), std::string::npos);

    run = test::RunTool({"drawing", file.string(), "5"});
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "strokes=0\n");
    EXPECT_EQ(run.err, "");
    for (const char* j : {"0", "9", "-1", "1x", ""}) {
        EXPECT_EQ(test::RunTool({"drawing", file.string(), j}).status, 2) << j;
    }
    EXPECT_EQ(test::RunTool({"drawing", (temp.Path() / "missing.pdr").string(), "1"}).status, 1);
}

// A device folder of an older installation gets the drawing pictures it lacks, and keeps its own.
TEST(DrawingCommandTest, InitDeviceForceAddsMissingPicturesAndKeepsTheUsersOwn) {
    test::TempFolder temp{"pondrel-drawing-device"};
    const fs::path installation = temp.Path() / "dev" / "Program files" / "Pondrel";
    fs::create_directories(installation);
    test::Put(installation / "Thorax film.jpg", "the department's own film");
    ASSERT_EQ(test::RunTool({"init-device", "--force", (temp.Path() / "dev").string()}).status, 0);
    EXPECT_EQ(test::Slurp(installation / "Thorax film.jpg"), "the department's own film");
    for (const char* name : {"Skin inspection man.jpg", "Skin inspection lady.jpg",
                             "Cardiac auscultation.jpg", "Pulmonary auscultation.jpg",
                             "Abdomen palpation.jpg", "Detailed status.jpg", "Custom1.jpg",
                             "Custom2.jpg"}) {
        EXPECT_EQ(test::Slurp(installation / name),
                  test::Slurp(fs::path(PONDREL_RESOURCES_DIR) / name))
            << name;
    }
}

}  // namespace
}  // namespace pondrel
