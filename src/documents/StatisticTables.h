#pragma once

// The two statistics tables of a folder of patient files: "Statistic table 1.xls" (one row per
// stay, one column per form field) and "Statistic table 2.xls" (the same rows with the problems
// and their dated sections). Both are tab-separated UTF-16LE text with a byte-order mark, a tab
// after every cell and "\r\n" after every line, which spreadsheets open directly.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "records/PatientRecord.h"

namespace pondrel {

class DeviceFileSystem;

inline constexpr std::u16string_view kFieldTableName = u"Statistic table 1.xls";
inline constexpr std::u16string_view kProblemTableName = u"Statistic table 2.xls";

// A cell as the tables write it: tabs made "; ", line breaks made ", ", runs of commas
// joined, leading characters that would make a spreadsheet formula ("=", "+", "-", "@") and
// other leading punctuation removed, trailing blanks, ":" and "," removed; " " when empty.
std::u16string StatisticCell(std::u16string_view text);
// A heading of the field table made from a field caption.
std::u16string StatisticHeading(std::u16string_view caption);

struct StatisticOptions {
    std::array<std::u16string, kFieldCount> captions;  // the field captions as the form has them
    bool dayFirst = true;  // the date-order setting: day.month (1) or month.day (0)
};

// Builds the rows of both tables, one patient text at a time.
class StatisticRows {
public:
    explicit StatisticRows(const StatisticOptions& options);

    // The heading lines, "\r\n" included.
    const std::u16string& FieldHeading() const { return m_fieldHeading; }
    const std::u16string& ProblemHeading() const { return m_problemHeading; }

    // Appends the lines of every stay of `text` (a patient text in the current layout) to the
    // two tables; returns the number of rows made. The rows made before a stay without "¬P" or
    // "¬L" are kept; the rest of the file gives none.
    int AddPatient(std::u16string_view text, std::u16string& fieldRows,
                   std::u16string& problemRows);
    int RowCount() const { return m_record; }

private:
    StatisticOptions m_options;
    std::u16string m_fieldHeading;
    std::u16string m_problemHeading;
    int m_record = 0;
};

struct StatisticResult {
    int rows = 0;
    int read = 0;                        // files that gave their rows
    std::vector<std::u16string> skipped;  // files that could not be read or hold no stay
    bool fieldTableWritten = false;
    bool problemTableWritten = false;
};

// Writes both tables of the files `names` of `folder` (in that order) into `outFolder` of
// `outFiles` (the same file system or, for the command line, another folder). Each
// table goes into a temporary file row by row and replaces the table when complete, so that
// the memory used does not grow with the number of files. False when a table could not be
// written (the first table stays written when only the second failed).
bool WriteStatisticTables(DeviceFileSystem& files, std::u16string_view folder,
                          const std::vector<std::u16string>& names, DeviceFileSystem& outFiles,
                          std::u16string_view outFolder,
                          const StatisticOptions& options, StatisticResult& result);

class UserMessages;

// The "Stat" button: asks to confirm the source folder, writes both tables into the print
// folder and says how it went, with the number of files read and the files skipped.
bool RunStatisticTables(DeviceFileSystem& files, UserMessages& messages, bool activeFolder,
                        const std::vector<std::u16string>& names, const StatisticOptions& options,
                        StatisticResult* result = nullptr);

}  // namespace pondrel
