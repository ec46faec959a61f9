// Runs pondrel-tool's entry and header commands on patient files of a temporary folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "ToolTestSupport.h"
#include "journal/JournalReader.h"
#include "journal/ProblemJournal.h"
#include "platform/Error.h"
#include "platform/Text.h"
#include "records/ItemEncoding.h"
#include "records/PatientFileLoader.h"
#include "records/PatientFileWriter.h"
#include "records/PatientRecord.h"

namespace pondrel {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kJournal =
    "§0|Pneumonia (!)¦Heart failure¦A¦since 2005\r\nsmoker§1|Diabetes¦¦I¦"
    "#2263§0|cough|crackles right|CRP 120|amoxicillin 1 g x3|||§1|||glucose 9|insulin|||"
    "#2264§0||better|||||";
constexpr const char* kName = "Doe_Zoë_1950.pdr";

using test::Slurp;
using test::ToolRun;

class JournalCommandsTest : public ::testing::Test {
protected:
    JournalCommandsTest() { fs::create_directories(dir / "files"); }

    ToolRun Tool(const std::vector<std::string>& args) { return test::RunTool(args); }
    ToolRun Entry(const std::string& day, const std::string& problem,
                  std::vector<std::string> set = {}) {
        std::vector<std::string> args{"entry", file.string(), day, problem};
        if (!set.empty()) args.push_back("--set");
        args.insert(args.end(), set.begin(), set.end());
        return Tool(args);
    }

    static PatientRecord Patient() {
        PatientRecord r = test::SamplePatient();
        r.SetField(98, u"call back#1|N|");
        r.problemJournal = FromUtf8(kJournal);
        return r;
    }
    void Put(const fs::path& path, const PatientRecord& r) {
        test::Put(path, EncodeItemText(ComposePatientText(r, SubfolderKeyOf(r))));
    }
    void Put(const fs::path& path, const std::string& bytes) { test::Put(path, bytes); }
    // The record as the program's loader reads the file.
    PatientRecord Read() {
        PatientRecord r;
        EXPECT_TRUE(LoadPatientText(DecodeItemText(Slurp(file)), r).Ok());
        return r;
    }
    ProblemJournal Journal() { return ProblemJournal(Read().problemJournal); }
    std::vector<std::string> Files() {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir / "files")) {
            names.push_back(e.path().filename().string());
        }
        return names;
    }

    test::TempFolder temp{"pondrel-journal-tool"};
    const fs::path dir = temp.Path();
    fs::path file = dir / "files" / kName;
};

TEST_F(JournalCommandsTest, SetThenPrintAnEntry) {
    Put(file, Patient());
    ToolRun read = Entry("2263", "0");
    ASSERT_EQ(read.status, 0) << read.err;
    EXPECT_EQ(read.out, "cough\ncrackles right\nCRP 120\namoxicillin 1 g x3\n\n\n");

    ToolRun set = Entry("2264", "1",
                        {"thirsty", "line1\\r\\nline2", "", "insulin 10 U\\r\\n-metformin",
                         "C:\\\\temp", "recheck"});
    ASSERT_EQ(set.status, 0) << set.err;
    EXPECT_EQ(set.err, "");
    const std::string expected =
        "thirsty\nline1\\r\\nline2\n\ninsulin 10 U\\r\\n-metformin\nC:\\\\temp\nrecheck\n";
    EXPECT_EQ(set.out, expected);
    EXPECT_EQ(Entry("2264", "1").out, expected);

    ProblemJournal journal = Journal();
    EXPECT_EQ(journal.GetEntry(2264, 1),
              (Sections{u"thirsty", u"line1\r\nline2", u"", u"insulin 10 U\r\n-metformin",
                        u"C:\\temp", u"recheck"}));
    EXPECT_EQ(journal.GetEntry(2264, 0), (Sections{u"", u"better", u"", u"", u"", u""}));
    EXPECT_EQ(journal.GetEntry(2263, 1), (Sections{u"", u"", u"glucose 9", u"insulin", u"", u""}));
    EXPECT_TRUE(journal.Reader().CheckStructure(nullptr));
    EXPECT_EQ(Files(), std::vector<std::string>{kName});  // same name, no leftovers

    // `show` reads the same journal.
    ToolRun show = Tool({"show", file.string()});
    ASSERT_EQ(show.status, 0) << show.err;
    EXPECT_NE(show.out.find("#2264§0||better|||||§1|thirsty|line1\\r\\nline2||insulin 10 "
                            "U\\r\\n-metformin|C:\\\\temp|recheck|\n"),
              std::string::npos)
        << show.out;

    // Six empty sections delete the entry; the day keeps problem 1's entry.
    ASSERT_EQ(Entry("2264", "1", {"", "", "", "", "", ""}).status, 0);
    ASSERT_EQ(Entry("2264", "0", {"", "", "", "", "", ""}).status, 0);
    EXPECT_FALSE(Journal().DayHasEntries(2264));
    EXPECT_EQ(Read().problemJournal, FromUtf8(kJournal.substr(0, kJournal.find("#2264"))));
}

