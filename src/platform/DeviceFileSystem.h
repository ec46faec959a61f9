#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DateTime.h"
#include "platform/Error.h"

namespace pondrel {

// The handheld's file system as the program sees it. Paths are device paths such as
// "\My Documents\PD_ActivePatients\Doe_John_1950.pdr": "\" or "/" separate the parts, and names
// match ignoring case, as on the handheld. Every operation reports failure through its result;
// none throws.
class DeviceFileSystem {
public:
    virtual ~DeviceFileSystem() = default;

    // Reads the first maxBytes bytes of a file (all of it when it is shorter).
    virtual bool ReadFile(std::u16string_view path, size_t maxBytes, std::string& bytes,
                          Error* error = nullptr) = 0;
    // Replaces the whole file with bytes, or creates it. Atomic: after a failure or a crash the
    // file holds either its old content or the new one, never a part.
    virtual bool WriteFile(std::u16string_view path, std::string_view bytes,
                           Error* error = nullptr) = 0;
    // As WriteFile, except that the folder's entry for the file is made durable only by the next
    // SyncFolder of its folder (the file's content is on the disk before it replaces the old
    // one): a pass that writes many files of one folder syncs that folder once.
    virtual bool WriteFileFolderUnsynced(std::u16string_view path, std::string_view bytes,
                                         Error* error = nullptr) {
        return WriteFile(path, bytes, error);
    }
    // Makes the files created, replaced or deleted in a folder durable.
    virtual bool SyncFolder(std::u16string_view /*folder*/) { return true; }

    // The whole path of a file or folder as the user finds it on this machine (the device path
    // itself where the files are the device's own).
    virtual std::u16string ShownPath(std::u16string_view path) const {
        return std::u16string(path);
    }

    virtual bool FileExists(std::u16string_view path) = 0;
    virtual bool FolderExists(std::u16string_view path) = 0;
    virtual std::optional<uint64_t> FileSize(std::u16string_view path) = 0;
    virtual std::optional<DateTime> ModificationTime(std::u16string_view path) = 0;

    // Creates one folder; its parent must exist. An existing folder is success; a file of that
    // name is a failure.
    virtual bool CreateFolder(std::u16string_view path, Error* error = nullptr) = 0;
    virtual bool DeleteFile(std::u16string_view path, Error* error = nullptr) = 0;
    // Moves or renames a file; fails when the target exists.
    virtual bool MoveFile(std::u16string_view from, std::u16string_view to,
                          Error* error = nullptr) = 0;
    // Copies a file, replacing the target atomically.
    virtual bool CopyFile(std::u16string_view from, std::u16string_view to,
                          Error* error = nullptr) = 0;

    // Names (without folder) of the files of a folder matching a pattern such as "*.pdr"
    // ("*" any run, "?" one character, ignoring case), sorted by name ignoring case, into
    // `names`. At most maxCount names are kept; moreExist tells whether others were left out.
    // False, with `names` empty, when the folder does not exist (NotFound) or can not be read:
    // a folder that can not be listed is never taken for an empty one.
    virtual bool ListFiles(std::u16string_view folder, std::u16string_view pattern,
                           std::vector<std::u16string>& names, size_t maxCount = SIZE_MAX,
                           bool* moreExist = nullptr, Error* error = nullptr) = 0;
};

// The longest file name the host file systems take, in bytes of UTF-8.
inline constexpr size_t kMaxFileNameBytes = 255;
// Whether `name` (without folder) is short enough to name a file.
bool FitsFileNameLimit(std::u16string_view name);

// Joins a folder and a name with one "\" between them.
std::u16string JoinPath(std::u16string_view folder, std::u16string_view name);
// Splits a device path into its non-empty parts.
std::vector<std::u16string> PathParts(std::u16string_view path);
// True when name matches a "*"/"?" pattern, ignoring case.
bool MatchesPattern(std::u16string_view name, std::u16string_view pattern);

}  // namespace pondrel
