#include "records/PatientFileWriter.h"

#include "RecordsFixture.h"
#include "records/PatientFileLoader.h"

namespace pondrel {
namespace {

using test::Repeat;
using test::U8;

class PatientFileWriterTest : public test::RecordsFixture {};

TEST_F(PatientFileWriterTest, WritesTheLayout) {
    PatientRecord& r = NewPatient();
    r.sex = 1;
    r.icon = 3;
    r.location = u"Cardio A";
    r.problemJournal = u"§0|Pneumonia (!)¦Heart failure¦A¦§1|Diabetes¦¦I¦#2263§0|cough||||||";
    r.SetField(1, u"Dr X");
    r.SetField(229, u"last");
    r.SetField(87, u"working copy");  // not stored
    r.SetField(140, u"send");         // not stored
    r.SetDrawing(2, u"#255,0,0/0|10,20¦11,22");
    r.exitDateSet = 1;
    r.exit = DateTime{2006, 3, 20, 14, 0, 0};
    r.historyStartDay = 2260;

    EXPECT_EQ(Save(r), SaveOutcome::Written);
    std::u16string expected =
        u"#V40#W¢2006,3,13,9,41,7,,¢¬IDoe¢John¢1¢2¢1950¢" + Repeat(u"¢", 15) +
        u"1¢#Location|Cardio A¢" + r.problemJournal +
        u"¢¬H2006,3,13,9,41,7,,¢2006,3,20,14,0,0,¢1¢Pneumonia (!)|Diabetes|¢Hosp¢2260¢¬PDr X¢" +
        Repeat(u"¢", 193) + u"last¢¬L¢#255,0,0/0|10,20¦11,22¢" + Repeat(u"¢", 6) +
        u"¬OHosp¢1¢3¢0¢¬E";
    EXPECT_EQ(U8(TextOf(ActivePath(u"Doe_John_1950.pdr"))), U8(expected));
    EXPECT_EQ(r.fileName, u"Doe_John_1950.pdr");
    EXPECT_EQ(r.subfolderKey, u"2006,3,13,9,41,7,,");
    EXPECT_EQ(state.savedCount, 1);
    EXPECT_FALSE(state.error);
    EXPECT_TRUE(t.messages.boxes.empty());
}

TEST_F(PatientFileWriterTest, EmptyRecordStillHasEveryItem) {
    PatientRecord& r = NewPatient();
    ASSERT_EQ(Save(r), SaveOutcome::Written);
    std::u16string text = TextOf(ActivePath(r.fileName));
    size_t form = text.find(u"¬P");
    size_t drawings = text.find(u"¬L");
    size_t options = text.find(u"¬O");
    EXPECT_EQ(CountOf(text.substr(form, drawings - form), u"¢"), 195u);
    EXPECT_EQ(CountOf(text.substr(drawings, options - drawings), u"¢"), 8u);
    // The encoded file: mark, shifted text, closing unit.
    std::string bytes = *t.files.Bytes(ActivePath(r.fileName));
    EXPECT_EQ(bytes.size(), 2 * (text.size() + 2));
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(bytes.substr(bytes.size() - 2), std::string(2, '\0'));
}

TEST_F(PatientFileWriterTest, SeparatorsAreRemovedFromEveryStoredValue) {
    PatientRecord& r = NewPatient();
    r.SetField(7, u"7¢0 kg");
    r.SetField(125, u"nur¢se");
    r.problemJournal = u"§0|Flu¢¦¦A¦";
    r.location = u"Car¢dio¬H";
    r.SetDrawing(1, u"#0,0,0/0|1,1¢2");
    r.SetField(98, u"call ¬Pfamily");
    ASSERT_EQ(Save(r), SaveOutcome::Written);
    PatientRecord back;
    std::u16string text = TextOf(ActivePath(r.fileName));
    ASSERT_TRUE(ParsePatientText(text, back, false));
    EXPECT_EQ(back.Field(7), u"70 kg");
    EXPECT_EQ(back.Field(125), u"nurse");
    EXPECT_EQ(back.problemJournal, u"§0|Flu¦¦A¦");
    EXPECT_EQ(back.location, u"CardioH");
    EXPECT_EQ(back.Drawing(1), u"#0,0,0/0|1,12");
    EXPECT_EQ(back.Field(98), u"call Pfamily");
}

TEST_F(PatientFileWriterTest, NotInUseAndNamelessRecordsArePassedOverSilently) {
    PatientRecord& empty = set.AddNew();
    EXPECT_EQ(Save(empty), SaveOutcome::NotInUse);
    PatientRecord& nameless = NewPatient(u"", u"", u"");
    EXPECT_EQ(Save(nameless), SaveOutcome::NoName);
    EXPECT_FALSE(state.error);
    EXPECT_TRUE(t.messages.boxes.empty());
    std::vector<std::u16string> names;
    ASSERT_TRUE(t.files.ListFiles(WorkingFolders::kActivePatients, u"*", names));
    EXPECT_EQ(names.size(), 0u);
}

TEST_F(PatientFileWriterTest, IncompleteNameIsRefused) {
    NewPatient();
    PatientRecord& r = NewPatient(u"Doe", u"", u"1950");
    EXPECT_EQ(Save(r), SaveOutcome::IncompleteName);
    EXPECT_TRUE(state.error);
    ASSERT_EQ(t.messages.boxes.size(), 1u);
    EXPECT_EQ(U8(t.messages.boxes[0].text),
              "Save failure for the patient : n°2 Doe  1950.\r\nYou have to specify the first "
              "name, last name and birth date of the patient.\r\nThen do again the save "
              "process. Now saving is going on with the other patients.");
    EXPECT_EQ(t.messages.boxes[0].caption, u"Save failure");
    state = {};
    state.quiet = QuietLevel::Automatic;
    EXPECT_EQ(Save(r), SaveOutcome::IncompleteName);
    EXPECT_TRUE(state.error);
    EXPECT_EQ(t.messages.boxes.size(), 1u);
}

TEST_F(PatientFileWriterTest, NamesThatWouldLeaveTheFolderAreRefused) {
    for (std::u16string last : {u"../../etc", u"a\\b", u"a/b", u"C:x", u"a*", u"a?", u"a\"b",
                                u"<a>", u"a|b", u"tab\tname", u"nl\r\n"}) {
        SCOPED_TRACE(U8(last));
        state = {};
        t.messages.boxes.clear();
        PatientRecord& r = NewPatient(last);
        EXPECT_EQ(Save(r), SaveOutcome::InvalidName);
        EXPECT_TRUE(state.error);
        ASSERT_EQ(t.messages.boxes.size(), 1u);
        EXPECT_EQ(t.messages.boxes[0].caption, u"Save failure");
        EXPECT_EQ(t.messages.boxes[0].icon, BoxIcon::Error);
        EXPECT_EQ(r.fileName, u"");
    }
    EXPECT_EQ(t.files.FileCount(), 0u);
    PatientRecord& r = NewPatient(u"..", u"..", u"1950");  // an odd but plain name
    state.quiet = QuietLevel::Automatic;
    EXPECT_EQ(Save(r), SaveOutcome::Written);
    EXPECT_TRUE(t.files.FileExists(ActivePath(u".._.._1950.pdr")));
    EXPECT_FALSE(IsPlainFileName(u".."));
    EXPECT_FALSE(IsPlainFileName(u""));
    EXPECT_TRUE(IsPlainFileName(u"Dœ_Zoë_1950.pdr"));
}

TEST_F(PatientFileWriterTest, TrailingSpacesAreRemovedFromTheNames) {
    PatientRecord& r = NewPatient(u"Doe  ", u"John ");
    r.SetField(120, u"Doe ");
    r.SetField(121, u"John  ");
    ASSERT_EQ(Save(r), SaveOutcome::Written);
    EXPECT_EQ(r.fileName, u"Doe_John_1950.pdr");
    EXPECT_EQ(r.Field(2), u"Doe");
    EXPECT_EQ(r.Field(121), u"John");
}

TEST_F(PatientFileWriterTest, RenameDeletesOldFileAndBackupAfterWriting) {
    PatientRecord& r = NewPatient();
    ASSERT_EQ(Save(r), SaveOutcome::Written);
    ASSERT_EQ(Save(r, SaveMode::Backup), SaveOutcome::Written);
    ASSERT_TRUE(t.files.FileExists(BackupPath(u"Doe_John_1950.pdr")));
    r.SetField(3, u"Jane");
    r.SetField(121, u"Jane");
    ASSERT_EQ(Save(r), SaveOutcome::Written);
    EXPECT_EQ(r.fileName, u"Doe_Jane_1950.pdr");
    EXPECT_TRUE(t.files.FileExists(ActivePath(u"Doe_Jane_1950.pdr")));
    EXPECT_FALSE(t.files.FileExists(ActivePath(u"Doe_John_1950.pdr")));
    EXPECT_FALSE(t.files.FileExists(BackupPath(u"Doe_John_1950.pdr")));
}

TEST_F(PatientFileWriterTest, BackupModeKeepsTheFileName) {
    PatientRecord& r = NewPatient();
    ASSERT_EQ(Save(r, SaveMode::Backup), SaveOutcome::Written);
    EXPECT_EQ(r.fileName, u"");
    EXPECT_TRUE(t.files.FileExists(BackupPath(u"Doe_John_1950.pdr")));
    EXPECT_FALSE(t.files.FileExists(ActivePath(u"Doe_John_1950.pdr")));
    // Its next backup refreshes its own copy: no other patient has that name.
    r.SetField(7, u"80");
    EXPECT_EQ(Save(r, SaveMode::Backup), SaveOutcome::Written);
    EXPECT_NE(TextOf(BackupPath(u"Doe_John_1950.pdr")).find(u"¢80¢"), std::u16string::npos);
}

TEST_F(PatientFileWriterTest, ChangeOfCaseOnlyIsNoRename) {
    PatientRecord& r = NewPatient();
    ASSERT_EQ(Save(r), SaveOutcome::Written);
    r.fileName = u"doe_john_1950.PDR";
    EXPECT_EQ(Save(r), SaveOutcome::Written);
    EXPECT_TRUE(t.files.FileExists(ActivePath(u"Doe_John_1950.pdr")));
    EXPECT_TRUE(t.messages.boxes.empty());
}

TEST_F(PatientFileWriterTest, NameConflict) {
    PatientRecord& other = NewPatient(u"Doe", u"Jane");
    ASSERT_EQ(Save(other), SaveOutcome::Written);
    const std::string otherBytes = *t.files.Bytes(ActivePath(u"Doe_Jane_1950.pdr"));
    PatientRecord& r = NewPatient();
    ASSERT_EQ(Save(r), SaveOutcome::Written);
    r.SetField(3, u"Jane");
    r.SetField(121, u"Jane");
    r.SetField(7, u"80");

    // Quiet: refused without asking.
    state.quiet = QuietLevel::Automatic;
    EXPECT_EQ(Save(r), SaveOutcome::Conflict);
    EXPECT_TRUE(state.error);
    EXPECT_TRUE(t.messages.boxes.empty());
    EXPECT_EQ(*t.files.Bytes(ActivePath(u"Doe_Jane_1950.pdr")), otherBytes);

    // Asked: Cancel writes nothing, OK replaces.
    state = {};
    t.messages.Queue(BoxAnswer::Cancel);
    EXPECT_EQ(Save(r), SaveOutcome::Conflict);
    ASSERT_EQ(t.messages.boxes.size(), 1u);
    EXPECT_EQ(t.messages.boxes[0].caption, u"Save conflict");
    EXPECT_EQ(t.messages.boxes[0].buttons, BoxButtons::OkCancel);
    EXPECT_EQ(U8(t.messages.boxes[0].text),
              "Duplicated file name for the patient n°2: \r\n      Doe_Jane_1950.pdr\r\n      "
              "Doe_John_1950.pdr\r\n\r\nThese files have already the same patient name or "
              "contain space characters in their name. Do you wish to replace the old version "
              "by the most recent version ?");
    EXPECT_EQ(*t.files.Bytes(ActivePath(u"Doe_Jane_1950.pdr")), otherBytes);
    EXPECT_TRUE(t.files.FileExists(ActivePath(u"Doe_John_1950.pdr")));

    state = {};
    t.messages.Queue(BoxAnswer::Ok);
    EXPECT_EQ(Save(r), SaveOutcome::Written);
    EXPECT_FALSE(state.error);
    EXPECT_NE(*t.files.Bytes(ActivePath(u"Doe_Jane_1950.pdr")), otherBytes);
    EXPECT_FALSE(t.files.FileExists(ActivePath(u"Doe_John_1950.pdr")));
}

TEST_F(PatientFileWriterTest, NewPatientDoesNotSilentlyReplaceAnExistingFile) {
    t.files.AddFile(ActivePath(u"Doe_John_1950.pdr"), "other patient");
    PatientRecord& r = NewPatient();
    state.quiet = QuietLevel::Automatic;
    EXPECT_EQ(Save(r), SaveOutcome::Conflict);
    EXPECT_TRUE(state.error);
    EXPECT_EQ(*t.files.Bytes(ActivePath(u"Doe_John_1950.pdr")), "other patient");
    // Nor the backup copy of that patient.
    t.files.AddFile(BackupPath(u"Doe_John_1950.pdr"), "older backup");
    state = {};
    state.quiet = QuietLevel::Automatic;
    EXPECT_EQ(Save(r, SaveMode::Backup), SaveOutcome::Conflict);
    EXPECT_EQ(*t.files.Bytes(BackupPath(u"Doe_John_1950.pdr")), "older backup");
    // Asked, the user may replace it.
    state = {};
    t.messages.Queue(BoxAnswer::Ok);
    EXPECT_EQ(Save(r), SaveOutcome::Written);
    ASSERT_EQ(t.messages.boxes.size(), 1u);
    EXPECT_EQ(t.messages.boxes[0].caption, u"Save conflict");
    EXPECT_EQ(r.fileName, u"Doe_John_1950.pdr");
}

TEST_F(PatientFileWriterTest, WriteFailureLeavesTheOldFilesIntact) {
    PatientRecord& r = NewPatient();
    ASSERT_EQ(Save(r), SaveOutcome::Written);
    const std::string before = *t.files.Bytes(ActivePath(u"Doe_John_1950.pdr"));
    r.SetField(7, u"80");
    t.files.Fail(test::MemoryFileSystem::Op::Write, u"Doe_");
    state = {};
    EXPECT_EQ(Save(r), SaveOutcome::CannotCreate);
    EXPECT_TRUE(state.error);
    EXPECT_EQ(state.savedCount, 0);
    ASSERT_EQ(t.messages.boxes.size(), 1u);
    EXPECT_EQ(t.messages.boxes[0].text, u"Save failure for the patient : Doe_John_1950");
    EXPECT_EQ(t.messages.boxes[0].caption,
              u"Save failure. The file seems to be used by another application or is currently "
              u"in a synchronization process. Try again later.");
    EXPECT_EQ(t.messages.boxes[0].icon, BoxIcon::Error);
    EXPECT_EQ(*t.files.Bytes(ActivePath(u"Doe_John_1950.pdr")), before);

    // A rename whose new file cannot be written keeps the old file.
    r.SetField(3, u"Jane");
    r.SetField(121, u"Jane");
    state.quiet = QuietLevel::Automatic;
    EXPECT_EQ(Save(r), SaveOutcome::CannotCreate);
    EXPECT_EQ(t.messages.boxes.size(), 1u);
    EXPECT_EQ(*t.files.Bytes(ActivePath(u"Doe_John_1950.pdr")), before);
    EXPECT_EQ(r.fileName, u"Doe_John_1950.pdr");
}

TEST_F(PatientFileWriterTest, TooBigTextIsWrittenWithAWarningEvenWhenQuiet) {
    PatientRecord& r = NewPatient();
    ASSERT_EQ(Save(r), SaveOutcome::Written);
    r.SetField(3, u"Jane");
    r.SetField(121, u"Jane");
    r.SetField(58, std::u16string(195000, u'x'));
    state.quiet = QuietLevel::Automatic;
    EXPECT_EQ(Save(r), SaveOutcome::WrittenTooBig);
    EXPECT_FALSE(state.error);
    EXPECT_EQ(state.savedCount, 2);
    ASSERT_EQ(t.messages.boxes.size(), 1u);
    EXPECT_EQ(t.messages.boxes[0].text,
              u"The file <Doe_Jane_1950.pdr> is too big to be saved and will not be able to be "
              u"opened in the futur.");
    EXPECT_EQ(t.messages.boxes[0].caption, u"Patient's file too big");
    EXPECT_TRUE(t.files.FileExists(ActivePath(u"Doe_Jane_1950.pdr")));
    // The file still opens, so the rename is completed: the old file goes and the record takes
    // the new name (a stale old file would show the patient twice and make every later
    // automatic save a conflict).
    EXPECT_FALSE(t.files.FileExists(ActivePath(u"Doe_John_1950.pdr")));
    EXPECT_EQ(r.fileName, u"Doe_Jane_1950.pdr");
    PatientRecord back;
    ASSERT_TRUE(LoadPatientFile(t.files, ActivePath(u"Doe_Jane_1950.pdr"), back).Ok());
    EXPECT_EQ(back.Field(58), r.Field(58));
    EXPECT_EQ(Save(r), SaveOutcome::WrittenTooBig);
    EXPECT_FALSE(state.error);

    // A record without a file yet owns the big file, so its next save is no conflict.
    PatientRecord& fresh = NewPatient(u"Roe");
    fresh.SetField(58, std::u16string(195000, u'x'));
    EXPECT_EQ(Save(fresh), SaveOutcome::WrittenTooBig);
    EXPECT_EQ(fresh.fileName, u"Roe_John_1950.pdr");
    EXPECT_EQ(Save(fresh), SaveOutcome::WrittenTooBig);
    EXPECT_FALSE(state.error);
}

TEST_F(PatientFileWriterTest, TextBeyondTheReadLimitIsRefusedAndTheOldFileKept) {
    PatientRecord& r = NewPatient();
    ASSERT_EQ(Save(r), SaveOutcome::Written);
    const std::string before = *t.files.Bytes(ActivePath(u"Doe_John_1950.pdr"));
    // 2 x (text + 2) bytes must stay within the 400,000 bytes the reader takes.
    r.SetField(58, std::u16string(200000, u'x'));
    state.quiet = QuietLevel::Automatic;
    EXPECT_EQ(Save(r), SaveOutcome::RefusedTooBig);
    EXPECT_TRUE(state.error);
    EXPECT_EQ(*t.files.Bytes(ActivePath(u"Doe_John_1950.pdr")), before);
    ASSERT_EQ(t.messages.boxes.size(), 1u);
    EXPECT_EQ(t.messages.boxes[0].caption, u"Patient's file too big");
    EXPECT_NE(t.messages.boxes[0].text.find(u"previous version of the file is kept"),
              std::u16string::npos);
    // Shortened again, it saves.
    r.SetField(58, u"short");
    state.error = false;
    EXPECT_EQ(Save(r), SaveOutcome::Written);
}

TEST_F(PatientFileWriterTest, ProblemTitleList) {
    EXPECT_EQ(ProblemTitleList(u"§0|Pneumonia (!)¦DD¦A¦red§1|Diabetes¦¦I¦#2263§0|a||||||"),
              u"Pneumonia (!)|Diabetes|");
    EXPECT_EQ(ProblemTitleList(u"#2263§0|a||||||"), u"");
    EXPECT_EQ(ProblemTitleList(u"§0|Flu"), u"Flu|");
}

}  // namespace
}  // namespace pondrel
