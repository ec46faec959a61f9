#include "labels/LabelsFile.h"

#include <gtest/gtest.h>

#include "LabelsTexts.h"
#include "TestPlatform.h"
#include "labels/LabelsWriter.h"
#include "platform/Text.h"

namespace pondrel {
namespace {

using test::FieldRecords;
using test::Numbered;
using test::Sections;

constexpr std::u16string_view kFolder = u"\\Program files\\Pondrel";
constexpr std::u16string_view kPath = u"\\Program files\\Pondrel\\Labels.txt";
constexpr std::u16string_view kBackup = u"\\Program files\\Pondrel\\Labels.txt.bak";

class LabelsFileTest : public ::testing::Test {
protected:
    LabelsLoadOutcome Load() {
        LabelsFile file(m_test.files, m_test.messages, std::u16string(kFolder));
        return file.Load();
    }
    void Put(const std::string& bytes) { m_test.files.AddFile(kPath, bytes); }
    std::string Stored() { return m_test.files.Bytes(kPath).value_or("<none>"); }
    std::u16string StoredText() { return DecodeLabelsBytes(Stored()).text; }
    std::vector<test::ScriptedMessages::Box>& Boxes() { return m_test.messages.boxes; }

    test::TestPlatform m_test;
};

TEST_F(LabelsFileTest, MissingFileIsToldAndEndsTheProgram) {
    LabelsLoadOutcome outcome = Load();
    EXPECT_EQ(outcome.status, LabelsLoadStatus::Missing);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text,
              u"The <<Labels.txt>> file is not found !\r\nIt must be present into the folder "
              u"<<\\Program files\\Pondrel\\Labels.txt>>");
    EXPECT_EQ(Boxes()[0].caption, u"File load failure 11");
    EXPECT_EQ(Boxes()[0].icon, BoxIcon::Error);
}

TEST_F(LabelsFileTest, CurrentFileIsReadAndLeftAlone) {
    std::string bytes = EncodeLabelsText(test::CurrentText());
    Put(bytes);
    LabelsLoadOutcome outcome = Load();
    EXPECT_EQ(outcome.status, LabelsLoadStatus::Loaded);
    EXPECT_FALSE(outcome.rewritten);
    EXPECT_EQ(outcome.labels.captions[12], u"Caption 12");
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(Stored(), bytes);
    EXPECT_FALSE(m_test.files.FileExists(kBackup));
}

TEST_F(LabelsFileTest, OlderLayoutIsConvertedOnceWithABackup) {
    std::string old = EncodeLabelsText(FieldRecords(u"3.00", 202) + Sections(Numbered()));
    Put(old);
    LabelsLoadOutcome first = Load();
    EXPECT_EQ(first.status, LabelsLoadStatus::Loaded);
    EXPECT_EQ(first.layout, LabelsLayout::Version300);
    EXPECT_TRUE(first.rewritten);
    EXPECT_EQ(first.labels.captions[229], u"Window 87");
    EXPECT_EQ(m_test.files.Bytes(kBackup), old);
    EXPECT_EQ(StoredText().substr(0, 4), u"40##");
    EXPECT_EQ(Stored().substr(Stored().size() - 2), std::string(2, '\0'));
    EXPECT_TRUE(Boxes().empty());

    std::string converted = Stored();
    LabelsLoadOutcome second = Load();
    EXPECT_EQ(second.layout, LabelsLayout::Current);
    EXPECT_FALSE(second.rewritten);
    EXPECT_EQ(second.labels, first.labels);
    EXPECT_EQ(Stored(), converted);
}

TEST_F(LabelsFileTest, FailedWriteKeepsTheOldFileAndTheConvertedValues) {
    std::string old = EncodeLabelsText(FieldRecords(u"3.00", 202) + Sections(Numbered()));
    Put(old);
    m_test.files.Fail(test::MemoryFileSystem::Op::Write, u"Labels.txt");
    LabelsLoadOutcome outcome = Load();
    EXPECT_EQ(outcome.status, LabelsLoadStatus::Loaded);
    EXPECT_FALSE(outcome.rewritten);
    EXPECT_EQ(outcome.labels.captions[202], u"Formulary");
    EXPECT_EQ(Stored(), old);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, u"Conversion of <Labels.txt> file failure !");
    EXPECT_EQ(Boxes()[0].caption, u"Save failure");
    EXPECT_EQ(Boxes()[0].icon, BoxIcon::Error);

    LabelsFile file(m_test.files, m_test.messages, std::u16string(kFolder));
    EXPECT_FALSE(file.SaveText(u"40##A##||"));
    EXPECT_EQ(Stored(), old);
}

