// pondrel-tool entry FILE.pdr DAY PROBLEM [--set S0 S1 S2 S3 S4 S5]: prints or replaces the six
// sections of one problem entry of a patient file's journal.

#include <cstdio>
#include <string>

#include "journal/JournalFormat.h"
#include "journal/ProblemJournal.h"
#include "platform/Text.h"
#include "tool/JournalArguments.h"
#include "tool/PatientFileEdit.h"
#include "tool/ToolCommand.h"
#include "tool/ValueEscaping.h"

namespace pondrel::tool {
namespace {

int RunEntry(const std::vector<std::string>& args);
const ToolCommand kEntry{
    "entry", "entry FILE.pdr DAY PROBLEM [--set S0 S1 S2 S3 S4 S5]",
    "prints the six sections (Anamnesia, Status, Examinations, Medicine, Other, Attitude) of a "
    "problem's entry on a day, one escaped line each; --set replaces them and saves the file",
    RunEntry};

constexpr size_t kReadArguments = 3;
constexpr size_t kSetArguments = 4 + kSectionCount;

void PrintEntry(const ProblemJournal& journal, DayNumber day, int problem) {
    for (const std::u16string& section : journal.GetEntry(day, problem)) {
        std::string line = EscapedValue(section);
        line += '\n';
        std::fputs(line.c_str(), stdout);
    }
}

int RunEntry(const std::vector<std::string>& args) {
    const bool set = args.size() == kSetArguments && args[3] == "--set";
    if (args.size() != kReadArguments && !set) return UsageError(kEntry);
    std::optional<DayNumber> day = ParseDayArgument(args[1]);
    if (!day) {
        return UsageError(kEntry, "DAY is a day number from " + std::to_string(kFirstJournalDay) +
                                      " to " + std::to_string(kLastJournalDay));
    }
    std::optional<int> problem = ParseProblemArgument(args[2]);
    if (!problem) return UsageError(kEntry, "PROBLEM is a problem number from 0 to 99");
    Sections sections;
    if (set) {
        for (int i = 0; i < kSectionCount; ++i) {
            if (!UnescapeValue(args[4 + static_cast<size_t>(i)], sections[i])) {
                return UsageError(kEntry, "S" + std::to_string(i) +
                                              " is not UTF-8 with the escapes \\\\, \\r and \\n");
            }
        }
    }

    PatientFileEdit edit(args[0]);
    if (!edit.Load()) return 1;
    ProblemJournal journal(edit.Record().problemJournal);
    if (set) {
        const int count = journal.ProblemCount();
        ProblemJournal::EntryWrite write = journal.SetEntry(*day, *problem, sections);
        if (write.refused) {
            return NoSuchProblem(count);
        }
        if (write.changed) {
            edit.Record().problemJournal = journal.Text();
            if (!edit.Save()) return 1;
        }
        for (int i = 0; i < kSectionCount; ++i) {
            if (ProblemJournal::CleanSection(sections[i]) != sections[i]) {
                std::fprintf(stderr,
                             "S%d: the reserved characters # \u00A7 | \u00A2 \u00AC were "
                             "removed\n",
                             i);
            }
        }
    }
    PrintEntry(journal, *day, *problem);
    return 0;
}

}  // namespace
}  // namespace pondrel::tool
