#pragma once

#include <string>

namespace pondrel {

struct Preferences;
struct PreferencesReadResult;

// A readable listing of what the reader took from a preferences file: one "name=value" line per
// setting or list row, in file order, UTF-8. In values "\" is written "\\", CR "\r" and LF "\n";
// the columns of a list row are joined with "¢", which no stored text holds. The names and
// their order are documented in docs/preferences-file.md and must stay stable.
std::string ListPreferences(const Preferences& preferences, const PreferencesReadResult& result);

}  // namespace pondrel
