#pragma once

#include <string>

namespace pondrel {

struct Preferences;

// Composes the text of the preferences file (before the item encoding): items 1 to 53 in order,
// every list filled up to its fixed row count with empty rows. "¢" ends every item, so it is
// removed from the texts written, except in the big summary descriptions where it is written as
// "|" (and read back as "¢").
class PreferencesWriter {
public:
    static std::u16string Compose(const Preferences& preferences);
};

}  // namespace pondrel
