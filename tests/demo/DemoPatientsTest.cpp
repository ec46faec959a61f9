// The demo patients: fixed for a seed, plausible, and stored files that the reader takes back
// whole, earlier stays included.

#include "demo/DemoPatients.h"

#include <gtest/gtest.h>

#include <set>

#include "MemoryFileSystem.h"
#include "journal/ProblemJournal.h"
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
    for (const std::u16string& name : files.ListFiles(WorkingFolders::kActivePatients, u"*.pdr")) {
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

}  // namespace
}  // namespace pondrel::test
