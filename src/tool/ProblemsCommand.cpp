// pondrel-tool problems FILE.pdr [--move P up|down | --state P A|I|C | --delete P | --merge P Q]:
// prints the problems of a patient file's journal; a command changes them as the problem
// manager's OK does and saves the file.

#include <cstdio>
#include <string>

#include "journal/ProblemManager.h"
#include "platform/Text.h"
#include "tool/JournalArguments.h"
#include "tool/PatientFileEdit.h"
#include "tool/ToolCommand.h"
#include "tool/ValueEscaping.h"

namespace pondrel::tool {
namespace {

int RunProblems(const std::vector<std::string>& args);
const ToolCommand kProblems{
    "problems", "problems FILE.pdr [--move P up|down | --state P A|I|C | --delete P | --merge P Q]",
    "prints one problem=N|STATE|TITLE line per problem (N from 0); a command moves a problem, "
    "sets its state, deletes it with all its entries or merges two problems, saves the file and "
    "prints the new list",
    RunProblems};

void PrintProblems(const ProblemManager& manager) {
    for (int p = 0; p < manager.Count(); ++p) {
        std::string line = "problem=" + std::to_string(p) + "|" +
                           ToUtf8(std::u16string(1, manager.State(p))) + "|" +
                           EscapedValue(manager.Title(p)) + "\n";
        std::fputs(line.c_str(), stdout);
    }
}

const char* Reason(ProblemManager::Outcome outcome) {
    switch (outcome) {
        case ProblemManager::Outcome::NoSuchProblem:
            return "no such problem";
        case ProblemManager::Outcome::AtTop:
            return "the problem is already at the top of the list";
        case ProblemManager::Outcome::AtBottom:
            return "the problem is already at the bottom of the list";
        case ProblemManager::Outcome::SameProblem:
            return "choose only two different problems";
        case ProblemManager::Outcome::BadState:
            return "the state is A, I or C";
        case ProblemManager::Outcome::TooBig:
            return "the merged journal would make the file too big";
        case ProblemManager::Outcome::Done:
            break;
    }
    return "";
}

int RunProblems(const std::vector<std::string>& args) {
    if (args.empty()) return UsageError(kProblems);
    const std::string command = args.size() > 1 ? args[1] : "";
    auto problemAt = [&args](size_t i) { return ParseProblemArgument(args[i]); };
    const bool shape = args.size() == 1 ||
                       (args.size() == 4 && (command == "--move" || command == "--state" ||
                                             command == "--merge")) ||
                       (args.size() == 3 && command == "--delete");
    if (!shape) return UsageError(kProblems);
    if (args.size() > 2 && !problemAt(2)) {
        return UsageError(kProblems, "P is a problem number from 0 to 99");
    }
    if (command == "--move" && args[3] != "up" && args[3] != "down") {
        return UsageError(kProblems, "--move takes up or down");
    }
    if (command == "--state" && args[3] != "A" && args[3] != "I" && args[3] != "C") {
        return UsageError(kProblems, "--state takes A, I or C");
    }
    if (command == "--merge" && !problemAt(3)) {
        return UsageError(kProblems, "Q is a problem number from 0 to 99");
    }

    PatientFileEdit edit(args[0]);
    if (!edit.Load()) return 1;
    ProblemManager manager(edit.Record().problemJournal);
    if (args.size() == 1) {
        PrintProblems(manager);
        return 0;
    }
    // Refused before anything is written, as the dialogue refuses a read-only record.
    if (edit.Record().lockState == u"R") {
        std::fputs("read only\n", stderr);
        return 1;
    }
    manager.SetLengthLimit(JournalLengthLimit(edit.Record()));
    const int p = *problemAt(2);
    ProblemManager::Outcome outcome = ProblemManager::Outcome::Done;
    if (command == "--move") {
        outcome = args[3] == "up" ? manager.MoveUp(p) : manager.MoveDown(p);
    } else if (command == "--state") {
        outcome = manager.SetState(p, static_cast<char16_t>(args[3][0]));
    } else if (command == "--delete") {
        outcome = manager.Delete(p);
    } else {
        outcome = manager.Merge(p, *problemAt(3));
    }
    if (outcome != ProblemManager::Outcome::Done) {
        std::fprintf(stderr, "%s\n", Reason(outcome));
        return 1;
    }
    if (manager.Changed()) {
        edit.Record().problemJournal = manager.Text();
        if (!edit.Save()) return 1;
    }
    PrintProblems(manager);
    return 0;
}

}  // namespace
}  // namespace pondrel::tool
