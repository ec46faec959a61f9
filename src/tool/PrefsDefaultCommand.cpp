#include "settings/Preferences.h"
#include "tool/PrefsSupport.h"
#include "tool/ToolCommand.h"

namespace pondrel::tool {

namespace {

int RunPrefsDefault(const std::vector<std::string>& args);
const ToolCommand kPrefsDefault{"prefs-default", "prefs-default OUT.pre",
                                "writes a preferences file holding the defaults (the factory file)",
                                RunPrefsDefault};

int RunPrefsDefault(const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError(kPrefsDefault);
    return WriteHostPreferences(args[0], Preferences{}) ? 0 : 1;
}

}  // namespace

}  // namespace pondrel::tool
