// The demo patients: fixed for a seed, plausible, and stored files that the reader takes back
// whole, earlier stays included.

#include "demo/DemoPatients.h"

#include <gtest/gtest.h>

#include <set>

#include "MemoryFileSystem.h"
#include "journal/BodyMassIndex.h"
#include "journal/JournalWords.h"
#include "journal/ProblemJournal.h"
#include "journal/TreatmentLines.h"
#include "platform/Text.h"
#include "records/ItemEncoding.h"
#include "records/PatientFileFormat.h"
#include "records/PatientFileLoader.h"
#include "records/PatientFileWriter.h"
#include "records/WorkingFolders.h"

namespace pondrel::test {
namespace {

std::vector<std::u16string> Texts(const std::vector<PatientRecord>& records) {
    std::vector<std::u16string> texts;
    for (const PatientRecord& r : records)
        texts.push_back(ComposePatientText(r, SubfolderKeyOf(r)));
    return texts;
}

TEST(DemoPatientsTest, SameSeedSamePatientsOtherSeedOthers) {
    DemoOptions options;
    options.patients = 40;
    std::vector<std::u16string> first = Texts(MakeDemoPatients(options));
    EXPECT_EQ(first, Texts(MakeDemoPatients(options)));
    options.seed = 7;
    EXPECT_NE(first, Texts(MakeDemoPatients(options)));
    options.patients = 0;
    EXPECT_TRUE(MakeDemoPatients(options).empty());
}

TEST(DemoPatientsTest, PatientsAreVariedAndNamedForDistinctFiles) {
    DemoOptions options;
    options.patients = 1000;
    std::vector<PatientRecord> records = MakeDemoPatients(options);
    ASSERT_EQ(records.size(), 1000u);
    std::set<std::u16string> names;
    int sexes[2] = {0, 0};
    int children = 0, elderly = 0, ambulatory = 0, withEarlierStays = 0, multiDay = 0;
    for (const PatientRecord& r : records) {
        const std::u16string name = PatientFileName(r);
        EXPECT_TRUE(IsPlainFileName(name)) << ToUtf8(name);
        EXPECT_TRUE(names.insert(FoldCase(name)).second) << ToUtf8(name);
        EXPECT_EQ(r.inUse, 1);
        for (int n : {2, 3, 4, 5, 6, 9, 11, 12, 13, 61}) EXPECT_FALSE(r.Field(n).empty()) << n;
        EXPECT_EQ(r.Field(2), r.Field(120));
        ++sexes[r.sex];
        const int age = options.today.year - ParseInt(r.Field(6));
        children += age < 16;
        elderly += age >= 80;
        ambulatory += r.subfolderType == u"Ambu";
        withEarlierStays += CountOf(r.rawText, kBlockMarkH) > 0;
        ProblemJournal journal(r.problemJournal);
        EXPECT_GE(journal.ProblemCount(), 1);
        multiDay += CountOf(r.problemJournal, u"#") >= 3;
        EXPECT_NE(journal.GetEntry(r.admissionDay, 0)[3].find(u"-"), std::u16string::npos)
            << "a first-day drug line";
    }
    EXPECT_GT(sexes[0], 300);
    EXPECT_GT(sexes[1], 300);
    EXPECT_GT(children, 50);
    EXPECT_GT(elderly, 50);
    EXPECT_GT(ambulatory, 20);
    EXPECT_GT(withEarlierStays, 100);
    EXPECT_GT(multiDay, 500);
}

TEST(DemoPatientsTest, WrittenFilesReadBackWithTheirEarlierStays) {
    MemoryFileSystem files;
    files.AddFolder(WorkingFolders::kActivePatients);
    DemoOptions options;
    options.patients = 60;
    DemoWriteResult result = WriteDemoPatients(files, WorkingFolders::kActivePatients, options);
    EXPECT_EQ(result.written, 60);
    EXPECT_TRUE(result.skipped.empty());
    EXPECT_TRUE(result.failed.empty());

    int severalBlocks = 0;
    std::vector<std::u16string> names;
    ASSERT_TRUE(files.ListFiles(WorkingFolders::kActivePatients, u"*.pdr", names));
    for (const std::u16string& name : names) {
        PatientRecord r;
        const std::u16string path = WorkingFolders::ActiveFile(name);
        ASSERT_TRUE(LoadPatientFile(files, path, r).Ok()) << ToUtf8(name);
        const std::u16string text = DecodeItemText(*files.Bytes(path));
        const size_t blocks = CountOf(text, kBlockMarkH);
        EXPECT_EQ(blocks, CountOf(text, kBlockEndMark));
        severalBlocks += blocks > 1;
        // Saved again by the program, the file stays the same: no block is lost or doubled.
        std::u16string again = ComposePatientText(r, SubfolderKeyOf(r));
        EXPECT_EQ(again, text) << ToUtf8(name);
    }
    EXPECT_GT(severalBlocks, 5);

    // A second run leaves every existing file alone.
    result = WriteDemoPatients(files, WorkingFolders::kActivePatients, options);
    EXPECT_EQ(result.written, 0);
    EXPECT_EQ(result.skipped.size(), 60u);
}

// Whether a to-do text is a list of tasks: text + "#" + priority + "|" + mark + "|", the
// undone ones by priority, the done ones last.
bool IsTaskList(std::u16string_view todo) {
    int previous = -1;
    bool doneSeen = false;
    size_t at = 0;
    while (at < todo.size()) {
        size_t hash = todo.find(u'#', at);
        if (hash == std::u16string_view::npos || hash + 5 > todo.size() || hash == at) return false;
        const char16_t priority = todo[hash + 1];
        const char16_t mark = todo[hash + 3];
        if (priority < u'0' || priority > u'2' || todo[hash + 2] != u'|' ||
            (mark != u'N' && mark != u'*') || todo[hash + 4] != u'|') {
            return false;
        }
        if (todo.substr(at, hash - at).find(u'|') != std::u16string_view::npos) return false;
        const bool done = mark == u'*';
        if (doneSeen && !done) return false;
        if (!done && priority - u'0' < previous) return false;
        previous = priority - u'0';
        doneSeen = doneSeen || done;
        at = hash + 5;
    }
    return !todo.empty();
}

TEST(DemoPatientsTest, TheWardLooksRealToADoctor) {
    DemoOptions options;
    options.patients = 400;
    options.today = {2026, 12, 10, 8, 0, 0};
    const DayNumber today = DayNumberOf(options.today);
    JournalWords words;
    int children = 0;
    for (const PatientRecord& r : MakeDemoPatients(options)) {
        const std::string name = ToUtf8(PatientFileName(r));
        EXPECT_TRUE(IsTaskList(r.Field(98))) << name << " " << ToUtf8(r.Field(98));
        // The body-mass index is filled in, and plausible for the age.
        const double bmi = LeadingDecimal(r.Field(95));
        const DayNumber born = DayNumberOf(ParseInt(r.Field(6)), ParseInt(r.Field(5)),
                                           ParseInt(r.Field(4)));
        EXPECT_LT(born, r.admissionDay) << name;
        const bool child = today - born < 16 * 365;
        children += child;
        EXPECT_GE(bmi, child ? 11.5 : 17) << name << " " << ToUtf8(r.Field(7)) << " kg "
                                          << ToUtf8(r.Field(8)) << " cm";
        EXPECT_LE(bmi, child ? 23 : 40) << name;
        if (child && today - born < 365) {
            EXPECT_LT(LeadingDecimal(r.Field(7)), 11) << name;
            EXPECT_LT(LeadingDecimal(r.Field(8)), 82) << name;
        }
        // No drug is started again while it runs; antibiotics stop; nothing from an earlier stay
        // runs into the present one.
        for (TreatmentKind kind : {TreatmentKind::Treatments, TreatmentKind::Actions}) {
            const auto courses = TreatmentLines::Read(r.problemJournal, kind, words);
            for (size_t i = 0; i < courses.size(); ++i) {
                const TreatmentCourse& c = courses[i];
                const DayNumber end = c.stopDay.value_or(today);
                if (c.startDay < r.admissionDay) {
                    EXPECT_TRUE(c.stopDay && *c.stopDay < r.admissionDay)
                        << name << " " << ToUtf8(c.text);
                }
                for (size_t k = i + 1; k < courses.size(); ++k) {
                    if (courses[k].text != c.text) continue;
                    EXPECT_GT(courses[k].startDay, end) << name << " " << ToUtf8(c.text);
                }
                for (std::u16string_view antibiotic :
                     {u"cillin", u"Ceftriaxone", u"Ciprofloxacin", u"Doxycycline"}) {
                    if (c.text.find(antibiotic) == std::u16string::npos) continue;
                    EXPECT_LE(end - c.startDay + 1, 14) << name << " " << ToUtf8(c.text);
                }
            }
        }
    }
    EXPECT_GT(children, 20);
}

}  // namespace
}  // namespace pondrel::test
