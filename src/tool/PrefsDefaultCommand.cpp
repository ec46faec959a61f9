#include "settings/FactoryPreferences.h"
#include "tool/PrefsSupport.h"
#include "tool/ToolCommand.h"

namespace pondrel::tool {

namespace {

int RunPrefsDefault(const std::vector<std::string>& args);
const ToolCommand kPrefsDefault{"prefs-default", "prefs-default OUT.pre",
                                "writes the factory preferences file (the defaults, the factory rooms' locations)",
                                RunPrefsDefault};

int RunPrefsDefault(const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError(kPrefsDefault);
    return WriteHostPreferences(args[0], FactoryPreferences()) ? 0 : 1;
}

}  // namespace

}  // namespace pondrel::tool