TEST_F(JournalCommandsTest, SetANewProblemAndAnEarlierDay) {
    Put(file, Patient());
    ToolRun set = Entry("-3", "2", {"", "fall", "", "", "", ""});
    ASSERT_EQ(set.status, 0) << set.err;
    ProblemJournal journal = Journal();
    EXPECT_EQ(journal.GetProblemTitle(2), u"Problem n°3");
    EXPECT_EQ(journal.Reader().EntryDays(), (std::vector<DayNumber>{-3, 2263, 2264}));
    EXPECT_TRUE(journal.Reader().CheckStructure(nullptr));
    // Problem 4 would leave a gap after problem 3 (number 2).
    const std::string before = Slurp(file);
    ToolRun gap = Entry("2263", "4", {"x", "", "", "", "", ""});
    EXPECT_EQ(gap.status, 1);
    EXPECT_EQ(gap.err, "no such problem: the file has 3 problems, a new one takes number 3\n");
    EXPECT_EQ(Slurp(file), before);
}

TEST_F(JournalCommandsTest, PrintAndSetAHeader) {
    Put(file, Patient());
    ToolRun read = Tool({"header", file.string(), "0"});
    ASSERT_EQ(read.status, 0) << read.err;
    EXPECT_EQ(read.out,
              "title=Pneumonia (!)\ndifferentialDiagnosis=Heart failure\nstate=A\n"
              "redaction=since 2005\\r\\nsmoker\n");
    EXPECT_EQ(Tool({"header", file.string(), "1"}).out,
              "title=Diabetes\ndifferentialDiagnosis=\nstate=I\nredaction=\n");

    ToolRun set = Tool({"header", file.string(), "0", "--title", "Sepsis (!!!)"});
    ASSERT_EQ(set.status, 0) << set.err;
    EXPECT_EQ(set.out,
              "title=Sepsis (!!!)\ndifferentialDiagnosis=Heart failure\nstate=A\n"
              "redaction=since 2005\\r\\nsmoker\n");
    std::u16string expected = FromUtf8(kJournal);
    expected.replace(0, expected.find(u"¦"), u"§0|Sepsis (!!!)");
    EXPECT_EQ(Read().problemJournal, expected);

    // A problem in the middle cannot lose its title; the last one keeps it.
    ToolRun middle = Tool({"header", file.string(), "0", "--title", " "});
    ASSERT_EQ(middle.status, 0) << middle.err;
    EXPECT_EQ(Journal().GetProblemTitle(0), u"Problem n°1");
    const std::string before = Slurp(file);
    ToolRun last = Tool({"header", file.string(), "1", "--title", ""});
    EXPECT_EQ(last.status, 1);
    EXPECT_EQ(last.err, "empty title: the last problem keeps its title\n");
    ToolRun none = Tool({"header", file.string(), "2", "--title", ""});
    EXPECT_EQ(none.status, 1);
    ToolRun gap = Tool({"header", file.string(), "3", "--title", "Gout"});
    EXPECT_EQ(gap.status, 1);
    EXPECT_EQ(gap.err, "no such problem: the file has 2 problems, a new one takes number 2\n");
    EXPECT_EQ(Slurp(file), before);
    // The slot after the last problem takes a new one.
    ASSERT_EQ(Tool({"header", file.string(), "2", "--title", "Gout"}).status, 0);
    EXPECT_EQ(Journal().ProblemCount(), 3);
}

