#include "labels/KeyWordSearch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pondrel {
namespace {

std::vector<std::u16string> Entries(std::u16string_view text, const std::vector<EntrySpan>& spans) {
    std::vector<std::u16string> out;
    for (const EntrySpan& s : spans) out.emplace_back(text.substr(s.start, s.length));
    return out;
}

TEST(KeyWordsTest, BlanksFoldedLongestFirstRepetitionsDropped) {
    using V = std::vector<std::u16string>;
    EXPECT_EQ(KeyWords(u"  Heart,;\tFAILURE  "), (V{u"failure", u"heart"}));
    EXPECT_EQ(KeyWords(u"abc xyz ab"), (V{u"abc", u"xyz", u"ab"}));  // first of equal length
    EXPECT_EQ(KeyWords(u"ann doe ANN annie"), (V{u"annie", u"ann", u"doe", u"ann"}));
    EXPECT_EQ(KeyWords(u"Ébauche x"), (V{u"ébauche", u"x"}));
    EXPECT_TRUE(KeyWords(u" , ;\t ").empty());
}

TEST(SearchEntriesTest, FirstAndLastEntriesAreFoundWithoutBreaksAtTheEnds) {
    std::u16string text = u"a00\tcholera\r\nb01\tvaricella\r\nz99\tlast cholera";
    auto found = SearchEntries(text, u"\r\n", {u"cholera"});
    EXPECT_EQ(Entries(text, found),
              (std::vector<std::u16string>{u"a00\tcholera", u"z99\tlast cholera"}));
    // Every word must be held, in any order; a word found nowhere gives nothing.
    EXPECT_EQ(Entries(text, SearchEntries(text, u"\r\n", {u"cholera", u"last"})),
              (std::vector<std::u16string>{u"z99\tlast cholera"}));
    EXPECT_TRUE(SearchEntries(text, u"\r\n", {u"cholera", u"zzz"}).empty());
    EXPECT_TRUE(SearchEntries(text, u"\r\n", {u"xyz"}).empty());
}

TEST(SearchEntriesTest, AnOverLongEntryIsSkippedAndTheSearchGoesOn) {
    std::u16string longLine = u"x1\t" + std::u16string(398, u'k');  // 401 characters
    std::u16string fits = u"x2\t" + std::u16string(397, u'k');      // 400 characters
    std::u16string text = longLine + u"\n" + fits + u"\nx3\tk";
    auto found = Entries(text, SearchEntries(text, u"\n", {u"k"}));
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0], fits);
    EXPECT_EQ(found[1], u"x3\tk");
    // The same with the word only in the over-long line: nothing, and no crash.
    std::u16string only = std::u16string(500, u'q') + u"\nabc";
    EXPECT_TRUE(SearchEntries(only, u"\n", {u"q"}).empty());
    EXPECT_EQ(SearchEntries(only, u"\n", {u"abc"}).size(), 1u);
}

TEST(SearchEntriesTest, NamePartRuleMatchesOnlyAtTheStartOfAPart) {
    std::u16string names = u" doe_ann_1950| doe_maryann_1950| smith-doe_john_1987| annet_bo_2001|";
    WordRule parts{u" _"};
    auto ann = Entries(names, SearchEntries(names, u"|", {u"ann"}, parts));
    EXPECT_EQ(ann, (std::vector<std::u16string>{u" doe_ann_1950", u" annet_bo_2001"}));
    auto doe = Entries(names, SearchEntries(names, u"|", {u"doe"}, parts));
    EXPECT_EQ(doe.size(), 2u);  // "smith-doe" does not start a part
    auto year = Entries(names, SearchEntries(names, u"|", {u"19"}, parts));
    EXPECT_EQ(year.size(), 3u);
    auto both = Entries(names, SearchEntries(names, u"|", {u"ann", u"19"}, parts));
    EXPECT_EQ(both, (std::vector<std::u16string>{u" doe_ann_1950"}));
    // The first entry of the list is found like any other (no separator before it).
    EXPECT_EQ(SearchEntries(u" first_a_1900|", u"|", {u"first"}, parts).size(), 1u);
}

TEST(SearchEntriesTest, GatheringStopsWhenTheLastChunkIsFull) {
    std::u16string text;
    for (int i = 0; i < 100; ++i) text += u"entry\n";
    KeyWordSearchLimits limits;
    limits.chunkChars = 20;  // 3 entries of 5 (+2) fill a chunk
    limits.maxChunks = 2;
    EXPECT_EQ(SearchEntries(text, u"\n", {u"entry"}, {}, limits).size(), 6u);
    EXPECT_EQ(AllEntries(text, u"\n", limits).size(), 6u);
    EXPECT_EQ(AllEntries(text, u"\n").size(), 100u);
}

}  // namespace
}  // namespace pondrel
