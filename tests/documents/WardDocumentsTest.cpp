#include <chrono>
#include <fstream>
#include <iterator>

#include "MemoryFileSystem.h"
#include "SummaryFixture.h"
#include "documents/DocumentFiles.h"
#include "documents/FactoryModels.h"
#include "documents/ModelFiller.h"
#include "documents/RtfFormat.h"
#include "documents/RtfMarkup.h"
#include "documents/SentenceList.h"
#include "documents/SummaryBlocks.h"
#include "documents/SummaryDocumentCommands.h"
#include "documents/SummaryFiles.h"
#include "Doubles.h"
#include "documents/WardDocuments.h"
#include "documents/WardFragments.h"
#include "records/WorkingFolders.h"

namespace pondrel::test {
namespace {

using ward_fragment::Version;

std::u16string Models(std::u16string_view name) {
    for (const auto& [file, bytes] : FactoryModels()) {
        if (file == name) {
            std::u16string text;
            for (unsigned char c : bytes) text += static_cast<char16_t>(c);
            return text;
        }
    }
    return {};
}

WardModels FactoryWardModels(WardDocumentKind kind) {
    if (kind == WardDocumentKind::Big) {
        return {Models(kBigSummaryModel), Models(kBigSummaryEvenRowModel),
                Models(kBigSummaryOddRowModel)};
    }
    return {Models(kSmallSummaryModel), Models(kSmallSummaryLineModel),
            Models(kSmallSummaryEndModel)};
}

// True when every group of the RTF is closed and nothing closes more than was opened.
bool BracesBalanced(std::string_view rtf) {
    int depth = 0;
    for (size_t i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\') {
            ++i;  // "\{", "\}" and "\\" are text
        } else if (rtf[i] == '{') {
            ++depth;
        } else if (rtf[i] == '}') {
            if (--depth < 0) return false;
        }
    }
    return depth == 0;
}

// How the documents write a record text.
std::string Escaped(std::u16string_view text) {
    std::u16string out;
    AppendRtfEscaped(out, text);
    return ToUtf8(out);
}

std::string Bytes(const std::u16string& text) {
    std::optional<std::string> bytes = ModelDocumentBytes(text);
    return bytes ? *bytes : std::string();
}

class WardDocumentsTest : public SummaryTest {
protected:
    WardDocumentsTest() {
        labels.uiLabels[125] = u"P";
        labels.uiLabels[21] = u"Date";
        inputs.day = kMar14;
        inputs.paragraphs[0] = {u"Motive of Hospitalization", u"\u00A2F61#"};
    }

    PatientRecord& Add(std::u16string last, std::u16string first, std::u16string journal) {
        patients.push_back(std::make_unique<PatientRecord>(
            Patient(std::move(last), std::move(first), u"4", u"7", u"1950")));
        PatientRecord& r = *patients.back();
        r.admission = {2006, 3, 13, 9, 0, 0};
        r.admissionDay = kMar13;
        r.problemJournal = std::move(journal);
        inputs.rows.push_back({&r, {}});
        return r;
    }

