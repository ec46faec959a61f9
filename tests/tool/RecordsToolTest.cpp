// Runs pondrel-tool's decode, encode, show and resave commands on files of a temporary folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "ToolTestSupport.h"
#include "platform/Text.h"
#include "records/ItemEncoding.h"
#include "records/PatientFileWriter.h"
#include "records/PatientRecord.h"

namespace pondrel {
namespace {

namespace fs = std::filesystem;
using test::Put;
using test::Slurp;
using test::ToolRun;

class RecordsToolTest : public ::testing::Test {
protected:
    RecordsToolTest() { fs::create_directories(dir / "out"); }

    ToolRun Tool(const std::vector<std::string>& args) { return test::RunTool(args); }

    static PatientRecord Patient() {
        PatientRecord r = test::SamplePatient();
        r.SetField(98, u"call\r\nback \\ later");
        r.SetDrawing(3, u"#0,0,0/0|1,2");
        r.problemJournal = u"§0|Flu¦¦A¦";
        return r;
    }
    static std::u16string PatientText() {
        PatientRecord r = Patient();
        return ComposePatientText(r, SubfolderKeyOf(r));
    }

    test::TempFolder temp{"pondrel-records-tool"};
    const fs::path dir = temp.Path();
};

TEST_F(RecordsToolTest, DecodeAndEncodeAreInverse) {
    const std::string utf8 = "#V40#W¢Zoë ✓\r\n";
    Put(dir / "in.txt", utf8);
    ToolRun encode = Tool({"encode", (dir / "in.txt").string(), (dir / "enc.bin").string()});
    ASSERT_EQ(encode.status, 0) << encode.err;
    EXPECT_EQ(Slurp(dir / "enc.bin"), EncodeItemText(FromUtf8(utf8)));
    ToolRun decode = Tool({"decode", (dir / "enc.bin").string()});
    ASSERT_EQ(decode.status, 0);
    EXPECT_EQ(decode.out, utf8);
    EXPECT_EQ(Tool({"decode", (dir / "missing").string()}).status, 1);
    EXPECT_EQ(Tool({"decode"}).status, 2);
}

TEST_F(RecordsToolTest, ShowPrintsTheRecord) {
    Put(dir / "Doe_Zoë_1950.pdr", EncodeItemText(PatientText()));
    ToolRun show = Tool({"show", (dir / "Doe_Zoë_1950.pdr").string()});
    ASSERT_EQ(show.status, 0) << show.err;
    EXPECT_EQ(show.out,
              "sex=0\nicon=0\ninUse=1\nexitDateSet=0\nchecked=0\nadmissionDay=2263\n"
              "historyStartDay=0\nadmission=2006,3,13,9,41,7,\nexit=2006,3,20,14,0,0,\n"
              "subfolderKey=2006,3,13,9,41,7,,\nlockState=W\nlocation=Cardio A\n"
              "subfolderType=Hosp\nfileName=Doe_Zoë_1950.pdr\nfield.2=Doe\nfield.3=Zoë\n"
              "field.4=1\nfield.5=2\nfield.6=1950\nfield.98=call\\r\\nback \\\\ later\n"
              "field.120=Doe\nfield.121=Zoë\nfield.122=1\nfield.123=2\nfield.124=1950\n"
              "drawing.3=#0,0,0/0|1,2\njournal=§0|Flu¦¦A¦\n");
}

TEST_F(RecordsToolTest, ShowNamesTheReasonOfAFailure) {
    std::u16string text = PatientText();
    Put(dir / "damaged.pdr", EncodeItemText(ReplaceAll(text, u"¬P", u"")));
    Put(dir / "newer.pdr", EncodeItemText(u"#V41#" + text.substr(5)));
    Put(dir / "big.pdr", std::string(400002, 'x'));
    for (auto [file, reason] : {std::pair{"damaged.pdr", "damaged: 7\n"},
                                {"newer.pdr", "newer version\n"},
                                {"missing.pdr", "cannot open\n"},
                                {"big.pdr", "too big\n"}}) {
        ToolRun show = Tool({"show", (dir / file).string()});
        EXPECT_EQ(show.status, 1) << file;
        EXPECT_EQ(show.err, reason);
        EXPECT_EQ(show.out, "");
    }
}

TEST_F(RecordsToolTest, HostNamesHoldingABackslashNameThatFile) {
    // "a\b.pdr" is one file of the folder, not "b.pdr" of a folder "a".
    PatientRecord other = Patient();
    other.SetField(98, u"the other patient");
    fs::create_directories(dir / "a");
    Put(dir / "a" / "b.pdr", EncodeItemText(ComposePatientText(other, SubfolderKeyOf(other))));
    Put(dir / "a\\b.pdr", EncodeItemText(PatientText()));
    ToolRun show = Tool({"show", (dir / "a\\b.pdr").string()});
    ASSERT_EQ(show.status, 0) << show.err;
    EXPECT_NE(show.out.find("\nfileName=a\\\\b.pdr\n"), std::string::npos) << show.out;
    EXPECT_NE(show.out.find("field.98=call"), std::string::npos) << show.out;

    Put(dir / "in.txt", "text");
    ToolRun encode = Tool({"encode", (dir / "in.txt").string(), (dir / "x\\y.bin").string()});
    ASSERT_EQ(encode.status, 0) << encode.err;
    EXPECT_EQ(Slurp(dir / "x\\y.bin"), EncodeItemText(u"text"));
}

TEST_F(RecordsToolTest, ResaveWritesThroughTheWriter) {
    const std::string bytes = EncodeItemText(PatientText());
    Put(dir / "copy.pdr", bytes);
    ToolRun resave = Tool({"resave", (dir / "copy.pdr").string(), (dir / "out").string()});
    ASSERT_EQ(resave.status, 0) << resave.err;
    EXPECT_EQ(resave.out, "Doe_Zoë_1950.pdr\n");
    EXPECT_EQ(Slurp(dir / "out" / "Doe_Zoë_1950.pdr"), bytes);
    EXPECT_TRUE(fs::exists(dir / "copy.pdr"));

    // The name would leave the folder: refused, nothing written.
    PatientRecord evil = Patient();
    evil.SetField(120, u"../x");
    Put(dir / "evil.pdr", EncodeItemText(ComposePatientText(evil, SubfolderKeyOf(evil))));
    ToolRun refused = Tool({"resave", (dir / "evil.pdr").string(), (dir / "out").string()});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "invalid name\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "out"), fs::directory_iterator()), 1);
}

TEST_F(RecordsToolTest, ResaveConvertsAVersion300File) {
    // The file keeps its version 3.00 text; the copy is written in the current layout.
    const std::u16string old = test::Version300Text(PatientText());
    Put(dir / "old.pdr", EncodeItemText(old));
    ToolRun resave = Tool({"resave", (dir / "old.pdr").string(), (dir / "out").string()});
    ASSERT_EQ(resave.status, 0) << resave.err;
    EXPECT_EQ(Slurp(dir / "old.pdr"), EncodeItemText(old));
    ToolRun show = Tool({"show", (dir / "out" / "Doe_Zoë_1950.pdr").string()});
    ASSERT_EQ(show.status, 0) << show.err;
    EXPECT_NE(show.out.find("\njournal=§0|Flu¦¦A¦#2263§0|cough||||||\n"), std::string::npos)
        << show.out;
    EXPECT_NE(show.out.find("\nsubfolderType=Hosp\n"), std::string::npos);
}

}  // namespace
}  // namespace pondrel
