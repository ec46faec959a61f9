#include "labels/LabelsWriter.h"

#include <gtest/gtest.h>

#include "LabelsTexts.h"
#include "labels/LabelsReader.h"
#include "platform/Text.h"

namespace pondrel {
namespace {

using test::CurrentText;
using test::FieldRecords;
using test::Numbered;
using test::Sections;

TEST(LabelsWriterTest, EncodesMarkTextAndClosingZero) {
    EXPECT_EQ(EncodeLabelsText(u"40é"), std::string("\xFF\xFE"
                                                    "4\0"
                                                    "0\0"
                                                    "\xE9\0"
                                                    "\0\0",
                                                    10));
}

TEST(LabelsWriterTest, ComposedTextHasTheCurrentLayout) {
    std::u16string text = ComposeLabelsText(Labels::Defaults());
    EXPECT_EQ(text.substr(0, 4), u"40##");
    EXPECT_NE(text.find(u"||\r\n\r\n1##Done by##||\r\n\r\n2##Last name##||"), std::u16string::npos);
    EXPECT_NE(text.find(u"229##Window 87##||\r\n\r\n#Labels#|"), std::u16string::npos);
    EXPECT_NE(text.find(u"|\r\n\r\n#Plain text#|"), std::u16string::npos);
    EXPECT_NE(text.find(u"|\r\n\r\n#Date#|"), std::u16string::npos);
    EXPECT_EQ(text.substr(text.size() - 9), u"|Nov|Dec|");
}

TEST(LabelsWriterTest, RoundTripKeepsEveryValueTheReaderTakes) {
    Labels labels = Numbered();
    for (int n = 0; n < kLabelsFieldCount; ++n) {
        labels.captions[n] = u"Champ " + ToText(n) + u" é°";
        labels.shortcutLists[n] = n % 2 ? u"||" : u"¢2¢Menu (b)| &- a *c*| & b|c((1))||";
    }
    for (int i = 0; i < kUiLabelCount; ++i) {
        if (IsPassedOverLabel(i)) labels.uiLabels[i].clear();  // the reader passes them over
    }
    ASSERT_TRUE(CheckLabels(labels));
    LabelsReadResult read = ReadLabelsText(ComposeLabelsText(labels));
    EXPECT_EQ(read.labels, labels);
    EXPECT_FALSE(read.needsWriteBack);
    EXPECT_EQ(DecodeLabelsBytes(EncodeLabelsText(ComposeLabelsText(labels))).text,
              ComposeLabelsText(labels));
}

TEST(LabelsWriterTest, CheckRefusesValuesThatWouldNotReadBack) {
    Error error;
    Labels labels = Labels::Defaults();
    EXPECT_TRUE(CheckLabels(labels, &error));

    Labels bad = labels;
    bad.uiLabels[122] = u"Stop|Go";
    EXPECT_FALSE(CheckLabels(bad, &error));
    EXPECT_EQ(error.message, "label 122 holds \"|\" or \"#\"");

    bad = labels;
    bad.captions[7] = u"Weight #";
    EXPECT_FALSE(CheckLabels(bad, &error));

    for (std::u16string list : {u"a|b", u"a||b||", u"a|#b||", u"a|||", u""}) {
        bad = labels;
        bad.shortcutLists[3] = list;
        EXPECT_FALSE(CheckLabels(bad, &error)) << ToUtf8(list);
    }
}

TEST(LabelsWriterTest, WriteBackKeepsRecordsAndPassedOverItems) {
    Labels inFile = Numbered();
    inFile.uiLabels[184].clear();
    std::u16string records = FieldRecords(u"40", 230) + u"\r\n\r\n";
    std::u16string text = records + ComposeLabelsSections(inFile);
    LabelsReadResult read = ReadLabelsText(text);
    ASSERT_TRUE(read.needsWriteBack);
    std::optional<std::u16string> written = ComposeWriteBack(text, read);
    ASSERT_TRUE(written);
    EXPECT_EQ(written->substr(0, records.size()), records);
    LabelsReadResult again = ReadLabelsText(*written);
    EXPECT_FALSE(again.needsWriteBack);
    EXPECT_EQ(again.labels.uiLabels[184], u"No medicines");
    EXPECT_EQ(again.fileUiItems[5], u"Label 5");  // the file's own words, not the program's
    EXPECT_EQ(again.fileUiItems[58], u"Label 58");
    EXPECT_EQ(again.labels, read.labels);
}

TEST(LabelsWriterTest, WriteBackRefusedWhenItWouldLoseText) {
    Labels inFile = Numbered();
    inFile.uiLabels[184].clear();
    std::u16string text = FieldRecords(u"40", 230) + Sections(inFile);

    std::u16string noDate = text.substr(0, text.find(u"\r\n\r\n#Date#|"));
    EXPECT_FALSE(ComposeWriteBack(noDate, ReadLabelsText(noDate)));

    std::u16string stray = ReplaceAll(text, u"Label 100|", u"Label #100|");
    EXPECT_FALSE(ComposeWriteBack(stray, ReadLabelsText(stray)));

    std::u16string trailing = text + u"\r\nNotes of the department|";
    EXPECT_FALSE(ComposeWriteBack(trailing, ReadLabelsText(trailing)));

    EXPECT_TRUE(ComposeWriteBack(text + u"\r\n", ReadLabelsText(text + u"\r\n")));
}

}  // namespace
}  // namespace pondrel
