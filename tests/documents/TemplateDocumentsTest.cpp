#include <gtest/gtest.h>

#include "LetterFixtures.h"
#include "TestPlatform.h"
#include "documents/DocumentFiles.h"
#include "documents/RtfFormat.h"
#include "documents/TemplateDocuments.h"
#include "platform/Text.h"
#include "settings/Preferences.h"

namespace pondrel::test {
namespace {

constexpr std::u16string_view kInstallation = u"\\Program files\\Pondrel";
constexpr std::u16string_view kPrintFolder = u"\\My Documents\\PD_PrintDoc";

// The names of the print folder's files ("<not listed>" when it can not be listed).
std::vector<std::u16string> PrintedFiles(MemoryFileSystem& files) {
    std::vector<std::u16string> names;
    if (!files.ListFiles(kPrintFolder, u"*", names)) names = {u"<not listed>"};
    return names;
}
const std::string kLetter = "{\\rtf1 {Dear \\'a2E2#}}";

class RecordingViews final : public DocumentViews {
public:
    void ShowOutLetter(const std::string& rtf, int zoom) override {
        outLetter = rtf;
        outLetterZoom = zoom;
        ++outLetterBuilds;
    }
    void ZoomOutLetter(int zoom) override { outLetterZoom = zoom; }
    void ShowTemplateDocument(const std::string& rtf, int zoom) override {
        templateDocument = rtf;
        templateZoom = zoom;
        ++templateBuilds;
    }
    void ZoomTemplateDocument(int zoom) override { templateZoom = zoom; }
    void SetManagerCaption(const std::u16string& text) override { caption = text; }
    void ShowPrintPreview(const std::string& rtf) override { previews.push_back(rtf); }
    void SetBusy(bool on) override { busy += on ? 1 : -1; }

    std::string outLetter;
    int outLetterZoom = 0;
    int outLetterBuilds = 0;
    std::string templateDocument;
    int templateZoom = 0;
    int templateBuilds = 0;
    std::u16string caption;
    std::vector<std::string> previews;
    int busy = 0;
};

class TemplateDocumentsTest : public ::testing::Test {
protected:
    TemplateDocumentsTest() {
        preferences.startCount = 20;
        device.files.AddFolder(kPrintFolder);
        device.files.AddFile(JoinPath(kInstallation, kOutLetterTemplate), kLetter);
        device.files.AddFile(JoinPath(kInstallation, kAdmissionTemplate), kLetter);
    }
    std::optional<std::string> Printed(std::u16string_view name) {
        return device.files.Bytes(JoinPath(kPrintFolder, name));
    }
    const ScriptedMessages::Notice& LastNotice() { return device.messages.notices.back(); }

