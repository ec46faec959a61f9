#include "documents/StatisticTables.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <system_error>

#include "platform/DeviceFileSystem.h"
#include "platform/HostFileSystem.h"
#include "platform/Text.h"
#include "platform/UserMessages.h"
#include "records/WorkingFolders.h"
#include "records/DayNumber.h"
#include "records/ItemEncoding.h"
#include "records/JournalFormat.h"
#include "records/PatientFileFormat.h"
#include "records/PatientFileParser.h"
#include "records/Version300Conversion.h"

namespace pondrel {

namespace {

constexpr size_t kNone = std::u16string::npos;
constexpr char16_t kTab = u'\t';
constexpr std::u16string_view kLineEnd = u"\r\n";
constexpr int kShownProblems = 10;
constexpr int kMaxHeaders = 100;
constexpr int kEmptyColumns = 7;   // the "X" columns
constexpr int kClosingColumns = 4;  // empty headings at the end
constexpr int kColumnsPerKind = kShownProblems + 1;

std::u16string ReplaceUntilGone(std::u16string text, std::u16string_view from,
                                std::u16string_view to) {
    for (size_t at = text.find(from); at != kNone; at = text.find(from, at > 0 ? at - 1 : 0)) {
        text.replace(at, from.size(), to);
    }
    return text;
}

bool OneOf(char16_t c, std::u16string_view set) {
    return set.find(c) != std::u16string_view::npos;
}

std::u16string StripLeading(std::u16string_view text, std::u16string_view set) {
    size_t b = 0;
    while (b < text.size() && OneOf(text[b], set)) ++b;
    return std::u16string(text.substr(b));
}

std::u16string StripTrailing(std::u16string text, std::u16string_view set) {
    while (!text.empty() && OneOf(text.back(), set)) text.pop_back();
    return text;
}

// Leading characters a spreadsheet would take for the start of a formula, with the other
// punctuation a cell does not start with.
constexpr std::u16string_view kCellLeading = u" =-+*/%,@";
// What a title or section loses in front before it goes into a cell.
constexpr std::u16string_view kTextLeading = u"- +*/:=@";

bool IsField(int k) {
    return k >= 0 && k < kFieldCount && !(k >= 86 && k <= 93);
}

std::u16string TwoDigits(int value) {
    value = ((value % 100) + 100) % 100;
    return std::u16string(1, static_cast<char16_t>(u'0' + value / 10)) +
           static_cast<char16_t>(u'0' + value % 10);
}

std::u16string DateText(const DateTime& t) {
    return ToText(t.day) + u"." + ToText(t.month) + u"." + ToText(t.year);
}

std::u16string HourText(const DateTime& t) {
    return ToText(t.hour) + u"h" + TwoDigits(t.minute);
}

// The items of text[from, limit) ended by "¢" (the text after the last one is not an item).
std::vector<std::u16string_view> Items(std::u16string_view text, size_t from, size_t limit,
                                       size_t maxCount = SIZE_MAX) {
    std::vector<std::u16string_view> items;
    size_t pos = from;
    while (pos < limit && items.size() < maxCount) {
        size_t end = text.find(kItemEnd, pos);
        if (end == kNone || end >= limit) break;
        items.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return items;
}

std::u16string ToDoCell(std::u16string_view field) {
    std::u16string text = ReplaceAll(ReplaceAll(field, u"|N|", u", "), u"|*|", u", ");
    return StripTrailing(std::move(text), u"|, ");
}

// Where the table files go: written in the device's folder row by row when it lies on the
// host, otherwise kept and written whole at the end.
class TableFile {
public:
    TableFile(DeviceFileSystem& files, std::u16string path) : m_files(files), m_path(std::move(path)) {
        if (auto* host = dynamic_cast<HostFileSystem*>(&files)) {
            m_target = host->HostPath(m_path);
            m_temporary = TemporaryPathFor(m_target);
            m_stream = std::make_unique<std::ofstream>(m_temporary, std::ios::binary | std::ios::trunc);
            m_ok = m_stream->good();
        }
        Append(std::u16string(1, u'\uFEFF'));
    }
    ~TableFile() {
        if (m_stream) {
            m_stream.reset();
            std::error_code error;
            std::filesystem::remove(m_temporary, error);  // nothing if it was committed
        }
    }
    TableFile(const TableFile&) = delete;
    TableFile& operator=(const TableFile&) = delete;

    void Append(std::u16string_view text) {
        if (!m_stream) {
            AppendBytes(m_bytes, text);
            return;
        }
        m_chunk.clear();
        AppendBytes(m_chunk, text);
        m_stream->write(m_chunk.data(), static_cast<std::streamsize>(m_chunk.size()));
        m_ok = m_ok && m_stream->good();
    }

    bool Commit() {
        Append(std::u16string(1, u'\0'));
        if (!m_stream) return m_files.WriteFile(m_path, m_bytes);
        m_stream->flush();
        m_ok = m_ok && m_stream->good();
        m_stream.reset();
        std::error_code error;
        if (m_ok) std::filesystem::rename(m_temporary, m_target, error);
        if (!m_ok || error) {
            std::filesystem::remove(m_temporary, error);
            return false;
        }
        return true;
    }

private:
    static void AppendBytes(std::string& out, std::u16string_view text) {
        for (char16_t c : text) {
            out += static_cast<char>(c & 0xFF);
            out += static_cast<char>((c >> 8) & 0xFF);
        }
    }

    DeviceFileSystem& m_files;
    std::u16string m_path;
    std::filesystem::path m_target;
    std::filesystem::path m_temporary;
    std::unique_ptr<std::ofstream> m_stream;
    std::string m_bytes;
    std::string m_chunk;
    bool m_ok = true;
};

}  // namespace

std::u16string StatisticCell(std::u16string_view text) {
    std::u16string cell = ReplaceAll(text, u"\t", u"; ");
    cell = ReplaceAll(cell, u"\r\n-", u", ");
    cell = ReplaceUntilGone(std::move(cell), u", ,", u",");
    cell = ReplaceAll(cell, u"\r\n", u", ");
    cell = ReplaceUntilGone(std::move(cell), u" ,", u",");
    cell = ReplaceUntilGone(std::move(cell), u",,", u",");
    cell = StripLeading(cell, kCellLeading);
    cell = StripTrailing(std::move(cell), u" :,");
    // A lone line break or carriage return would start a new row in some spreadsheets.
    for (char16_t& c : cell) {
        if (c == u'\r' || c == u'\n') c = u' ';
    }
    if (cell.empty()) cell = u" ";
    return cell;
}

std::u16string StatisticHeading(std::u16string_view caption) {
    std::u16string heading = ReplaceAll(caption, u"\r\n", u"");
    for (char16_t& c : heading) {
        if (c == kTab || c == u'\r' || c == u'\n') c = u' ';
    }
    heading = StripTrailing(std::move(heading), u" :");
    return StripLeading(heading, u" =+-@");
}

StatisticRows::StatisticRows(const StatisticOptions& options) : m_options(options) {
    m_fieldHeading = u"Record N\u00B0";
    m_fieldHeading += kTab;
    for (int k = 0; k < kFieldCount; ++k) {
        if (!IsField(k)) continue;
        std::u16string heading;
        switch (k) {
            case 0: heading = u"Patient"; break;
            case 2: heading = u"Admission date"; break;
            case 3: heading = u"Admission hour"; break;
            case 4: heading = u"Exit date"; break;
            case 5: heading = u"Exit hour"; break;
            case 6: heading = u"Sex"; break;
            default: heading = StatisticHeading(m_options.captions[static_cast<size_t>(k)]);
        }
        m_fieldHeading += heading;
        m_fieldHeading += kTab;
    }
    m_fieldHeading += kLineEnd;

    m_problemHeading = u"Record N\u00B0\tPatient\tMedical unit\tHosp/Ambu\t";
    for (int i = 0; i < kEmptyColumns; ++i) m_problemHeading += u"X\t";
    for (std::u16string_view kind :
         {u"Prob ", u"DD Prob ", u"AA Prob ", u"Status Prob ", u"Exams Prob ", u"Medic Prob ",
          u"Other Prob ", u"Attitude Prob "}) {
        for (int p = 1; p <= kShownProblems; ++p) {
            m_problemHeading += std::u16string(kind) + ToText(p) + kTab;
        }
        m_problemHeading += std::u16string(kind) + u"Other" + kTab;
    }
    for (int i = 0; i < kClosingColumns; ++i) m_problemHeading += kTab;
    m_problemHeading += kLineEnd;
}

int StatisticRows::AddPatient(std::u16string_view text, std::u16string& fieldRows,
                              std::u16string& problemRows) {
    const size_t identity = text.find(kIdentityMark);
    if (identity == kNone) return 0;
    const size_t firstStay = text.find(kBlockMarkH, identity);
    if (firstStay == kNone) return 0;

    // The identity part: fields 120 to 139, the sex, the location item, the journal.
    const auto head = Items(text, identity + kIdentityMark.size(), firstStay, 23);
    auto headItem = [&head](size_t i) { return i < head.size() ? head[i] : std::u16string_view(); };
    std::array<std::u16string, kFieldCount> identityFields;
    for (int i = 0; i < kIdentityFieldCount; ++i) {
        identityFields[static_cast<size_t>(kFirstIdentityField + i)] = headItem(static_cast<size_t>(i));
    }
    const std::u16string_view sexItem = headItem(20);
    const std::u16string_view location = headItem(21);
    const std::u16string_view journal = headItem(22);
    const std::u16string sex = sexItem == u"0" ? u"Female" : sexItem == u"1" ? u"Male" : u"";
    std::u16string patient = sexItem == u"1" ? u"Mr" : sexItem == u"0" ? u"Mrs" : u"";
    {
        const auto& f = identityFields;
        const std::u16string birth = m_options.dayFirst
                                         ? f[122] + u"." + f[123] + u"." + f[124]
                                         : f[123] + u"." + f[122] + u"." + f[124];
        patient += u" " + f[120] + u" " + f[121] + u" " + birth;
    }
    const size_t unitBar = location.find(u'|');
    const std::u16string unit(unitBar == kNone ? std::u16string_view() : location.substr(unitBar + 1));

    // The problem columns, the same for every stay of the file.
    std::array<std::array<std::u16string, kColumnsPerKind>, 8> problems;  // title, DD, 6 sections
    const size_t firstDay = journal.find(u'#');
    if (firstDay != kNone) {
        std::u16string_view journalHead = journal.substr(0, firstDay);
        size_t bar = journalHead.find(u'|');
        for (int n = 0; n < kMaxHeaders && bar != kNone; ++n) {
            size_t titleEnd = journalHead.find_first_of(u"\u00A6\u00A7", bar + 1);
            if (titleEnd == kNone) titleEnd = journalHead.size();
            std::u16string_view title = journalHead.substr(bar + 1, titleEnd - bar - 1);
            std::u16string_view dd;
            if (titleEnd < journalHead.size() && journalHead[titleEnd] == u'\u00A6') {
                size_t ddEnd = journalHead.find_first_of(u"\u00A6|#\u00A7", titleEnd + 1);
                if (ddEnd == kNone) ddEnd = journalHead.size();
                dd = journalHead.substr(titleEnd + 1, ddEnd - titleEnd - 1);
            }
            for (int kind = 0; kind < 2; ++kind) {
                std::u16string_view value = kind == 0 ? title : dd;
                if (n < kShownProblems) {
                    if (!value.empty()) problems[static_cast<size_t>(kind)][static_cast<size_t>(n)] = value;
                } else {
                    std::u16string stripped = StripLeading(value, kTextLeading);
                    if (!stripped.empty()) {
                        problems[static_cast<size_t>(kind)][kShownProblems] +=
                            u"P" + ToText(n + 1) + u":" + stripped + u", ";
                    }
                }
            }
            bar = journalHead.find(u'|', titleEnd);
        }
        // The dated sections, in journal order.
        std::u16string_view days = journal.substr(firstDay);
        for (size_t pos = 0; pos < days.size();) {
            size_t next = days.find(u'#', pos + 1);
            if (next == kNone) next = days.size();
            std::u16string_view block = days.substr(pos + 1, next - pos - 1);
            const size_t mark = block.find(u'\u00A7');
            const long long dayNumber = ParseInt(block.substr(0, mark));
            const bool validDay = dayNumber >= kFirstJournalDay && dayNumber <= kLastJournalDay;
            std::u16string stamp;
            if (validDay) {
                DateTime date = DateOfDay(static_cast<DayNumber>(dayNumber));
                stamp = m_options.dayFirst ? ToText(date.day) + u"." + ToText(date.month)
                                           : ToText(date.month) + u"." + ToText(date.day);
                stamp += u"." + TwoDigits(date.year) + u": ";
            }
            for (size_t e = mark; validDay && e != kNone && e < block.size();) {
                size_t entryEnd = block.find(u'\u00A7', e + 1);
                if (entryEnd == kNone) entryEnd = block.size();
                std::u16string_view entry = block.substr(e + 1, entryEnd - e - 1);
                const size_t numberEnd = entry.find(u'|');
                if (numberEnd != kNone && numberEnd > 0) {
                    const int p = ParseInt(entry.substr(0, numberEnd));
                    size_t from = numberEnd + 1;
                    for (size_t i = 0; i < 6 && from <= entry.size(); ++i) {
                        size_t sep = entry.find(u'|', from);
                        std::u16string_view raw =
                            entry.substr(from, (sep == kNone ? entry.size() : sep) - from);
                        std::u16string s = StripTrailing(StripLeading(raw, kTextLeading), u" ,-");
                        if (!s.empty() && p >= 0) {
                            auto& column = problems[2 + i];
                            if (p < kShownProblems) {
                                column[static_cast<size_t>(p)] += stamp + s + u", ";
                            } else {
                                column[kShownProblems] +=
                                    stamp + u"-P" + ToText(p + 1) + u":" + s + u", ";
                            }
                        }
                        if (sep == kNone) break;
                        from = sep + 1;
                    }
                }
                e = entryEnd;
            }
            pos = next;
        }
    }
    std::u16string problemCells;
    for (const auto& kind : problems) {
        for (const std::u16string& cell : kind) problemCells += StatisticCell(cell) + kTab;
    }
    for (int i = 0; i < kClosingColumns; ++i) problemCells += StatisticCell(u"") + kTab;

    // Every stay: from its "¬H" to the following "¬E", the next one after that "¬E".
    int rows = 0;
    for (size_t pos = firstStay; pos != kNone;) {
        size_t end = text.find(kBlockEndMark, pos);
        const size_t limit = end == kNone ? text.size() : end;
        const size_t form = text.find(kFormMark, pos);
        if (form == kNone || form > limit) break;
        const size_t drawings = text.find(kDrawingMark, form);
        if (drawings == kNone || drawings > limit) break;
        const auto dates = Items(text, pos + kBlockMarkH.size(), form, 3);
        auto date = [&dates](size_t i) { return i < dates.size() ? dates[i] : std::u16string_view(); };
        const DateTime admission = ParseSubfolderDateTime(date(0));
        const DateTime exit = ParseSubfolderDateTime(date(1));
        const bool exitSet = ParseInt(date(2)) != 0;
        const auto formItems = Items(text, form + kFormMark.size(), drawings);
        std::array<std::u16string_view, kFieldCount> fields{};
        size_t itemIndex = 0;
        for (int k = 1; k < kFieldCount && itemIndex < formItems.size(); ++k) {
            if (IsStoredFormField(k)) fields[static_cast<size_t>(k)] = formItems[itemIndex++];
        }
        std::u16string_view type;
        const size_t options = text.find(kOptionsMark, drawings);
        if (options != kNone && options < limit) {
            const auto optionItems = Items(text, options + kOptionsMark.size(), limit, 1);
            type = optionItems.empty() ? text.substr(options + kOptionsMark.size(),
                                                     limit - options - kOptionsMark.size())
                                       : optionItems[0];
        }

        fieldRows += ToText(m_record);
        fieldRows += kTab;
        for (int k = 0; k < kFieldCount; ++k) {
            if (!IsField(k)) continue;
            std::u16string cell;
            if (k == 0) {
                cell = patient;
            } else if (k == 2) {
                cell = DateText(admission);
            } else if (k == 3) {
                cell = HourText(admission);
            } else if (k == 4) {
                if (exitSet) cell = DateText(exit);
            } else if (k == 5) {
                if (exitSet) cell = HourText(exit);
            } else if (k == 6) {
                cell = sex;
            } else if (k == 98) {
                cell = ToDoCell(fields[98]);
            } else if (k >= 120 && k <= 139) {
                cell = identityFields[static_cast<size_t>(k)];
            } else if (k != 140) {
                cell = fields[static_cast<size_t>(k)];
            }
            fieldRows += StatisticCell(cell);
            fieldRows += kTab;
        }
        fieldRows += kLineEnd;

        problemRows += ToText(m_record);
        problemRows += kTab;
        problemRows += StatisticCell(patient) + kTab + StatisticCell(unit) + kTab +
                       StatisticCell(type) + kTab;
        for (int i = 0; i < kEmptyColumns; ++i) problemRows += StatisticCell(u"") + kTab;
        problemRows += problemCells;
        problemRows += kLineEnd;
        ++m_record;
        ++rows;
        if (end == kNone) break;
        pos = text.find(kBlockMarkH, end);
    }
    return rows;
}

bool WriteStatisticTables(DeviceFileSystem& files, std::u16string_view folder,
                          const std::vector<std::u16string>& names, DeviceFileSystem& outFiles,
                          std::u16string_view outFolder,
                          const StatisticOptions& options, StatisticResult& result) {
    result = {};
    StatisticRows rows(options);
    TableFile fieldTable(outFiles, JoinPath(outFolder, kFieldTableName));
    TableFile problemTable(outFiles, JoinPath(outFolder, kProblemTableName));
    fieldTable.Append(rows.FieldHeading());
    problemTable.Append(rows.ProblemHeading());
    std::string bytes;
    std::u16string fieldRows;
    std::u16string problemRows;
    for (const std::u16string& name : names) {
        bytes.clear();
        // One byte more than the limit tells a file too big to be read whole.
        if (!files.ReadFile(JoinPath(folder, name), kMaxPatientFileBytes + 1, bytes) ||
            bytes.size() > kMaxPatientFileBytes || bytes.empty()) {
            result.skipped.push_back(name);
            continue;
        }
        std::u16string text = DecodeItemText(bytes);
        if (IsVersion300(text)) {
            std::u16string converted;
            if (!ConvertVersion300(text, converted, nullptr)) {
                result.skipped.push_back(name);
                continue;
            }
            text = std::move(converted);
        }
        fieldRows.clear();
        problemRows.clear();
        if (PatientFileVersion(text) > kNewestReadableVersion ||
            rows.AddPatient(text, fieldRows, problemRows) == 0) {
            result.skipped.push_back(name);
            continue;
        }
        ++result.read;
        fieldTable.Append(fieldRows);
        problemTable.Append(problemRows);
    }
    result.rows = rows.RowCount();
    result.fieldTableWritten = fieldTable.Commit();
    if (!result.fieldTableWritten) return false;
    result.problemTableWritten = problemTable.Commit();
    return result.problemTableWritten;
}

bool RunStatisticTables(DeviceFileSystem& files, UserMessages& messages, bool activeFolder,
                        const std::vector<std::u16string>& names, const StatisticOptions& options,
                        StatisticResult* result) {
    const std::u16string question =
        activeFolder ? u"All the information about the patients into the <Activated folder> will "
                       u"be collected in a statistic table."
                     : u"All the information about the patients in the <Archived folder> will be "
                       u"collected in a statistic table.";
    if (messages.ShowBox(question, u"Confirm source folder", BoxButtons::OkCancel,
                         BoxIcon::Question) != BoxAnswer::Ok) {
        messages.ShowBox(u"Statistic operation canceled.", u"Cancel statistic");
        return false;
    }
    StatisticResult local;
    StatisticResult& outcome = result ? *result : local;
    files.CreateFolder(WorkingFolders::kPrintDoc);
    const bool written = WriteStatisticTables(
        files, activeFolder ? WorkingFolders::kActivePatients : WorkingFolders::kArchives, names,
        files, WorkingFolders::kPrintDoc, options, outcome);
    if (!written) {
        messages.ShowBox(u"The statistic table can't be created because it's used by another "
                         u"software.",
                         u"Save failure", BoxButtons::Ok, BoxIcon::Error);
        return false;
    }
    std::u16string text = u"Two statistic files <Statistic_table.xls> have been created "
                          u"successfully. Look into the folder <PD_PrintDoc> to get them.";
    text += u"\r\n\r\n" + ToText(outcome.rows) + u" rows from " + ToText(outcome.read) +
            u" files read.";
    if (!outcome.skipped.empty()) {
        text += u"\r\n" + ToText(static_cast<long long>(outcome.skipped.size())) +
                u" files could not be read and are not in the tables:";
        const size_t shown = std::min<size_t>(outcome.skipped.size(), 10);
        for (size_t i = 0; i < shown; ++i) text += u"\r\n" + outcome.skipped[i];
        if (shown < outcome.skipped.size()) text += u"\r\n...";
    }
    messages.ShowBox(text, u"Two statistic tables created", BoxButtons::Ok,
                     outcome.skipped.empty() ? BoxIcon::None : BoxIcon::Warning);
    return true;
}

}  // namespace pondrel
