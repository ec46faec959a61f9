// Runs pondrel-tool letter on a patient file of a temporary folder.

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "TempFolder.h"
#include "ToolTestSupport.h"
#include "documents/DocumentFiles.h"
#include "documents/LetterData.h"
#include "documents/TemplateFiller.h"
#include "labels/LabelsFile.h"
#include "platform/HostFileSystem.h"
#include "platform/Text.h"
#include "records/ItemEncoding.h"
#include "records/PatientFileLoader.h"
#include "records/PatientFileWriter.h"
#include "records/PatientRecord.h"

namespace pondrel {
namespace {

namespace fs = std::filesystem;

class LetterCommandTest : public ::testing::Test {
protected:
    LetterCommandTest() {
        record = test::SamplePatient();
        record.problemJournal =
            u"\u00A70|Pneumonia (J18.9)\u00A6\u00A6A\u00A6Better"
            u"#2263\u00A70|cough|||Amoxicillin (Clamoxyl) 1 g x3|||";
        test::Put(file, EncodeItemText(ComposePatientText(record, SubfolderKeyOf(record))));
    }

    test::TempFolder temp{"pondrel-letter-tool"};
    fs::path file = temp.Path() / "Doe_Zoe_1950.pdr";
    fs::path out = temp.Path() / "letter.rtf";
    PatientRecord record;
};

TEST_F(LetterCommandTest, WritesTheLetterTheProgramWrites) {
    test::ToolRun run =
        test::RunTool({"letter", "out", file.string(), out.string(), "--day", "2006-03-22"});
    ASSERT_EQ(run.status, 0) << run.err;

    // The same letter made by the library: factory labels, template and date order (a file in
    // no device folder takes the factory installation's), 22 March 2006.
    const Labels labels =
        InterpretLabelsBytes(test::Slurp(PONDREL_RESOURCES_DIR "/Labels.txt")).read.labels;
    const DateTime now = {2006, 3, 22, 12, 0, 0};
    // The record as the file gives it back (fields 2 to 6 refilled from the identity block).
    PatientRecord opened;
    HostFileSystem files(temp.Path());
    ASSERT_TRUE(LoadPatientFile(files, u"\\Doe_Zoe_1950.pdr", opened).Ok());
    const LetterDays days = DaysOnOpening(opened, labels, now);
    const TemplateFill fill =
        FillTemplateBytes(test::Slurp(PONDREL_RESOURCES_DIR "/Out Letter Template.rtf"),
                          MakeTemplateData(opened, labels, DateOrder::MonthDayYear, now, days));
    ASSERT_TRUE(fill.Ok());
    EXPECT_EQ(test::Slurp(out), MarkedDocument(fill.bytes, opened));
    EXPECT_TRUE(IsDocumentOf(test::Slurp(out), record));
}

// The text of an RTF document with its "\uN'3f" escapes read back as characters (digits are
// escaped too in a run that holds a character beyond ASCII).
std::string Unescaped(const std::string& rtf) {
    std::string text;
    for (size_t i = 0; i < rtf.size(); ++i) {
        if (rtf.compare(i, 2, "\\u") == 0 && i + 2 < rtf.size() &&
            std::isdigit(static_cast<unsigned char>(rtf[i + 2]))) {
            size_t end = i + 2;
            int code = 0;
            while (end < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[end]))) {
                code = code * 10 + (rtf[end++] - '0');
            }
            if (rtf.compare(end, 4, "\\'3f") == 0) end += 4;
            text += code < 128 ? static_cast<char>(code) : '?';
            i = end - 1;
        } else {
            text += rtf[i];
        }
    }
    return text;
}

// A device prepared on a system whose locale writes the day first: every date of the letter,
// the birth date and the stay alike, comes day first; on a month-first system, month first.
TEST_F(LetterCommandTest, EveryDateFollowsTheDateOrderOfTheDevice) {
    for (const char* locale : {"de_CH.UTF-8", "en_US.UTF-8"}) {
        const bool dayFirst = std::string(locale).starts_with("de");
        const fs::path device = temp.Path() / locale;
        ::setenv("LC_ALL", locale, 1);
        test::ToolRun init = test::RunTool({"init-device", device.string()});
        ::unsetenv("LC_ALL");
        ASSERT_EQ(init.status, 0) << init.err;
        const fs::path inDevice = device / "My Documents" / "PD_ActivePatients" / file.filename();
        fs::copy_file(file, inDevice);
        test::ToolRun run = test::RunTool(
            {"letter", "out", inDevice.string(), out.string(), "--day", "2006-03-22"});
        ASSERT_EQ(run.status, 0) << run.err;
        const std::string letter = Unescaped(test::Slurp(out));
        // Admitted on 13 March 2006.
        EXPECT_NE(letter.find(dayFirst ? "13.3.2006" : "3.13.2006"), std::string::npos) << locale;
        EXPECT_EQ(letter.find(dayFirst ? "3.13.2006" : "13.3.2006"), std::string::npos) << locale;
        // Born 1 February 1950.
        EXPECT_NE(letter.find(dayFirst ? "1.2.1950" : "2.1.1950"), std::string::npos) << locale;
        EXPECT_EQ(letter.find(dayFirst ? "2.1.1950" : "1.2.1950"), std::string::npos) << locale;
    }
}

TEST_F(LetterCommandTest, EveryKindAndItsTemplate) {
    ASSERT_EQ(test::RunTool({"letter", "admission", file.string(), out.string()}).status, 0);
    EXPECT_EQ(test::Slurp(out).find("\\'a2"), std::string::npos);  // every code replaced
    const fs::path own = temp.Path() / "Own.rtf";
    test::Put(own, "{\\rtf1 {\\'a2E2# \\'a2553#}}");
    test::ToolRun run = test::RunTool(
        {"letter", "template", file.string(), out.string(), "--template", own.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(test::Slurp(out).substr(0, 10), "{\\rtf1 {\\u");
    EXPECT_EQ(test::RunTool({"letter", "template", file.string(), out.string()}).status, 2);
    EXPECT_EQ(test::RunTool({"letter", "summary", file.string(), out.string()}).status, 2);
    EXPECT_EQ(test::RunTool({"letter", "out", file.string()}).status, 2);
    EXPECT_EQ(test::RunTool({"letter", "out", file.string(), out.string(), "--day", "x"}).status,
              2);
}

TEST_F(LetterCommandTest, RefusesWhatTheProgramRefusesAndWritesNothing) {
    const fs::path damaged = temp.Path() / "Damaged.rtf";
    test::Put(damaged, "{\\rtf1 {\\b \\'a2E2#");
    test::ToolRun run = test::RunTool(
        {"letter", "template", file.string(), out.string(), "--template", damaged.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("damaged template"), std::string::npos);
    const fs::path big = temp.Path() / "Big.rtf";
    test::Put(big, "{\\rtf1 " + std::string(990'000, 'x') + "}");
    run = test::RunTool(
        {"letter", "admission", file.string(), out.string(), "--template", big.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("template too big"), std::string::npos);
    run = test::RunTool({"letter", "template", file.string(), out.string(), "--template",
                         (temp.Path() / "missing.rtf").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(fs::exists(out));
    // A template without codes is written, with a word on stderr.
    const fs::path plain = temp.Path() / "Plain.rtf";
    test::Put(plain, "{\\rtf1 Dear colleague}");
    run = test::RunTool(
        {"letter", "template", file.string(), out.string(), "--template", plain.string()});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.err.find("holds no code"), std::string::npos);
}

}  // namespace
}  // namespace pondrel
