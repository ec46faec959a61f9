#include <gtest/gtest.h>

#include "LetterFixtures.h"
#include "MemoryFileSystem.h"
#include "documents/RtfFormat.h"
#include "documents/TemplateFiller.h"
#include "platform/Text.h"

namespace pondrel::test {
namespace {

class TemplateFillerTest : public ::testing::Test {
protected:
    std::string FillWith(std::string_view text) { return Fill(text, SampleData(record)); }
    TemplateFill Run(std::string_view text) { return FillTemplateBytes(text, SampleData(record)); }

    PatientRecord record = SamplePatient();
};

TEST_F(TemplateFillerTest, ACodeIsReplacedAndTheRestStays) {
    EXPECT_EQ(FillWith("{\\rtf1\\ansi {\\f0 Dear \\'a2E2#,\\par}}"),
              "{\\rtf1\\ansi {\\f0 Dear " + Escaped(u"Doe") + ",\\par}}");
    // The cent sign as a Unicode escape with its fallback, and the "#" as an escape.
    EXPECT_EQ(FillWith("{\\rtf1 {\\u162\\'a2E3\\'23 x}}"), "{\\rtf1 {" + Escaped(u"Jane") + " x}}");
    EXPECT_EQ(FillWith("{\\rtf1 {\\'A2E2# \\'a2E3#}}"),
              "{\\rtf1 {" + Escaped(u"Doe") + " " + Escaped(u"Jane") + "}}");
}

TEST_F(TemplateFillerTest, ACodeBrokenByFormattingKeepsTheGroupsOfTheDocument) {
    // The digit in another colour.
    EXPECT_EQ(FillWith("{\\rtf1 {\\cf1 \\'a2E}{\\cf2 2}{\\cf1 #.}}"),
              "{\\rtf1 {\\cf1 " + Escaped(u"Doe") + "}{.}}");
    // A code that starts in a group and ends outside it.
    const std::string filled = FillWith("{\\rtf1 {\\b \\'a2E2}#\\par }");
    EXPECT_EQ(filled, "{\\rtf1 {\\b " + Escaped(u"Doe") + "}\\par }");
    EXPECT_TRUE(GroupsBalanced(filled));
}

TEST_F(TemplateFillerTest, TextsThatAreNotCodesStay) {
    // Empty code, no closing mark, an escaped backslash before the cent sign.
    EXPECT_EQ(FillWith("{\\rtf1 5\\'a2# a}"), "{\\rtf1 5\\'a2# a}");
    EXPECT_EQ(FillWith("{\\rtf1 \\\\'a2E2# a}"), "{\\rtf1 \\\\'a2E2# a}");
    TemplateFill fill = Run("{\\rtf1 \\'a2E2 a}");
    ASSERT_TRUE(fill.Ok());
    EXPECT_TRUE(fill.unfinishedCode);
    EXPECT_EQ(fill.bytes, "{\\rtf1 \\'a2E2 a}");
    EXPECT_EQ(fill.codes, 0);
    // A code text of 200 characters or more.
    const std::string longCode = "{\\rtf1 \\'a2" + std::string(200, 'E') + "# \\'a2E2#}";
    EXPECT_EQ(FillWith(longCode),
              "{\\rtf1 \\'a2" + std::string(200, 'E') + "# " + Escaped(u"Doe") + "}");
}

TEST_F(TemplateFillerTest, ATemplateWithoutCodesOnlyGetsTheCleanUp) {
    TemplateFill fill = Run("{\\rtf1 Hello , world ..   bye}");
    ASSERT_TRUE(fill.Ok());
    EXPECT_EQ(fill.codes, 0);
    EXPECT_FALSE(fill.unfinishedCode);
    EXPECT_EQ(fill.bytes, "{\\rtf1 Hello, world.  bye}");
}

TEST_F(TemplateFillerTest, TemplateBytesComeOutAsTheyWentIn) {
    std::string text = "{\\rtf1 ";
    for (int b = 0x80; b <= 0xFF; ++b) text += static_cast<char>(b);
    text += " \\'a2E2#}";
    const std::string filled = FillWith(text);
    EXPECT_EQ(filled.substr(0, 7 + 128), text.substr(0, 7 + 128));
}

TEST_F(TemplateFillerTest, HostileRecordTextsComeOutAsTypedAndNeverBreakTheDocument) {
    const std::u16string hostile[] = {u"{\\rtf1",
                                      u"}}}}",
                                      u"\\par",
                                      u"\u00E9\u20AC\u0142\u4E2D",
                                      u"a\u00A2\\b\u00A2b",
                                      u"\u00A2\u00AC'a2E2#\u00A2",
                                      u"\\'a2E2#"};
    for (const std::u16string& text : hostile) {
        record.SetField(61, text);
        record.problemJournal = u"\u00A70|" + text + u"\u00A6" + text + u"\u00A6A\u00A6" + text +
                                u"#2263\u00A70|" + text + u"|||||";
        const std::string filled =
            FillWith("{\\rtf1 {\\'a2E61# \\'a2553# \\'a2558# \\'a2562# \\'a2563#}}");
        EXPECT_TRUE(GroupsBalanced(filled)) << ToUtf8(text);
        // Every character of the text is an escape: nothing of it reads as RTF.
        EXPECT_NE(filled.find(Escaped(text)), std::string::npos) << ToUtf8(text);
        EXPECT_EQ(filled.find("\\'a2E2"), std::string::npos) << ToUtf8(text);
        // The cent signs around "\\b" did not make it a control word.
        EXPECT_EQ(filled.find("\\'3f\\b\\u"), std::string::npos);
    }
}

TEST_F(TemplateFillerTest, ReplacementsAreNotScannedAgain) {
    // Even a record text built to look like a code after the escaping is never expanded.
    record.SetField(2, u"\u00A2E2#");
    const std::string filled = FillWith("{\\rtf1 {\\'a2E2#\\'a2E2#}}");
    EXPECT_EQ(filled, "{\\rtf1 {" + Escaped(u"\u00A2E2#") + Escaped(u"\u00A2E2#") + "}}");
}

TEST_F(TemplateFillerTest, AGroupBreakingCodeAtTheTopLevelGetsAGroupOfItsOwn) {
    const std::string filled = FillWith("{\\rtf1 \\'a2563#\\par}");
    EXPECT_EQ(filled.substr(0, 8), "{\\rtf1 {");
    EXPECT_TRUE(GroupsBalanced(filled));
    // Inside a group it stands as it is.
    EXPECT_EQ(FillWith("{\\rtf1 {\\'a2563#}}").substr(0, 12), "{\\rtf1 {\\par");
}

TEST_F(TemplateFillerTest, DamagedTemplatesAreRefused) {
    EXPECT_EQ(Run("{\\rtf1 {\\b x}").failure, TemplateFailure::Damaged);
    EXPECT_EQ(Run("{\\rtf1 x}}{").failure, TemplateFailure::Damaged);
    // Escaped braces and binary data are not groups.
    EXPECT_TRUE(Run("{\\rtf1 \\{ \\} x}").Ok());
    EXPECT_TRUE(Run(std::string("{\\rtf1 {\\bin3 }}{}}")).Ok());
    // A plain text template has no groups to check.
    EXPECT_TRUE(Run("Dear \\'a2E2#}").Ok());
}

TEST_F(TemplateFillerTest, TheCleanUpRepairsControlWordsOnly) {
    std::u16string text = u"\\cf1 .x Room 55. \\fs55 ,a ,, b\u00A0\uE000\uE000\uE000|";
    CleanUpDocument(text);
    EXPECT_EQ(ToUtf8(text), "\\cf1 x Room 55. \\fs55 a, b\u00A0   |");
}

TEST_F(TemplateFillerTest, TemplateSizeLimits) {
    MemoryFileSystem files;
    const std::u16string path = u"\\Program files\\Pondrel\\Out Letter Template.rtf";
    auto sized = [](size_t size) {
        std::string text = "{\\rtf1 \\'a2E2# ";
        text.append(size - text.size() - 1, 'x');
        return text + "}";
    };
    const TemplateData data = SampleData(record);
    files.AddFile(path, sized(kOutLetterTemplateLimit - 1));
    TemplateFill fill = FillTemplate(files, path, kOutLetterTemplateLimit, data);
    EXPECT_TRUE(fill.Ok());
    EXPECT_EQ(fill.codes, 1);
    files.AddFile(path, sized(kOutLetterTemplateLimit));
    EXPECT_EQ(FillTemplate(files, path, kOutLetterTemplateLimit, data).failure,
              TemplateFailure::TooBig);
    files.AddFile(path, sized(kAdmissionTemplateLimit));
    EXPECT_EQ(FillTemplate(files, path, kAdmissionTemplateLimit, data).failure,
              TemplateFailure::TooBig);
    EXPECT_EQ(FillTemplate(files, u"\\nowhere.rtf", kAdmissionTemplateLimit, data).failure,
              TemplateFailure::NotFound);
}

TEST_F(TemplateFillerTest, AResultOverTheBufferIsRefused) {
    // A long discussion escaped letter by letter outgrows the document buffer.
    record.problemJournal =
        u"\u00A70|P\u00A6\u00A6A\u00A6#2263\u00A70|" + std::u16string(130'000, u'a') + u"|||||";
    TemplateFill fill = Run("{\\rtf1 {\\'a2558#}}");
    EXPECT_EQ(fill.failure, TemplateFailure::ResultTooBig);
    EXPECT_TRUE(fill.bytes.empty());
}

}  // namespace
}  // namespace pondrel::test
