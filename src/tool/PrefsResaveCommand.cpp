#include <cstdio>

#include "tool/PrefsSupport.h"
#include "tool/ToolCommand.h"

namespace pondrel::tool {

namespace {

int RunPrefsResave(const std::vector<std::string>& args);
const ToolCommand kPrefsResave{"prefs-resave", "prefs-resave IN.pre OUT.pre",
                               "reads a preferences file and writes it back in the current layout",
                               RunPrefsResave};

int RunPrefsResave(const std::vector<std::string>& args) {
    if (args.size() != 2) return UsageError(kPrefsResave);
    std::optional<ReadPreferences> read = ReadHostPreferences(args[0]);
    if (!read) return 1;
    if (!WriteHostPreferences(args[1], read->preferences)) return 1;
    if (read->result.status != PreferencesReadResult::Status::Complete) {
        std::fprintf(stderr, "pondrel-tool: %s written, but without the sections that could not "
                             "be read\n", args[1].c_str());
        return 1;
    }
    return 0;
}

}  // namespace

}  // namespace pondrel::tool
