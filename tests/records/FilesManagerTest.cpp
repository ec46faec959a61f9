#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <tuple>

#include "RecordsFixture.h"
#include "records/FilesManager.h"
#include "records/FolderFiles.h"
#include "records/JournalDayBlocks.h"
#include "records/JournalFormat.h"
#include "records/Version300Conversion.h"

namespace pondrel::test {
namespace {

constexpr size_t kNone = std::u16string::npos;

// The (day, title) -> sections of a journal text.
using JournalTexts = std::map<std::pair<long long, std::u16string>, Sections>;

JournalTexts TextsOf(std::u16string_view journal) {
    std::map<int, std::u16string> titles;
    const size_t firstDay = journal.find(u'#');
    std::u16string_view head = journal.substr(0, firstDay);
    for (size_t mark = head.find(u'§'); mark != kNone;) {
        const size_t next = head.find(u'§', mark + 1);
        std::u16string_view header = head.substr(mark + 1, (next == kNone ? head.size() : next) - mark - 1);
        const size_t bar = header.find(u'|');
        titles[ParseInt(header.substr(0, bar))] =
            std::u16string(header.substr(bar + 1, header.find(u'¦') - bar - 1));
        mark = next;
    }
    JournalTexts out;
    if (firstDay == kNone) return out;
    const auto entries = IndexJournalEntries(journal.substr(firstDay));
    for (size_t n = 0; n < entries.size(); ++n) {
        for (const IndexedEntry& e : entries[n]) out[{e.day, titles[static_cast<int>(n)]}] = e.sections;
    }
    return out;
}

std::u16string JournalOf(std::u16string_view text) {
    size_t begin = 0, end = 0;
    if (!FindJournalItem(text, begin, end)) return u"<none>";
    return std::u16string(text.substr(begin, end - begin));
}

class FilesManagerTest : public RecordsFixture {
protected:
    FilesManagerTest() { t.files.AddFolder(WorkingFolders::kArchives); }

    // The text of a saved patient with `journal` and the given admission day of March 2006.
    std::u16string PatientText(std::u16string last, std::u16string journal, int day = 13,
                               std::u16string lock = u"W") {
        PatientSet other{t.clock};
        PatientRecord& r = other.AddNew();
        r.SetField(2, last);
        r.SetField(3, u"John");
        r.SetField(6, u"1950");
        r.SetField(120, last);
        r.SetField(121, u"John");
        r.SetField(124, u"1950");
        r.SetField(63, u"");
        r.SetField(7, u"70");        // a kept field
        r.SetField(10, u"80");       // a measurement emptied by a copy
        r.SetField(202, u"Cardio.wnd");
        r.SetDrawing(1, u"#255,0,0/0|1,1¦2,2");
        r.inUse = 1;
        r.subfolderType = u"Hosp";
        r.admission = DateTime{2006, 3, day, 9, 5, 0};
        r.exit = DateTime{2006, 3, day + 2, 10, 0, 0};
        r.exitDateSet = 1;
        r.problemJournal = std::move(journal);
        r.lockState = lock;
        r.subfolderKey = SubfolderKeyOf(r);
        return ComposePatientText(r, r.subfolderKey);
    }

    void PutArchived(std::u16string_view name, std::u16string_view text) {
        t.files.AddFile(JoinPath(WorkingFolders::kArchives, name), EncodeItemText(text));
    }
    std::u16string ArchivedText(std::u16string_view name) const {
        return TextOf(JoinPath(WorkingFolders::kArchives, name));
    }

