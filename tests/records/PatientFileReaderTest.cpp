#include "records/PatientFileReader.h"

#include "RecordsFixture.h"
#include "records/PatientFileLoader.h"
#include "records/PatientFileParser.h"

namespace pondrel {
namespace {

using test::FirstBlock;
using test::Repeat;
using test::U8;

class PatientFileReaderTest : public test::RecordsFixture {
protected:
    // A full record saved to Doe_John_1950.pdr; returns its text.
    std::u16string SaveFullPatient() {
        PatientRecord& r = NewPatient();
        r.sex = 1;
        r.icon = 7;
        r.checked = 1;
        r.location = u"Cardio A";
        r.problemJournal = u"§0|Pneumonia (!)¦¦A¦#2263§0|cough||||||";
        r.exitDateSet = 1;
        r.exit = DateTime{2006, 3, 20, 14, 5, 0};
        r.historyStartDay = 2250;
        r.subfolderType = u"Ambu";
        for (int n = 1; n < kFieldCount; ++n) {
            if (IsStoredFormField(n)) r.SetField(n, u"f" + ToText(n) + u" é\r\n-x");
        }
        for (int n = 125; n < 140; ++n) r.SetField(n, u"id" + ToText(n));
        r.SetField(202, u"Cardio");
        for (int j = 1; j <= kDrawingCount; ++j) r.SetDrawing(j, u"#0,0,0/0|" + ToText(j) + u",1");
        EXPECT_EQ(Save(r), SaveOutcome::Written);
        set.RemoveAll();
        return TextOf(ActivePath(u"Doe_John_1950.pdr"));
    }
};

TEST_F(PatientFileReaderTest, ReadsEveryMemberBack) {
    SaveFullPatient();
    ASSERT_TRUE(reader.ReadPatientFile(u"Doe_John_1950.pdr"));
    ASSERT_EQ(set.Count(), 1);
    const PatientRecord& r = *set.Current();
    EXPECT_EQ(r.sex, 1);
    EXPECT_EQ(r.icon, 7);
    EXPECT_EQ(r.checked, 1);
    EXPECT_EQ(r.inUse, 1);
    EXPECT_EQ(r.exitDateSet, 1);
    EXPECT_EQ(r.admission, (DateTime{2006, 3, 13, 9, 41, 7}));
    EXPECT_EQ(r.admissionDay, 2263);
    EXPECT_EQ(r.exit, (DateTime{2006, 3, 20, 14, 5, 0}));
    EXPECT_EQ(r.historyStartDay, 2250);
    EXPECT_EQ(r.subfolderType, u"Ambu");
    EXPECT_EQ(r.location, u"Cardio A");
    EXPECT_EQ(r.lockState, u"W");
    EXPECT_EQ(r.subfolderKey, u"2006,3,13,9,41,7,Cardio,");
    EXPECT_EQ(r.fileName, u"Doe_John_1950.pdr");
    EXPECT_EQ(r.problemJournal, u"§0|Pneumonia (!)¦¦A¦#2263§0|cough||||||");
    EXPECT_EQ(r.Field(7), u"f7 é\r\n-x");
    EXPECT_EQ(r.Field(229), u"f229 é\r\n-x");
    EXPECT_EQ(r.Field(2), u"Doe");
    EXPECT_EQ(r.Field(6), u"1950");
    EXPECT_EQ(r.Field(139), u"id139");
    EXPECT_EQ(r.Field(88), u"");
    EXPECT_EQ(r.Drawing(8), u"#0,0,0/0|8,1");
    EXPECT_TRUE(t.messages.boxes.empty());
}

// A new patient saved before the civility was chosen is read back without one: the file name is
// that of any patient and nothing is chosen in its place.
TEST_F(PatientFileReaderTest, ACivilityNotChosenIsKeptByTheFile) {
    PatientRecord& r = NewPatient();
    EXPECT_EQ(r.sex, kSexNotChosen);  // a new record of the set has none preset
    r.location = u"Cardio A";
    ASSERT_EQ(Save(r), SaveOutcome::Written);
    EXPECT_NE(TextOf(ActivePath(u"Doe_John_1950.pdr")), u"<none>");
    PatientSet fresh{t.clock};
    PatientFileReader freshReader{t.files, t.messages, folders, fresh, locations};
    ASSERT_TRUE(freshReader.ReadPatientFile(u"Doe_John_1950.pdr"));
    EXPECT_EQ(fresh.Current()->sex, kSexNotChosen);
    EXPECT_EQ(fresh.Current()->Field(2), u"Doe");
    EXPECT_TRUE(t.messages.boxes.empty());
}

TEST_F(PatientFileReaderTest, RoundTripReproducesTheFileByteForByte) {
    SaveFullPatient();
    const std::string first = *t.files.Bytes(ActivePath(u"Doe_John_1950.pdr"));
    ASSERT_TRUE(reader.ReadPatientFile(u"Doe_John_1950.pdr"));
    ASSERT_EQ(Save(*set.Current()), SaveOutcome::Written);
    EXPECT_EQ(*t.files.Bytes(ActivePath(u"Doe_John_1950.pdr")), first);
}

TEST_F(PatientFileReaderTest, OtherSubfoldersSurviveSavesAfterTheKeyChanged) {
    // Three subfolders: the current one and two older stays.
    std::u16string text = SaveFullPatient();
    PatientRecord& older = NewPatient();
    older.admission = DateTime{2004, 5, 1, 10, 0, 0};
    older.SetField(7, u"older stay");
    std::u16string blockB = FirstBlock(ComposePatientText(older, SubfolderKeyOf(older)));
    older.admission = DateTime{2005, 6, 2, 11, 0, 0};
    older.SetField(7, u"middle stay");
    std::u16string blockC = FirstBlock(ComposePatientText(older, SubfolderKeyOf(older)));
    set.RemoveAll();
    PutText(u"Doe_John_1950.pdr", text + blockB + blockC);
    const std::string original = *t.files.Bytes(ActivePath(u"Doe_John_1950.pdr"));

    ASSERT_TRUE(reader.ReadPatientFile(u"Doe_John_1950.pdr"));
    PatientRecord& r = *set.Current();
    ASSERT_EQ(Save(r), SaveOutcome::Written);
    EXPECT_EQ(*t.files.Bytes(ActivePath(u"Doe_John_1950.pdr")), original);

    // The admission date changes, then field 202: the old block of the current subfolder is
    // the one dropped each time, the others stay, in order, after the current block.
    r.admission = DateTime{2006, 3, 14, 8, 0, 0};
    ASSERT_EQ(Save(r), SaveOutcome::Written);
    r.SetField(202, u"");
    ASSERT_EQ(Save(r), SaveOutcome::Written);
    std::u16string saved = TextOf(ActivePath(u"Doe_John_1950.pdr"));
    EXPECT_EQ(CountOf(saved, u"¬H"), 3u);
    EXPECT_EQ(CountOf(saved, u"¬H2006,3,13,9,41,7"), 0u);
    EXPECT_TRUE(saved.starts_with(u"#V40#W¢2006,3,14,8,0,0,,¢"));
    size_t b = saved.find(blockB);
    size_t c = saved.find(blockC);
    ASSERT_NE(b, std::u16string::npos);
    ASSERT_NE(c, std::u16string::npos);
    EXPECT_LT(saved.find(u"¬H2006,3,14,8,0,0,,¢"), b);
    EXPECT_LT(b, c);
    EXPECT_TRUE(saved.ends_with(blockB + blockC));

    // Read again: the header names the new current block.
    set.RemoveAll();
    ASSERT_TRUE(reader.ReadPatientFile(u"Doe_John_1950.pdr"));
    EXPECT_EQ(set.Current()->admission, (DateTime{2006, 3, 14, 8, 0, 0}));
    EXPECT_EQ(set.Current()->Field(7), u"f7 é\r\n-x");
}

TEST_F(PatientFileReaderTest, CurrentBlockAfterOthersIsWrittenFirst) {
    std::u16string text = SaveFullPatient();
    PatientRecord& older = NewPatient();
    older.admission = DateTime{2004, 5, 1, 10, 0, 0};
    std::u16string olderText = ComposePatientText(older, SubfolderKeyOf(older));
    set.RemoveAll();
    // The older block stands first in the file; the header still names the newer one.
    size_t first = text.find(u"¬H");
    PutText(u"Doe_John_1950.pdr", text.substr(0, first) + FirstBlock(olderText) + FirstBlock(text));
    ASSERT_TRUE(reader.ReadPatientFile(u"Doe_John_1950.pdr"));
    ASSERT_EQ(Save(*set.Current()), SaveOutcome::Written);
    EXPECT_EQ(U8(TextOf(ActivePath(u"Doe_John_1950.pdr"))), U8(text + FirstBlock(olderText)));
}

TEST_F(PatientFileReaderTest, EmptySubfolderKeyLeavesNoStaleBlock) {
    // A file whose key is empty: its current block is "¬H¢...". Saved again under the key of
    // its admission, the block read is the one replaced, not kept beside the new one.
    std::u16string text = SaveFullPatient();
    const std::u16string key = u"2006,3,13,9,41,7,Cardio,";
    text = ReplaceAll(text, key, u"");
    ASSERT_EQ(CountOf(text, u"¬H¢"), 1u);
    PutText(u"Doe_John_1950.pdr", text);
    ASSERT_TRUE(reader.ReadPatientFile(u"Doe_John_1950.pdr"));
    EXPECT_EQ(set.Current()->subfolderKey, u"");
    ASSERT_EQ(Save(*set.Current()), SaveOutcome::Written);
    std::u16string saved = TextOf(ActivePath(u"Doe_John_1950.pdr"));
    EXPECT_EQ(CountOf(saved, u"¬H"), 1u);
    EXPECT_EQ(CountOf(saved, u"¬H" + SubfolderKeyOf(*set.Current()) + u"¢"), 1u);
}

TEST_F(PatientFileReaderTest, HeaderDetails) {
    std::u16string text = SaveFullPatient();
    // Another lock letter gives an empty, editable lock state; "R" is kept.
    PutText(u"a.pdr", u"#V40#X" + text.substr(6));
    PutText(u"b.pdr", u"#V40#R" + text.substr(6));
    ASSERT_TRUE(reader.ReadPatientFile(u"a.pdr"));
    EXPECT_EQ(set.Current()->lockState, u"");
    ASSERT_TRUE(reader.ReadPatientFile(u"b.pdr"));
    EXPECT_EQ(set.Current()->lockState, u"R");
    // Version 2.30 is read with the current layout.
    PutText(u"c.pdr", u"#V2.30#W" + text.substr(6));
    ASSERT_TRUE(reader.ReadPatientFile(u"c.pdr"));
    EXPECT_EQ(set.Current()->Field(7), u"f7 é\r\n-x");
    EXPECT_TRUE(t.messages.boxes.empty());
}

TEST_F(PatientFileReaderTest, NewerVersionIsRefused) {
    std::u16string text = SaveFullPatient();
    PutText(u"n.pdr", u"#V41#W" + text.substr(6));
    EXPECT_FALSE(reader.ReadPatientFile(u"n.pdr"));
    EXPECT_EQ(set.Count(), 0);
    ASSERT_EQ(t.messages.boxes.size(), 1u);
    EXPECT_EQ(t.messages.boxes[0].text,
              u"The file \\My Documents\\PD_ActivePatients\\n.pdr can not be loaded because it's "
              u"converted in a more recent version !");
    EXPECT_EQ(t.messages.boxes[0].caption, u"File load failure");
    EXPECT_EQ(t.messages.boxes[0].icon, BoxIcon::Error);
}

TEST_F(PatientFileReaderTest, MissingFileAndEmptyText) {
    EXPECT_FALSE(reader.ReadPatientFile(u"gone.pdr"));
    ASSERT_EQ(t.messages.boxes.size(), 1u);
    EXPECT_EQ(t.messages.boxes[0].text,
              u"The file \\My Documents\\PD_ActivePatients\\gone.pdr can not be opened. Be sure "
              u"that it is present.");
    EXPECT_EQ(t.messages.boxes[0].caption, u"File load failure 1");
    EXPECT_EQ(t.messages.boxes[0].icon, BoxIcon::Error);
    // An empty file (or one holding the mark only) is reported and left as it is.
    for (const std::string& bytes : {std::string(), std::string("\xFF\xFE"), EncodeItemText(u"")}) {
        t.messages.boxes.clear();
        t.files.AddFile(ActivePath(u"empty.pdr"), bytes);
        EXPECT_FALSE(reader.ReadPatientFile(u"empty.pdr"));
        ASSERT_EQ(t.messages.boxes.size(), 1u);
        EXPECT_EQ(t.messages.boxes[0].text,
                  u"The file \\My Documents\\PD_ActivePatients\\empty.pdr is empty. It has not "
                  u"been loaded and is left unchanged.");
        EXPECT_EQ(t.messages.boxes[0].caption, u"File load failure");
        EXPECT_EQ(t.messages.boxes[0].icon, BoxIcon::Warning);
        EXPECT_EQ(*t.files.Bytes(ActivePath(u"empty.pdr")), bytes);
        EXPECT_EQ(set.Count(), 0);
    }
}

TEST_F(PatientFileReaderTest, FileAboveTheLimitIsRefusedAndLeftAlone) {
    std::u16string text = SaveFullPatient();
    // 400 002 bytes: the reader would have cut it.
    size_t pad = (kMaxPatientFileBytes + 2) / 2 - 2 - text.size();
    std::u16string big = text;
    big.insert(big.find(u"¬P") + 2, std::u16string(pad, u'x'));
    PutText(u"big.pdr", big);
    const std::string bytes = *t.files.Bytes(ActivePath(u"big.pdr"));
    ASSERT_EQ(bytes.size(), kMaxPatientFileBytes + 2);
    EXPECT_FALSE(reader.ReadPatientFile(u"big.pdr"));
    EXPECT_EQ(set.Count(), 0);
    ASSERT_EQ(t.messages.boxes.size(), 1u);
    EXPECT_EQ(t.messages.boxes[0].caption, u"File load failure");
    EXPECT_NE(t.messages.boxes[0].text.find(u"\\My Documents\\PD_ActivePatients\\big.pdr"),
              std::u16string::npos);
    EXPECT_NE(t.messages.boxes[0].text.find(u"too big to be opened"), std::u16string::npos);
    EXPECT_EQ(*t.files.Bytes(ActivePath(u"big.pdr")), bytes);

    // Exactly at the limit the whole file is read.
    big.erase(big.find(u"¬P") + 2, 1);
    PutText(u"limit.pdr", big);
    ASSERT_EQ(t.files.Bytes(ActivePath(u"limit.pdr"))->size(), kMaxPatientFileBytes);
    EXPECT_TRUE(reader.ReadPatientFile(u"limit.pdr"));
    EXPECT_EQ(set.Current()->Drawing(8), u"#0,0,0/0|8,1");
}

TEST_F(PatientFileReaderTest, MissingBlockEndIsTolerated) {
    std::u16string text = SaveFullPatient();
    ASSERT_TRUE(text.ends_with(u"¬OAmbu¢1¢7¢1¢¬E"));
    text.resize(text.size() - 2);  // the "¬O" part now ends two characters before the end
    PutText(u"noend.pdr", text);
    ASSERT_TRUE(reader.ReadPatientFile(u"noend.pdr"));
    EXPECT_EQ(set.Current()->subfolderType, u"Ambu");
    EXPECT_EQ(set.Current()->icon, 7);
    EXPECT_EQ(set.Current()->checked, 0);
}

TEST_F(PatientFileReaderTest, SubfolderTypeRule) {
    std::u16string text = SaveFullPatient();
    size_t options = text.find(u"¬OAmbu¢");
    for (auto [stored, expected] : {std::pair{u"", u"Hosp"}, std::pair{u"Ambulatory", u"Hosp"},
                                    std::pair{u"Hosp", u"Hosp"}}) {
        std::u16string changed = text;
        changed.replace(options + 2, 4, stored);
        PutText(u"t.pdr", changed);
        ASSERT_TRUE(reader.ReadPatientFile(u"t.pdr"));
        EXPECT_EQ(set.Current()->subfolderType, expected);
    }
}

TEST_F(PatientFileReaderTest, LocationFilterCountsEveryPatient) {
    locations.SetNamesText(u"Cardio A|Cardio B|");
    std::u16string text = SaveFullPatient();
    auto at = [&text](std::u16string_view location) {
        return ReplaceAll(text, u"#Location|Cardio A¢",
                          u"#Location|" + std::u16string(location) + u"¢");
    };
    PutText(u"a.pdr", at(u"Cardio A"));
    PutText(u"b.pdr", at(u"Cardio B"));
    PutText(u"closed.pdr", at(u"Closed hospitalization"));
    PutText(u"none.pdr", at(u""));
    auto loadAll = [&] {
        set.RemoveAll();
        locations.ResetCounters();
        for (auto name : {u"a.pdr", u"b.pdr", u"closed.pdr", u"none.pdr"}) {
            reader.ReadPatientFile(name);
        }
    };
    loadAll();  // "All department"
    EXPECT_EQ(set.Count(), 2);
    EXPECT_EQ(locations.CounterOf(u"XX All activated folders XX"), 4);
    EXPECT_EQ(locations.CounterOf(u"All department"), 2);
    EXPECT_EQ(locations.CounterOf(u"Closed hospitalization"), 1);
    EXPECT_EQ(locations.CounterOf(u"XX No location XX"), 1);
    EXPECT_EQ(reader.LastFileName(), u"none.pdr");
    EXPECT_EQ(reader.LastLocation(), u"");
    locations.Select(u"Cardio B");
    loadAll();
    ASSERT_EQ(set.Count(), 1);
    EXPECT_EQ(set.Current()->fileName, u"b.pdr");
    locations.Select(u"All activated folders");
    loadAll();
    EXPECT_EQ(set.Count(), 4);
    locations.Select(u"No location");
    loadAll();
    ASSERT_EQ(set.Count(), 1);
    EXPECT_EQ(set.Current()->fileName, u"none.pdr");
    EXPECT_TRUE(t.messages.boxes.empty());
}

TEST_F(PatientFileReaderTest, LocationItemAtTheStartIsNotFiltered) {
    EXPECT_EQ(FilterLocation(u"¢#Location|X¢"), std::nullopt);
    EXPECT_EQ(FilterLocation(u"a¢#Location|X¢b"), std::optional<std::u16string>(u"X"));
    EXPECT_EQ(FilterLocation(u"a¢#Location|X"), std::optional<std::u16string>(u"X"));
}

// Damaged files: one case per missing mark.
struct Damage {
    int code;
    std::u16string (*damage)(std::u16string);
};

std::u16string Without(std::u16string text, std::u16string_view mark) {
    return ReplaceAll(text, mark, u"");
}

const Damage kDamages[] = {
    {4, [](std::u16string s) { return Without(s, u"¬I"); }},
    {5, [](std::u16string s) { return Without(s, u"¬H"); }},
    {6, [](std::u16string s) { return s.replace(7, 4, u"1999"); }},
    {7, [](std::u16string s) { return Without(s, u"¬P"); }},
    {8, [](std::u16string s) { return Without(s, u"¬L"); }},
    {9, [](std::u16string s) { return Without(s, u"¬O"); }},
    {10, [](std::u16string s) { return s.substr(0, s.find(u"¬O") + 3); }},
};

TEST_F(PatientFileReaderTest, EachMissingMarkHasItsCode) {
    std::u16string text = SaveFullPatient();
    for (const Damage& d : kDamages) {
        SCOPED_TRACE(d.code);
        PatientRecord record;
        DamageCode damage = DamageCode::None;
        EXPECT_FALSE(ParsePatientText(d.damage(text), record, false, &damage));
        EXPECT_EQ(static_cast<int>(damage), d.code);
        PatientRecord loaded;
        LoadResult result = LoadPatientText(d.damage(text), loaded);
        EXPECT_EQ(LoadFailureReason(result), "damaged: " + std::to_string(d.code));
    }
    // Files older than version 2.30 (8-bit text) are not recognised.
    PatientRecord record;
    DamageCode damage = DamageCode::None;
    EXPECT_FALSE(ParsePatientText(u"Doe¢John¢", record, false, &damage));
    EXPECT_EQ(damage, DamageCode::NoIdentity);
}

TEST_F(PatientFileReaderTest, DamagedBlockIsNotCompletedFromTheNextBlock) {
    std::u16string text = SaveFullPatient();
    std::u16string blockB = FirstBlock(text);
    blockB.replace(2, 4, u"2001");
    // The current block lost its "¬L"...: the reader must not take the next block's marks.
    std::u16string current = FirstBlock(text);
    std::u16string damaged = text.substr(0, text.find(u"¬H")) + Without(current, u"¬L") + blockB;
    PatientRecord record;
    DamageCode damage = DamageCode::None;
    EXPECT_FALSE(ParsePatientText(damaged, record, false, &damage));
    EXPECT_EQ(damage, DamageCode::NoDrawings);
}

TEST_F(PatientFileReaderTest, DamagedFileWithoutBackup) {
    std::u16string text = SaveFullPatient();
    NewPatient(u"Other");
    set.AddNew();
    set.SetCurrent(0);
    PutText(u"bad.pdr", kDamages[2].damage(text));

    t.messages.Queue(BoxAnswer::Ok);
    t.messages.Queue(BoxAnswer::No);
    EXPECT_FALSE(reader.ReadPatientFile(u"bad.pdr"));
    EXPECT_EQ(set.Count(), 2);
    EXPECT_EQ(set.CurrentIndex(), 0);  // the set is as before
    ASSERT_EQ(t.messages.boxes.size(), 3u);
    EXPECT_EQ(t.messages.boxes[0].caption, u"File load failure 6");
    EXPECT_EQ(t.messages.boxes[0].icon, BoxIcon::Warning);
    EXPECT_EQ(t.messages.boxes[0].text,
              u"The record < bad.pdr > can not be opened !\r\n\r\nIt's possible that this file "
              u"was corrupted after a hard reset of your computer while saving.\r\n\r\nFull path "
              u"of the file: \\My Documents\\PD_ActivePatients\\bad.pdr");
    EXPECT_EQ(t.messages.boxes[1].text,
              u"There is no backup file. Do you want to delete the corrupted file < bad.pdr > ?");
    EXPECT_EQ(t.messages.boxes[1].caption, u"Delete ?");
    EXPECT_EQ(t.messages.boxes[1].buttons, BoxButtons::YesNo);
    EXPECT_EQ(t.messages.boxes[1].icon, BoxIcon::Question);
    EXPECT_EQ(t.messages.boxes[2].text, u"The software will continue now to load the other files.");
    EXPECT_EQ(t.messages.boxes[2].caption, u"Continue");
    EXPECT_TRUE(t.files.FileExists(ActivePath(u"bad.pdr")));

    // Yes deletes the file.
    t.messages.boxes.clear();
    t.messages.Queue(BoxAnswer::Ok);
    t.messages.Queue(BoxAnswer::Yes);
    EXPECT_FALSE(reader.ReadPatientFile(u"bad.pdr"));
    ASSERT_EQ(t.messages.boxes.size(), 3u);
    EXPECT_EQ(t.messages.boxes[2].text,
              u"The corrupted file file has been deleted.The software will continue now to load "
              u"the other files.");
    EXPECT_FALSE(t.files.FileExists(ActivePath(u"bad.pdr")));
}

TEST_F(PatientFileReaderTest, DamagedOnlyRecordStaysEmptyAndNotInUse) {
    std::u16string text = SaveFullPatient();
    PutText(u"bad.pdr", kDamages[5].damage(text));  // code 9: identity already read
    t.messages.Queue(BoxAnswer::Ok);
    t.messages.Queue(BoxAnswer::No);
    EXPECT_FALSE(reader.ReadPatientFile(u"bad.pdr"));
    ASSERT_EQ(set.Count(), 1);
    EXPECT_EQ(set.Current()->inUse, 0);
    EXPECT_EQ(set.Current()->Field(120), u"");
    EXPECT_EQ(set.Current()->rawText, u"");
}

TEST_F(PatientFileReaderTest, DamagedFileRestoredFromBackup) {
    std::u16string text = SaveFullPatient();
    t.files.AddFile(BackupPath(u"Doe_John_1950.pdr"), EncodeItemText(text),
                    DateTime{2006, 3, 12, 18, 5, 0});
    PutText(u"Doe_John_1950.pdr", kDamages[3].damage(text));
    t.messages.Queue(BoxAnswer::Ok);
    t.messages.Queue(BoxAnswer::Yes);
    EXPECT_TRUE(reader.ReadPatientFile(u"Doe_John_1950.pdr"));
    ASSERT_EQ(t.messages.boxes.size(), 2u);
    EXPECT_EQ(t.messages.boxes[0].caption, u"File load failure 7");
    EXPECT_EQ(t.messages.boxes[1].caption, u"Restore ?");
    EXPECT_EQ(t.messages.boxes[1].buttons, BoxButtons::YesNo);
    EXPECT_EQ(t.messages.boxes[1].icon, BoxIcon::Question);
    EXPECT_EQ(t.messages.boxes[1].text,
              u"Do you want to restore the backup file: Doe_John_1950.pdr\r\n\r\nLast saved "
              u"date: 12.3.2006 at 18:5");
    ASSERT_EQ(set.Count(), 1);
    EXPECT_EQ(set.Current()->inUse, 1);
    EXPECT_EQ(set.Current()->Field(229), u"f229 é\r\n-x");
    EXPECT_EQ(TextOf(ActivePath(u"Doe_John_1950.pdr")), text);
    EXPECT_FALSE(t.files.FileExists(BackupPath(u"Doe_John_1950.pdr")));
    // The patient is counted once at its location, not once more for the restored file.
    EXPECT_EQ(locations.CounterOf(kCountAllActivated), 1);
    EXPECT_EQ(locations.CounterOf(kCountNoLocation), 1);
}

TEST_F(PatientFileReaderTest, RestoreQuestionWritesTheDateInTheSettingsOrder) {
    std::u16string text = SaveFullPatient();
    t.files.AddFile(BackupPath(u"Doe_John_1950.pdr"), EncodeItemText(text),
                    DateTime{2006, 3, 12, 18, 5, 0});
    PutText(u"Doe_John_1950.pdr", kDamages[3].damage(text));
    reader.SetDateOrder(DateOrder::MonthDayYear);
    t.messages.Queue(BoxAnswer::Ok);
    t.messages.Queue(BoxAnswer::No);
    t.messages.Queue(BoxAnswer::Ok);
    t.messages.Queue(BoxAnswer::No);
    t.messages.Queue(BoxAnswer::Ok);
    EXPECT_FALSE(reader.ReadPatientFile(u"Doe_John_1950.pdr"));
    ASSERT_GE(t.messages.boxes.size(), 2u);
    EXPECT_EQ(t.messages.boxes[1].text,
              u"Do you want to restore the backup file: Doe_John_1950.pdr\r\n\r\nLast saved "
              u"date: 3.12.2006 at 18:5");
    // Declined: the damaged file and its backup are both still there.
    EXPECT_TRUE(t.files.FileExists(BackupPath(u"Doe_John_1950.pdr")));
    EXPECT_TRUE(t.files.FileExists(ActivePath(u"Doe_John_1950.pdr")));
}

TEST_F(PatientFileReaderTest, RestoredFileOfAnotherLocationIsCountedThere) {
    locations.SetNamesText(u"Cardio A|Cardio B|");
    std::u16string text = SaveFullPatient();  // at Cardio A
    t.files.AddFile(BackupPath(u"Doe_John_1950.pdr"), EncodeItemText(text));
    std::u16string damaged = kDamages[3].damage(text);
    damaged.replace(damaged.find(u"Cardio A"), 8, u"Cardio B");
    PutText(u"Doe_John_1950.pdr", damaged);
    t.messages.Queue(BoxAnswer::Ok);
    t.messages.Queue(BoxAnswer::Yes);
    ASSERT_TRUE(reader.ReadPatientFile(u"Doe_John_1950.pdr"));
    EXPECT_EQ(locations.CounterOf(u"Cardio A"), 1);
    EXPECT_EQ(locations.CounterOf(u"Cardio B"), 0);
    EXPECT_EQ(locations.CounterOf(kAllDepartment), 1);
    EXPECT_EQ(locations.CounterOf(kCountAllActivated), 1);
}

TEST_F(PatientFileReaderTest, DamagedBackupIsNotOfferedTwice) {
    std::u16string text = SaveFullPatient();
    t.files.AddFile(BackupPath(u"x.pdr"), EncodeItemText(kDamages[0].damage(text)));
    PutText(u"x.pdr", kDamages[1].damage(text));
    // Restore Yes; the backup is damaged too: no backup left, keep the file.
    for (auto a : {BoxAnswer::Ok, BoxAnswer::Yes, BoxAnswer::Ok, BoxAnswer::No, BoxAnswer::Ok}) {
        t.messages.Queue(a);
    }
    EXPECT_FALSE(reader.ReadPatientFile(u"x.pdr"));
    ASSERT_EQ(t.messages.boxes.size(), 5u);
    EXPECT_EQ(t.messages.boxes[2].caption, u"File load failure 4");
    EXPECT_EQ(t.messages.boxes[3].text,
              u"There is no backup file. Do you want to delete the corrupted file < x.pdr > ?");
    EXPECT_EQ(t.messages.PendingAnswers(), 0u);
    EXPECT_EQ(set.Count(), 1);
    EXPECT_EQ(set.Current()->inUse, 0);
}

TEST_F(PatientFileReaderTest, BackupDeclined) {
    std::u16string text = SaveFullPatient();
    t.files.AddFile(BackupPath(u"x.pdr"), EncodeItemText(text));
    PutText(u"x.pdr", kDamages[4].damage(text));
    for (auto a : {BoxAnswer::Ok, BoxAnswer::No, BoxAnswer::Ok, BoxAnswer::No, BoxAnswer::Ok}) {
        t.messages.Queue(a);
    }
    EXPECT_FALSE(reader.ReadPatientFile(u"x.pdr"));
    ASSERT_EQ(t.messages.boxes.size(), 5u);
    EXPECT_EQ(t.messages.boxes[2].text,
              u"You can restore the backup file manualy by copying it from the <Backup> folder "
              u"to the <PD_ActivePatients> folder.\r\n\r\nLocation of the backup file: < "
              u"\\Program files\\Pondrel\\Backup\\x.pdr >");
    EXPECT_EQ(t.messages.boxes[2].caption, u"Continue");
    EXPECT_EQ(t.messages.boxes[2].icon, BoxIcon::Warning);
    EXPECT_EQ(t.messages.boxes[3].text, u"Do you want to delete the corrupted file < x.pdr > ?");
    EXPECT_TRUE(t.files.FileExists(ActivePath(u"x.pdr")));
    EXPECT_TRUE(t.files.FileExists(BackupPath(u"x.pdr")));
}

}  // namespace
}  // namespace pondrel
