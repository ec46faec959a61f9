// The statistics tables read by a real spreadsheet: LibreOffice Calc converts both tables of a
// folder (a hand-made patient and demo patients) headless into UTF-8 text, which must hold the
// same rows and cells as the tables. Skipped, with a message, when soffice is not installed.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "StatisticFixtures.h"
#include "Doubles.h"
#include "TempFolder.h"
#include "demo/DemoPatients.h"
#include "platform/HostFileSystem.h"
#include "records/ItemEncoding.h"
#include "records/WorkingFolders.h"

namespace pondrel::test {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The rows of a tab-separated UTF-8 text as Calc writes it (cells with quotes are quoted).
std::vector<std::vector<std::u16string>> CalcRows(const std::string& utf8) {
    std::vector<std::vector<std::u16string>> rows(1);
    std::string cell;
    bool quoted = false;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (quoted) {
            if (c == '"' && i + 1 < utf8.size() && utf8[i + 1] == '"') {
                cell += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                cell += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == '\t') {
            rows.back().push_back(FromUtf8(cell));
            cell.clear();
        } else if (c == '\n') {
            rows.back().push_back(FromUtf8(cell));
            cell.clear();
            rows.emplace_back();
        } else if (c != '\r') {
            cell += c;
        }
    }
    if (rows.back().empty()) rows.pop_back();
    return rows;
}

// The same cell: the same text, or the same number ("37.0" is shown as 37).
bool SameCell(const std::u16string& calc, const std::u16string& table) {
    if (calc == table) return true;
    const std::string a = ToUtf8(calc);
    const std::string b = ToUtf8(table);
    char* endA = nullptr;
    char* endB = nullptr;
    const double x = std::strtod(a.c_str(), &endA);
    const double y = std::strtod(b.c_str(), &endB);
    return !a.empty() && !b.empty() && *endA == '\0' && *endB == '\0' && x == y;
}

TEST(StatisticsCalcCheck, CalcReadsBothTablesWithTheirRowsAndColumns) {
    if (std::system("command -v soffice > /dev/null 2>&1") != 0) {
        GTEST_SKIP() << "soffice (LibreOffice) is not installed: tables not checked";
    }
    TempFolder device("pondrel-statistics");
    HostFileSystem files(device.Path());
    ASSERT_TRUE(files.CreateFolder(u"\\My Documents"));
    ASSERT_TRUE(files.CreateFolder(WorkingFolders::kActivePatients));
    ASSERT_TRUE(files.CreateFolder(WorkingFolders::kPrintDoc));
    FixedClock clock;
    PatientSet set{clock};
    std::vector<std::u16string> names = {u"Doe_John_1950.pdr"};
    ASSERT_TRUE(files.WriteFile(WorkingFolders::ActiveFile(names[0]),
                                EncodeItemText(HandMadeText(set))));
    DemoOptions demo;
    demo.patients = 12;
    int n = 0;
    for (PatientRecord& record : MakeDemoPatients(demo)) {
        names.push_back(u"Demo_" + ToText(++n) + u".pdr");
        record.subfolderKey = SubfolderKeyOf(record);
        ASSERT_TRUE(files.WriteFile(WorkingFolders::ActiveFile(names.back()),
                                    EncodeItemText(ComposePatientText(record, record.subfolderKey))));
    }
    StatisticResult result;
    ASSERT_TRUE(WriteStatisticTables(files, WorkingFolders::kActivePatients, names, files,
                                     WorkingFolders::kPrintDoc, Options(true), result));
    EXPECT_EQ(result.read, 13);

    const fs::path print = files.HostPath(WorkingFolders::kPrintDoc);
    const std::string command =
        "cd '" + print.string() + "' && soffice -env:UserInstallation=file://" +
        (device.Path() / "profile").string() +
        " --headless '--infilter=Text - txt - csv (StarCalc):9,34,65535'"
        " --convert-to 'csv:Text - txt - csv (StarCalc):9,34,76' --outdir csv *.xls"
        " > soffice.log 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << ReadAll(print / "soffice.log");
    for (std::u16string_view name : {kFieldTableName, kProblemTableName}) {
        const std::string table = ToUtf8(name);
        const auto expected = Rows(ReadAll(print / table));
        const std::string csv = table.substr(0, table.size() - 4) + ".csv";
        const auto calc = CalcRows(ReadAll(print / "csv" / csv));
        ASSERT_EQ(calc.size(), expected.size()) << table;
        ASSERT_EQ(expected.size(), static_cast<size_t>(result.rows) + 1);
        for (size_t r = 0; r < expected.size(); ++r) {
            ASSERT_EQ(calc[r].size(), expected[0].size()) << table << " row " << r;
            for (size_t c = 0; c < expected[r].size(); ++c) {
                EXPECT_TRUE(SameCell(calc[r][c], expected[r][c]))
                    << table << " row " << r << " col " << c << ": " << ToUtf8(calc[r][c])
                    << " / " << ToUtf8(expected[r][c]);
            }
        }
    }
}

}  // namespace
}  // namespace pondrel::test
