#include "records/Version300Conversion.h"

#include "RecordsFixture.h"
#include "records/JournalDayBlocks.h"
#include "records/SubstringIndex.h"
#include "records/PatientFileLoader.h"

namespace pondrel {
namespace {

using test::Repeat;
using test::U8;

TEST(JournalDayBlocksTest, SetEntryRule) {
    JournalDayBlocks blocks;
    EXPECT_FALSE(blocks.Set(5, 0, {}));
    EXPECT_FALSE(blocks.Set(5, 0, {u"#", u"§|", u"\u00A2\u00AC"}));  // nothing left once cleaned
    EXPECT_TRUE(blocks.Empty());
    EXPECT_TRUE(blocks.Set(5, 1, {u"a#b", u"§", u"c|d", u"¦", u"e\u00A2\u00ACHf", u"z"}));
    EXPECT_EQ(blocks.Text(), u"#5§1|ab||cd|¦|eHf|z|");
    // Earlier problem of the same day goes before, earlier day block before.
    blocks.Set(5, 0, {u"x"});
    blocks.Set(3, 1, {u"", u"y"});
    blocks.Set(12, 0, {u"w"});
    EXPECT_EQ(blocks.Text(), u"#3§1||y|||||#5§0|x||||||§1|ab||cd|¦|eHf|z|#12§0|w||||||");
    // Replacing an entry keeps its place; an empty one changes nothing.
    blocks.Set(5, 1, {u"new"});
    blocks.Set(5, 0, {});
    EXPECT_EQ(blocks.Text(), u"#3§1||y|||||#5§0|x||||||§1|new||||||#12§0|w||||||");
    // Day 12 and day 1 are different blocks; days before 2000 are negative.
    JournalDayBlocks days;
    days.Set(12, 0, {u"a"});
    days.Set(1, 10, {u"b"});
    days.Set(1, 2, {u"c"});
    days.Set(-3, 0, {u"d"});
    EXPECT_EQ(days.Text(), u"#-3§0|d||||||#1§2|c||||||§10|b||||||#12§0|a||||||");
}

TEST(SubstringIndexTest, FirstTextHoldingAText) {
    SubstringIndex index(u'¦');
    EXPECT_EQ(index.FirstHolding(u"a"), -1);
    EXPECT_EQ(index.Add(u"Pneumonia (!)"), 0);
    EXPECT_EQ(index.Add(u"Diabetes"), 1);
    EXPECT_EQ(index.Add(u"Type 2 diabetes mellitus"), 2);
    EXPECT_EQ(index.Add(u"with¦separator"), -1);
    EXPECT_EQ(index.Count(), 3);
    EXPECT_EQ(index.FirstHolding(u"Pneumonia"), 0);
    EXPECT_EQ(index.FirstHolding(u"iabetes"), 1);
    EXPECT_EQ(index.FirstHolding(u"diabetes"), 2);
    EXPECT_EQ(index.FirstHolding(u"mellitus"), 2);
    EXPECT_EQ(index.FirstHolding(u"s"), 1);
    EXPECT_EQ(index.FirstHolding(u""), 0);
    // Never across two texts.
    EXPECT_EQ(index.FirstHolding(u"(!)Diabetes"), -1);
    EXPECT_EQ(index.FirstHolding(u"DiabetesType"), -1);
    EXPECT_EQ(index.FirstHolding(u"Asthma"), -1);

    // Against a plain search over texts with many repeats.
    SubstringIndex repeats(u'¦');
    std::vector<std::u16string> texts;
    for (int i = 0; i < 40; ++i) {
        texts.push_back(Repeat(u"ab", i % 7) + ToText(i % 5) + Repeat(u"ba", i % 3));
        repeats.Add(texts.back());
    }
    for (std::u16string query : {u"abab", u"ab3", u"2ba", u"b0b", u"4baba", u"ababab1", u"x"}) {
        int expected = -1;
        for (size_t i = 0; i < texts.size() && expected < 0; ++i) {
            if (texts[i].find(query) != std::u16string::npos) expected = static_cast<int>(i);
        }
        EXPECT_EQ(repeats.FirstHolding(query), expected) << U8(query);
    }
}

// A version 3.00 file: no folder journal; each block holds its own journal, first in "¬O",
// with days counted from the block's admission day; drawings separate points with "-".
std::u16string Version300Block(std::u16string_view key, std::u16string_view type,
                               std::u16string_view journal, std::u16string_view drawing,
                               std::u16string_view icon) {
    return u"¬H" + std::u16string(key) + u"¢2006,3,20,14,0,0,¢0¢titles¢" + std::u16string(type) +
           u"¢0¢¬Pf1¢" + Repeat(u"¢", 194) + u"¬L" + std::u16string(drawing) + u"¢" +
           Repeat(u"¢", 7) + u"¬O" + std::u16string(journal) + u"¢" + std::u16string(type) +
           u"¢1¢" + std::u16string(icon) + u"¢0¢¬E";
}

const std::u16string kKey1 = u"2006,3,13,9,41,7,,";
const std::u16string kKey2 = u"2007,1,10,8,0,0,,";
const std::u16string kJournal1 =
    u"§0|Pneumonia (!)¦¦A¦§1|Diabetes¦¦A¦#0§0|cough||||||§1|||glucose 9||||#2§0||better|||||";
const std::u16string kJournal2 =
    u"§0|Asthma¦¦A¦§1|Pneumonia (!)¦¦I¦#1§0|||salbutamol||||§1|relapse||||||#4§0||||||||";
const std::u16string kHeader300 =
    u"#V3.00#W¢" + kKey2 + u"¢¬IDoe¢John¢1¢2¢1950¢" + Repeat(u"¢", 15) + u"1¢#Location|Cardio A¢";

std::u16string Version300File() {
    return kHeader300 +
           Version300Block(kKey1, u"Hosp", kJournal1, u"#255,0,0/0|10,20-11,22", u"3") +
           Version300Block(kKey2, u"Ambu", kJournal2, u"#0,0,255/1|5,5-6,6", u"5");
}

std::u16string ExpectedJournal() {
    const std::u16string d2 = ToText(DayNumberOf(2007, 1, 10) + 1);
    return u"§0|Pneumonia (!)¦¦A¦§1|Diabetes¦¦A¦§2|Asthma¦¦A¦"
           u"#2263§0|cough||||||§1|||glucose 9||||#2265§0||better|||||"
           u"#" +
           d2 + u"§0|relapse||||||§2|||salbutamol||||";
}

TEST(Version300ConversionTest, MergesTheJournalsOnAbsoluteDays) {
    std::u16string converted;
    ASSERT_TRUE(ConvertVersion300(Version300File(), converted, nullptr));
    EXPECT_TRUE(converted.starts_with(u"#V40#W¢" + kKey2 + u"¢¬IDoe¢"));
    // The folder journal follows the location item.
    EXPECT_NE(converted.find(u"#Location|Cardio A¢" + ExpectedJournal() + u"¢¬H"),
              std::u16string::npos);
    // Old journals stay in the file, behind the option items; drawings use "¦".
    EXPECT_NE(converted.find(u"¬OHosp¢1¢3¢0¢" + kJournal1 + u"¢¬E"), std::u16string::npos);
    EXPECT_NE(converted.find(u"¬OAmbu¢1¢5¢0¢" + kJournal2 + u"¢¬E"), std::u16string::npos);
    EXPECT_NE(converted.find(u"10,20¦11,22"), std::u16string::npos);
    EXPECT_EQ(converted.find(u"5,5-6,6"), std::u16string::npos);
}

TEST(Version300ConversionTest, AStayBegunBefore2000KeepsItsFirstDays) {
    // Admitted 30.12.1999: its days 0 and 1 fall before 1 January 2000.
    const std::u16string key = u"1999,12,30,22,0,0,,";
    const std::u16string journal =
        u"§0|Bronchiolitis¦¦A¦#0§0|cough||||||#1§0||wheezing|||||#2§0||better|||||";
    const std::u16string file = u"#V3.00#W¢" + key + u"¢¬IDoe¢Jim¢1¢2¢1999¢" +
                                Repeat(u"¢", 15) + u"1¢#Location|Paed¢" +
                                Version300Block(key, u"Hosp", journal, u"", u"3");
    std::u16string converted;
    ASSERT_TRUE(ConvertVersion300(file, converted, nullptr));
    EXPECT_NE(converted.find(u"#Location|Paed¢§0|Bronchiolitis¦¦A¦#-2§0|cough||||||"
                             u"#-1§0||wheezing|||||#0§0||better|||||¢"),
              std::u16string::npos);
}

TEST(Version300ConversionTest, ComparableTitle) {
    EXPECT_EQ(ComparableTitle(u"Pneumonia (!)"), u"Pneumonia");
    EXPECT_EQ(ComparableTitle(u"Sepsis (!!!) "), u"Sepsis");
    EXPECT_EQ(ComparableTitle(u"(!)"), u"");
}

TEST(Version300ConversionTest, TitleFoundOnlyInAnotherProblemsTextIsANewProblem) {
    std::u16string journal1 = u"§0|Asthma¦Diabetes ruled out¦A¦#0§0|a||||||";
    std::u16string journal2 = u"§0|Diabetes¦¦A¦#0§0|b||||||";
    std::u16string text = kHeader300 + Version300Block(kKey1, u"Hosp", journal1, u"", u"0") +
                          Version300Block(kKey2, u"Hosp", journal2, u"", u"0");
    std::u16string converted;
    ASSERT_TRUE(ConvertVersion300(text, converted, nullptr));
    EXPECT_NE(converted.find(u"§0|Asthma¦Diabetes ruled out¦A¦§1|Diabetes¦¦A¦#2263"),
              std::u16string::npos);
}

TEST(Version300ConversionTest, DamagedHeaderIsNotConverted) {
    std::u16string converted;
    DamageCode damage = DamageCode::None;
    EXPECT_FALSE(ConvertVersion300(u"#V3.00#W¢key¢no identity", converted, &damage));
    EXPECT_EQ(damage, DamageCode::NoIdentity);
    EXPECT_FALSE(ConvertVersion300(u"#V3.00#W¢k¢¬Ia¢b¢¬Hk¢", converted, &damage));
    EXPECT_EQ(damage, DamageCode::NoBlock);
}

// Damaged or crafted files that made the conversion repeat its work for every header, block or
// entry. Each is close to the size limit and must convert in one pass with the usual result.
std::u16string HostileVersion300File(std::u16string_view journal, std::u16string_view blocks = {}) {
    return kHeader300 + Version300Block(kKey1, u"Hosp", journal, u"", u"0") +
           std::u16string(blocks);
}

TEST(Version300ConversionTest, RepeatedHeadersCopyTheEntriesOnce) {
    std::u16string journal = Repeat(u"§0|Flu¦¦A¦", 3000);
    std::u16string expected = u"§0|Flu¦¦A¦";
    for (int day = 0; day < 9000; ++day) {
        journal += u"#" + ToText(day) + u"§0|x||||||";
        expected += u"#" + ToText(2263 + day) + u"§0|x||||||";
    }
    std::u16string text = HostileVersion300File(journal);
    ASSERT_TRUE(FitsPatientFileLimit(text.size()));
    std::u16string converted;
    ASSERT_TRUE(ConvertVersion300(text, converted, nullptr));
    EXPECT_NE(converted.find(u"#Location|Cardio A¢" + expected + u"¢¬H"), std::u16string::npos);
}

TEST(Version300ConversionTest, HeadersWithoutBarsAndBlocksWithoutOptions) {
    // A head of bare "§" (no header has its bar) and thousands of blocks without "¬O".
    std::u16string text =
        HostileVersion300File(Repeat(u"§", 90000), Repeat(u"¬H" + kKey2 + u"¢x¢", 4000));
    ASSERT_TRUE(FitsPatientFileLimit(text.size()));
    std::u16string converted;
    ASSERT_TRUE(ConvertVersion300(text, converted, nullptr));
    EXPECT_NE(converted.find(u"#Location|Cardio A¢¢¬H" + kKey1), std::u16string::npos);
    EXPECT_TRUE(converted.ends_with(u"¬H" + kKey2 + u"¢x¢"));
}

TEST(Version300ConversionTest, OneDayBlockWithThousandsOfEntries) {
    // Every entry of the block is found by a search back to the block's "#"; the last entry of
    // a problem on a day wins.
    std::u16string journal = u"§0|Flu¦¦A¦§1|Gout¦¦A¦#3";
    for (int i = 0; i < 7500; ++i) journal += u"§0|a" + ToText(i) + u"|||||§1|b||||||";
    std::u16string text = HostileVersion300File(journal);
    ASSERT_TRUE(FitsPatientFileLimit(text.size()));
    std::u16string converted;
    ASSERT_TRUE(ConvertVersion300(text, converted, nullptr));
    EXPECT_NE(converted.find(u"¢§0|Flu¦¦A¦§1|Gout¦¦A¦#2266§0|a7499||||||§1|b||||||¢¬H"),
              std::u16string::npos);
}

class Version300ReadTest : public test::RecordsFixture {};

TEST_F(Version300ReadTest, ConvertedFileIsWrittenBackAndRead) {
    PutText(u"Doe_John_1950.pdr", Version300File());
    ASSERT_TRUE(reader.ReadPatientFile(u"Doe_John_1950.pdr"));
    const PatientRecord& r = *set.Current();
    EXPECT_EQ(U8(r.problemJournal), U8(ExpectedJournal()));
    EXPECT_EQ(r.subfolderKey, kKey2);
    EXPECT_EQ(r.subfolderType, u"Ambu");
    EXPECT_EQ(r.icon, 5);
    EXPECT_EQ(r.Drawing(1), u"#0,0,255/1|5,5¦6,6");
    EXPECT_EQ(r.Field(1), u"f1");
    EXPECT_TRUE(t.messages.boxes.empty());
    std::u16string onDisk = TextOf(ActivePath(u"Doe_John_1950.pdr"));
    EXPECT_TRUE(onDisk.starts_with(u"#V40#W¢"));
    EXPECT_EQ(onDisk, r.rawText);

    // Saved: the current block first, the other subfolder after it.
    PatientRecord& loaded = *set.Current();
    ASSERT_EQ(Save(loaded), SaveOutcome::Written);
    std::u16string saved = TextOf(ActivePath(u"Doe_John_1950.pdr"));
    EXPECT_EQ(CountOf(saved, u"¬H"), 2u);
    EXPECT_TRUE(saved.ends_with(u"¬OHosp¢1¢3¢0¢" + kJournal1 + u"¢¬E"));
}

TEST_F(Version300ReadTest, ToolPathConvertsInMemoryOnly) {
    PutText(u"old.pdr", Version300File());
    const std::string before = *t.files.Bytes(ActivePath(u"old.pdr"));
    PatientRecord r;
    LoadResult result = LoadPatientFile(t.files, ActivePath(u"old.pdr"), r);
    ASSERT_TRUE(result.Ok());
    EXPECT_TRUE(result.converted);
    EXPECT_EQ(r.fileName, u"old.pdr");
    EXPECT_EQ(U8(r.problemJournal), U8(ExpectedJournal()));
    EXPECT_EQ(*t.files.Bytes(ActivePath(u"old.pdr")), before);
}

TEST_F(Version300ReadTest, ConversionThatCannotBeWrittenIsNotLoaded) {
    PutText(u"Doe_John_1950.pdr", Version300File());
    const std::string before = *t.files.Bytes(ActivePath(u"Doe_John_1950.pdr"));
    t.files.Fail(test::MemoryFileSystem::Op::Write, u"Doe_John");
    EXPECT_FALSE(reader.ReadPatientFile(u"Doe_John_1950.pdr"));
    EXPECT_EQ(set.Count(), 0);
    ASSERT_EQ(t.messages.boxes.size(), 1u);
    EXPECT_EQ(t.messages.boxes[0].text,
              u"Conversion of <\\My Documents\\PD_ActivePatients\\Doe_John_1950.pdr> file "
              u"failure !");
    EXPECT_EQ(t.messages.boxes[0].caption, u"Save failure");
    EXPECT_EQ(t.messages.boxes[0].icon, BoxIcon::Error);
    EXPECT_EQ(*t.files.Bytes(ActivePath(u"Doe_John_1950.pdr")), before);
}

TEST_F(Version300ReadTest, TooBigConversion) {
    // Readable once converted: written, but not loaded now.
    std::u16string text = Version300File();
    text.insert(text.find(u"¬Pf1") + 2, std::u16string(195000, u'x'));
    PutText(u"big.pdr", text);
    EXPECT_FALSE(reader.ReadPatientFile(u"big.pdr"));
    EXPECT_EQ(set.Count(), 0);
    ASSERT_EQ(t.messages.boxes.size(), 1u);
    EXPECT_EQ(t.messages.boxes[0].caption, u"Patient's file too big");
    EXPECT_EQ(t.messages.boxes[0].text,
              u"The converted file is too big to be saved and will not be able to be opened in "
              u"the futur.");
    EXPECT_TRUE(TextOf(ActivePath(u"big.pdr")).starts_with(u"#V40#"));

    // Not readable once converted: the old file is kept as it is.
    text = Version300File();
    size_t room = kMaxPatientFileBytes / 2 - 2 - text.size();
    text.insert(text.find(u"¬Pf1") + 2, std::u16string(room - 10, u'x'));
    PutText(u"bigger.pdr", text);
    ASSERT_LE(t.files.Bytes(ActivePath(u"bigger.pdr"))->size(), kMaxPatientFileBytes);
    EXPECT_FALSE(reader.ReadPatientFile(u"bigger.pdr"));
    EXPECT_TRUE(TextOf(ActivePath(u"bigger.pdr")).starts_with(u"#V3.00#"));
}

}  // namespace
}  // namespace pondrel
