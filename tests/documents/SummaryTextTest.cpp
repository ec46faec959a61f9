#include <random>

#include <gtest/gtest.h>

#include "documents/SummaryText.h"
#include "journal/JournalWords.h"
#include "platform/Text.h"

namespace pondrel::test {
namespace {

// "Repeat until none is left" done the slow, obvious way: whole-text passes.
std::u16string RewriteByPasses(std::u16string text, std::span<const Rewrite> rules) {
    for (bool changed = true; changed;) {
        changed = false;
        for (const auto& [from, to] : rules) {
            if (text.find(from) == std::u16string::npos) continue;
            text = ReplaceAll(text, from, to);
            changed = true;
        }
    }
    return text;
}

std::u16string RandomText(std::mt19937& random, std::u16string_view alphabet, size_t length) {
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    std::u16string text;
    for (size_t i = 0; i < length; ++i) text.push_back(alphabet[pick(random)]);
    return text;
}

TEST(SummaryTextTest, EscapingShowsMarkupAndEntitiesAsTyped) {
    EXPECT_EQ(HtmlEscape(u"<b>Tom & \"Jerry\"</b>"),
              u"&lt;b&gt;Tom &amp; &quot;Jerry&quot;&lt;/b&gt;");
    EXPECT_EQ(HtmlEscape(u"&amp; </table><script>"), u"&amp;amp; &lt;/table&gt;&lt;script&gt;");
    EXPECT_EQ(HtmlEscape(u"Zo\u00E9 \u00A7 caf\u00E9"), u"Zo\u00E9 \u00A7 caf\u00E9");
}

TEST(SummaryTextTest, PunctuationCleanupKeepsTheQuestionMarkAndDropsBlanksBeforeCommas) {
    EXPECT_EQ(PunctuationCleanup(u"fever?."), u"fever?");
    EXPECT_EQ(PunctuationCleanup(u"stop!.."), u"stop!");
    EXPECT_EQ(PunctuationCleanup(u"cough   , fever ."), u"cough, fever.");
    EXPECT_EQ(PunctuationCleanup(u"a,. b...."), u"a. b.");
    EXPECT_EQ(PunctuationCleanup(u"no change, here."), u"no change, here.");
}

TEST(SummaryTextTest, DotsBetweenDigitsAreNeverTouched) {
    EXPECT_EQ(PunctuationCleanup(u"Morphine 0.5..1 mg ."), u"Morphine 0.5..1 mg.");
    EXPECT_EQ(PunctuationCleanup(u"Na 135..145.. K 3.5...5"), u"Na 135..145. K 3.5...5");
    EXPECT_EQ(RewriteUntilStable(u"dose 1..2.., then..", kTasksCleanupRules), u"dose 1..2, then.");
    EXPECT_EQ(RewriteEachUntilStable(u"range 2..4 ..", {{u"..", u"."}, {u" .", u"."}}),
              u"range 2..4.");
    // A text already holding the stand-in characters keeps them.
    const std::u16string odd = u"\uE000 0..1 \uE001..";
    EXPECT_EQ(PunctuationCleanup(odd), u"\uE000 0..1 \uE001.");
}

bool HasMatch(const std::u16string& text, std::span<const Rewrite> rules) {
    for (const auto& rule : rules) {
        if (text.find(rule.first) != std::u16string::npos) return true;
    }
    return false;
}

TEST(SummaryTextTest, RewritingGivesWhatRepeatedPassesGive) {
    std::mt19937 random(20060313);
    const std::span<const Rewrite> tidy = kEntryTidyRules;
    const std::span<const Rewrite> tasks = kTasksCleanupRules;
    for (int i = 0; i < 3000; ++i) {
        std::u16string text = RandomText(random, u" .,:x", 1 + i % 30);
        std::u16string markup;
        for (int k = 0; k < 1 + i % 9; ++k) {
            static const std::u16string_view kPieces[] = {u"<BR>", u"<BR >", u"</TABLE>", u" ",
                                                          u".",    u":",     u"x"};
            markup += kPieces[random() % std::size(kPieces)];
        }
        ASSERT_EQ(RewriteUntilStable(text, tasks), RewriteByPasses(text, tasks)) << ToUtf8(text);
        ASSERT_EQ(RewriteUntilStable(markup, tidy), RewriteByPasses(markup, tidy))
            << ToUtf8(markup);
        // One rule at a time until it no longer matches, rule after rule.
        std::u16string each = text;
        for (const auto& rule : tasks) each = RewriteByPasses(each, std::span(&rule, 1));
        ASSERT_EQ(RewriteEachUntilStable(text, tasks), each) << ToUtf8(text);
    }
}

TEST(SummaryTextTest, LongRunsEndWithoutAnyMatchLeft) {
    const std::span<const Rewrite> tasks = kTasksCleanupRules;
    std::mt19937 random(7);
    for (int i = 0; i < 200; ++i) {
        std::u16string text = RandomText(random, u" .,x", 500);
        std::u16string once = RewriteUntilStable(text, tasks);
        EXPECT_FALSE(HasMatch(once, tasks)) << ToUtf8(text);
        EXPECT_EQ(RewriteUntilStable(once, tasks), once);
    }
}

TEST(SummaryTextTest, LongRunsAreRewrittenInOnePass) {
    // A section of blanks before a comma, as a hostile file may hold: every blank goes.
    std::u16string blanks(200000, u' ');
    EXPECT_EQ(PunctuationCleanup(blanks + u","), u",");
    EXPECT_EQ(RewriteUntilStable(std::u16string(200000, u'.'), {{u"..", u"."}}), u".");
}

TEST(SummaryTextTest, DayHeadingCountsTheDaysOfAStay) {
    JournalWords words;
    EXPECT_EQ(DayHeading(2265, true, 2263, words), u"D3 - Wednesday 15 March 2006");
    EXPECT_EQ(DayHeading(2263, true, 2263, words), u"D1 - Monday 13 March 2006");
    EXPECT_EQ(DayHeading(2262, true, 2263, words), u"Sunday 12 March 2006");
    EXPECT_EQ(DayHeading(2265, false, 2263, words), u"Wednesday 15 March 2006");
}

TEST(SummaryTextTest, CaptionsAreCutWithoutSplittingACharacter) {
    EXPECT_EQ(DayCaption(u"D3 - We 15 Mar 06  ", 25), u"D3 We 15 Mar 06");
    EXPECT_EQ(DayCaption(u"D123 - Wednesday 15 March 2006", 25), u"D123 Wednesday 15 March 2");
    EXPECT_EQ(CutTo(u"ab\U0001F600", 3), u"ab");
    EXPECT_EQ(AgeAfterEquals(u"(34w 3/7) D6 =  34w 9/7 "), u"34w 9/7");
    EXPECT_EQ(AgeAfterEquals(u"45 years"), u"");
}

}  // namespace
}  // namespace pondrel::test
