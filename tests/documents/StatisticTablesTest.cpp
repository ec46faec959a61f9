#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "StatisticFixtures.h"
#include "TestPlatform.h"
#include "documents/StatisticTables.h"
#include "records/DayNumber.h"
#include "records/ItemEncoding.h"
#include "records/PatientFileFormat.h"
#include "records/PatientFileWriter.h"
#include "records/PatientSet.h"
#include "records/WorkingFolders.h"

#ifndef PONDREL_TEST_DATA_DIR
#define PONDREL_TEST_DATA_DIR ""
#endif

namespace pondrel::test {
namespace {

constexpr std::u16string_view kOut = u"\\My Documents\\PD_PrintDoc";

class StatisticTablesTest : public ::testing::Test {
protected:
    StatisticTablesTest() {
        t.files.AddFolder(WorkingFolders::kActivePatients);
        t.files.AddFolder(kOut);
    }
    bool Write(const std::vector<std::u16string>& names, bool dayFirst = true) {
        return WriteStatisticTables(t.files, WorkingFolders::kActivePatients, names, t.files, kOut,
                                    Options(dayFirst), result);
    }
    std::string Table(std::u16string_view name) { return *t.files.Bytes(JoinPath(kOut, name)); }

    TestPlatform t;
    PatientSet set{t.clock};
    StatisticResult result;
};

TEST_F(StatisticTablesTest, CellsAreCleanedAsSpreadsheetsNeedThem) {
    EXPECT_EQ(StatisticCell(u""), u" ");
    EXPECT_EQ(StatisticCell(u"=1+1"), u"1+1");
    EXPECT_EQ(StatisticCell(u"@SUM(A1)"), u"SUM(A1)");
    EXPECT_EQ(StatisticCell(u"+-12"), u"12");
    EXPECT_EQ(StatisticCell(u"a\tb"), u"a; b");
    EXPECT_EQ(StatisticCell(u"-one\r\n-two\r\nthree"), u"one, two, three");
    EXPECT_EQ(StatisticCell(u"a, , ,b,,c :"), u"a,b,c");
    EXPECT_EQ(StatisticCell(u"lone\rreturn"), u"lone return");
    EXPECT_EQ(StatisticHeading(u" = Weight :\r\n"), u"Weight");
    EXPECT_EQ(StatisticHeading(u"Height\t[cm]: "), u"Height [cm]");
}

TEST_F(StatisticTablesTest, TwoStaysGiveTwoRowsWithTheirOwnFields) {
    t.files.AddFile(WorkingFolders::ActiveFile(u"Doe_John_1950.pdr"), EncodeItemText(HandMadeText(set)));
    t.files.AddFile(WorkingFolders::ActiveFile(u"Empty.pdr"), "");
    t.files.AddFile(WorkingFolders::ActiveFile(u"Broken.pdr"), EncodeItemText(u"#V40#W¢k¢no identity"));
    ASSERT_TRUE(Write({u"Broken.pdr", u"Doe_John_1950.pdr", u"Empty.pdr", u"Missing.pdr"}));
    EXPECT_EQ(result.rows, 2);
    EXPECT_EQ(result.read, 1);
    EXPECT_EQ(result.skipped,
              (std::vector<std::u16string>{u"Broken.pdr", u"Empty.pdr", u"Missing.pdr"}));

    const auto fields = Rows(Table(kFieldTableName));
    ASSERT_EQ(fields.size(), 3u);
    for (const auto& row : fields) EXPECT_EQ(row.size(), 223u);
    EXPECT_EQ(fields[0][0], u"Record N°");
    EXPECT_EQ(fields[0][1], u"Patient");
    EXPECT_EQ(fields[0][3], u"Admission date");
    EXPECT_EQ(fields[0][8], u"Weight");
    EXPECT_EQ(fields[0][9], u"Height [cm]");
    // Row 0: the current stay, no exit date set.
    EXPECT_EQ(fields[1][0], u"0");
    EXPECT_EQ(fields[1][1], u"Mr Doe John 7.2.1950");
    EXPECT_EQ(fields[1][2], u"Dr Who");
    EXPECT_EQ(fields[1][3], u"13.3.2006");
    EXPECT_EQ(fields[1][4], u"9h05");
    EXPECT_EQ(fields[1][5], u" ");
    EXPECT_EQ(fields[1][6], u" ");
    EXPECT_EQ(fields[1][7], u"Male");
    EXPECT_EQ(fields[1][8], u"1+1");
    EXPECT_EQ(fields[1][9], u"SUM(A1)");
    EXPECT_EQ(fields[1][10], u"5, 6");
    EXPECT_EQ(fields[1][16], u"left; right");
    EXPECT_EQ(fields[1][98 - 8 + 1], u"#1 Call GP, #2 X-ray");
    EXPECT_EQ(fields[1][120 - 8 + 1], u"Doe");
    // Row 1: the earlier stay with its exit.
    EXPECT_EQ(fields[2][0], u"1");
    EXPECT_EQ(fields[2][2], u"Dr No");
    EXPECT_EQ(fields[2][3], u"2.1.2005");
    EXPECT_EQ(fields[2][5], u"3.1.2005");
    EXPECT_EQ(fields[2][6], u"17h45");

    const auto problems = Rows(Table(kProblemTableName));
    ASSERT_EQ(problems.size(), 3u);
    for (const auto& row : problems) EXPECT_EQ(row.size(), 103u);
    EXPECT_EQ(problems[0][11], u"Prob 1");
    EXPECT_EQ(problems[0][21], u"Prob Other");
    EXPECT_EQ(problems[0][99], u"");
    EXPECT_EQ(problems[1][2], u"Cardio A");
    EXPECT_EQ(problems[1][3], u"Hosp");
    EXPECT_EQ(problems[2][3], u"Ambu");
    EXPECT_EQ(problems[1][11], u"Problem 1");
    EXPECT_EQ(problems[1][21], u"P11:Problem 11, P12:Asthma");
    EXPECT_EQ(problems[1][22], u"DD one");
    EXPECT_EQ(problems[1][33], u"13.3.06: cough");
    EXPECT_EQ(problems[1][44], u"13.3.06: fever 39, 14.3.06: better");
    EXPECT_EQ(problems[1][76], u"13.3.06: -P12:Salbutamol");
    // Both stays carry the same problem columns.
    for (size_t c = 11; c < 103; ++c) EXPECT_EQ(problems[1][c], problems[2][c]) << c;
}

TEST_F(StatisticTablesTest, MonthFirstDatesAndAnEmptyFolder) {
    t.files.AddFile(WorkingFolders::ActiveFile(u"Doe_John_1950.pdr"), EncodeItemText(HandMadeText(set)));
    ASSERT_TRUE(Write({u"Doe_John_1950.pdr"}, false));
    const auto fields = Rows(Table(kFieldTableName));
    EXPECT_EQ(fields[1][1], u"Mr Doe John 2.7.1950");
    EXPECT_EQ(fields[1][3], u"13.3.2006");  // admission dates day first in both orders
    const auto problems = Rows(Table(kProblemTableName));
    EXPECT_EQ(problems[1][76], u"3.13.06: -P12:Salbutamol");

    ASSERT_TRUE(Write({}));
    EXPECT_EQ(Rows(Table(kFieldTableName)).size(), 1u);
    EXPECT_EQ(Rows(Table(kProblemTableName)).size(), 1u);
    EXPECT_EQ(result.rows, 0);
}

TEST_F(StatisticTablesTest, AFailedTableIsReported) {
    t.files.Fail(MemoryFileSystem::Op::Write, u"Statistic table 2");
    EXPECT_FALSE(Write({}));
    EXPECT_TRUE(result.fieldTableWritten);
    EXPECT_FALSE(result.problemTableWritten);
}

// The golden tables of the hand-made patient, byte for byte.
TEST_F(StatisticTablesTest, GoldenTables) {
    t.files.AddFile(WorkingFolders::ActiveFile(u"Doe_John_1950.pdr"), EncodeItemText(HandMadeText(set)));
    ASSERT_TRUE(Write({u"Doe_John_1950.pdr"}));
    for (std::u16string_view name : {kFieldTableName, kProblemTableName}) {
        const std::string golden = std::string(PONDREL_TEST_DATA_DIR) + "/statistics/" + U8(name);
        if (std::getenv("PONDREL_UPDATE_GOLDEN")) {
            std::ofstream(golden, std::ios::binary) << Table(name);
        }
        std::ifstream in(golden, std::ios::binary);
        ASSERT_TRUE(in) << golden;
        std::stringstream expected;
        expected << in.rdbuf();
        EXPECT_EQ(Table(name), expected.str()) << U8(name);
    }
}

}  // namespace
}  // namespace pondrel::test
