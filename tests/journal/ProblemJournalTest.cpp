#include "journal/ProblemJournal.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "TestPlatform.h"
#include "journal/JournalWords.h"
#include "platform/Error.h"

namespace pondrel {
namespace {

using test::U8;

// The example journal: two problems, entries on 13 and 14 March 2006.
const std::u16string kExample =
    u"§0|Pneumonia (!)¦Heart failure¦A¦§1|Diabetes¦¦I¦"
    u"#2263§0|cough|crackles right|CRP 120|amoxicillin 1 g x3|||§1|||glucose 9|insulin|||"
    u"#2264§0||better|||||";

Sections Six(std::u16string a, std::u16string b = {}, std::u16string c = {}, std::u16string d = {},
             std::u16string e = {}, std::u16string f = {}) {
    return {a, b, c, d, e, f};
}

void ExpectWellFormed(const ProblemJournal& journal) {
    Error error;
    EXPECT_TRUE(journal.Reader().CheckStructure(&error)) << error.message << "\n"
                                                         << U8(journal.Text());
}

TEST(ProblemJournalReadTest, ReadsTheExample) {
    ProblemJournal j(kExample);
    EXPECT_EQ(j.GetProblemTitle(0), u"Pneumonia (!)");
    EXPECT_EQ(j.GetDifferentialDiagnosis(0), u"Heart failure");
    EXPECT_EQ(j.GetProblemState(0), u"A");
    EXPECT_EQ(j.GetProblemState(1), u"I");
    EXPECT_EQ(j.GetProblemRedaction(1), u"");
    EXPECT_EQ(j.ProblemCount(), 2);
    EXPECT_EQ(j.GetEntry(2263, 0),
              Six(u"cough", u"crackles right", u"CRP 120", u"amoxicillin 1 g x3"));
    EXPECT_EQ(j.GetEntry(2263, 1), Six(u"", u"", u"glucose 9", u"insulin"));
    EXPECT_EQ(j.GetSection(2264, 0, 1), u"better");
    EXPECT_EQ(j.GetEntry(2264, 1), Sections{});
    EXPECT_EQ(j.GetEntry(2265, 0), Sections{});
    EXPECT_TRUE(j.DayHasEntries(2263));
    EXPECT_FALSE(j.DayHasEntries(2265));
    EXPECT_EQ(j.Reader().EntryDays(), (std::vector<DayNumber>{2263, 2264}));
    ExpectWellFormed(j);
}

TEST(ProblemJournalReadTest, MissingStructureReadsEmpty) {
    ProblemJournal empty;
    EXPECT_EQ(empty.ProblemCount(), 0);
    EXPECT_EQ(empty.GetProblemState(0), u"A");
    EXPECT_EQ(empty.GetProblemTitle(-1), u"");
    EXPECT_EQ(empty.GetProblemTitle(100), u"");
    EXPECT_EQ(empty.GetSection(0, 0, 7), u"");
    ExpectWellFormed(empty);

    // Headers with missing sub-fields, a header after the first "#" (not a header), an entry
    // with too few bars, a block opening without entries.
    ProblemJournal odd(u"§0|Only title§1|T¦DD#5§#6§0|a|b#7§3|x§1|y||||||");
    EXPECT_EQ(odd.GetProblemTitle(0), u"Only title");
    EXPECT_EQ(odd.GetProblemState(0), u"A");
    EXPECT_EQ(odd.GetDifferentialDiagnosis(1), u"DD");
    EXPECT_EQ(odd.GetProblemState(1), u"A");
    EXPECT_EQ(odd.ProblemCount(), 2);
    EXPECT_FALSE(odd.DayHasEntries(5));
    EXPECT_EQ(odd.GetEntry(6, 0), Six(u"a", u"b"));
    EXPECT_EQ(odd.GetEntry(7, 3), Six(u"x"));  // no bar at all after the text
    EXPECT_EQ(odd.GetEntry(7, 1), Six(u"y"));
    EXPECT_FALSE(odd.Reader().CheckStructure(nullptr));
}

TEST(ProblemJournalReadTest, NumbersMatchExactly) {
    // "§1|" must not be found inside "§11|" or "§01|"; a day must not match a longer one.
    std::u16string head;
    for (int p = 0; p < 12; ++p) head += u"§" + ToText(p) + u"|T" + ToText(p) + u"¦¦A¦";
    ProblemJournal j(head + u"#22630§11|eleven||||||#2263§01|zero-one||||||");
    EXPECT_EQ(j.GetProblemTitle(1), u"T1");
    EXPECT_EQ(j.GetProblemTitle(11), u"T11");
    EXPECT_EQ(j.ProblemCount(), 12);
    EXPECT_EQ(j.GetEntry(2263, 11), Sections{});
    EXPECT_EQ(j.GetEntry(2263, 1), Sections{});
    EXPECT_EQ(j.GetSection(22630, 11, 0), u"eleven");
}

TEST(ProblemJournalReadTest, ProblemCountStopsAtFirstEmptyTitleAndAtHundred) {
    ProblemJournal gap(u"§0|A¦¦A¦§1|¦dd¦A¦§2|C¦¦A¦");
    EXPECT_EQ(gap.ProblemCount(), 1);
    std::u16string head;
    for (int p = 0; p < 101; ++p) head += u"§" + ToText(p) + u"|T¦¦A¦";
    EXPECT_EQ(ProblemJournal(head).ProblemCount(), 100);
}

TEST(ProblemJournalReadTest, SpanText) {
    JournalWords words;
    ProblemJournal j(kExample);
    EXPECT_EQ(j.Reader().ProblemSpanText(0, false, words), u"13 Mar 06 - 14 Mar 06");
    EXPECT_EQ(j.Reader().ProblemSpanText(0, true, words), u"Start 13 Mar 06");
    EXPECT_EQ(j.Reader().ProblemSpanText(1, false, words), u"13 Mar 06 - 13 Mar 06");
    ProblemJournal noEntries(u"§0|A¦¦A¦§1|B¦¦A¦#2263§0|x||||||");
    EXPECT_EQ(noEntries.Reader().ProblemSpanText(1, true, words), u"(Empty)");
    EXPECT_EQ(ProblemJournal(u"§0|A¦¦A¦").Reader().ProblemSpanText(0, true, words), u"");
    words.start = u"début";
    EXPECT_EQ(j.Reader().ProblemSpanText(0, true, words), u"Début 13 Mar 06");
}

TEST(ProblemJournalWriteTest, FirstSectionOnEmptyJournalCreatesHeaderAndBlock) {
    ProblemJournal j;
    auto w = j.SetEntry(2263, 0, Six(u"", u"fever"));
    EXPECT_TRUE(w.changed && w.titleCreated && w.dayBlockCreated);
    EXPECT_EQ(j.Text(), u"§0|Problem n°1¦¦A¦#2263§0||fever|||||");
    ExpectWellFormed(j);
}

TEST(ProblemJournalWriteTest, EntriesAndBlocksGoInOrder) {
    ProblemJournal j(
        u"§0|a¦¦A¦§1|b¦¦A¦§2|c¦¦A¦§3|d¦¦A¦§4|e¦¦A¦§5|f¦¦A¦"
        u"#2263§1|one||||||§5|five||||||#2270§0|x||||||");
    j.SetEntry(2263, 3, Six(u"three"));
    j.SetEntry(2265, 2, Six(u"between"));
    j.SetEntry(2263, 0, Six(u"zero"));
    j.SetEntry(2280, 0, Six(u"last"));
    j.SetEntry(2200, 0, Six(u"first"));
    EXPECT_EQ(j.Text(),
              u"§0|a¦¦A¦§1|b¦¦A¦§2|c¦¦A¦§3|d¦¦A¦§4|e¦¦A¦§5|f¦¦A¦"
              u"#2200§0|first||||||"
              u"#2263§0|zero||||||§1|one||||||§3|three||||||§5|five||||||"
              u"#2265§2|between||||||#2270§0|x||||||#2280§0|last||||||");
    ExpectWellFormed(j);
    // Rewriting an entry replaces its six sections only.
    j.SetEntry(2263, 3, Six(u"a", u"b", u"c", u"d", u"e", u"f"));
    EXPECT_EQ(j.GetEntry(2263, 3), Six(u"a", u"b", u"c", u"d", u"e", u"f"));
    EXPECT_EQ(j.GetEntry(2263, 5), Six(u"five"));
    EXPECT_FALSE(j.SetEntry(2263, 3, Six(u"a", u"b", u"c", u"d", u"e", u"f")).changed);
}

TEST(ProblemJournalWriteTest, ClearingSectionsDeletesEntryAndBlock) {
    ProblemJournal j(kExample);
    auto w = j.SetEntry(2264, 0, Sections{});
    EXPECT_TRUE(w.entryDeleted);
    EXPECT_FALSE(j.DayHasEntries(2264));
    EXPECT_EQ(j.Reader().EntryDays(), std::vector<DayNumber>{2263});
    // Deleting the first entry of a block hands the block's "§" to the next entry.
    EXPECT_TRUE(j.DeleteEntry(2263, 0));
    EXPECT_EQ(j.Text(),
              u"§0|Pneumonia (!)¦Heart failure¦A¦§1|Diabetes¦¦I¦"
              u"#2263§1|||glucose 9|insulin|||");
    EXPECT_FALSE(j.DeleteEntry(2263, 0));
    EXPECT_TRUE(j.DeleteEntry(2263, 1));
    EXPECT_EQ(j.Text(), u"§0|Pneumonia (!)¦Heart failure¦A¦§1|Diabetes¦¦I¦");
    ExpectWellFormed(j);
}

TEST(ProblemJournalWriteTest, DeleteAcceptsLeftoverMarkers) {
    ProblemJournal inside(u"§0|a¦¦A¦#2263#2264§0|x||||||");
    EXPECT_TRUE(inside.DeleteEntry(2263, 0));
    EXPECT_EQ(inside.Text(), u"§0|a¦¦A¦#2264§0|x||||||");
    ProblemJournal atEnd(u"§0|a¦¦A¦#2264§0|x||||||#2265");
    EXPECT_TRUE(atEnd.DeleteEntry(2265, 0));
    EXPECT_EQ(atEnd.Text(), u"§0|a¦¦A¦#2264§0|x||||||");
    ProblemJournal emptyBlock(u"§0|a¦¦A¦#2263§#2264§0|x||||||");
    EXPECT_TRUE(emptyBlock.DeleteEntry(2263, 0));
    EXPECT_EQ(emptyBlock.Text(), u"§0|a¦¦A¦#2264§0|x||||||");
    // A marker of a longer day number is not a leftover of this one.
    ProblemJournal other(u"§0|a¦¦A¦#22630§0|x||||||");
    EXPECT_FALSE(other.DeleteEntry(2263, 0));
}

TEST(ProblemJournalWriteTest, HeaderTitleRules) {
    ProblemJournal j(u"§0|a¦¦A¦§1|b¦¦A¦§2|c¦¦I¦§3|d¦¦A¦");
    // Clearing the title of a problem in the middle keeps a default title.
    EXPECT_EQ(j.SetProblemHeader(2, u"  ", u"", u""), ProblemJournal::HeaderWrite::Written);
    EXPECT_EQ(j.GetProblemTitle(2), u"Problem n°3");
    EXPECT_EQ(j.GetProblemState(2), u"I");  // the stored state is kept
    // Clearing the title of the last problem keeps the stored title.
    EXPECT_EQ(j.SetProblemHeader(3, u"", u"", u""), ProblemJournal::HeaderWrite::Unchanged);
    EXPECT_EQ(j.GetProblemTitle(3), u"d");
    // ...but a differential diagnosis typed there is not lost.
    EXPECT_EQ(j.SetProblemHeader(3, u"", u"dd", u""), ProblemJournal::HeaderWrite::Written);
    EXPECT_EQ(j.GetProblemTitle(3), u"d");
    EXPECT_EQ(j.GetDifferentialDiagnosis(3), u"dd");
    // The free slot: an empty title changes nothing, a redaction creates the problem.
    EXPECT_EQ(j.SetProblemHeader(4, u"", u"", u""), ProblemJournal::HeaderWrite::Unchanged);
    EXPECT_EQ(j.SetProblemHeader(4, u"", u"", u"notes"), ProblemJournal::HeaderWrite::Written);
    EXPECT_EQ(j.GetProblemTitle(4), u"Problem n°5");
    // Beyond the free slot nothing is created.
    EXPECT_EQ(j.SetProblemHeader(6, u"far", u"", u""), ProblemJournal::HeaderWrite::Refused);
    EXPECT_TRUE(j.SetEntry(100, 7, Six(u"x")).refused);
    EXPECT_EQ(j.ProblemCount(), 5);
    ExpectWellFormed(j);
}

TEST(ProblemJournalWriteTest, HeaderIsInsertedAtEndOfHead) {
    ProblemJournal startsWithBlock(u"#2263§0|x||||||");
    startsWithBlock.SetProblemHeader(0, u"Asthma ", u"", u"");
    EXPECT_EQ(startsWithBlock.Text(), u"§0|Asthma¦¦A¦#2263§0|x||||||");
    startsWithBlock.SetProblemHeader(1, u"Gout", u"DD", u"red");
    EXPECT_EQ(startsWithBlock.Text(), u"§0|Asthma¦¦A¦§1|Gout¦DD¦A¦red#2263§0|x||||||");
}

TEST(ProblemJournalWriteTest, OutOfOrderHeadNeverLosesAnotherHeader) {
    ProblemJournal j(u"§1|B¦¦A¦§0|A¦¦A¦");
    j.SetProblemHeader(0, u"A2", u"", u"");
    EXPECT_EQ(j.GetProblemTitle(0), u"A2");
    EXPECT_EQ(j.GetProblemTitle(1), u"B");
}

TEST(ProblemJournalWriteTest, StateChanges) {
    ProblemJournal j(u"§0|a¦¦A¦");
    EXPECT_TRUE(j.SetProblemState(0, u'C'));
    EXPECT_EQ(j.Text(), u"§0|a¦¦C¦");
    EXPECT_FALSE(j.SetProblemState(0, u'#'));
    EXPECT_FALSE(j.SetProblemState(1, u'A'));
}

TEST(ProblemJournalHostileTest, SeparatorsNeverReachTheStructure) {
    ProblemJournal j(kExample);
    const std::u16string hostile = u"a#2264§0|b¦c¢d¬He|f§";
    j.SetEntry(2263, 1, Six(hostile, hostile, u"", u"", u"", hostile));
    j.SetProblemHeader(1, hostile, hostile, hostile);
    ExpectWellFormed(j);
    EXPECT_EQ(j.GetSection(2263, 1, 0), u"a22640b¦cdHef");
    EXPECT_EQ(j.GetProblemTitle(1), u"a22640bcdHef");
    EXPECT_EQ(j.GetProblemRedaction(1), u"a22640bcdHef");
    EXPECT_EQ(j.GetProblemState(1), u"I");
    // The other problems and days are untouched.
    EXPECT_EQ(j.GetEntry(2263, 0),
              Six(u"cough", u"crackles right", u"CRP 120", u"amoxicillin 1 g x3"));
    EXPECT_EQ(j.GetSection(2264, 0, 1), u"better");
    EXPECT_EQ(j.GetProblemTitle(0), u"Pneumonia (!)");
    // A text made only of separators counts as empty.
    EXPECT_TRUE(j.SetEntry(2264, 0, Six(u"#", u"§|", u"¢¬")).entryDeleted);
}

TEST(ProblemJournalHostileTest, NegativeAndHugeDays) {
    ProblemJournal j;
    j.SetEntry(5, 0, Six(u"five"));
    j.SetEntry(-36524, 0, Six(u"1900"));
    j.SetEntry(-1, 0, Six(u"eve"));
    EXPECT_TRUE(j.SetEntry(2147483647, 0, Six(u"far")).refused);
    EXPECT_TRUE(j.SetEntry(-36525, 0, Six(u"too early")).refused);
    EXPECT_EQ(j.Reader().EntryDays(), (std::vector<DayNumber>{-36524, -1, 5}));
    // A block beyond the range in a damaged journal still reads, but is not listed.
    ProblemJournal damaged(u"§0|a¦¦A¦#5§0|x||||||#99999999999§0|y||||||");
    EXPECT_EQ(damaged.Reader().EntryDays(), std::vector<DayNumber>{5});
    EXPECT_EQ(j.GetSection(-1, 0, 0), u"eve");
    EXPECT_TRUE(j.DeleteEntry(-1, 0));
    EXPECT_EQ(j.GetSection(-36524, 0, 0), u"1900");
    ExpectWellFormed(j);
}

TEST(ProblemJournalHostileTest, DamagedEntryIsRepairedOnWrite) {
    // An entry with only two bars: the write replaces it to its end.
    ProblemJournal j(u"§0|a¦¦A¦§1|b¦¦A¦#10§0|x|y§1|z||||||");
    j.SetEntry(10, 0, Six(u"1", u"2", u"3", u"4", u"5", u"6"));
    EXPECT_EQ(j.Text(), u"§0|a¦¦A¦§1|b¦¦A¦#10§0|1|2|3|4|5|6|§1|z||||||");
}

// 100 problems, 365 days with five entries each: a journal near the patient file size limit.
std::u16string NearLimitJournal() {
    std::u16string text;
    for (int p = 0; p < 100; ++p)
        text += u"§" + ToText(p) + u"|Problem title " + ToText(p) + u"¦" +
                std::u16string(60, u'd') + u"¦A¦";
    const std::u16string section(15, u'x');
    for (DayNumber day = 2263; day < 2263 + 365; ++day) {
        text += u"#" + ToText(day) + u"§";
        for (int k = 0; k < 5; ++k) {
            int p = k * 20 + day % 20;  // five distinct, ascending numbers
            if (k > 0) text += u"§";
            text += ToText(p) + u"|" + section + u"|" + section + u"|" + section + u"|" + section +
                    u"|" + section + u"|" + section + u"|";
        }
    }
    return text;
}

TEST(ProblemJournalHostileTest, NearTheFileSizeLimit) {
    ProblemJournal j(NearLimitJournal());
    EXPECT_GT(j.Text().size(), 190000u);
    EXPECT_LT(j.Text().size(), 195001u);
    ExpectWellFormed(j);
    EXPECT_EQ(j.ProblemCount(), 100);
    EXPECT_EQ(j.Reader().EntryDays().size(), 365u);
    // A very long hostile section lands in one entry and nowhere else.
    std::u16string longText(50000, u'y');
    for (size_t i = 0; i < longText.size(); i += 97) longText[i] = u"#§|¦¢¬"[i % 6];
    Sections before = j.GetEntry(2400, 3);
    j.SetEntry(2300, 42, Six(longText));
    ExpectWellFormed(j);
    EXPECT_EQ(j.GetSection(2300, 42, 0), ProblemJournal::CleanSection(longText));
    EXPECT_EQ(j.GetEntry(2400, 3), before);
    EXPECT_EQ(j.Reader().EntryDays().size(), 365u);
    j.SetProblemHeader(99, longText, longText, longText);
    ExpectWellFormed(j);
    EXPECT_EQ(j.ProblemCount(), 100);
    EXPECT_EQ(j.GetProblemTitle(98), u"Problem title 98");
}

std::u16string Repeat(std::u16string_view piece, int count) {
    std::u16string out;
    for (int i = 0; i < count; ++i) out += piece;
    return out;
}

TEST(ProblemJournalHostileTest, RunsOfSeparatorsAreReadInOnePass) {
    // Damaged journals of bare "#" or "§" near the file size limit: the problem count and the
    // entry days walk each of them once, and writing an entry still works.
    const std::u16string head = u"§0|Flu¦¦A¦";
    for (const std::u16string& text :
         {head + std::u16string(190000, u'#'), head + std::u16string(190000, u'§'),
          head + Repeat(u"#1", 95000), head + u"#" + std::u16string(190000, u'§'),
          head + Repeat(u"#2263§§", 38000)}) {
        ProblemJournal j(text);
        JournalReader reader = j.Reader();
        EXPECT_EQ(reader.ProblemCount(), 1);
        std::vector<DayNumber> days = reader.EntryDays();
        EXPECT_LE(days.size(), 1u);
        for (const auto& block : reader.DayBlocks()) {
            EXPECT_TRUE(reader.BlockEntries(block.span).empty());
        }
        ProblemJournal::EntryWrite write = j.SetEntry(2300, 0, Six(u"x"));
        EXPECT_TRUE(write.changed);
        EXPECT_EQ(j.GetSection(2300, 0, 0), u"x");
        EXPECT_EQ(j.ProblemCount(), 1);
        days = j.Reader().EntryDays();
        EXPECT_TRUE(std::binary_search(days.begin(), days.end(), 2300));
    }
}

}  // namespace
}  // namespace pondrel
