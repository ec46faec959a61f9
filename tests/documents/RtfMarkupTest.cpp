#include <gtest/gtest.h>

#include "documents/RtfFormat.h"
#include "documents/RtfMarkup.h"
#include "platform/Text.h"

namespace pondrel {
namespace {

std::string U8(const std::u16string& text) {
    return ToUtf8(text);
}

TEST(RtfEscapeTest, LettersBecomeUnicodeEscapesAndPunctuationStays) {
    EXPECT_EQ(U8(RtfEscape(u"Doe, J. 1/2")),
              "\\u68\\'3f\\u111\\'3f\\u101\\'3f, \\u74\\'3f. \\u49\\'3f/\\u50\\'3f");
}

TEST(RtfEscapeTest, TrailingBlanksAndCommasAreTrimmed) {
    EXPECT_EQ(U8(RtfEscape(u"a , ,  ")), "\\u97\\'3f");
    EXPECT_EQ(U8(RtfEscape(u" ,")), "");
}

TEST(RtfEscapeTest, CharactersThatCouldBreakTheDocumentComeOutAsTyped) {
    // Braces, backslashes, the cent sign and the other file marks are plain characters.
    EXPECT_EQ(U8(RtfEscape(u"{\\rtf1}")),
              "\\u123\\'3f\\u92\\'3f\\u114\\'3f\\u116\\'3f\\u102\\'3f\\u49\\'3f\\u125\\'3f");
    EXPECT_EQ(U8(RtfEscape(u"\u00A2\\par\u00A2")),
              "\\u162\\'3f\\u92\\'3f\\u112\\'3f\\u97\\'3f\\u114\\'3f\\u162\\'3f");
    EXPECT_EQ(U8(RtfEscape(u"\u00A6\u00AC")), "\\u166\\'3f\\u172\\'3f");
}

TEST(RtfEscapeTest, CharactersBeyondLatinUseTheSignedNumbersOfRtf) {
    EXPECT_EQ(U8(RtfEscape(u"\u00E9\u20AC\u0142\u4E2D")),
              "\\u233\\'3f\\u8364\\'3f\\u322\\'3f\\u20013\\'3f");
    // Above 32767 RTF numbers are negative; a character outside the basic plane is its two
    // surrogate units.
    EXPECT_EQ(U8(RtfEscape(u"\uFF01")), "\\u-255\\'3f");
    EXPECT_EQ(U8(RtfEscape(u"\U0001F600")), "\\u-10179\\'3f\\u-8704\\'3f");
}

TEST(RtfMarkupTest, RawPiecesStandAsWrittenAndTextIsEscaped) {
    RtfMarkup markup;
    markup.Raw("\\par }{\\b ").Text(u"Hi").Paragraph().Text(u"{");
    EXPECT_EQ(U8(markup.Escaped()), "\\par }{\\b \\u72\\'3f\\u105\\'3f\\par \\u123\\'3f");
    EXPECT_TRUE(markup.BreaksGroups());
    EXPECT_FALSE(RtfMarkup(u"}").BreaksGroups());
}

TEST(RtfMarkupTest, TheBlankEndingAControlWordIsNotTrimmed) {
    RtfMarkup markup;
    markup.Text(u"a").Paragraph();
    EXPECT_EQ(U8(markup.Escaped()), "\\u97\\'3f\\par ");
    // An escaped backslash followed by letters is text, not a control word.
    std::u16string rtf = u"\\\\par , ";
    TrimEscapedRight(rtf);
    EXPECT_EQ(U8(rtf), "\\\\par");
}

TEST(RtfMarkupTest, KeptBlanksSurviveAndAreMarked) {
    RtfMarkup markup;
    markup.KeptBlanks(3).Text(u"- x");
    std::u16string escaped = markup.Escaped();
    EXPECT_EQ(escaped.substr(0, 3), std::u16string(3, kKeptBlank));
    EXPECT_EQ(U8(escaped.substr(3)), "\\u45\\'3f \\u120\\'3f");
}

TEST(RtfMarkupTest, CleaningTouchesTextRunsOnly) {
    RtfMarkup markup;
    markup.Text(u"fever?. cough ,").Raw("\\par ,.").Text(u"end..");
    markup.CleanPunctuation();
    EXPECT_EQ(markup.PlainText(), u"fever? cough,end.");
    EXPECT_NE(U8(markup.Escaped()).find("\\par ,."), std::string::npos);
}

}  // namespace
}  // namespace pondrel
