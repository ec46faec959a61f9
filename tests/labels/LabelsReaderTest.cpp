#include "labels/LabelsReader.h"

#include <gtest/gtest.h>

#include "LabelsTexts.h"
#include "records/PatientRecord.h"
#include "labels/LabelsWriter.h"
#include "platform/Text.h"

namespace pondrel {
namespace {

using test::CurrentText;
using test::FieldRecords;
using test::Numbered;
using test::Sections;

TEST(LabelsDecodingTest, TakesTheEncodingFromTheMarkOrTheBytes) {
    std::u16string text = u"40##Poids é€##||";
    DecodedLabels utf16 = DecodeLabelsBytes(EncodeLabelsText(text));
    EXPECT_EQ(utf16.encoding, LabelsEncoding::Utf16);
    EXPECT_EQ(utf16.text, text);  // the closing zero is not part of the text

    DecodedLabels noMark = DecodeLabelsBytes(test::Utf16Bytes(text));
    EXPECT_EQ(noMark.encoding, LabelsEncoding::Utf16NoMark);
    EXPECT_EQ(noMark.text, text);

    std::string bigEndian = "\xFE\xFF";
    for (char16_t c : text) {
        bigEndian += static_cast<char>(c >> 8);
        bigEndian += static_cast<char>(c & 0xFF);
    }
    EXPECT_EQ(DecodeLabelsBytes(bigEndian).text, text);
    EXPECT_EQ(DecodeLabelsBytes(bigEndian).encoding, LabelsEncoding::Utf16BigEndian);

    // A file saved by a desktop editor, with or without the UTF-8 mark.
    EXPECT_EQ(DecodeLabelsBytes("\xEF\xBB\xBF" + ToUtf8(text)).text, text);
    DecodedLabels utf8 = DecodeLabelsBytes(ToUtf8(text));
    EXPECT_EQ(utf8.encoding, LabelsEncoding::Utf8);
    EXPECT_EQ(utf8.text, text);

    // An older 8-bit file: Windows-1252, where 0x80 is the euro sign.
    DecodedLabels eightBit = DecodeLabelsBytes("40##Poids \xE9\x80##||");
    EXPECT_EQ(eightBit.encoding, LabelsEncoding::EightBit);
    EXPECT_EQ(eightBit.text, text);
}

TEST(LabelsDecodingTest, DamagedBytesGiveTextNotFailure) {
    EXPECT_EQ(DecodeLabelsBytes("").text, u"");
    EXPECT_EQ(DecodeLabelsBytes("\xFF\xFE").text, u"");
    // An odd last byte is ignored; zero units inside the text are dropped.
    std::string bytes = std::string("\xFF\xFE", 2) + test::Utf16Bytes(u"40##A") +
                        std::string("\0\0", 2) + test::Utf16Bytes(u"B##||") + "\x41";
    EXPECT_EQ(DecodeLabelsBytes(bytes).text, u"40##AB##||");
    // Several closing zeros.
    EXPECT_EQ(DecodeLabelsBytes(EncodeLabelsText(u"40##A##||") + std::string(4, '\0')).text,
              u"40##A##||");
}

TEST(LabelsReaderTest, ReadsEveryValueOfACompleteFile) {
    LabelsReadResult read = ReadLabelsText(CurrentText());
    EXPECT_EQ(read.fieldRecords, 230);
    EXPECT_FALSE(read.needsWriteBack);
    EXPECT_TRUE(read.sectionCaptions.intact && read.plainText.intact && read.date.intact);
    const Labels& labels = read.labels;
    EXPECT_EQ(labels.captions[0], u"Caption 0");
    EXPECT_EQ(labels.captions[229], u"Caption 229");
    EXPECT_EQ(labels.shortcutLists[7], u"Item 7|Other 7||");
    EXPECT_EQ(labels.sectionCaptions[29], u"Section 29");
    EXPECT_EQ(labels.uiLabels[0], u"Label 0");
    EXPECT_EQ(labels.uiLabels[249], u"Label 249");
    EXPECT_EQ(labels.weekdayNames[6], u"Weekday 6");
    EXPECT_EQ(labels.monthNames[11], u"Month 11");
    EXPECT_EQ(labels.ageWords[3], u"Age 3");
    EXPECT_EQ(labels.shortMonthNames[11], u"Short 11");
    // Passed-over labels keep the program's values (none) but are remembered as found.
    EXPECT_EQ(labels.uiLabels[1], u"");
    EXPECT_EQ(labels.uiLabels[18], u"");
    EXPECT_EQ(labels.uiLabels[58], u"");
    EXPECT_EQ(labels.uiLabels[75], u"");
    EXPECT_EQ(labels.uiLabels[19], u"Label 19");
    EXPECT_EQ(labels.uiLabels[57], u"Label 57");
    EXPECT_EQ(labels.uiLabels[76], u"Label 76");
    ASSERT_EQ(read.fileUiItems.size(), 250u);
    EXPECT_EQ(read.fileUiItems[58], u"Label 58");
}

TEST(LabelsReaderTest, LineFeedsAloneReadLikeCarriageReturnLineFeeds) {
    std::u16string crlf = CurrentText();
    std::u16string lf = ReplaceAll(crlf, u"\r\n", u"\n");
    EXPECT_EQ(ReadLabelsText(lf).labels, ReadLabelsText(crlf).labels);
    // Line breaks put between items by a hand edit are not part of the words.
    std::u16string broken = ReplaceAll(crlf, u"Label 121|", u"\r\nLabel 121\r\n|");
    EXPECT_EQ(ReadLabelsText(broken).labels.uiLabels[121], u"Label 121");
}

TEST(LabelsReaderTest, FewerRecordsLeaveTheRestAtTheirDefaults) {
    // A file cut after 150 records and without sections.
    LabelsReadResult read = ReadLabelsText(FieldRecords(u"40", 150) + u"\r\n\r\n151##Cut");
    EXPECT_EQ(read.fieldRecords, 150);
    EXPECT_EQ(read.labels.captions[149], u"Caption 149");
    EXPECT_EQ(read.labels.captions[150], FieldName(150));
    EXPECT_EQ(read.labels.captions[229], u"Window 87");
    EXPECT_EQ(read.labels.shortcutLists[150], u"||");
    EXPECT_FALSE(read.plainText.found);
    // Built-in words still apply.
    EXPECT_EQ(read.labels.uiLabels[122], u"Stop");
    EXPECT_EQ(read.labels.shortMonthNames[0], u"Jan");
}

TEST(LabelsReaderTest, AnEmptyCaptionKeepsTheFieldName) {
    std::u16string text = u"40##Caption 0##||\r\n\r\n1####Dr A|Dr B||\r\n\r\n2####||";
    LabelsReadResult read = ReadLabelsText(text);
    EXPECT_EQ(read.fieldRecords, 3);
    EXPECT_EQ(read.labels.captions[1], u"Done by");
    EXPECT_EQ(read.labels.shortcutLists[1], u"Dr A|Dr B||");
    EXPECT_EQ(read.labels.captions[2], u"Last name");
    EXPECT_EQ(read.labels.shortcutLists[2], u"||");
}

TEST(LabelsReaderTest, BuiltInWordsFillEmptyLabels) {
    Labels labels = Numbered();
    labels.uiLabels[122] = u"";
    labels.uiLabels[121] = u"Début";
    labels.uiLabels[90] = u"blank";
    labels.uiLabels[88] = u"";
    labels.uiLabels[191] = u"Page 37";
    labels.uiLabels[192] = u"Page 38";
    labels.uiLabels[130] = u"";
    LabelsReadResult read = ReadLabelsText(FieldRecords(u"40", 230) + Sections(labels));
    EXPECT_EQ(read.labels.uiLabels[122], u"Stop");
    EXPECT_EQ(read.labels.uiLabels[121], u"Début");
    EXPECT_EQ(read.labels.uiLabels[90], u"Server");
    EXPECT_EQ(read.labels.uiLabels[88], u"Send");
    EXPECT_EQ(read.labels.uiLabels[191], u"Quick notes");
    EXPECT_EQ(read.labels.uiLabels[192], u"S: Evolution");
    EXPECT_EQ(read.labels.uiLabels[130], u"Now");
    // None of these is a word the file must be given.
    EXPECT_FALSE(read.needsWriteBack);

    labels.uiLabels[184] = u"";
    read = ReadLabelsText(FieldRecords(u"40", 230) + Sections(labels));
    EXPECT_EQ(read.labels.uiLabels[184], u"No medicines");
    EXPECT_TRUE(read.needsWriteBack);
}

TEST(LabelsReaderTest, ShortPlainTextSectionGetsTheBuiltInWords) {
    std::u16string text = FieldRecords(u"40", 230) + u"\r\n\r\n#Labels#|";
    for (int i = 0; i < 30; ++i) text += u"S|";
    text += u"\r\n\r\n#Plain text#|";
    for (int i = 0; i < 100; ++i) text += u"Label " + ToText(i) + u"|";
    text += u"\r\n\r\n#Date#|";
    for (int i = 0; i < 35; ++i) text += u"W" + ToText(i) + u"|";
    LabelsReadResult read = ReadLabelsText(text);
    EXPECT_EQ(read.plainText.items, 100);
    EXPECT_TRUE(read.plainText.intact);
    EXPECT_EQ(read.labels.uiLabels[99], u"Label 99");
    EXPECT_EQ(read.labels.uiLabels[100], u"");
    EXPECT_EQ(read.labels.uiLabels[179], u"Girl");
    EXPECT_EQ(read.labels.uiLabels[187], u"One time");
    EXPECT_TRUE(read.needsWriteBack);
    EXPECT_EQ(read.labels.shortMonthNames[0], u"W23");  // the date section is read as it stands
}

TEST(LabelsReaderTest, EmptyLastShortMonthGivesAllBuiltInShortMonths) {
    Labels labels = Numbered();
    labels.shortMonthNames[11] = u"";
    LabelsReadResult read = ReadLabelsText(FieldRecords(u"40", 230) + Sections(labels));
    EXPECT_EQ(read.labels.shortMonthNames[0], u"Jan");
    EXPECT_EQ(read.labels.shortMonthNames[8], u"Sept");
    EXPECT_TRUE(read.needsWriteBack);
}

TEST(LabelsReaderTest, StrayHashEndsTheSectionAndMarksItDamaged) {
    std::u16string text = ReplaceAll(CurrentText(), u"Label 147|", u"Room #|");
    LabelsReadResult read = ReadLabelsText(text);
    EXPECT_EQ(read.plainText.items, 147);
    EXPECT_FALSE(read.plainText.intact);
    EXPECT_EQ(read.labels.uiLabels[146], u"Label 146");
    EXPECT_EQ(read.labels.uiLabels[147], u"Room n°");  // not read: built-in word
    // Items beyond the count are damage too: a rewrite would drop them.
    std::u16string extra = ReplaceAll(CurrentText(), u"Label 249|", u"Label 249|Label 250|");
    EXPECT_FALSE(ReadLabelsText(extra).plainText.intact);
    EXPECT_TRUE(ReadLabelsText(CurrentText()).plainText.intact);
}

TEST(LabelsTest, AccessorsAreSafeForAnyIndex) {
    Labels labels = Labels::Defaults();
    labels.uiLabels[52] = u"Mrs";
    labels.uiLabels[53] = u"Mr";
    EXPECT_EQ(labels.Label(-1), u"");
    EXPECT_EQ(labels.Label(250), u"");
    EXPECT_EQ(labels.Caption(230), u"");
    EXPECT_EQ(labels.CivilityWord(0), u"Mrs");
    EXPECT_EQ(labels.CivilityWord(7), u"Mr");  // a damaged `sex` value
    // A civility not chosen yet has no word, and no blank is put before the name.
    labels.uiLabels[54] = u"Mrs.";
    EXPECT_EQ(labels.CivilityWord(kSexNotChosen), u"");
    EXPECT_EQ(labels.TitleWord(kSexNotChosen), u"");
    EXPECT_EQ(labels.TitleBefore(kSexNotChosen), u"");
    EXPECT_EQ(labels.TitleBefore(0), u"Mrs. ");
    EXPECT_EQ(labels.DayOneCaption(), u"D1");
    labels.uiLabels[124] = u"";
    EXPECT_EQ(labels.DayOneCaption(), u"1");
    EXPECT_EQ(labels.Caption(82), u"Radio\tgraphic films");
}

}  // namespace
}  // namespace pondrel
