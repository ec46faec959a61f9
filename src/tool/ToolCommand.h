#pragma once

// The commands of pondrel-tool. Each command lives in its own source file and registers itself
// with a static ToolCommand object:
//     static const ToolCommand kShow{"show", "show FILE.pdr", "prints a patient record", RunShow};

#include <string>
#include <vector>

namespace pondrel::tool {

// Arguments after the command name. Output goes to stdout, one reason line to stderr on failure.
// Returns the process exit status (0 success, 1 refused or failed, 2 wrong usage).
using CommandFunction = int (*)(const std::vector<std::string>& args);

struct ToolCommand {
    ToolCommand(const char* name, const char* usage, const char* summary, CommandFunction run);

    const char* name;
    const char* usage;
    const char* summary;
    CommandFunction run;
};

const std::vector<const ToolCommand*>& AllCommands();

// Prints "usage: pondrel-tool <usage>" on stderr and returns 2.
int UsageError(const ToolCommand& command);
// Prints "pondrel-tool <name>: <reason>" and then the usage on stderr; returns 2.
int UsageError(const ToolCommand& command, const std::string& reason);

}  // namespace pondrel::tool