    TestPlatform device;
    Preferences preferences;
    RecordingViews views;
    PatientRecord record = SamplePatient();
    TemplateDocuments documents{device.files,
                                device.messages,
                                std::u16string(kInstallation),
                                preferences,
                                views,
                                [this] { return std::optional<TemplateData>(SampleData(record)); }};
};

TEST_F(TemplateDocumentsTest, TheOutLetterPreviewIsBuiltOnceUntilThePatientChanges) {
    documents.OutLetterPageShown();
    documents.OutLetterPageShown();
    EXPECT_EQ(views.outLetterBuilds, 1);
    EXPECT_EQ(views.outLetter, "{\\rtf1 {Dear " + Escaped(u"Doe") + "}}");
    EXPECT_EQ(views.outLetterZoom, 50);
    EXPECT_EQ(views.busy, 0);
    documents.PatientChanged();
    documents.OutLetterPageShown();
    EXPECT_EQ(views.outLetterBuilds, 2);
}

TEST_F(TemplateDocumentsTest, SaveRebuildsAndWritesWithoutTouchingThePreview) {
    documents.SaveOutLetter();
    documents.SaveOutLetter();
    EXPECT_EQ(views.outLetterBuilds, 0);
    EXPECT_FALSE(documents.OutLetterCurrent());
    std::optional<std::string> saved = Printed(u"[Out letter] Doe Jane.rtf");
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->substr(0, 13), "{\\rtf1 {Dear ");
    EXPECT_TRUE(IsDocumentOf(*saved, record));
    EXPECT_EQ(PrintedFiles(device.files).size(), 1u);  // replaced, not numbered
    EXPECT_EQ(LastNotice().text,
              u"Out letter file created.\r\n\r\nFolder: \\My Documents\\PD_PrintDoc\r\n\r\nFile: [Out letter] Doe "
              u"Jane.rtf");
    EXPECT_EQ(LastNotice().milliseconds, 6000);
}

TEST_F(TemplateDocumentsTest, OutLetterZoomTogglesBetweenSmallAndLarge) {
    documents.OutLetterPageShown();
    documents.ToggleOutLetterZoom();
    EXPECT_EQ(views.outLetterZoom, 75);
    documents.ToggleOutLetterZoom();
    EXPECT_EQ(views.outLetterZoom, 35);
}

TEST_F(TemplateDocumentsTest, AMissingTemplateIsReportedAndTheNextShowTriesAgain) {
    device.files.DeleteFile(JoinPath(kInstallation, kOutLetterTemplate));
    documents.OutLetterPageShown();
    EXPECT_EQ(LastNotice().text,
              u"The model of the out letter can not be found. Be sure that the file: <Out Letter "
              u"Template.rtf> exists into the folder <\\Program files\\Pondrel>");
    EXPECT_EQ(LastNotice().milliseconds, 8000);
    EXPECT_TRUE(LastNotice().warning);
    EXPECT_FALSE(documents.OutLetterCurrent());
    device.files.AddFile(JoinPath(kInstallation, kOutLetterTemplate), kLetter);
    documents.OutLetterPageShown();
    EXPECT_EQ(views.outLetterBuilds, 1);
    device.files.DeleteFile(JoinPath(kInstallation, kAdmissionTemplate));
    documents.SaveAdmission();
    EXPECT_EQ(LastNotice().text,
              u"The template of the Admission can not be found. Be sure that the file: <Admission "
              u"template.rtf> exists into the folder <\\Program files\\Pondrel>");
}

TEST_F(TemplateDocumentsTest, TemplatesOverTheirLimitAreRefusedAndNothingIsWritten) {
    auto sized = [](size_t size) { return "{\\rtf1 " + std::string(size - 8, 'x') + "}"; };
    device.files.AddFile(JoinPath(kInstallation, kOutLetterTemplate), sized(995'001));
    device.files.AddFile(JoinPath(kInstallation, kAdmissionTemplate), sized(990'001));
    documents.SaveOutLetter();
    ASSERT_EQ(device.messages.boxes.size(), 1u);
    EXPECT_EQ(device.messages.boxes[0].caption, u"Template file load failure");
    EXPECT_EQ(device.messages.boxes[0].text,
              u"The file <Out Letter Template.rtf> is too big and can not be opened. Use only text "
              u"for this template to save memory. This file must not be bigger than 1Mo");
    documents.SaveAdmission();
    EXPECT_EQ(device.messages.boxes[1].text,
              u"The file <Admission template.rtf> is too big and can not be opened. Use only text "
              u"for this template to save memory. This file must not be greater than 1Mo");
    EXPECT_EQ(PrintedFiles(device.files).size(), 0u);
    // One byte less is accepted.
    device.files.AddFile(JoinPath(kInstallation, kOutLetterTemplate), sized(995'000));
    documents.OutLetterPageShown();
    EXPECT_EQ(views.outLetterBuilds, 1);
}

TEST_F(TemplateDocumentsTest, ADamagedTemplateIsRefusedWithAClearMessage) {
    device.files.AddFile(JoinPath(kInstallation, kOutLetterTemplate), "{\\rtf1 {\\b cut");
    documents.SaveOutLetter();
    ASSERT_EQ(device.messages.boxes.size(), 1u);
    EXPECT_EQ(device.messages.boxes[0].caption, u"Template file load failure");
    EXPECT_NE(device.messages.boxes[0].text.find(u"is not a complete RTF document"),
              std::u16string::npos);
    EXPECT_EQ(PrintedFiles(device.files).size(), 0u);
}

TEST_F(TemplateDocumentsTest, ATemplateWithoutCodesIsSaidSo) {
    device.files.AddFile(JoinPath(kInstallation, kOutLetterTemplate), "{\\rtf1 Dear colleague}");
    documents.OutLetterPageShown();
    EXPECT_EQ(views.outLetterBuilds, 1);
    EXPECT_EQ(LastNotice().text,
              u"The template <Out Letter Template.rtf> holds no code: the "
              u"document is the template as it stands.");
    documents.SaveOutLetter();
    EXPECT_NE(LastNotice().text.find(u"File: [Out letter] Doe Jane.rtf\r\n\r\nThe template <"),
              std::u16string::npos);
}

TEST_F(TemplateDocumentsTest, ComplexityNoticeDuringTheFirstStartsOnly) {
    preferences.startCount = 3;
    for (int i = 0; i < 3; ++i) {
        documents.PatientChanged();
        documents.OutLetterPageShown();
    }
    ASSERT_EQ(device.messages.notices.size(), 2u);
    EXPECT_EQ(device.messages.notices[0].text,
              u"The template is too complex to be recognized by your PDA. The result will be "
              u"normal on your desktop-PC");
    EXPECT_EQ(device.messages.notices[0].milliseconds, 4000);

    TemplateDocuments tenth{device.files,
                            device.messages,
                            std::u16string(kInstallation),
                            preferences,
                            views,
                            [this] { return std::optional<TemplateData>(SampleData(record)); }};
    preferences.startCount = 10;
    tenth.OutLetterPageShown();
    tenth.PreviewAdmission();
    EXPECT_EQ(device.messages.notices.size(), 2u);
    EXPECT_TRUE(device.messages.boxes.empty());
}

TEST_F(TemplateDocumentsTest, AdmissionPreviewWarnsTwiceThenShowsThePreviewEveryTime) {
    preferences.startCount = 1;
    for (int i = 0; i < 3; ++i) documents.PreviewAdmission();
    EXPECT_EQ(views.previews.size(), 3u);
    ASSERT_EQ(device.messages.boxes.size(), 2u);
    EXPECT_EQ(device.messages.boxes[0].text,
              u"This print preview is usually not the real result because the PocketPC doesn't "
              u"recognize the complex text fomat of your desktop PC. The saved document will be "
              u"exact.");
    documents.SaveAdmission();
    EXPECT_TRUE(Printed(u"[Admission] Doe Jane.rtf"));
    EXPECT_EQ(LastNotice().text,
              u"Admission file created.\r\n\r\nFolder: \\My Documents\\PD_PrintDoc\r\n\r\nFile: "
              u"[Admission] Doe Jane.rtf");
}

TEST_F(TemplateDocumentsTest, ASaveNeedsTheNamesOfThePatient) {
    record.SetField(3, u"");
    documents.SaveOutLetter();
    EXPECT_EQ(LastNotice().text,
              u"Out letter file not created.\r\nYou must enter the name and "
              u"birthdate of the patient");
    EXPECT_EQ(LastNotice().milliseconds, 5000);
    documents.SaveAdmission();
    EXPECT_EQ(LastNotice().text,
              u"Admission file not created.\r\nYou must enter the name and "
              u"birth date of the patient");
    EXPECT_EQ(PrintedFiles(device.files).size(), 0u);
    // The preview is still built.
    documents.OutLetterPageShown();
    EXPECT_EQ(views.outLetterBuilds, 1);
}

TEST_F(TemplateDocumentsTest, WithoutThePrintFolderTheSaveFails) {
    device.files.Fail(MemoryFileSystem::Op::Write, u"PD_PrintDoc");
    documents.SaveOutLetter();
    EXPECT_EQ(LastNotice().text,
              u"Out letter file not created.\r\nBe sure that the folder: "
              u"Mydocuments/PD_PrintDoc exist");
    EXPECT_TRUE(LastNotice().warning);
}

TEST_F(TemplateDocumentsTest, NamesNeverLeaveThePrintFolder) {
    record.SetField(2, u"..\\..\\Program files");
    record.SetField(3, u"a/b:c*?\"<>|\r\n");
    documents.SaveOutLetter();
    EXPECT_TRUE(Printed(u"[Out letter] .._.._Program files a_b_c________.rtf"));
    EXPECT_EQ(device.files.FileCount(), 3u);  // the two templates and the letter
    record.SetField(2, std::u16string(400, u'\u4E2D'));
    documents.SaveOutLetter();
    std::vector<std::u16string> names = PrintedFiles(device.files);
    ASSERT_EQ(names.size(), 2u);
    for (const std::u16string& name : names) EXPECT_LE(ToUtf8(name).size(), kMaxDocumentNameBytes);
}

TEST_F(TemplateDocumentsTest, AnotherPatientsDocumentOfTheSameNameIsKept) {
    documents.SaveOutLetter();
    const std::string first = *Printed(u"[Out letter] Doe Jane.rtf");
    PatientRecord other = SamplePatient();
    other.SetField(6, u"1980");  // Jane Doe born in 1980, another patient
    record = other;
    documents.SaveOutLetter();
    EXPECT_EQ(*Printed(u"[Out letter] Doe Jane.rtf"), first);
    EXPECT_TRUE(IsDocumentOf(*Printed(u"[Out letter] Doe Jane (2).rtf"), other));
    EXPECT_EQ(LastNotice().text,
              u"Out letter file created.\r\n\r\nFolder: \\My Documents\\PD_PrintDoc\r\n\r\nFile: "
              u"[Out letter] Doe Jane (2).rtf");
    // Her next save replaces her own document.
    documents.SaveOutLetter();
    EXPECT_EQ(PrintedFiles(device.files).size(), 2u);
}

TEST_F(TemplateDocumentsTest, ALetterEditedInAWordProcessorIsKept) {
    device.files.AddFile(JoinPath(kPrintFolder, u"[Out letter] Doe Jane.rtf"),
                         "{\\rtf1 Dear Doe, corrected by hand}");
    documents.SaveOutLetter();
    EXPECT_EQ(*Printed(u"[Out letter] Doe Jane.rtf"), "{\\rtf1 Dear Doe, corrected by hand}");
    EXPECT_TRUE(Printed(u"[Out letter] Doe Jane (2).rtf"));
}

TEST_F(TemplateDocumentsTest, TemplateDocumentFromAChosenFile) {
    const std::u16string path = u"\\My Documents\\Referral.v2.rtf";
    device.files.AddFile(path, kLetter);
    documents.ManagerPageShown();  // no template yet: nothing
    EXPECT_EQ(views.templateBuilds, 0);
    documents.ChooseTemplate(path);
    EXPECT_EQ(views.caption, u"Referral");
    EXPECT_EQ(views.templateBuilds, 1);
    EXPECT_EQ(views.templateZoom, 35);
    EXPECT_EQ(preferences.recentTemplates, path + u"0|");
    documents.ManagerPageShown();
    EXPECT_EQ(views.templateBuilds, 1);
    documents.ChooseTemplate(std::nullopt);  // cancelled: the last template again
    EXPECT_EQ(views.templateBuilds, 2);
    documents.SaveTemplateDocument();
    EXPECT_TRUE(Printed(u"[Referral] Doe Jane.rtf"));
    EXPECT_EQ(LastNotice().text,
              u"Referral document created.\r\n\r\nFile:  \\My Documents\\PD_PrintDoc\\[Referral] Doe Jane.rtf");
    EXPECT_EQ(LastNotice().milliseconds, 4000);
    record.SetField(2, u"");
    documents.SaveTemplateDocument();
    EXPECT_EQ(LastNotice().text,
              u"Referral file not created.\r\nYou must enter the name and birth "
              u"date of the patient");
}

TEST_F(TemplateDocumentsTest, ASavedDocumentUsedAsTemplateIsNotRemembered) {
    documents.SaveAdmission();
    documents.ChooseTemplate(std::u16string(kPrintFolder) + u"\\[Admission] Doe Jane.rtf");
    EXPECT_EQ(views.templateBuilds, 1);
    EXPECT_TRUE(preferences.recentTemplates.empty());
}

TEST_F(TemplateDocumentsTest, ADeletedTemplateLeavesTheRecentList) {
    preferences.recentTemplates = u"\\My Documents\\Gone.rtf1|\\My Documents\\Kept.rtf0|";
    EXPECT_EQ(documents.RecentRows(),
              (std::vector<std::u16string>{u"-- Clear all --", u"Gone", u"Kept"}));
    documents.ChooseRecentRow(1);
    EXPECT_EQ(LastNotice().text,
              u"The template can not be found.\r\n\r\nBe sure that the file: <Gone>\r\nexists into "
              u"the folder\r\n<\\My Documents\\Gone.rtf>");
    EXPECT_EQ(preferences.recentTemplates, u"\\My Documents\\Kept.rtf0|");
}

TEST_F(TemplateDocumentsTest, RecentRowsCarryTheirZoomAndCanBeCleared) {
    device.files.AddFile(u"\\My Documents\\Big.rtf", kLetter);
    preferences.recentTemplates = u"\\My Documents\\Big.rtf1|";
    documents.ChooseRecentRow(1);
    EXPECT_EQ(views.templateZoom, 75);
    documents.ToggleTemplateZoom();
    EXPECT_EQ(views.templateZoom, 35);
    EXPECT_EQ(preferences.recentTemplates, u"\\My Documents\\Big.rtf0|");
    device.messages.Queue(BoxAnswer::Cancel);
    documents.ChooseRecentRow(0);
    EXPECT_EQ(device.messages.boxes.back().text, u"Do you really want to clear all the list ?");
    EXPECT_EQ(device.messages.boxes.back().caption, u"Clear all ?");
    EXPECT_EQ(LastNotice().text, u"Cancel");
    EXPECT_FALSE(preferences.recentTemplates.empty());
    device.messages.Queue(BoxAnswer::Ok);
    documents.ChooseRecentRow(0);
    EXPECT_EQ(LastNotice().text, u"Clear all");
    EXPECT_TRUE(preferences.recentTemplates.empty());
}

TEST_F(TemplateDocumentsTest, TheRecentListIsBounded) {
    for (int i = 0; i < 30; ++i) {
        const std::u16string path = u"\\My Documents\\T" + ToText(i) + u".rtf";
        device.files.AddFile(path, kLetter);
        documents.ChooseTemplate(path);
    }
    std::vector<std::u16string> rows = documents.RecentRows();
    ASSERT_EQ(rows.size(), kMaxRecentTemplates + 1);
    EXPECT_EQ(rows[1], u"T10");
    EXPECT_EQ(rows.back(), u"T29");
}

}  // namespace
}  // namespace pondrel::test