    FilesManager manager{t.files, t.messages, folders};
};

TEST_F(FilesManagerTest, ListsEveryFileSortedByDisplayName) {
    for (int i = 1200; i >= 1; --i) PutText(u"P_" + ToText(i) + u".pdr", PatientText(u"P", u""));
    PutText(u"Le Roy_Ann_1960.pdr", PatientText(u"Le Roy", u""));
    PutText(u"Le_Roy_Ann_1960.pdr", PatientText(u"Le Roy", u""));
    std::vector<FolderEntry> entries;
    ASSERT_TRUE(ListFolder(t.files, WorkingFolders::kActivePatients, entries));
    ASSERT_EQ(entries.size(), 1202u);  // more than a thousand, all of them
    EXPECT_EQ(entries[0].displayName, u"Le Roy Ann 1960");
    EXPECT_EQ(entries[0].fileName, u"Le Roy_Ann_1960.pdr");
    EXPECT_EQ(entries[1].fileName, u"Le_Roy_Ann_1960.pdr");
    EXPECT_EQ(entries[2].displayName, u"P 1");
    EXPECT_EQ(DisplayName(u"Doe_John_1950.pdr"), u"Doe John 1950");
    EXPECT_FALSE(ListFolder(t.files, u"\\Nowhere", entries));
}

TEST_F(FilesManagerTest, StayLinesTitlesAndCurrent) {
    std::u16string text = PatientText(u"Doe", u"");
    ASSERT_EQ(NewStayText(text, 0, u"Ambu", false, DateTime{2007, 1, 2, 3, 4, 5}), TextChange::Done);
    const auto stays = ListStays(text);
    ASSERT_EQ(stays.size(), 2u);
    EXPECT_EQ(StayLine(stays[0]), u"Ambu : 2.1.2007 -> 2.1.2007  <Edit>");
    EXPECT_EQ(StayLine(stays[1]), u"Hosp Cardio: 13.3.2006 -> 15.3.2006");
    EXPECT_EQ(TitleBox(u"Pneumonia|Diabetes|"), u"-Pneumonia\r\n-Diabetes");
    EXPECT_EQ(TitleBox(u""), u"");
    EXPECT_FALSE(HeldByAnotherUser(text));
    EXPECT_TRUE(HeldByAnotherUser(PatientText(u"Doe", u"", 13, u"R")));
}

TEST_F(FilesManagerTest, NewCopyAndBlankFromATemplate) {
    const std::u16string journal = u"§0|Pneumonia (!)¦¦A¦§1|Diabetes¦¦A¦";
    std::u16string text = PatientText(u"Doe", journal);
    ASSERT_NE(ListStays(text)[0].titles.find(u"Pneumonia"), kNone);
    std::u16string copy = text;
    ASSERT_EQ(NewStayText(copy, 0, u"Hosp", false, DateTime{2007, 1, 2, 3, 4, 5}), TextChange::Done);
    PatientSet s{t.clock};
    PatientRecord& r = s.AddNew();
    ASSERT_TRUE(ParsePatientText(copy, r, false));
    EXPECT_EQ(r.admission.year, 2007);
    EXPECT_EQ(r.Field(63), u"-Pneumonia (13.3.2006)\r\n-Diabetes (13.3.2006)");
    EXPECT_EQ(r.Field(7), u"[c] 70");
    EXPECT_EQ(r.Field(10), u"");
    EXPECT_EQ(r.Field(202), u"");
    EXPECT_EQ(r.Drawing(1), u"#255,0,0/0|1,1¦2,2");

    std::u16string blank = text;
    ASSERT_EQ(NewStayText(blank, 0, u"Ambu", true, DateTime{2007, 1, 2, 3, 4, 5}), TextChange::Done);
    PatientRecord& b = s.AddNew();
    ASSERT_TRUE(ParsePatientText(blank, b, false));
    EXPECT_EQ(b.Field(7), u"");
    EXPECT_EQ(b.Drawing(1), u"");
    EXPECT_EQ(b.subfolderType, u"Ambu");
    EXPECT_EQ(b.Field(63), u"-Pneumonia (13.3.2006)\r\n-Diabetes (13.3.2006)");
}

TEST_F(FilesManagerTest, DeletingAStayKeepsTheCurrentOneWhenItSurvives) {
    std::u16string text = PatientText(u"Doe", u"");
    NewStayText(text, 0, u"Hosp", false, DateTime{2007, 1, 1, 0, 0, 0});
    NewStayText(text, 0, u"Hosp", false, DateTime{2008, 1, 1, 0, 0, 0});
    ASSERT_EQ(ChooseStayText(text, 1), TextChange::Done);  // the 2007 stay
    std::u16string deleted = text;
    ASSERT_EQ(DeleteStayText(deleted, 2), TextChange::Done);  // not current
    auto stays = ListStays(deleted);
    ASSERT_EQ(stays.size(), 2u);
    EXPECT_TRUE(stays[1].current);
    EXPECT_EQ(stays[1].admission, u"1.1.2007");
    ASSERT_EQ(DeleteStayText(deleted, 1), TextChange::Done);  // the current one: the first
    EXPECT_TRUE(ListStays(deleted)[0].current);
    EXPECT_EQ(DeleteStayText(deleted, 0), TextChange::LastStay);
}

// Every text of both journals is found in the merged one, under the same day and title.
TEST_F(FilesManagerTest, MergeKeepsEveryDatedTextOfBothJournals) {
    std::mt19937 random(7);
    const std::vector<std::u16string> titles = {u"Pneumonia", u"Pneumonia (!)", u"Diabetes",
                                                u"Asthma", u"Heart failure", u"Fall"};
    auto randomJournal = [&](int problems) {
        std::u16string journal;
        std::vector<std::u16string> shuffled = titles;
        std::shuffle(shuffled.begin(), shuffled.end(), random);
        for (int p = 0; p < problems; ++p) {
            const std::u16string& title = shuffled[static_cast<size_t>(p)];
            journal += u"§" + ToText(p) + u"|" + title + u"¦dd¦A¦";
        }
        JournalDayBlocks days;
        for (int e = 0; e < 12; ++e) {
            Sections s;
            for (auto& section : s) {
                if (random() % 2) section = u"t" + ToText(static_cast<int>(random() % 50));
            }
            days.Set(static_cast<DayNumber>(2263 + random() % 6), static_cast<int>(random() % problems), s);
        }
        return journal + days.Text();
    };
    for (int round = 0; round < 40; ++round) {
        const std::u16string a = PatientText(u"Doe", randomJournal(1 + round % 4), 13);
        const std::u16string b = PatientText(u"Doe", randomJournal(1 + round % 3), 20);
        std::u16string merged;
        ASSERT_EQ(MergeTexts(a, b, merged), TextChange::Done);
        const JournalTexts result = TextsOf(JournalOf(merged));
        for (const std::u16string& part : {a, b}) {
            for (const auto& [dayTitle, sections] : TextsOf(JournalOf(part))) {
                // A title joined with a longer one holding it ("Pneumonia" into "Pneumonia (!)").
                bool found = false;
                for (const auto& [resultKey, resultSections] : result) {
                    if (resultKey.first != dayTitle.first ||
                        resultKey.second.find(ComparableTitle(dayTitle.second)) == kNone) {
                        continue;
                    }
                    bool all = true;
                    for (size_t i = 0; i < sections.size(); ++i) {
                        all = all && resultSections[i].find(sections[i]) != kNone;
                    }
                    found = found || all;
                }
                EXPECT_TRUE(found) << "round " << round << " day " << dayTitle.first << " "
                                   << U8(dayTitle.second);
            }
        }
        // The archived folder's stays first and its current one still current.
        const auto stays = ListStays(merged);
        ASSERT_EQ(stays.size(), 2u);
        EXPECT_EQ(stays[0].admission, u"20.3.2006");
        EXPECT_TRUE(stays[0].current);
    }
}

TEST_F(FilesManagerTest, MergeRefusesMoreThanAHundredProblemsAndTooBigResults) {
    std::u16string many;
    for (int p = 0; p < 60; ++p) many += u"§" + ToText(p) + u"|A" + ToText(p) + u"¦¦A¦";
    std::u16string other;
    for (int p = 0; p < 60; ++p) other += u"§" + ToText(p) + u"|B" + ToText(p) + u"¦¦A¦";
    std::u16string merged;
    EXPECT_EQ(MergeTexts(PatientText(u"Doe", many), PatientText(u"Doe", other), merged),
              TextChange::TooManyProblems);
    EXPECT_TRUE(merged.empty());

    auto big = [](char16_t c) {
        return u"§0|X¦¦A¦#2263§0|" + std::u16string(100000, c) + u"||||||";
    };
    EXPECT_EQ(MergeTexts(PatientText(u"Doe", big(u'a')), PatientText(u"Doe", big(u'b')), merged),
              TextChange::TooBig);
    EXPECT_TRUE(merged.empty());
}

TEST_F(FilesManagerTest, MergeActsOnRealFileNamesAndRemovesTheSourceAndItsBackup) {
    const std::u16string journalA = u"§0|Pneumonia¦¦A¦#2263§0|cough||||||";
    const std::u16string journalB = u"§0|Pneumonia (!)¦¦A¦#2263§0||fever|||||";
    PutText(u"Le Roy_Ann_1960.pdr", PatientText(u"Le Roy", journalA, 13));
    PutText(u"Le_Roy_Ann_1960.pdr", PatientText(u"Le Roy", u"§0|Other¦¦A¦", 14));
    t.files.AddFile(BackupPath(u"Le Roy_Ann_1960.pdr"), "old");
    PutArchived(u"Le Roy_Ann_1960.pdr", PatientText(u"Le Roy", journalB, 20));
    manager.ListFolders();
    ASSERT_EQ(manager.Entries(FilesManager::List::Active)[0].fileName, u"Le Roy_Ann_1960.pdr");
    t.messages.Queue(BoxAnswer::Ok);
    ASSERT_TRUE(manager.Merge(0, 0));
    EXPECT_EQ(t.messages.boxes.back().text, u"Merging successful");
    EXPECT_EQ(TextOf(ActivePath(u"Le Roy_Ann_1960.pdr")), u"<none>");
    EXPECT_FALSE(t.files.FileExists(BackupPath(u"Le Roy_Ann_1960.pdr")));
    EXPECT_NE(TextOf(ActivePath(u"Le_Roy_Ann_1960.pdr")), u"<none>");  // untouched
    const std::u16string merged = ArchivedText(u"Le Roy_Ann_1960.pdr");
    EXPECT_NE(JournalOf(merged).find(u"#2263§0|cough|fever|||||"), kNone) << U8(JournalOf(merged));
    EXPECT_EQ(ListStays(merged).size(), 2u);
    EXPECT_FALSE(t.files.FileExists(JoinPath(WorkingFolders::kArchives, u"Le_Roy_Ann_1960.pdr")));
}

TEST_F(FilesManagerTest, MergeConvertsVersion300InMemoryFirst) {
    const std::u16string key = u"2006,3,13,9,41,7,,";
    const std::u16string v300 =
        u"#V3.00#W¢" + key + u"¢¬IDoe¢John¢1¢2¢1950¢" + Repeat(u"¢", 15) + u"1¢#Location|A¢" +
        u"¬H" + key + u"¢2006,3,20,14,0,0,¢0¢titles¢Hosp¢0¢¬Pf1¢" + Repeat(u"¢", 194) + u"¬L" +
        Repeat(u"¢", 8) + u"¬O§0|Asthma¦¦A¦#1§0|||salbutamol||||¢Hosp¢1¢3¢0¢¬E";
    PutText(u"Doe_John_1950.pdr", v300);
    PutArchived(u"Doe_John_1950.pdr", PatientText(u"Doe", u"§0|Asthma¦¦A¦"));
    manager.ListFolders();
    ASSERT_TRUE(manager.Merge(0, 0));
    const std::u16string merged = ArchivedText(u"Doe_John_1950.pdr");
    EXPECT_TRUE(merged.starts_with(u"#V40#"));
    EXPECT_NE(JournalOf(merged).find(u"#" + ToText(DayNumberOf(2006, 3, 14)) + u"§0|||salbutamol"),
              kNone)
        << U8(JournalOf(merged));
}

TEST_F(FilesManagerTest, AFailedWriteOrDeleteIsReportedAndNothingIsLost) {
    const std::u16string active = PatientText(u"Doe", u"§0|A¦¦A¦");
    PutText(u"Doe_John_1950.pdr", active);
    PutArchived(u"Doe_John_1950.pdr", PatientText(u"Doe", u"§0|B¦¦A¦", 20));
    manager.ListFolders();
    t.files.Fail(MemoryFileSystem::Op::Write, u"PD_Archives");
    EXPECT_FALSE(manager.Merge(0, 0));
    EXPECT_EQ(TextOf(ActivePath(u"Doe_John_1950.pdr")), active);  // the source is untouched
    EXPECT_EQ(t.messages.boxes.back().text,
              u"There was an error while trying to save the merged file.");
    t.files.ClearFailures();
    t.files.Fail(MemoryFileSystem::Op::Delete, u"PD_ActivePatients");
    EXPECT_FALSE(manager.Merge(0, 0));
    EXPECT_NE(t.messages.boxes.back().text.find(u"could not be deleted"), kNone);
    EXPECT_NE(t.messages.boxes.back().text, u"Merging successful");
}

TEST_F(FilesManagerTest, EveryChangeOfAFileHeldByAnotherUserIsRefused) {
    PutText(u"Doe_John_1950.pdr", PatientText(u"Doe", u"", 13, u"R"));
    PutArchived(u"Doe_John_1950.pdr", PatientText(u"Doe", u"", 20));
    const std::u16string before = TextOf(ActivePath(u"Doe_John_1950.pdr"));
    manager.ListFolders();
    const auto held = [&] {
        ASSERT_FALSE(t.messages.boxes.empty());
        EXPECT_EQ(t.messages.boxes.back().caption, u"Unlocked file");
        t.messages.boxes.clear();
    };
    ASSERT_TRUE(manager.Select(FilesManager::List::Active, 0));
    EXPECT_FALSE(manager.Archive());
    EXPECT_EQ(t.messages.boxes.back().text,
              u"This file stands on the server. Lock it on your computer before archiving.");
    held();
    EXPECT_FALSE(manager.ChooseStay(0));
    held();
    EXPECT_FALSE(manager.NewStay(0, u"Hosp", false, DateTime{2007, 1, 1, 0, 0, 0}));
    held();
    EXPECT_FALSE(manager.DeleteStay(0));
    held();
    EXPECT_FALSE(manager.DeleteFolder());
    held();
    EXPECT_FALSE(manager.Merge(0, 0));
    held();
    EXPECT_EQ(TextOf(ActivePath(u"Doe_John_1950.pdr")), before);
}

TEST_F(FilesManagerTest, ArchiveActivateAndDeleteFolder) {
    PutText(u"Doe_John_1950.pdr", PatientText(u"Doe", u""));
    PutText(u"Roe_Jane_1960.pdr", PatientText(u"Roe", u""));
    PutArchived(u"Roe_Jane_1960.pdr", PatientText(u"Roe", u""));
    t.files.AddFile(BackupPath(u"Doe_John_1950.pdr"), "copy");
    manager.ListFolders();
    EXPECT_FALSE(manager.Archive());
    EXPECT_EQ(t.messages.boxes.back().caption, u"Nothing selected");
    ASSERT_TRUE(manager.Select(FilesManager::List::Active, 1));
    EXPECT_FALSE(manager.Archive());
    EXPECT_EQ(t.messages.boxes.back().caption, u"Duplication found");
    ASSERT_TRUE(manager.Select(FilesManager::List::Active, 0));
    ASSERT_TRUE(manager.Archive());
    EXPECT_FALSE(t.files.FileExists(BackupPath(u"Doe_John_1950.pdr")));
    EXPECT_EQ(manager.Entries(FilesManager::List::Archived).size(), 2u);
    EXPECT_EQ(manager.SelectedRow(FilesManager::List::Active), 0);  // Roe, the one left
    ASSERT_TRUE(manager.Select(FilesManager::List::Archived, 0));
    ASSERT_TRUE(manager.Activate());
    EXPECT_TRUE(t.files.FileExists(ActivePath(u"Doe_John_1950.pdr")));

    // A file changed on disk since it was read is not deleted.
    ASSERT_TRUE(manager.Select(FilesManager::List::Active, 0));
    PutText(u"Doe_John_1950.pdr", PatientText(u"Doe", u"§0|New¦¦A¦"));
    EXPECT_FALSE(manager.DeleteFolder());
    EXPECT_EQ(t.messages.boxes.back().caption, u"File changed");
    ASSERT_TRUE(manager.DeleteFolder());  // read again after the refusal
    EXPECT_FALSE(t.files.FileExists(ActivePath(u"Doe_John_1950.pdr")));
}

TEST_F(FilesManagerTest, ChooseNewAndDeleteStayWriteTheFile) {
    PutText(u"Doe_John_1950.pdr", PatientText(u"Doe", u""));
    manager.ListFolders();
    ASSERT_TRUE(manager.Select(FilesManager::List::Active, 0));
    ASSERT_TRUE(manager.NewStay(0, u"Ambu", false, DateTime{2007, 1, 1, 0, 0, 0}));
    ASSERT_EQ(manager.Stays().size(), 2u);
    EXPECT_EQ(manager.CurrentStay(), 0);
    ASSERT_TRUE(manager.ChooseStay(1));
    EXPECT_EQ(manager.CurrentStay(), 1);
    ASSERT_TRUE(manager.DeleteStay(0));
    EXPECT_EQ(manager.Stays().size(), 1u);
    EXPECT_EQ(manager.CurrentStay(), 0);
    EXPECT_FALSE(manager.DeleteStay(0));
    EXPECT_EQ(t.messages.boxes.back().caption, u"Last subfolder !");
    // Reading the file back gives the chosen stay.
    PatientRecord r;
    ASSERT_TRUE(ParsePatientText(TextOf(ActivePath(u"Doe_John_1950.pdr")), r, false));
    EXPECT_EQ(r.admission.year, 2006);
}

}  // namespace
}  // namespace pondrel::test
