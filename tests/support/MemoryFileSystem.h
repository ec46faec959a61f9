#pragma once

#include <functional>
#include <map>

#include "platform/DeviceFileSystem.h"

namespace pondrel::test {

// An in-memory device file system. Names match ignoring case. Failures can be injected per
// operation and path, to test how the core reacts to a full disk or a locked file.
class MemoryFileSystem final : public DeviceFileSystem {
public:
    enum class Op { Read, Write, Delete, Move, CreateFolder, List };

    // Files and folders created with their parents.
    void AddFile(std::u16string_view path, std::string bytes, DateTime modified = {});
    void AddFolder(std::u16string_view path);
    // The stored bytes, or none.
    std::optional<std::string> Bytes(std::u16string_view path) const;
    // Makes every `op` on a path that contains `pathPart` (ignoring case) fail. An empty part
    // matches every path.
    void Fail(Op op, std::u16string_view pathPart);
    void ClearFailures() { m_failures.clear(); }
    size_t FileCount() const { return m_files.size(); }
    std::vector<std::u16string> AllFiles() const;  // full paths, as stored

    bool ReadFile(std::u16string_view path, size_t maxBytes, std::string& bytes,
                  Error* error = nullptr) override;
    bool WriteFile(std::u16string_view path, std::string_view bytes,
                   Error* error = nullptr) override;
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

    DateTime now;  // modification time given to files written from now on

private:
    struct Entry {
        std::u16string path;  // as first written
        std::string bytes;
        DateTime modified;
    };
    static std::u16string Key(std::u16string_view path);
    static std::u16string ParentKey(std::u16string_view key);
    bool Failing(Op op, std::u16string_view path) const;

    std::map<std::u16string, Entry> m_files;  // by folded key
    std::map<std::u16string, std::u16string> m_folders;
    std::vector<std::pair<Op, std::u16string>> m_failures;
};

}  // namespace pondrel::test
