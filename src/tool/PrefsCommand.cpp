#include <cstdio>

#include "settings/PreferencesListing.h"
#include "tool/PrefsSupport.h"
#include "tool/ToolCommand.h"

namespace pondrel::tool {

namespace {

int RunPrefs(const std::vector<std::string>& args);
const ToolCommand kPrefs{"prefs", "prefs FILE.pre",
                         "prints what the reader takes from a preferences file, name=value",
                         RunPrefs};

int RunPrefs(const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError(kPrefs);
    std::optional<ReadPreferences> read = ReadHostPreferences(args[0]);
    if (!read) return 1;
    std::string listing = ListPreferences(read->preferences, read->result);
    std::fwrite(listing.data(), 1, listing.size(), stdout);
    return read->result.status == PreferencesReadResult::Status::Complete ? 0 : 1;
}

}  // namespace

}  // namespace pondrel::tool