TEST_F(JournalCommandsTest, HostileTextsNeverReachOtherProblemsOrDays) {
    Put(file, Patient());
    const std::string hostile = "a#2263§0|b¦c¢d¬Pe|§1|f#";
    ToolRun set =
        Entry("2263", "1",
              {hostile, "'$(touch x)' \"%s\" `id` ;", hostile, hostile, "\\r\\n#9999§", "¬E¢"});
    ASSERT_EQ(set.status, 0) << set.err;
    EXPECT_NE(set.err.find("S0: the reserved characters"), std::string::npos) << set.err;
    ToolRun title = Tool({"header", file.string(), "0", "--title", "x¦y§2|z#2263§¢¬I "});
    ASSERT_EQ(title.status, 0) << title.err;
    EXPECT_NE(title.err.find("T: the reserved characters"), std::string::npos);

    PatientRecord r = Read();
    ProblemJournal journal(r.problemJournal);
    Error error;
    EXPECT_TRUE(journal.Reader().CheckStructure(&error)) << error.message;
    EXPECT_EQ(journal.ProblemCount(), 2);
    EXPECT_EQ(journal.GetProblemTitle(0), u"xy2z2263I");
    EXPECT_EQ(journal.GetDifferentialDiagnosis(0), u"Heart failure");
    EXPECT_EQ(journal.GetProblemRedaction(0), u"since 2005\r\nsmoker");
    EXPECT_EQ(journal.GetProblemTitle(1), u"Diabetes");
    EXPECT_EQ(journal.GetProblemState(1), u"I");
    EXPECT_EQ(journal.GetEntry(2263, 1),
              (Sections{u"a22630b¦cdPe1f", u"'$(touch x)' \"%s\" `id` ;", u"a22630b¦cdPe1f",
                        u"a22630b¦cdPe1f", u"\r\n9999", u"E"}));
    EXPECT_EQ(journal.GetEntry(2263, 0),
              (Sections{u"cough", u"crackles right", u"CRP 120", u"amoxicillin 1 g x3", u"", u""}));
    EXPECT_EQ(journal.GetEntry(2264, 0), (Sections{u"", u"better", u"", u"", u"", u""}));
    EXPECT_EQ(journal.Reader().EntryDays(), (std::vector<DayNumber>{2263, 2264}));
    // The rest of the file is intact.
    EXPECT_EQ(r.Field(98), u"call back#1|N|");
    EXPECT_EQ(r.location, u"Cardio A");
    EXPECT_EQ(r.Field(120), u"Doe");
    EXPECT_FALSE(fs::exists(dir / "files" / "x"));
    ToolRun show = Tool({"show", file.string()});
    EXPECT_EQ(show.status, 0) << show.err;
    EXPECT_NE(show.out.find("\nfield.98=call back#1|N|\n"), std::string::npos);
}

TEST_F(JournalCommandsTest, UnreadableFilesAreRefusedUntouched) {
    std::u16string text = ComposePatientText(Patient(), SubfolderKeyOf(Patient()));
    struct Case {
        const char* name;
        std::string bytes;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"damaged.pdr", EncodeItemText(ReplaceAll(text, u"¬P", u"")), "damaged: 7\n"},
        {"newer.pdr", EncodeItemText(u"#V41#" + text.substr(5)), "newer version\n"},
        {"big.pdr", std::string(400002, 'x'), "too big\n"},
        {"empty.pdr", std::string(), "empty\n"},
    };
    for (const Case& c : cases) {
        const fs::path path = dir / "files" / c.name;
        Put(path, c.bytes);
        for (auto args : {std::vector<std::string>{"entry", path.string(), "2263", "0", "--set",
                                                   "x", "", "", "", "", ""},
                          std::vector<std::string>{"header", path.string(), "0", "--title", "x"},
                          std::vector<std::string>{"entry", path.string(), "2263", "0"}}) {
            ToolRun run = Tool(args);
            EXPECT_EQ(run.status, 1) << c.name;
            EXPECT_EQ(run.err, c.reason);
            EXPECT_EQ(run.out, "");
        }
        EXPECT_EQ(Slurp(path), c.bytes) << c.name;
    }
    ToolRun missing = Entry("2263", "0", {"x", "", "", "", "", ""});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "cannot open\n");
    EXPECT_EQ(Files().size(), cases.size());
}

TEST_F(JournalCommandsTest, SavesThatWouldHarmAreRefusedUntouched) {
    // Held by another user.
    PatientRecord held = Patient();
    held.lockState = u"R";
    Put(file, held);
    std::string before = Slurp(file);
    ToolRun readOnly = Entry("2263", "0", {"x", "", "", "", "", ""});
    EXPECT_EQ(readOnly.status, 1);
    EXPECT_EQ(readOnly.err, "read only\n");
    EXPECT_EQ(Slurp(file), before);
    EXPECT_EQ(Entry("2263", "0").status, 0);  // reading is fine

    // A file not named after its patient would be renamed by the writer.
    fs::remove(file);
    file = dir / "files" / "copy.pdr";
    Put(file, Patient());
    before = Slurp(file);
    ToolRun renamed = Tool({"header", file.string(), "0", "--title", "Flu"});
    EXPECT_EQ(renamed.status, 1);
    EXPECT_EQ(renamed.err, "file name differs from the patient's name: Doe_Zoë_1950.pdr\n");
    EXPECT_EQ(Slurp(file), before);
    EXPECT_EQ(Files(), std::vector<std::string>{"copy.pdr"});

    // A change that would make the file too big to be opened again.
    fs::remove(file);
    file = dir / "files" / kName;
    PatientRecord big = Patient();
    big.SetField(7, std::u16string(190000, u'w'));
    Put(file, big);
    before = Slurp(file);
    ToolRun tooBig = Entry("2263", "0", {std::string(6000, 'z'), "", "", "", "", ""});
    EXPECT_EQ(tooBig.status, 1);
    EXPECT_EQ(tooBig.err.rfind("too big: ", 0), 0u) << tooBig.err;
    EXPECT_EQ(Slurp(file), before);
    // Shrinking is allowed.
    ASSERT_EQ(Entry("2263", "0", {"", "", "", "", "", ""}).status, 0);
    EXPECT_LT(Slurp(file).size(), before.size());
}

