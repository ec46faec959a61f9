#include <cstdio>
#include <cstring>

#include "tool/ToolCommand.h"

namespace pondrel::tool {

namespace {
std::vector<const ToolCommand*>& Registry() {
    static std::vector<const ToolCommand*> commands;
    return commands;
}
}  // namespace

ToolCommand::ToolCommand(const char* commandName, const char* commandUsage,
                         const char* commandSummary, CommandFunction function)
    : name(commandName), usage(commandUsage), summary(commandSummary), run(function) {
    Registry().push_back(this);
}

const std::vector<const ToolCommand*>& AllCommands() {
    return Registry();
}

int UsageError(const ToolCommand& command) {
    std::fprintf(stderr, "usage: pondrel-tool %s\n", command.usage);
    return 2;
}

int UsageError(const ToolCommand& command, const std::string& reason) {
    std::fprintf(stderr, "pondrel-tool %s: %s\n", command.name, reason.c_str());
    return UsageError(command);
}

}  // namespace pondrel::tool

int main(int argc, char** argv) {
    using namespace pondrel::tool;
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("pondrel-tool %s\n", PONDREL_VERSION_TEXT);
        return 0;
    }
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "help") == 0) {
        std::FILE* out = argc < 2 ? stderr : stdout;
        std::fprintf(out, "usage: pondrel-tool COMMAND [ARGUMENTS]\n\ncommands:\n");
        for (const ToolCommand* command : AllCommands()) {
            std::fprintf(out, "  %-40s  %s\n", command->usage, command->summary);
        }
        return argc < 2 ? 2 : 0;
    }
    for (const ToolCommand* command : AllCommands()) {
        if (std::strcmp(command->name, argv[1]) == 0) {
            return command->run(std::vector<std::string>(argv + 2, argv + argc));
        }
    }
    std::fprintf(stderr, "pondrel-tool: unknown command '%s' (see pondrel-tool --help)\n", argv[1]);
    return 2;
}
