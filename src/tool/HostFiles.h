#pragma once

// Small helpers of the tool commands for files named by host paths.

#include <cstddef>
#include <filesystem>
#include <string>

#include "platform/UserMessages.h"

namespace pondrel::tool {

// The device path of a host file inside a HostFileSystem rooted at its parent folder.
std::u16string DeviceNameOf(const std::filesystem::path& file);
// The folder a host file lies in ("." for a bare name).
std::filesystem::path FolderOf(const std::filesystem::path& file);

// Reads a whole host file; false when it cannot be read.
bool ReadHostFile(const std::filesystem::path& file, std::string& bytes);
// Reads at most `maxBytes` of a host file; false when it cannot be read.
bool ReadHostFile(const std::filesystem::path& file, size_t maxBytes, std::string& bytes);
// Replaces a host file atomically (temporary file, flush, rename).
bool WriteHostFile(const std::filesystem::path& file, const std::string& bytes);

// Message boxes of the core printed on stderr (caption: text); every question answered No or
// Cancel, so a tool never replaces or deletes anything on a question.
class StderrMessages final : public UserMessages {
public:
    BoxAnswer ShowBox(const std::u16string& text, const std::u16string& caption, BoxButtons buttons,
                      BoxIcon icon) override;
    void ShowNotice(const std::u16string& text, int milliseconds, bool warning) override;
};

}  // namespace pondrel::tool