TEST_F(LabelsFileTest, MissingWordsAreWrittenBackKeepingTheUsersText) {
    Labels inFile = Numbered();
    inFile.uiLabels[179].clear();
    inFile.uiLabels[122] = u"Arrêt";
    std::u16string text = FieldRecords(u"40", 230) + Sections(inFile);
    Put(EncodeLabelsText(text));
    LabelsLoadOutcome outcome = Load();
    EXPECT_TRUE(outcome.rewritten);
    EXPECT_EQ(outcome.labels.uiLabels[179], u"Girl");
    LabelsReadResult stored = ReadLabelsText(StoredText());
    EXPECT_FALSE(stored.needsWriteBack);
    EXPECT_EQ(stored.labels.uiLabels[179], u"Girl");
    EXPECT_EQ(stored.labels.uiLabels[122], u"Arrêt");
    EXPECT_EQ(stored.fileUiItems[3], u"Label 3");  // passed-over items survive the rewrite
    EXPECT_EQ(stored.labels.captions, outcome.labels.captions);
    EXPECT_EQ(stored.labels.shortcutLists, outcome.labels.shortcutLists);
}

TEST_F(LabelsFileTest, WriteBackWithoutDateSectionIsRefusedAndTold) {
    Labels inFile = Numbered();
    inFile.uiLabels[190].clear();
    std::u16string text = FieldRecords(u"40", 230) + Sections(inFile);
    text = text.substr(0, text.find(u"\r\n\r\n#Date#|"));
    std::string bytes = EncodeLabelsText(text);
    Put(bytes);
    LabelsLoadOutcome outcome = Load();
    EXPECT_EQ(outcome.status, LabelsLoadStatus::Loaded);
    EXPECT_EQ(outcome.labels.uiLabels[190], u"S: Graph");
    EXPECT_FALSE(outcome.rewritten);
    EXPECT_EQ(Stored(), bytes);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, u"New labels can't be saved to the file <Labels.txt>");
    EXPECT_EQ(Boxes()[0].caption, u"Can't save new labels");
}

TEST_F(LabelsFileTest, OversizedFileIsUsedButNeverRewritten) {
    std::u16string text = FieldRecords(u"3.00", 202) + Sections(Numbered());
    text += u"\r\n" + std::u16string(510'000 - text.size(), u'x');
    std::string bytes = EncodeLabelsText(text);
    Put(bytes);
    LabelsLoadOutcome outcome = Load();
    EXPECT_EQ(outcome.status, LabelsLoadStatus::Loaded);
    EXPECT_EQ(outcome.labels.captions[203], u"Window 61");
    EXPECT_FALSE(outcome.rewritten);
    EXPECT_EQ(Stored(), bytes);
    ASSERT_FALSE(Boxes().empty());
    EXPECT_EQ(Boxes()[0].text, u"The file labels.txt is too big.");
    EXPECT_EQ(Boxes()[0].caption, u"");

    // An editor reading the file learns that writing it back would cut it.
    LabelsFile file(m_test.files, m_test.messages, std::u16string(kFolder));
    std::optional<LabelsFileText> read = file.ReadText();
    ASSERT_TRUE(read);
    EXPECT_TRUE(read->cut);
    EXPECT_EQ(read->text.size(), 499'999u);  // 1,000,000 bytes less the mark
    m_test.files.AddFile(kPath, EncodeLabelsText(u"40##A##||"));
    EXPECT_FALSE(file.ReadText()->cut);
    EXPECT_FALSE(LabelsFile(m_test.files, m_test.messages, u"\\Elsewhere").ReadText());
}

TEST_F(LabelsFileTest, FileWithoutRecordsIsKeptAndDefaultsAreUsed) {
    for (std::string bytes : {std::string(), EncodeLabelsText(u"Send|Stop|"),
                              std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16)}) {
        Boxes().clear();
        Put(bytes);
        LabelsLoadOutcome outcome = Load();
        EXPECT_EQ(outcome.status, LabelsLoadStatus::Unreadable);
        EXPECT_EQ(outcome.labels, Labels::Defaults());
        EXPECT_EQ(Stored(), bytes);
        ASSERT_EQ(Boxes().size(), 1u);
        EXPECT_EQ(Boxes()[0].caption, u"File load failure 11");
    }
}

TEST_F(LabelsFileTest, RootInstallationFolder) {
    m_test.files.AddFile(u"\\Labels.txt", EncodeLabelsText(test::CurrentText()));
    LabelsFile file(m_test.files, m_test.messages, u"");
    EXPECT_EQ(file.Path(), u"\\Labels.txt");
    EXPECT_EQ(file.Load().status, LabelsLoadStatus::Loaded);
}

}  // namespace
}  // namespace pondrel
