// The ward documents and the summary files as a word processor reads them: the factory models
// filled for a demo ward and for a patient whose texts look like RTF, converted to plain text by
// LibreOffice (one start for all), must show the texts as typed, in order.

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "SummaryFixture.h"
#include "TempFolder.h"
#include "demo/DemoPatients.h"
#include "documents/FactoryModels.h"
#include "documents/ModelFiller.h"
#include "documents/SummaryFiles.h"
#include "documents/WardDocuments.h"

namespace pondrel::test {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::u16string Model(std::u16string_view name) {
    for (const auto& [file, bytes] : FactoryModels()) {
        if (file != name) continue;
        std::u16string text;
        for (unsigned char c : bytes) text += static_cast<char16_t>(c);
        return text;
    }
    return {};
}

class WardLibreOfficeCheck : public SummaryTest {
protected:
    void SetUp() override {
        if (std::system("command -v soffice > /dev/null 2>&1") != 0) {
            GTEST_SKIP() << "soffice (LibreOffice) is not installed: documents not checked";
        }
        labels.uiLabels[125] = u"P";
        labels.uiLabels[21] = u"Date";
        DemoOptions options;
        options.patients = 3;
        demo = MakeDemoPatients(options);
        hostile = Patient(u"Zo\u00EB {\\rtf1", u"}}}} \u00E9\u20AC\u4E2D", u"4", u"7", u"1950");
        hostile.admission = {2006, 3, 13, 9, 0, 0};
        hostile.admissionDay = kMar13;
        hostile.SetField(60, u"Dr {\\b Bold}");
        hostile.SetField(61, u"Fell \\par at home");
        hostile.problemJournal = u"\u00A70|\\par {\\b x}\u00A6\u00A6A\u00A6#" + ToText(kMar14) +
                                 u"\u00A70|cough \\par}{|||||";
        sources.onDay.treatments = {{u"Amoxicillin {\\i 1 g}", u"D2", 0}};
    }

    // Writes the document and returns its text as LibreOffice reads it.
    std::u16string Converted(const std::string& name, const std::u16string& text) {
        TempFolder folder("pondrel-ward");
        const std::optional<std::string> bytes = ModelDocumentBytes(text);
        EXPECT_TRUE(bytes);
        std::ofstream(folder / (name + ".rtf"), std::ios::binary) << bytes.value_or("");
        const std::string command =
            "cd '" + folder.Path().string() + "' && soffice -env:UserInstallation=file://" +
            (folder.Path() / "profile").string() +
            " --headless --convert-to 'txt:Text (encoded):UTF8' --outdir txt *.rtf > log 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << ReadFile(folder / "log");
        return FromUtf8(ReadFile(folder / "txt" / (name + ".txt")));
    }

    static void ExpectInOrder(const std::u16string& text,
                              std::initializer_list<std::u16string_view> values) {
        ASSERT_FALSE(text.empty());
        size_t from = 0;
        for (std::u16string_view value : values) {
            const size_t at = text.find(value, from);
            EXPECT_NE(at, std::u16string::npos) << ToUtf8(value) << " not found in order";
            if (at != std::u16string::npos) from = at + value.size();
        }
    }

    std::vector<PatientRecord> demo;
    PatientRecord hostile;
};

TEST_F(WardLibreOfficeCheck, EveryDocumentShowsTheRecordsTextsAsTyped) {
    WardInputs inputs;
    inputs.day = kMar14;
    inputs.paragraphs[0] = {u"Motive", u"\u00A2F61#"};
    inputs.rooms = {u"{\\b x}\\"};
    inputs.rows.push_back({nullptr, u"{\\b x}\\"});
    for (const PatientRecord& r : demo) inputs.rows.push_back({&r, {}});
    inputs.rows.push_back({&hostile, {}});

    const WardModels big{Model(kBigSummaryModel), Model(kBigSummaryEvenRowModel),
                         Model(kBigSummaryOddRowModel)};
    const WardDocument bigDocument = BuildBigSummary(big, inputs, Context());
    ASSERT_EQ(bigDocument.failure, WardFailure::None);
    const std::u16string bigText = Converted("big", bigDocument.text);
    ExpectInOrder(bigText, {demo[0].Field(2), demo[1].Field(2), demo[2].Field(2),
                            u"Zo\u00EB {\\rtf1 }}}} \u00E9\u20AC\u4E2D", u"Dr {\\b Bold}",
                            u"\\par {\\b x} :", u"cough \\par}{", u"Fell \\par at home",
                            u"Amoxicillin {\\i 1 g}"});
    EXPECT_EQ(bigText.find(u"pondrel"), std::u16string::npos);

    const WardModels small{Model(kSmallSummaryModel), Model(kSmallSummaryLineModel),
                           Model(kSmallSummaryEndModel)};
    const WardDocument smallDocument = BuildSmallSummary(small, inputs, Context());
    ASSERT_EQ(smallDocument.failure, WardFailure::None);
    ExpectInOrder(Converted("small", smallDocument.text),
                  {u"{\\b x}\\", u"Tuesday, 14 March 2006", demo[0].Field(2),
                   u"Zo\u00EB {\\rtf1 }}}} \u00E9\u20AC\u4E2D", u"-\\par {\\b x}",
                   u"-Amoxicillin {\\i 1 g} D2"});

    OpenPatient open;
    open.record = &hostile;
    open.currentDay = kMar14;
    ExpectInOrder(Converted("day", BuildDaySummaryFile(Model(kPrintModel), open, Context(), {})),
                  {u"Zo\u00EB {\\rtf1 }}}} \u00E9\u20AC\u4E2D 4.7.1950", u"P1 - \\par {\\b x}:",
                   u"cough \\par}{.", u"Amoxicillin {\\i 1 g}", u"D2"});
    ExpectInOrder(
        Converted("problem", BuildProblemSummaryFile(Model(kPrintModel), open, Context(), {})),
        {u"Zo\u00EB {\\rtf1 }}}} \u00E9\u20AC\u4E2D", u"P 1/1 - \\par {\\b x}", u"cough \\par}{."});
}

}  // namespace
}  // namespace pondrel::test