    std::vector<std::unique_ptr<PatientRecord>> patients;
    WardInputs inputs;
};

// "§p|" + title + "¦dd¦state¦redaction" headers and a day block of 14 March.
std::u16string Journal(std::initializer_list<std::pair<std::u16string, std::u16string>> problems,
                       std::u16string dayEntries = {}) {
    std::u16string text;
    int p = 0;
    for (const auto& [title, state] : problems) {
        text += u"\u00A7" + ToText(p++) + u"|" + title + u"\u00A6\u00A6" + state + u"\u00A6";
    }
    if (!dayEntries.empty()) text += u"#" + ToText(kMar14) + dayEntries;
    return text;
}

TEST_F(WardDocumentsTest, TheFactoryModelsAreTheProgramsAndHoldItsFragments) {
    for (const auto& [name, bytes] : FactoryModels()) {
        std::ifstream in(std::string(PONDREL_RESOURCES_DIR) + "/" + ToUtf8(name), std::ios::binary);
        const std::string stored((std::istreambuf_iterator<char>(in)),
                                 std::istreambuf_iterator<char>());
        EXPECT_EQ(stored, bytes) << ToUtf8(name) << ": run pondrel-tool models-factory resources";
        EXPECT_EQ(stored.find('\\'), std::string::npos) << ToUtf8(name);
    }
    const std::u16string first = Models(kBigSummaryModel);
    const std::u16string models[] = {first, Models(kBigSummaryEvenRowModel),
                                     Models(kBigSummaryOddRowModel)};
    for (const std::u16string& model : models) {
        const Version v = &model == &models[0] ? Version::FirstRow : Version::FollowOn;
        EXPECT_NE(model.find(ward_fragment::FirstProblemBlock(v)), std::u16string::npos);
        for (int k = 2; k <= 5; ++k) {
            EXPECT_NE(model.find(ward_fragment::ParagraphBlock(k, v)), std::u16string::npos) << k;
        }
        for (int k = 6; k <= 8; ++k) {
            EXPECT_NE(model.find(ward_fragment::ListLine(k, v)), std::u16string::npos) << k;
        }
    }
    EXPECT_EQ(first.find(ward_fragment::FirstProblemBlock(Version::FollowOn)), std::u16string::npos);
    EXPECT_EQ(Models(kBigSummaryOddRowModel).find(ward_fragment::FirstProblemHead(Version::FirstRow)),
              std::u16string::npos);
}

TEST_F(WardDocumentsTest, RowsAlternateBetweenTheRowModelsAndEmptyBedsDoNotCount) {
    const std::u16string block = ward_fragment::FirstProblemBlock(Version::FollowOn);
    WardModels models{u"<first XX2XX " + ward_fragment::FirstProblemBlock(Version::FirstRow) + u">",
                      u"<even XX2XX " + block + u">", u"<odd XX2XX " + block + u">"};
    Add(u"A", u"a", {});
    inputs.rows.push_back({nullptr, u"12"});
    Add(u"B", u"b", {});
    Add(u"C", u"c", {});
    const WardDocument document = BuildBigSummary(models, inputs, Context());
    ASSERT_EQ(document.failure, WardFailure::None);
    EXPECT_EQ(document.patientRows, 3);
    const size_t a = document.text.find(u"<first");
    const size_t b = document.text.find(u"<even");
    const size_t c = document.text.find(u"<odd");
    EXPECT_TRUE(a < b && b < c && c != std::u16string::npos);

    // A model without the head of the first problem block is corrupted: no document.
    models.last = u"<odd XX2XX>";
    EXPECT_EQ(BuildBigSummary(models, inputs, Context()).failure, WardFailure::Corrupted);
    inputs.rows = {{nullptr, u"12"}};
    EXPECT_EQ(BuildBigSummary(models, inputs, Context()).failure, WardFailure::Empty);
}

TEST_F(WardDocumentsTest, ProblemsOfTheBigSummaryFollowTheirStates) {
    const WardModels models = FactoryWardModels(WardDocumentKind::Big);
    Add(u"Closed", u"first", Journal({{u"Gone", u"C"}, {u"Asthma", u"A"}}));
    Add(u"None", u"at all", {});
    Add(u"All", u"closed", Journal({{u"Gone", u"C"}}));
    const WardDocument document = BuildBigSummary(models, inputs, Context());
    ASSERT_EQ(document.failure, WardFailure::None);
    const std::string rtf = Bytes(document.text);
    EXPECT_TRUE(BracesBalanced(rtf));
    EXPECT_EQ(rtf.find(Escaped(u"Gone")), std::string::npos);
    EXPECT_NE(rtf.find(Escaped(u"Asthma") + " :"), std::string::npos);
    EXPECT_NE(rtf.find(Escaped(u"No problem")), std::string::npos);
    // The first row's problem is the further block (space before), not the first one.
    EXPECT_NE(rtf.find("\\sb120\\widctlpar\\intbl\\aspalpha"), std::string::npos);
    EXPECT_EQ(rtf.find("YY1YY"), std::string::npos);
    EXPECT_EQ(rtf.find("TT1TT"), std::string::npos);
    EXPECT_EQ(rtf.find("SS6SS"), std::string::npos);
}

TEST_F(WardDocumentsTest, HostileTextsAreEscapedAndTheDocumentStaysWellFormed) {
    for (WardDocumentKind kind : {WardDocumentKind::Big, WardDocumentKind::Small}) {
        patients.clear();
        inputs.rows.clear();
        PatientRecord& r = Add(u"Zo\u00EB {\\rtf1", u"}}}} \u00E9\u20AC\u4E2D",
                               Journal({{u"\\par {\\b x}", u"A"}},
                                       u"\u00A70|}}}}|\\par||-\\par}{|||"));
        r.SetField(61, u"{\\rtf1 motive");
        r.SetField(98, u"#0|N|call {\\b}");
        inputs.rows.push_back({nullptr, u"{\\b x}\\"});
        inputs.rooms = {u"{\\b x}\\"};
        sources.onDay.treatments = {{u"Drug {\\i x}", u"Start", 0}};
        sources.onDay.actions = {{u"Act }", u"Stop", 0}};
        const WardDocument document =
            kind == WardDocumentKind::Big
                ? BuildBigSummary(FactoryWardModels(kind), inputs, Context())
                : BuildSmallSummary(FactoryWardModels(kind), inputs, Context());
        ASSERT_EQ(document.failure, WardFailure::None);
        const std::string rtf = Bytes(document.text);
        EXPECT_TRUE(BracesBalanced(rtf)) << static_cast<int>(kind);
        EXPECT_EQ(rtf.find("{\\rtf1 motive"), std::string::npos);
        EXPECT_EQ(rtf.find("{\\b x}"), std::string::npos);
        EXPECT_EQ(rtf.find("Drug {"), std::string::npos);
        EXPECT_EQ(rtf.rfind("{\\rtf1"), 0u);  // the document's own header only
    }
}

TEST_F(WardDocumentsTest, TheSmallSummaryListsBedsInOrderWithTheirLists) {
    const WardModels models = FactoryWardModels(WardDocumentKind::Small);
    inputs.rooms = {u"101", u"102"};
    inputs.rows.push_back({nullptr, u"101"});
    PatientRecord& r = Add(u"Doe", u"John", Journal({{u"Asthma.", u"A"}, {u"Old", u"I"}}));
    r.SetField(94, u"102");
    std::u16string tasks;
    for (int i = 1; i <= 12; ++i) tasks += u"Task " + ToText(i) + u"|N|";
    r.SetField(98, tasks);
    inputs.rows.push_back({nullptr, u"not a room"});
    sources.onDay.treatments = {{u"Drug", u"D2", 0}};
    sources.onDay.actions = {{u"Act", u"D1", 0}};
    const WardDocument document = BuildSmallSummary(models, inputs, Context());
    ASSERT_EQ(document.failure, WardFailure::None);
    EXPECT_EQ(document.emptyBeds, 1);
    EXPECT_EQ(document.patientRows, 1);
    const std::string rtf = Bytes(document.text);
    EXPECT_TRUE(BracesBalanced(rtf));
    EXPECT_LT(rtf.find(Escaped(u"101")), rtf.find(Escaped(u"Doe")));
    EXPECT_NE(rtf.find(Escaped(u"-Asthma") + "\\par "), std::string::npos);
    EXPECT_EQ(rtf.find(Escaped(u"-Old")), std::string::npos);
    EXPECT_NE(rtf.find(Escaped(u"-Drug D2") + "\\par " +
                       Escaped(std::u16string(14, u' ') + std::u16string(48, u'-')) + "\\par " +
                       Escaped(u"-Act D1")),
              std::string::npos);
    EXPECT_NE(rtf.find(Escaped(u"Task 9") + ", " + Escaped(u"Task 10") + "."), std::string::npos);
    EXPECT_EQ(rtf.find(Escaped(u"Task 11")), std::string::npos);
    EXPECT_EQ(rtf.find(Escaped(u"not a room")), std::string::npos);
}

TEST_F(WardDocumentsTest, RecentExaminationsCountOnlyDaysWithExaminations) {
    PatientRecord r = Patient(u"Doe", u"John", u"1", u"1", u"1950");
    for (DayNumber d = kMar13 - 20; d <= kMar15; ++d) {
        r.problemJournal += u"#" + ToText(d) + u"\u00A70|||" +
                            (d % 2 == 0 ? u"Hb " + ToText(d) : std::u16string()) + u"|||";
    }
    const std::u16string text = RecentExaminations(r, kMar14, 3, words).PlainText();
    EXPECT_EQ(text.find(u"Hb " + ToText(kMar15)), std::u16string::npos);
    int days = 0;
    for (size_t at = text.find(u"Hb "); at != std::u16string::npos; at = text.find(u"Hb ", at + 1)) {
        ++days;
    }
    EXPECT_EQ(days, 3);
}

TEST_F(WardDocumentsTest, FieldCodesOfTheFormatAndEmptyParagraphs) {
    PatientRecord r = Patient(u"Doe", u"John", u"1", u"1", u"1950");
    r.SetField(61, u"Fall");
    EXPECT_EQ(ExpandFieldCodes(u"Why: \u00A2F61#\u00A2X61#, 5 \u00A2", r, labels),
              u"Why: Fall, 5 \u00A2");
    EXPECT_EQ(ExpandFieldCodes(u"\u00A2F61d# \u00A2F62d#", r, labels).substr(0, 6), u"Fall <");
    EXPECT_EQ(ExpandFieldCodes(u"\u00A2F62#", r, labels), u"");
    EXPECT_EQ(CleanSummaryText(u"-a  b\r\n-c ..;: "), u"a b, c");
}

TEST_F(WardDocumentsTest, AnOversizedModelIsRefusedNotCut) {
    MemoryFileSystem files;
    files.AddFile(u"\\P\\AddTable1.pdt", std::string(kRowModelReadBytes + 1, 'x'));
    files.AddFile(u"\\P\\AddTable2.pdt", std::string(kRowModelReadBytes, 'x'));
    EXPECT_EQ(ReadWholeModel(files, u"\\P", u"AddTable1.pdt", kRowModelReadBytes).failure,
              ModelReadFailure::TooBig);
    EXPECT_EQ(ReadWholeModel(files, u"\\P", u"AddTable2.pdt", kRowModelReadBytes).failure,
              ModelReadFailure::None);
    EXPECT_EQ(ReadWholeModel(files, u"\\P", u"Missing.pdt", kRowModelReadBytes).failure,
              ModelReadFailure::NotFound);
    files.AddFile(u"\\P\\Summary All Patients.pdt", "x");
    const WardModelsRead read = ReadWardModels(files, u"\\P", WardDocumentKind::Big);
    EXPECT_FALSE(read.models);
    EXPECT_EQ(read.failed.name, u"AddTable1.pdt");
    EXPECT_EQ(read.failed.failure, ModelReadFailure::TooBig);
}

TEST_F(WardDocumentsTest, AWardPastTheLimitIsRefusedAtOnce) {
    const WardModels models = FactoryWardModels(WardDocumentKind::Big);
    const std::u16string big(20'000, u'\u00E9');  // escaped to about 8 bytes each
    for (int i = 0; i < 2000; ++i) Add(u"Doe", big, {});
    const auto start = std::chrono::steady_clock::now();
    const WardDocument document = BuildBigSummary(models, inputs, Context());
    EXPECT_EQ(document.failure, WardFailure::TooBig);
    EXPECT_LT(document.patientRows, 10);  // stopped at the row that crossed the limit
    EXPECT_TRUE(document.text.empty());
    (void)start;
}

TEST_F(WardDocumentsTest, NamesAndThePrintFolderRule) {
    EXPECT_EQ(WardFileName(WardDocumentKind::Big, kMar13, words),
              u"[Mon 13 Mar 2006] Big summary all patients.rtf");
    EXPECT_EQ(WardFileName(WardDocumentKind::Small, kMar13, words),
              u"[Mon 13 Mar 2006] Small summary all patients.rtf");
    EXPECT_EQ(WardLongDate(kMar13, words), u"Monday, 13 March 2006");
    EXPECT_EQ(WardShortDate(kMar13, words), u"Mo 13 Mar");

    MemoryFileSystem files;
    files.AddFolder(WorkingFolders::kPrintDoc);
    const std::u16string name = WardFileName(WardDocumentKind::Big, kMar13, words);
    const std::u16string path = JoinPath(WorkingFolders::kPrintDoc, name);
    EXPECT_EQ(SaveKindDocument(files, name, "{\\rtf1 one}", "bigsummary"), name);
    EXPECT_EQ(SaveKindDocument(files, name, "{\\rtf1 two}", "bigsummary"), name);  // our own
    EXPECT_NE(files.Bytes(path)->find("two"), std::string::npos);
    files.AddFile(path, "{\\rtf1 edited by hand}");
    const std::optional<std::u16string> numbered =
        SaveKindDocument(files, name, "{\\rtf1 three}", "bigsummary");
    EXPECT_EQ(numbered, u"[Mon 13 Mar 2006] Big summary all patients (2).rtf");
    EXPECT_EQ(*files.Bytes(path), "{\\rtf1 edited by hand}");
    // The small summary of the same day never replaces the big one's file.
    EXPECT_EQ(SaveKindDocument(files, numbered.value_or(u""), "{\\rtf1 s}", "smallsummary"),
              u"[Mon 13 Mar 2006] Big summary all patients (2) (2).rtf");
}

TEST_F(WardDocumentsTest, DaySummaryFileLeavesOutClosedProblemsAndListsEveryTask) {
    PatientRecord r = Patient(u"Doe", u"John", u"4", u"7", u"1950");
    r.admissionDay = kMar13;
    r.problemJournal = Journal({{u"Cough", u"A"}, {u"Gone", u"C"}, {u"Fever", u"A"}},
                               u"\u00A70|||Hb 12\r\n-CRP 5|||");
    std::u16string tasks;
    for (int i = 1; i <= 12; ++i) tasks += u"Task " + ToText(i) + u"|N|";
    r.SetField(98, tasks);
    OpenPatient open;
    open.record = &r;
    open.currentDay = kMar14;
    const std::u16string text =
        BuildDaySummaryFile(Models(kPrintModel), open, Context(), SummaryFileOptions{});
    const std::string rtf = Bytes(text);
    EXPECT_TRUE(BracesBalanced(rtf));
    EXPECT_NE(rtf.find(Escaped(u"P1 - ")), std::string::npos);
    EXPECT_EQ(rtf.find(Escaped(u"P2 - ")), std::string::npos);
    EXPECT_NE(rtf.find(Escaped(u"P3 - ")), std::string::npos);
    EXPECT_NE(rtf.find(Escaped(u"Hb 12, CRP 5.")), std::string::npos);
    EXPECT_NE(rtf.find(Escaped(u"Task 12")), std::string::npos);
    // Fever has no section that day: its heading, then two block ends.
    const size_t fever = rtf.find(Escaped(u"Fever:"));
    ASSERT_NE(fever, std::string::npos);
    const size_t first = rtf.find("\\outlinelevel1", fever);
    const size_t second = rtf.find("\\outlinelevel1", first + 1);
    EXPECT_LT(second, rtf.find(Escaped(u"To do")));

    open.currentProblem = 0;
    const std::string problem =
        Bytes(BuildProblemSummaryFile(Models(kPrintModel), open, Context(), SummaryFileOptions{}));
    EXPECT_TRUE(BracesBalanced(problem));
    EXPECT_NE(problem.find(Escaped(u"P 1/3 - Cough")), std::string::npos);
}

TEST_F(WardDocumentsTest, ProblemShortTitles) {
    EXPECT_EQ(ProblemShortTitle(u"Pneumonia bilateral", 0, 3, labels), u"Pneumonia bi");
    EXPECT_EQ(ProblemShortTitle(u"Asthma", 0, 3, labels), u"Asthma");
    EXPECT_EQ(ProblemShortTitle(u"", 1, 3, labels), u"P 2\u00A63 ");
    EXPECT_EQ(ProblemShortTitle(u"a/b?c.d e", 0, 1, labels), u"abcd e");
}

TEST_F(WardDocumentsTest, SaveAllNamesEveryPatientOnceAndCountsHonestly) {
    MemoryFileSystem files;
    files.AddFolder(WorkingFolders::kPrintDoc);
    PatientRecord a = Patient(u"Doe", u"John", u"1", u"1", u"1950");
    PatientRecord b = Patient(u"Doe", u"John", u"2", u"2", u"1960");
    b.SetField(200, u"chart 2");
    PatientRecord nameless = Patient(u"", u"", u"1", u"1", u"1950");
    const std::vector<const PatientRecord*> list = {&a, &b, &nameless};
    SaveAllResult result =
        SaveAllDaySummaries(files, Models(kPrintModel), list, kMar14, Context(), {});
    ASSERT_EQ(result.written.size(), 2u);
    EXPECT_NE(result.written[0], result.written[1]);
    ASSERT_EQ(result.failed.size(), 1u);
    EXPECT_EQ(result.failed[0].second, SummaryFileFailure::NoName);
    // A second run replaces each patient's own file and adds none.
    result = SaveAllDaySummaries(files, Models(kPrintModel), list, kMar14, Context(), {});
    EXPECT_EQ(result.written.size(), 2u);
    EXPECT_EQ(files.AllFiles().size(), 2u);
    EXPECT_EQ(result.written[0], u"[SD][Tu 14 Mar 2006] Doe John.rtf");
}

// The buttons' runs: the files written, the notices and boxes shown.
class SummaryDocumentCommandsTest : public WardDocumentsTest {
protected:
    SummaryDocumentCommandsTest() {
        files.AddFolder(WorkingFolders::kPrintDoc);
        for (const auto& [name, bytes] : FactoryModels()) files.AddFile(u"\\P\\" + name, bytes);
    }
    MemoryFileSystem files;
    ScriptedMessages messages;
    SummaryDocumentCommands commands{files, messages, u"\\P"};
};

TEST_F(SummaryDocumentCommandsTest, WardDocumentsAreWrittenAndReported) {
    Add(u"Doe", u"John", Journal({{u"Asthma", u"A"}}));
    EXPECT_TRUE(commands.WriteWardDocument(WardDocumentKind::Big, inputs, Context()));
    ASSERT_EQ(messages.notices.size(), 1u);
    EXPECT_EQ(messages.notices[0].text,
              u"Big summary created.\r\n\r\nFile: \\My Documents\\PD_PrintDoc\\[Tue 14 Mar 2006] Big "
              u"summary all patients.rtf");
    EXPECT_TRUE(commands.WriteWardDocument(WardDocumentKind::Small, inputs, Context()));
    EXPECT_EQ(messages.notices[1].text, u"Small summary created.\r\n\r\nFile:  \\My Documents\\PD_PrintDoc\\[Tue 14 Mar "
                                        u"2006] Small summary all patients.rtf");
    EXPECT_TRUE(BracesBalanced(*files.Bytes(JoinPath(
        WorkingFolders::kPrintDoc, u"[Tue 14 Mar 2006] Big summary all patients.rtf"))));

    // A model one byte too long is refused with a notice, and nothing is written.
    files.AddFile(u"\\P\\Sum Dep AddLine.pdt", std::string(kRowModelReadBytes + 1, 'x'));
    EXPECT_FALSE(commands.WriteWardDocument(WardDocumentKind::Small, inputs, Context()));
    EXPECT_NE(messages.notices.back().text.find(u"<Sum Dep AddLine.pdt> is longer than 15000"),
              std::u16string::npos);
    files.DeleteFile(u"\\P\\Sum Dep AddLine.pdt");
    EXPECT_FALSE(commands.WriteWardDocument(WardDocumentKind::Small, inputs, Context()));
    EXPECT_EQ(messages.notices.back().text,
              u"A file can not be found. Be sure that the file <\\Sum Dep AddLine.pdt> exists "
              u"into the folder <Pondrel>");

    inputs.rows.clear();
    EXPECT_FALSE(commands.WriteWardDocument(WardDocumentKind::Big, inputs, Context()));
    EXPECT_EQ(messages.notices.back().text, u"No records");
    inputs.rows.push_back({nullptr, u"12"});
    EXPECT_FALSE(commands.WriteWardDocument(WardDocumentKind::Big, inputs, Context()));
    EXPECT_EQ(messages.notices.back().text, u"The summary is empty");
}

TEST_F(SummaryDocumentCommandsTest, ATooBigWardGivesTheMemoryLimitBox) {
    for (int i = 0; i < 40; ++i) Add(u"Doe", std::u16string(20'000, u'\u00E9'), {});
    EXPECT_FALSE(commands.WriteWardDocument(WardDocumentKind::Big, inputs, Context()));
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].caption, u"Memory limit");
    EXPECT_EQ(files.AllFiles().size(), FactoryModels().size());  // nothing written
}

TEST_F(SummaryDocumentCommandsTest, SaveAllAsksThenCountsAndNamesTheFailures) {
    PatientRecord& a = Add(u"Doe", u"John", {});
    PatientRecord& nameless = Add(u"", u"", {});
    const std::vector<const PatientRecord*> list = {&a, &nameless};
    messages.Queue(BoxAnswer::Cancel);
    EXPECT_EQ(commands.SaveAllDaySummaries(list, kMar14, Context(), {}), 0);
    EXPECT_EQ(messages.notices.back().text, u"Cancel");
    messages.Queue(BoxAnswer::Ok);
    EXPECT_EQ(commands.SaveAllDaySummaries(list, kMar14, Context(), {}), 1);
    EXPECT_EQ(messages.boxes.back().caption, u"Save summaries of the day");
    EXPECT_EQ(messages.notices.back().text,
              u"1 summary file created.\r\n\r\nLook in the folder: \\My Documents\\PD_PrintDoc\r\n\r\nNot "
              u"created (1):\r\n(no name): no name");
    EXPECT_TRUE(messages.notices.back().warning);
}

TEST_F(SummaryDocumentCommandsTest, SaveOneAndSaveAndPreview) {
    PatientRecord& a = Add(u"Doe", u"John", Journal({{u"Pneumonia bilateral", u"A"}}));
    OpenPatient open;
    open.record = &a;
    open.currentDay = kMar14;
    EXPECT_TRUE(commands.SaveDaySummary(open, Context(), {}));
    EXPECT_EQ(messages.notices.back().text, u"Summary file created. Look in the folder: "
                                            u"\\My Documents\\PD_PrintDoc\r\n\r\nFile: [SD][Tu 14 Mar 2006] Doe "
                                            u"John.rtf");
    EXPECT_TRUE(commands.SaveProblemSummary(open, Context(), {}));
    EXPECT_EQ(messages.notices.back().text,
              u"Summary file has been created\r\n\r\nFile: \\My Documents\\PD_PrintDoc\\[SP][Pneumonia "
              u"bi] Doe John.rtf");
    const std::optional<std::string> preview = commands.DayPreview(open, Context(), {});
    ASSERT_TRUE(preview);
    EXPECT_EQ(preview->rfind("{\\rtf1", 0), 0u);
    EXPECT_TRUE(BracesBalanced(*preview));
    files.DeleteFile(u"\\P\\PrintModel.pdt");
    EXPECT_FALSE(commands.ProblemPreview(open, Context(), {}));
    EXPECT_EQ(messages.notices.back().text,
              u"A file can not be found. Be sure that the file <PrintModel.pdt> exists.");
}

TEST_F(WardDocumentsTest, SentenceInsertionFollowsTheTextBeforeTheCaret) {
    const auto insert = [](std::u16string_view text, std::u16string_view row) {
        return InsertSentence(text, text.size(), text.size(), row).value_or(SentenceInsertion{}).text;
    };
    EXPECT_EQ(insert(u"Stable, ", u"Fever 39"), u"Stable, Fever 39");
    EXPECT_EQ(insert(u"Stable", u"Fever 39"), u"Stable Fever 39");
    EXPECT_EQ(insert(u"Stable", u"- Cough, "), u"Stable cough");
    EXPECT_EQ(insert(u"Stable ", u"Cough"), u"Stable cough");  // one blank between
    EXPECT_EQ(insert(u"Stable. ", u"Cough"), u"Stable. Cough");
    EXPECT_EQ(insert(u"", u"Cough"), u"Cough");
    EXPECT_FALSE(InsertSentence(u"x", 1, 1, u" - ,."));
    // The selection is replaced; the caret follows the sentence.
    const std::optional<SentenceInsertion> replaced = InsertSentence(u"ab old cd", 3, 6, u"New");
    ASSERT_TRUE(replaced);
    EXPECT_EQ(replaced->text, u"ab new cd");
    EXPECT_EQ(replaced->caret, 6u);
}

TEST_F(WardDocumentsTest, SentenceRowsOfTheEvolution) {
    PatientRecord r = Patient(u"Doe", u"John", u"1", u"1", u"1950");
    r.problemJournal = u"\u00A70|Asthma\u00A6Allergy\r\n-Cardiac\u00A6A\u00A6#" +
                       ToText(kMar14) + u"\u00A70|Wheezing.\r\n-normal|||||";
    labels.uiLabels[34] = u"normal";
    SummaryLists running;
    running.treatments = {{u"Salbutamol", u"D2", 0}};
    const std::u16string text =
        EvolutionText(r, 0, {{kMar13, u"D1 Mon"}, {kMar14, u"D2 Tue"}}, running, labels);
    const std::vector<std::u16string> rows = SentenceRows(text, false);
    const std::vector<std::u16string> expected = {
        std::u16string(kEvolutionRow), u" ", u"------- D2 Tue -------", u"Wheezing",
        u"------- Differential diagnosis -------", u"Asthma", u"Allergy", u"Cardiac",
        u"------- Treatments -------", u"Salbutamol D2"};
    EXPECT_EQ(rows, expected);
}

TEST_F(WardDocumentsTest, SentenceRowsOfTheAdmissionRecord) {
    PatientRecord r = Patient(u"Doe", u"John", u"1", u"1", u"1950");
    labels.uiLabels[146] = u"General information";
    labels.captions[7] = u"Weight [kg]";
    labels.captions[11] = u"Systolic P [mmHg]";
    labels.captions[13] = u"Pulse";
    labels.captions[40] = u"BP [mmHg]";
    r.SetField(61, u"Dyspnoea for 3 days.\r\n-fever");
    r.SetField(7, u"70");
    r.SetField(11, u"120");
    r.SetField(12, u"80");
    r.SetField(13, u"88\r\n");
    r.SetField(95, u"22.9");
    r.SetField(40, u"135");  // its diastolic half left empty
    r.SetField(48, u"300");
    r.SetField(62, u"Asthma");  // on no page: left out
    r.SetField(94, u"12");      // the room, as the entry summary, is left out
    r.SetField(120, u"Doe");    // an identity field: left out
    FormArrangement arrangement;
    arrangement.fieldPage.fill(kNoFormPage);
    for (int k : {61, 7, 11, 12, 13, 94, 95, 120}) arrangement.fieldPage[static_cast<size_t>(k)] = 0;
    for (int k : {40, 41, 48}) arrangement.fieldPage[static_cast<size_t>(k)] = 3;
    arrangement.pageTitles[3] = u"Status: Cardio-pulmonary system of the patient today";
    const std::vector<std::u16string> rows =
        SentenceRows(AdmissionText(r, arrangement, labels), true);
    const std::vector<std::u16string> expected = {
        std::u16string(kAdmissionRow), u" ", u"------- General information -------",
        u"Weight=70 kg", u"Systolic P=120/80 mmHg", u"Pulse=88", u"BMI=22.9",
        u"Dyspnoea for 3 days", u"-fever",
        u"------- Cardio-pulmonary system of the p -------", u"BP=135 mmHg",
        u"Peek Flow=300"};
    EXPECT_EQ(rows, expected);
    // A record without admission data gives the two first rows only.
    const PatientRecord empty = Patient(u"Roe", u"Jane", u"2", u"2", u"1960");
    EXPECT_EQ(SentenceRows(AdmissionText(empty, arrangement, labels), true).size(), 2u);
    // A hostile text stays text: the rows hold it as typed.
    r.SetField(61, u"{\\rtf1 }}}} \u00E9\u20AC\u4E2D");
    const std::u16string hostile = AdmissionText(r, arrangement, labels);
    EXPECT_NE(hostile.find(u"|{\\rtf1 }}}} \u00E9\u20AC\u4E2D|"), std::u16string::npos);
}

// A patient whose civility was never chosen: the documents name the patient without a title
// word and without a blank in its place; the file names are those of any patient.
TEST_F(WardDocumentsTest, ACivilityNotChosenLeavesTheTitleOut) {
    PatientRecord r = Patient(u"Doe", u"John", u"1", u"2", u"1950");
    r.sex = kSexNotChosen;
    r.inUse = 1;
    OpenPatient open;
    open.record = &r;
    open.currentDay = kMar14;
    const std::u16string model = u"{\u00ACrtf1 ";
    const std::u16string day = BuildDaySummaryFile(model, open, Context(), {});
    // Every character of a record text is written as an escape: "ulnone " is followed at once
    // by the "D" of "Doe", with no title word and no blank before it.
    const std::u16string doe = u"ulnone \\u68\\'3f\\u111\\'3f\\u101\\'3f \\u74";
    EXPECT_NE(day.find(doe), std::u16string::npos) << ToUtf8(day.substr(0, 400));
    EXPECT_NE(BuildProblemSummaryFile(model, open, Context(), {}).find(doe), std::u16string::npos);
    r.sex = 1;
    EXPECT_EQ(BuildDaySummaryFile(model, open, Context(), {}).find(doe), std::u16string::npos);
    r.sex = kSexNotChosen;
    EXPECT_EQ(DaySummaryFileName(r, kMar14, Context().words),
              u"[SD][Tu 14 Mar 2006] Doe John.rtf");
    EXPECT_EQ(DocumentFileName(u"Out letter", r), u"[Out letter] Doe John.rtf");
    // The all-patients heading and the ward document's row.
    EXPECT_EQ(PatientNameText(r, Context()).rfind(u"Doe John", 0), 0u);
    r.sex = 1;
    EXPECT_EQ(PatientNameText(r, Context()).rfind(u"Mr Doe John", 0), 0u);
}

}  // namespace
}  // namespace pondrel::test
