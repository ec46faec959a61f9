// Runs pondrel-tool's problems command on patient files of a temporary folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "ToolTestSupport.h"
#include "journal/JournalReader.h"
#include "platform/Text.h"
#include "records/ItemEncoding.h"
#include "records/PatientFileLoader.h"
#include "records/PatientFileWriter.h"
#include "records/PatientRecord.h"

namespace pondrel {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kJournal =
    "§0|Pneumonia (!)¦Heart failure¦A¦smoker§1|Diabetes¦¦I¦§2|Fall¦¦C¦hip"
    "#2263§0|cough|crackles right|CRP 120|amoxicillin 1 g x3|||§1|||glucose 9|insulin|||"
    "#2264§2||bruise|||||";

using test::Slurp;
using test::ToolRun;

class ProblemsCommandTest : public ::testing::Test {
protected:
    ProblemsCommandTest() { fs::create_directories(dir); }

    ToolRun Problems(std::vector<std::string> args) {
        args.insert(args.begin(), {"problems", file.string()});
        return test::RunTool(args);
    }
    void Put(const std::string& lockState = "W") {
        PatientRecord r = test::SamplePatient();
        r.problemJournal = FromUtf8(kJournal);
        r.lockState = FromUtf8(lockState);
        test::Put(file, EncodeItemText(ComposePatientText(r, SubfolderKeyOf(r))));
    }
    std::u16string Journal() {
        PatientRecord r;
        EXPECT_TRUE(LoadPatientText(DecodeItemText(Slurp(file)), r).Ok());
        return r.problemJournal;
    }

    test::TempFolder temp{"pondrel-problems-tool"};
    const fs::path dir = temp.Path();
    fs::path file = dir / "Doe_Zoë_1950.pdr";
};

TEST_F(ProblemsCommandTest, ListsAndChangesProblemsAsTheDialogueDoes) {
    Put();
    ToolRun list = Problems({});
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(list.out,
              "problem=0|A|Pneumonia (!)\nproblem=1|I|Diabetes\nproblem=2|C|Fall\n");

    ToolRun move = Problems({"--move", "0", "down"});
    ASSERT_EQ(move.status, 0) << move.err;
    EXPECT_EQ(move.out, "problem=0|I|Diabetes\nproblem=1|A|Pneumonia (!)\nproblem=2|C|Fall\n");
    std::u16string journal = Journal();
    EXPECT_EQ(JournalReader(journal).GetSection(2263, 1, 0), u"cough");

    ASSERT_EQ(Problems({"--state", "2", "A"}).status, 0);
    ToolRun merge = Problems({"--merge", "2", "1"});
    ASSERT_EQ(merge.status, 0) << merge.err;
    EXPECT_EQ(merge.out, "problem=0|I|Diabetes\nproblem=1|A|Pneumonia (!)\n");
    journal = Journal();
    JournalReader reader(journal);
    EXPECT_EQ(reader.GetProblemRedaction(1), u"smoker\r\nhip");
    EXPECT_EQ(reader.GetSection(2264, 1, 1), u"bruise");

    ToolRun remove = Problems({"--delete", "0"});
    ASSERT_EQ(remove.status, 0) << remove.err;
    EXPECT_EQ(remove.out, "problem=0|A|Pneumonia (!)\n");
    EXPECT_TRUE(JournalReader(Journal()).CheckStructure(nullptr));
}

TEST_F(ProblemsCommandTest, RefusalsExitOneAndChangeNothing) {
    Put();
    const std::string before = Slurp(file);
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--move", "0", "up"}, {"--move", "2", "down"}, {"--merge", "1", "1"},
             {"--delete", "3"}, {"--state", "7", "I"}}) {
        ToolRun run = Problems(args);
        EXPECT_EQ(run.status, 1) << args[0];
        EXPECT_FALSE(run.err.empty());
    }
    EXPECT_EQ(Slurp(file), before);
    EXPECT_EQ(Problems({"--state", "0", "X"}).status, 2);
    EXPECT_EQ(Problems({"--move", "0"}).status, 2);
    // A record held by another user is read only.
    Put("R");
    const std::string locked = Slurp(file);
    ToolRun readOnly = Problems({"--delete", "0"});
    EXPECT_EQ(readOnly.status, 1);
    EXPECT_EQ(readOnly.err, "read only\n");
    EXPECT_EQ(Slurp(file), locked);
    EXPECT_EQ(Problems({}).status, 0);
}

}  // namespace
}  // namespace pondrel
