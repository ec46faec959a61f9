// pondrel-tool header FILE.pdr PROBLEM [--title T]: prints a problem header of a patient file's
// journal, or replaces its title.

#include <cstdio>
#include <string>

#include "journal/JournalReader.h"
#include "journal/ProblemJournal.h"
#include "platform/Text.h"
#include "tool/JournalArguments.h"
#include "tool/PatientFileEdit.h"
#include "tool/ToolCommand.h"
#include "tool/ValueEscaping.h"

namespace pondrel::tool {
namespace {

int RunHeader(const std::vector<std::string>& args);
const ToolCommand kHeader{
    "header", "header FILE.pdr PROBLEM [--title T]",
    "prints a problem's title, differentialDiagnosis, state and redaction as name=value lines; "
    "--title replaces the title and saves the file",
    RunHeader};

void PrintHeader(const ProblemJournal& journal, int problem) {
    JournalReader reader = journal.Reader();
    PrintValueLine("title", reader.GetProblemTitle(problem));
    PrintValueLine("differentialDiagnosis", reader.GetDifferentialDiagnosis(problem));
    PrintValueLine("state", reader.GetProblemState(problem));
    PrintValueLine("redaction", reader.GetProblemRedaction(problem));
}

int RunHeader(const std::vector<std::string>& args) {
    const bool set = args.size() == 4 && args[2] == "--title";
    if (args.size() != 2 && !set) return UsageError(kHeader);
    std::optional<int> problem = ParseProblemArgument(args[1]);
    if (!problem) return UsageError(kHeader, "PROBLEM is a problem number from 0 to 99");
    std::u16string title;
    if (set && !UnescapeValue(args[3], title)) {
        return UsageError(kHeader, "T is not UTF-8 with the escapes \\\\, \\r and \\n");
    }

    PatientFileEdit edit(args[0]);
    if (!edit.Load()) return 1;
    ProblemJournal journal(edit.Record().problemJournal);
    if (set) {
        const int count = journal.ProblemCount();
        const std::u16string stored = journal.GetProblemTitle(*problem);
        const std::u16string clean = ProblemJournal::CleanHeaderField(title);
        // The differential diagnosis and the redaction stay as they are.
        ProblemJournal::HeaderWrite write =
            journal.SetProblemHeader(*problem, title, journal.GetDifferentialDiagnosis(*problem),
                                     journal.GetProblemRedaction(*problem));
        if (write == ProblemJournal::HeaderWrite::Refused) {
            return NoSuchProblem(count);
        }
        if (write == ProblemJournal::HeaderWrite::Unchanged && clean.empty()) {
            // An empty title never removes a problem, nor creates one.
            std::fprintf(stderr, stored.empty()
                                     ? "empty title: no problem is created\n"
                                     : "empty title: the last problem keeps its title\n");
            return 1;
        }
        if (write == ProblemJournal::HeaderWrite::Written) {
            edit.Record().problemJournal = journal.Text();
            if (!edit.Save()) return 1;
        }
        if (clean != title) {
            std::fprintf(stderr,
                         "T: the reserved characters # \u00A7 | \u00A6 \u00A2 \u00AC and trailing "
                         "blanks were removed\n");
        }
    }
    PrintHeader(journal, *problem);
    return 0;
}

}  // namespace
}  // namespace pondrel::tool
