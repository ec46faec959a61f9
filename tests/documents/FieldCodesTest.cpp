#include <gtest/gtest.h>

#include "LetterFixtures.h"
#include "documents/FieldTexts.h"
#include "documents/TemplateCode.h"
#include "platform/Text.h"

namespace pondrel::test {
namespace {

class FieldCodesTest : public ::testing::Test {
protected:
    // The plain text a code gives for field `field` holding `value`.
    std::u16string Code(std::u16string_view code, int field, std::u16string value) {
        record.SetField(field, std::move(value));
        FieldTextTable table(record, FactoryLabels());
        return table.Replace(*ParseCode(code)).PlainText();
    }
    std::string Rtf(std::u16string_view code, int field, std::u16string value) {
        record.SetField(field, std::move(value));
        FieldTextTable table(record, FactoryLabels());
        return ToUtf8(table.Replace(*ParseCode(code)).Escaped());
    }

    PatientRecord record = SamplePatient();
};

TEST_F(FieldCodesTest, TextsOfAField) {
    record.SetField(7, u"Aortic stenosis");
    FieldTextTable table(record, FactoryLabels());
    const FieldTexts& weight = table.Of(7);
    EXPECT_EQ(weight.caption, u"Weight");  // cut before its unit
    EXPECT_EQ(weight.labelSentence, u"Weight aortic stenosis");
    EXPECT_EQ(weight.labelColon, u"Weight: Aortic stenosis");
    EXPECT_TRUE(table.Of(0).caption.empty());
    EXPECT_TRUE(table.Of(230).raw.empty());
    EXPECT_TRUE(table.Of(-1).raw.empty());
}

TEST_F(FieldCodesTest, LabelSentenceKeepsAcronymsAndSingleCapitals) {
    EXPECT_EQ(Code(u"LsE20", 20, u"Sinus rhythm"), u"ECG sinus rhythm");
    EXPECT_EQ(Code(u"LsE20", 20, u"RBBB"), u"ECG RBBB");
    EXPECT_EQ(Code(u"LsE20", 20, u"Q waves"), u"ECG Q waves");
    EXPECT_EQ(Code(u"L:E20", 20, u"Sinus rhythm"), u"ECG: Sinus rhythm");
    EXPECT_EQ(Code(u"L20", 20, u"whatever"), u"ECG");
    EXPECT_EQ(Code(u"F20", 20, u"Sinus rhythm"), u"Sinus rhythm");
    EXPECT_EQ(Code(u"X20", 20, u"Sinus rhythm"), u"");  // unknown type
}

TEST_F(FieldCodesTest, LastNameIsWrittenLetterByLetterAsUnicodeEscapes) {
    EXPECT_EQ(Rtf(u"E2", 2, u"Doe"), "\\u68\\'3f\\u111\\'3f\\u101\\'3f");
}

TEST_F(FieldCodesTest, EmptyFieldGivesItsPlaceholderOnlyWithOptionD) {
    EXPECT_EQ(Code(u"E3d", 3, u""), u"<First name>");
    EXPECT_EQ(Code(u"E3", 3, u""), u"");
    EXPECT_EQ(Code(u"F7d", 7, u""), u"<Weight>");
    EXPECT_EQ(Code(u"LsE7d", 7, u""), u"Weight");
    EXPECT_EQ(Rtf(u"L:E7d", 7, u""), Escaped(u"Weight:"));
}

TEST_F(FieldCodesTest, NormalWordsBecomeASentenceAndOptionNOmitsThem) {
    EXPECT_EQ(Code(u"E20", 20, u"ok"), u"ECG ok");
    EXPECT_EQ(Code(u"E20n", 20, u"ok"), u"");
    EXPECT_EQ(Code(u"E20nd", 20, u"ok"), u"");      // "n" wins over "d"
    EXPECT_EQ(Code(u"E20", 20, u"Nl"), u"ECG nl");  // label 34, the factory normal word
    EXPECT_EQ(Code(u"E20n", 20, u"Nl"), u"");
    EXPECT_EQ(Code(u"E20np", 20, u"OK"), u"");  // "p" does not hide the normal word from "n"
    EXPECT_EQ(Code(u"E20", 20, u"sp"), u"ECG sp");
    // The sentence loses its colons and double blanks.
    EXPECT_EQ(Code(u"E86", 86, u"ok"), u"Differential diagnosis ok");
}

TEST_F(FieldCodesTest, OptionNOmitsOnlyAWholeWord) {
    EXPECT_EQ(Code(u"E19n", 19, u"Scar, otherwise ok"), u"");
    EXPECT_EQ(Code(u"E70n", 70, u"Uses Facebook"), u"Uses Facebook");
    EXPECT_EQ(Code(u"E19n", 19, u"Pale"), u"Pale");
}

TEST_F(FieldCodesTest, LinesOfAValue) {
    const std::u16string value = u"-fever\r\n-cough\r\nnight sweats\r\n-";
    EXPECT_EQ(Code(u"E63", 63, value), u"fever, cough, night sweats");
    EXPECT_EQ(Rtf(u"E63r", 63, value), Escaped(u"fever") + "\\par " + Escaped(u"cough") + "\\par " +
                                           Escaped(u"night sweats"));
    EXPECT_EQ(Rtf(u"E63R", 63, value), Escaped(u"-fever") + "\\par " + Escaped(u"-cough") +
                                           "\\par " + Escaped(u"-night sweats"));
}

TEST_F(FieldCodesTest, FirstNumberAndFullStop) {
    EXPECT_EQ(Code(u"E11u", 11, u"135 mmHg sitting"), u"135");
    EXPECT_EQ(Code(u"E9u", 9, u"T 38,5 C axillary"), u"T 38,5");
    EXPECT_EQ(Code(u"E9u", 9, u"afebrile"), u"afebrile");
    EXPECT_EQ(Code(u"E16p", 16, u"Good general condition"), u"Good general condition.");
    EXPECT_EQ(Code(u"E16p", 16, u"Good general condition.. "), u"Good general condition.");
    EXPECT_EQ(Code(u"E11up", 11, u"135 mmHg"), u"135.");
}

}  // namespace
}  // namespace pondrel::test