TEST_F(JournalCommandsTest, NeverWritesAFileTheReaderWouldRefuse) {
    // A file just below the reader's limit whose problem title list was left empty: written
    // again, the rebuilt list would carry it over the limit even though the entry shrinks.
    PatientRecord r = Patient();
    const std::u16string title(3000, u't');
    r.problemJournal = u"§0|" + title + u"¦¦A¦#2263§0|cough||||||";
    std::u16string text = ComposePatientText(r, SubfolderKeyOf(r));
    text = ReplaceAll(text, title + u"|¢", u"¢");
    const size_t filler = 199990 - text.size();
    r.SetField(7, std::u16string(filler, u'w'));
    text = ComposePatientText(r, SubfolderKeyOf(r));
    text = ReplaceAll(text, title + u"|¢", u"¢");
    ASSERT_EQ(text.size(), 199990u);
    Put(file, EncodeItemText(text));
    const std::string before = Slurp(file);
    ASSERT_EQ(Tool({"show", file.string()}).status, 0);

    ToolRun shrink = Entry("2263", "0", {"", "", "", "", "", ""});
    EXPECT_EQ(shrink.status, 1);
    EXPECT_EQ(shrink.err.rfind("too big: ", 0), 0u) << shrink.err;
    EXPECT_EQ(Slurp(file), before);
}

TEST_F(JournalCommandsTest, AVersion300FileIsWrittenInTheCurrentLayout) {
    // The program converts such a file when it loads it; a correction writes the conversion.
    const std::u16string old =
        test::Version300Text(ComposePatientText(Patient(), SubfolderKeyOf(Patient())));
    Put(file, EncodeItemText(old));
    ASSERT_EQ(Entry("2263", "0").out, "cough\n\n\n\n\n\n");
    ToolRun set = Entry("2263", "0", {"cough", "fever", "", "", "", ""});
    ASSERT_EQ(set.status, 0) << set.err;
    EXPECT_EQ(DecodeItemText(Slurp(file)).substr(0, 5), u"#V40#");
    EXPECT_EQ(Journal().GetEntry(2263, 0), (Sections{u"cough", u"fever", u"", u"", u"", u""}));
    EXPECT_EQ(Journal().GetProblemTitle(0), u"Flu");
}

TEST_F(JournalCommandsTest, InvalidArgumentsAreUsageErrors) {
    Put(file, Patient());
    const std::string before = Slurp(file);
    const std::string f = file.string();
    const std::vector<std::vector<std::string>> runs = {
        {"entry"},
        {"entry", f, "2263"},
        {"entry", f, "x", "0"},
        {"entry", f, "1e3", "0"},
        {"entry", f, "+5", "0"},
        {"entry", f, "", "0"},
        {"entry", f, "-36525", "0"},
        {"entry", f, "2921940", "0"},
        {"entry", f, "99999999999", "0"},
        {"entry", f, "2263", "100"},
        {"entry", f, "2263", "-1"},
        {"entry", f, "2263", " 1"},
        {"entry", f, "2263", "0", "--set", "a", "b", "c", "d", "e"},
        {"entry", f, "2263", "0", "--set", "a", "b", "c", "d", "e", "f", "g"},
        {"entry", f, "2263", "0", "--sets", "a", "b", "c", "d", "e", "f"},
        {"entry", f, "2263", "0", "--set", "a\\tb", "", "", "", "", ""},
        {"entry", f, "2263", "0", "--set", "", "", "", "", "", "trailing\\"},
        {"entry", f, "2263", "0", "--set", "\xC3\x28", "", "", "", "", ""},
        {"header", f},
        {"header", f, "0", "--title"},
        {"header", f, "0", "--title", "a", "b"},
        {"header", f, "0", "--name", "a"},
        {"header", f, "x"},
        {"header", f, "0", "--title", "bad\\x"},
    };
    for (const auto& args : runs) {
        ToolRun run = Tool(args);
        std::string joined;
        for (const auto& a : args) joined += a + " ";
        EXPECT_EQ(run.status, 2) << joined;
        EXPECT_NE(run.err.find("usage: pondrel-tool "), std::string::npos) << joined;
        EXPECT_EQ(run.out, "") << joined;
    }
    EXPECT_EQ(Slurp(file), before);
    // The edges of the ranges are valid.
    EXPECT_EQ(Entry("-36524", "99").status, 0);
    EXPECT_EQ(Entry("2921939", "0").status, 0);
}

}  // namespace
}  // namespace pondrel
