#pragma once

// The preferences file "Preferences.pre" of the installation folder: reading it at start-up and
// writing it after the preferences dialogue and on exit, with the program's messages.

#include <optional>
#include <string>

#include "platform/Error.h"
#include "settings/PreferencesReader.h"

namespace pondrel {

class DeviceFileSystem;
class UserMessages;
struct Preferences;
struct WorkingFolders;

// Reads and decodes a preferences file of any path into `preferences` (see PreferencesReader);
// none when the file cannot be read.
std::optional<PreferencesReadResult> ReadPreferencesFile(DeviceFileSystem& files,
                                                         std::u16string_view path,
                                                         Preferences& preferences,
                                                         Error* error = nullptr);
// Writes `preferences` to a file of any path, replacing it in one atomic write. Refuses (Refused)
// a text larger than the reader takes back, leaving the old file as it was.
bool WritePreferencesFile(DeviceFileSystem& files, std::u16string_view path,
                          const Preferences& preferences, Error* error = nullptr);

// The bytes of the file for `preferences`: the composed text with the item encoding.
std::string EncodePreferences(const Preferences& preferences);

enum class PreferencesLoad {
    Complete,     // the whole file was read
    Incomplete,   // a section was missing: the user was told; the rest keeps its defaults
    QuitProgram,  // missing or newer file: the user was told; the program must quit
};

// Start-up: resets `preferences` to the defaults, reads the installation folder's
// "\Preferences.pre" into it and counts this start. Shows the messages of a missing file, a newer
// version and a missing section. When the file could not be read whole, or is of the older layout,
// a copy of it is kept as "Preferences.pre.old" before the program overwrites it.
PreferencesLoad LoadPreferences(DeviceFileSystem& files, UserMessages& messages,
                                const WorkingFolders& folders, Preferences& preferences,
                                PreferencesReadResult* result = nullptr);

// Writes the installation folder's "\Preferences.pre". On failure shows "Save failure !" and
// returns false; the settings then stay in memory only and the old file is left whole.
bool SavePreferences(DeviceFileSystem& files, UserMessages& messages,
                     const WorkingFolders& folders, const Preferences& preferences);

// The text and caption of the box shown for a missing section.
struct SectionMessage {
    std::u16string text;
    std::u16string caption;
};
SectionMessage MissingSectionMessage(PreferencesSection section);

}  // namespace pondrel
