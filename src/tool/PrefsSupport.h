#pragma once

// Reading and writing preferences files of the host for the pondrel-tool commands.

#include <optional>
#include <string>

#include "settings/Preferences.h"
#include "settings/PreferencesReader.h"

namespace pondrel::tool {

struct ReadPreferences {
    Preferences preferences;
    PreferencesReadResult result;
};

// Reads a host file; prints the reason on stderr and returns none when it cannot be read or is
// of a newer version. A missing section is reported on stderr too, with what was read kept.
std::optional<ReadPreferences> ReadHostPreferences(const std::string& path);

// Writes a host file atomically; prints the reason on stderr on failure.
bool WriteHostPreferences(const std::string& path, const Preferences& preferences);

}  // namespace pondrel::tool
