#include <gtest/gtest.h>

#include "documents/TemplateCode.h"
#include "platform/Text.h"

namespace pondrel {
namespace {

std::string Normalised(std::string_view rtf) {
    return ToUtf8(NormaliseCodeText(rtf));
}

TEST(TemplateCodeTest, FormattingOfTheWordProcessorIsRemoved) {
    EXPECT_EQ(Normalised("E2"), "E2");
    // The digit in another colour: braces and a colour control word.
    EXPECT_EQ(Normalised("E}{\\cf2 2}{\\cf0 "), "E2");
    EXPECT_EQ(Normalised("{\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\insrsid6104608 L:E}{\\b 69d}"),
              "L:E69d");
    EXPECT_EQ(Normalised("E\r\n2 0\n"), "E20");
}

TEST(TemplateCodeTest, EscapedCodeCharactersAreRead) {
    EXPECT_EQ(Normalised("\\'45\\'32\\'30\\'64\\'6e"), "E20dn");
    EXPECT_EQ(Normalised("\\'4C\\'73\\'45\\'33"), "LsE3");  // upper-case hex digits too
    EXPECT_EQ(Normalised("L\\'3aE5"), "L:E5");
    // Other escapes are not part of a code.
    EXPECT_EQ(Normalised("E\\'e92"), "E2");
}

TEST(TemplateCodeTest, IgnorableGroupsGoWithTheirContent) {
    EXPECT_EQ(Normalised("E{\\*\\bkmkstart _GoBack}{\\*\\bkmkend _GoBack}2"), "E2");
    // A group cut by the end of the code text is dropped to the end.
    EXPECT_EQ(Normalised("E2{\\*\\bkmkstart x"), "E2");
}

TEST(TemplateCodeTest, ParsingTypeNumberAndOptions) {
    auto code = ParseCode(u"LsE20dnp");
    ASSERT_TRUE(code);
    EXPECT_EQ(code->type, u"LsE");
    EXPECT_EQ(code->number, 20);
    EXPECT_TRUE(code->Has(u'd'));
    EXPECT_TRUE(code->Has(u'n'));
    EXPECT_TRUE(code->Has(u'p'));
    EXPECT_FALSE(code->Has(u'r'));

    code = ParseCode(u"558d");
    ASSERT_TRUE(code);
    EXPECT_EQ(code->type, u"");
    EXPECT_EQ(code->number, 558);

    code = ParseCode(u"E");  // no digit: number 0
    ASSERT_TRUE(code);
    EXPECT_EQ(code->number, 0);

    code = ParseCode(u"E99999999999999999999");  // saturates, no overflow
    ASSERT_TRUE(code);
    EXPECT_GT(code->number, 567);
}

TEST(TemplateCodeTest, EmptyAndOverlongTextsAreNotCodes) {
    EXPECT_FALSE(ParseCode(u""));
    EXPECT_FALSE(ParseCode(std::u16string(200, u'E')));
    EXPECT_TRUE(ParseCode(std::u16string(199, u'E')));
    EXPECT_EQ(NormaliseCodeText(std::string(5000, 'x')).size(), 200u);
}

}  // namespace
}  // namespace pondrel
