// Runs pondrel-tool summary on patient files and on device folders.

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

void Write(const fs::path& file, const PatientRecord& r) {
    test::Put(file, EncodeItemText(ComposePatientText(r, SubfolderKeyOf(r))));
}

PatientRecord Patient() {
    PatientRecord r = test::SamplePatient();
    r.exitDateSet = 1;  // out on 20 March 2006: the last day
    r.SetField(94, u"12");
    r.problemJournal =
        u"§0|Pneumonia¦¦A¦§1|Diabetes¦¦A¦"
        u"#2263§0|cough|||amoxicillin 1 g x3|||§1|||glucose 9||||"
        u"#2270§0||afebrile||||home|";
    return r;
}

TEST(SummaryCommandTest, WritesTheSummariesOfAPatientFile) {
    test::TempFolder temp{"pondrel-summary-tool"};
    const fs::path file = temp.Path() / "Doe_Zoe_1950.pdr";
    Write(file, Patient());

    // The last day of the stay, problem 1; characters beyond ASCII as references.
    test::ToolRun run = test::RunTool({"summary", "day", file.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("<HTML><BODY>", 0), 0u);
    EXPECT_NE(run.out.find("Doe Zo&#235; 2.1.1950"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(">D8 - Mo 20 Mar 06<"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Attitude : </B>home."), std::string::npos);
    // The factory words: the treatments block has its heading.
    EXPECT_NE(run.out.find(">Treatments :<"), std::string::npos);
    EXPECT_EQ(run.out.substr(run.out.size() - 19), "</P></BODY></HTML>\n");

    run = test::RunTool(
        {"summary", "problem", file.string(), "--problem", "1", "--day", "2006-03-13"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find(">P 2/2 - Diabetes<"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Examinations : </B>glucose 9."), std::string::npos);

    for (const char* kind : {"evolution", "exams", "entry"}) {
        run = test::RunTool({"summary", kind, file.string()});
        EXPECT_EQ(run.status, 0) << kind << run.err;
        EXPECT_NE(run.out.find("</HTML>"), std::string::npos) << kind;
    }
}

TEST(SummaryCommandTest, ANewbornShowsItsGestationAndCorrectedAgeDayByDay) {
    test::TempFolder temp{"pondrel-summary-newborn"};
    const fs::path file = temp.Path() / "Doe_Zoe_2006.pdr";
    PatientRecord r = Patient();
    for (auto [n, v] : {std::pair{4, u"10"},
                        {5, u"3"},
                        {6, u"2006"},
                        {122, u"10"},
                        {123, u"3"},
                        {124, u"2006"},
                        {203, u"34 3"}}) {
        r.SetField(n, v);
    }
    Write(file, r);
    // At noon of a fixed date: the day of life counts from 07:00.
    test::ToolRun run =
        test::RunTool({"summary", "problem", file.string(), "--today", "2006-03-25"});
    ASSERT_EQ(run.status, 0) << run.err;
    // The heading's age is the calendar age with the gestation; each day's title gets the
    // corrected age of that day.
    EXPECT_NE(run.out.find("Age : (34w 3/7) D11 = 35w 6/7<"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(">D8 - Monday 20 March 2006:</B></U>&nbsp;&nbsp;<FONT "
                           "COLOR=\"#C69BDB\">("),
              std::string::npos)
        << run.out;
}

TEST(SummaryCommandTest, RefusesWrongArguments) {
    test::TempFolder temp{"pondrel-summary-args"};
    const fs::path file = temp.Path() / "Doe_Zoe_1950.pdr";
    Write(file, Patient());
    EXPECT_EQ(test::RunTool({"summary", "week", file.string()}).status, 2);
    EXPECT_EQ(test::RunTool({"summary", "day"}).status, 2);
    EXPECT_EQ(test::RunTool({"summary", "day", file.string(), "--day", "2006-02-30"}).status, 2);
    EXPECT_EQ(test::RunTool({"summary", "day", file.string(), "--problem", "x"}).status, 2);
    EXPECT_EQ(test::RunTool({"summary", "day", file.string(), "--week", "1"}).status, 2);
    // A summary of one patient needs its file, not a folder.
    EXPECT_EQ(test::RunTool({"summary", "day", temp.Path().string()}).status, 2);
    test::ToolRun run = test::RunTool({"summary", "problem", file.string(), "--problem", "2"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("no such problem"), std::string::npos);
    EXPECT_EQ(test::RunTool({"summary", "day", (temp.Path() / "missing.pdr").string()}).status, 1);
}

TEST(SummaryCommandTest, TasksAndAllPatientsReadEveryPatientOfADevice) {
    test::TempFolder temp{"pondrel-summary-device"};
    const fs::path device = temp.Path() / "device";
    ASSERT_EQ(test::RunTool({"init-device", device.string()}).status, 0);
    const fs::path active = device / "My Documents" / "PD_ActivePatients";
    PatientRecord doe = Patient();
    doe.SetField(98, u"ECG#0|N|");
    Write(active / "Doe_Zoe_1950.pdr", doe);
    PatientRecord roe = Patient();
    roe.SetField(2, u"Roe");
    roe.SetField(120, u"Roe");
    roe.SetField(98, u"X-ray#2|*|");
    Write(active / "Roe_Zoe_1950.pdr", roe);
    test::Put(active / "Broken_File_1900.pdr", "not a patient file");

    test::ToolRun run = test::RunTool({"summary", "tasks", device.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    size_t doeAt = run.out.find("Doe Z. &nbsp;2.1.1950");
    size_t roeAt = run.out.find("Roe Z. &nbsp;2.1.1950");
    EXPECT_LT(doeAt, roeAt) << run.out;
    EXPECT_NE(roeAt, std::string::npos);
    EXPECT_NE(run.out.find("- ECG<FONT COLOR=\"#ff0000\">&nbsp;(Urgent !)</FONT>"),
              std::string::npos);
    EXPECT_NE(run.err.find("Broken_File_1900.pdr"), std::string::npos);

    run = test::RunTool({"summary", "all", device.string(), "--day", "2006-03-13"});
    ASSERT_EQ(run.status, 0) << run.err;
    // Both patients, each with problem 1 of that day.
    EXPECT_NE(run.out.find("P1 - Pneumonia"), run.out.rfind("P1 - Pneumonia"));
    EXPECT_NE(run.out.find("Anamnesia : </B>cough."), std::string::npos);
    EXPECT_NE(run.out.find("Room n&#176; 12"), std::string::npos);

    // A device without patients: the tasks page stays as it was, so nothing is written.
    const fs::path empty = temp.Path() / "empty";
    ASSERT_EQ(test::RunTool({"init-device", empty.string()}).status, 0);
    run = test::RunTool({"summary", "tasks", empty.string()});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "\n");
}

}  // namespace
}  // namespace pondrel
