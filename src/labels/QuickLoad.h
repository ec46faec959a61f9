#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DateTime.h"

namespace pondrel {

class DeviceFileSystem;
class UserMessages;
struct Error;

// Quick load: the archived patients whose name parts (last name, first name, birth year, or a
// word inside the last name) start with the letters typed, and the file brought back among the
// active patients.
struct ArchiveNames {
    // The "*.pdr" files of the archive folder, in listing order, with their extension.
    std::vector<std::u16string> files;
    // " " + name without extension + "|" for every file, folded to lower case.
    std::u16string list;
    // Where each file's entry starts in `list` (at its blank).
    std::vector<size_t> starts;

    size_t Total() const { return files.size(); }
};

// The names of the archive folder. False (the list empty) when the folder cannot be listed.
bool ReadArchiveNames(DeviceFileSystem& files, ArchiveNames& names, Error* error = nullptr);
// The same from file names (for tests and the tool).
ArchiveNames ArchiveNamesOf(std::vector<std::u16string> fileNames);

struct QuickLoadResult {
    static constexpr size_t kMaxRows = 500;
    std::vector<size_t> files;       // indexes into ArchiveNames::files of the rows, at most 500
    std::vector<std::u16string> rows;  // "Doe Ann 1950": the file name, "_" as blanks
    size_t found = 0;                // matches of the last word
    bool nothing = false;            // a word matched no file

    // "Files: " + shown + "/" + total.
    std::u16string CountLine(size_t total) const;
    // "First 500/" + found when the list is full, else empty.
    std::u16string FullLine() const;
};

QuickLoadResult SearchArchive(const ArchiveNames& names, std::u16string_view text);

// A row as shown: the name without extension, every "_" a blank.
std::u16string QuickLoadRow(std::u16string_view fileName);

enum class QuickLoadOutcome {
    Moved,          // the archived file is now in the active folder
    AlreadyLoaded,  // an active file of that name is loaded: show that patient, nothing moved
    Declined,       // the doctor kept the active file of the same name
    Waiting,        // a transfer with the server is pending: nothing moved, try again
    Failed,         // reported; nothing changed
};

struct QuickLoadMove {
    std::u16string fileName;  // the file chosen, e.g. "Doe_Ann_1950.pdr"
    bool loaded = false;            // an active record of that file name is loaded
    bool transferPending = false;   // the server connection has a file operation under way
    std::u16string backupFolder;    // where a replaced active file is kept
    DateTime now;
};

// Brings the archived file back. An active file of the same name is never deleted: when it is
// loaded nothing moves; otherwise the doctor is asked, and on Yes it is kept in the backup folder
// under a dated name ("Doe_Ann_1950 2026-12-10 0412.pdr") before the archived file takes its
// place. A failed move is reported and undone.
QuickLoadOutcome BringBack(DeviceFileSystem& files, UserMessages& messages,
                           const QuickLoadMove& move);

// The dated name a replaced active file is kept under.
std::u16string DatedBackupName(std::u16string_view fileName, const DateTime& now);

}  // namespace pondrel
