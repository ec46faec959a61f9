#include "labels/LabelsConverter.h"

#include <gtest/gtest.h>

#include "LabelsTexts.h"
#include "labels/LabelsFile.h"
#include "labels/LabelsReader.h"
#include "platform/Text.h"

namespace pondrel {
namespace {

using test::FieldRecords;
using test::Numbered;
using test::Sections;

TEST(LabelsLayoutTest, TheHeaderTellsTheLayout) {
    auto layout = [](std::u16string_view header) {
        return DetectLabelsLayout(std::u16string(header) + u"##A##||");
    };
    EXPECT_EQ(layout(u"40"), LabelsLayout::Current);
    EXPECT_EQ(layout(u"41"), LabelsLayout::Current);  // a later version is read as it is
    EXPECT_EQ(layout(u"3.00"), LabelsLayout::Version300);
    EXPECT_EQ(layout(u""), LabelsLayout::Version300);
    EXPECT_EQ(layout(u"2.30"), LabelsLayout::Version230);
    EXPECT_EQ(layout(u"2.10"), LabelsLayout::Before230);
    EXPECT_EQ(layout(u"Labels 40"), LabelsLayout::Before230);  // "#" after position 6
    EXPECT_EQ(DetectLabelsLayout(u"40 Send Stop Solved"), LabelsLayout::NotLabels);
    EXPECT_EQ(DetectLabelsLayout(u"40##A##"), LabelsLayout::NotLabels);  // no complete record
}

// The records every conversion path must end with, whatever the user wrote before them.
void ExpectConvertedRecords(const LabelsReadResult& read, int userRecords) {
    EXPECT_EQ(read.fieldRecords, 230);
    for (int n = 0; n < userRecords; ++n) {
        ASSERT_EQ(read.labels.captions[n], u"Caption " + ToText(n)) << n;
        ASSERT_EQ(read.labels.shortcutLists[n],
                  u"Item " + ToText(n) + u"|Other " + ToText(n) + u"||");
    }
    EXPECT_EQ(read.labels.captions[202], u"Formulary");
    EXPECT_EQ(read.labels.shortcutLists[202],
              u"Dialysis ambulatory|Cardiology ambulatory|Endocrinology ambulatory|"
              u"Physiotherapy|Psychiatrics meetings||");
    EXPECT_EQ(read.labels.captions[203], u"Window 61");
    EXPECT_EQ(read.labels.captions[229], u"Window 87");
    EXPECT_EQ(read.labels.shortcutLists[229], u"||");
    EXPECT_EQ(read.labels.sectionCaptions[0], u"Section 0");
    EXPECT_EQ(read.labels.uiLabels[200], u"Label 200");
    EXPECT_EQ(read.labels.shortMonthNames[11], u"Short 11");
}

TEST(LabelsConverterTest, Version300GainsRecords202To229Once) {
    std::u16string old = FieldRecords(u"3.00", 202) + Sections(Numbered());
    std::u16string converted = ConvertLabelsText(old);
    EXPECT_EQ(converted.substr(0, 4), u"40##");
    EXPECT_EQ(DetectLabelsLayout(converted), LabelsLayout::Current);
    ExpectConvertedRecords(ReadLabelsText(converted), 202);
    EXPECT_NE(converted.find(u"Other 201||\r\n\r\n202##Formulary##"), std::u16string::npos);
    // Everything after the header is kept: the converted text only gains records.
    EXPECT_EQ(converted.substr(converted.find(u"#Labels#|")), old.substr(old.find(u"#Labels#|")));
    EXPECT_EQ(ConvertLabelsText(converted), converted);
}

TEST(LabelsConverterTest, Version230GainsWindowsAndCharts) {
    std::u16string old = FieldRecords(u"2.30", 141) + Sections(Numbered());
    LabelsReadResult read = ReadLabelsText(ConvertLabelsText(old));
    ExpectConvertedRecords(read, 141);
    EXPECT_EQ(read.labels.captions[141], u"Window 1");
    EXPECT_EQ(read.labels.captions[199], u"Window 59");
    EXPECT_EQ(read.labels.captions[200], u"Chart N°");
    EXPECT_EQ(read.labels.captions[201], u"Chart 2");
}

TEST(LabelsConverterTest, EightBitFileBeforeVersion230IsWidenedAndCompleted) {
    std::u16string old = FieldRecords(u"2.00", 140) + Sections(Numbered());
    old = ReplaceAll(old, u"Caption 7##", u"Poids (kg) é##");
    LabelsInterpretation result = InterpretLabelsBytes(test::Latin1(old));
    EXPECT_EQ(result.encoding, LabelsEncoding::EightBit);
    EXPECT_EQ(result.layout, LabelsLayout::Before230);
    ASSERT_TRUE(result.newText);
    EXPECT_EQ(result.read.labels.captions[7], u"Poids (kg) é");
    EXPECT_EQ(result.read.labels.captions[140], u"Send 2");
    EXPECT_EQ(result.read.labels.captions[141], u"Window 1");
    EXPECT_EQ(result.read.fieldRecords, 230);
    EXPECT_EQ(result.read.labels.uiLabels[121], u"Label 121");
}

TEST(LabelsConverterTest, OldHeaderOnACompleteFileAddsNoDuplicateRecords) {
    std::u16string text = FieldRecords(u"3.00", 230) + Sections(Numbered());
    std::u16string converted = ConvertLabelsText(text);
    EXPECT_EQ(converted, u"40" + text.substr(4));
    EXPECT_EQ(CountOf(converted, u"##Formulary##"), 0u);
}

TEST(LabelsConverterTest, OldFileWithoutSectionsStillGainsItsRecords) {
    std::u16string converted = ConvertLabelsText(FieldRecords(u"3.00", 202) + u"\r\n");
    LabelsReadResult read = ReadLabelsText(converted);
    EXPECT_EQ(read.fieldRecords, 230);
    EXPECT_EQ(read.labels.captions[201], u"Caption 201");
    EXPECT_EQ(converted.substr(converted.size() - 2), u"\r\n");
}

}  // namespace
}  // namespace pondrel
