#pragma once

#include <filesystem>

#include "platform/DeviceFileSystem.h"

namespace pondrel {

// Files of the host named by host paths, as the device file system below and the command-line
// tool use them.
//
// Reads at most maxBytes of a regular file (all of it when it is shorter).
bool ReadHostFile(const std::filesystem::path& file, size_t maxBytes, std::string& bytes,
                  Error* error = nullptr);
// Replaces a file, or creates it, atomically: the bytes go into a temporary file of the same
// folder, which is flushed and then renamed over the file; the folder is flushed too. After a
// failure or a crash the file holds its old content or the new one, never a part.
bool WriteHostFile(const std::filesystem::path& file, std::string_view bytes,
                   Error* error = nullptr);
// As WriteHostFile without the flush of the folder (SyncHostFolder does it once for many files).
bool WriteHostFileFolderUnsynced(const std::filesystem::path& file, std::string_view bytes,
                                 Error* error = nullptr);
void SyncHostFolder(const std::filesystem::path& folder);
// The temporary file WriteHostFile goes through: "." + name + ".tmp" in the same folder, its name
// shortened (keeping a hash of the whole name) where that would pass the host's 255 bytes per
// name, so that a file of any valid name can be written.
std::filesystem::path TemporaryPathFor(const std::filesystem::path& file);

// The device file system kept in a folder of the host: "\My Documents\X" is
// <root>/My Documents/X. Each part of a device path is matched against the existing host names
// ignoring case; a part that does not exist yet keeps the spelling it was given.
class HostFileSystem final : public DeviceFileSystem {
public:
    explicit HostFileSystem(std::filesystem::path root);

    const std::filesystem::path& Root() const { return m_root; }
    // The host path a device path maps to (resolving case as far as names exist).
    std::filesystem::path HostPath(std::u16string_view devicePath) const;

    // The absolute host path.
    std::u16string ShownPath(std::u16string_view path) const override;
    bool ReadFile(std::u16string_view path, size_t maxBytes, std::string& bytes,
                  Error* error = nullptr) override;
    bool WriteFile(std::u16string_view path, std::string_view bytes,
                   Error* error = nullptr) override;
    bool WriteFileFolderUnsynced(std::u16string_view path, std::string_view bytes,
                                 Error* error = nullptr) override;
    bool SyncFolder(std::u16string_view folder) override;
    bool FileExists(std::u16string_view path) override;
    bool FolderExists(std::u16string_view path) override;
    std::optional<uint64_t> FileSize(std::u16string_view path) override;
    std::optional<DateTime> ModificationTime(std::u16string_view path) override;
    bool CreateFolder(std::u16string_view path, Error* error = nullptr) override;
    bool DeleteFile(std::u16string_view path, Error* error = nullptr) override;
    bool MoveFile(std::u16string_view from, std::u16string_view to,
                  Error* error = nullptr) override;
    bool CopyFile(std::u16string_view from, std::u16string_view to,
                  Error* error = nullptr) override;
    bool ListFiles(std::u16string_view folder, std::u16string_view pattern,
                   std::vector<std::u16string>& names, size_t maxCount = SIZE_MAX,
                   bool* moreExist = nullptr, Error* error = nullptr) override;

private:
    std::filesystem::path m_root;
};

}  // namespace pondrel
