#pragma once

// Small helpers of the tool commands for files named by host paths.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/HostFileSystem.h"
#include "platform/UserMessages.h"

namespace pondrel::tool {

// Host files are read and written with ReadHostFile and WriteHostFile of the platform, which take
// the host path as it is.

// The device path of a host file inside a HostFileSystem rooted at its parent folder; none when
// its name holds "\", which a device path would take for a folder (the reason is on stderr).
std::optional<std::u16string> DeviceNameOf(const std::filesystem::path& file);
// The folder a host file lies in ("." for a bare name).
std::filesystem::path FolderOf(const std::filesystem::path& file);

// The factory installation folder: the one installed beside the tool
// (<prefix>/bin/pondrel-tool and <prefix>/share/pondrel/factory) when it holds a labels file,
// else `built` (the folder the build staged).
std::filesystem::path FactoryFolder(const std::filesystem::path& built);

// Message boxes of the core printed on stderr (caption: text); every question answered No or
// Cancel, so a tool never replaces or deletes anything on a question.
class StderrMessages final : public UserMessages {
public:
    BoxAnswer ShowBox(const std::u16string& text, const std::u16string& caption, BoxButtons buttons,
                      BoxIcon icon) override;
    void ShowNotice(const std::u16string& text, int milliseconds, bool warning) override;
};

}  // namespace pondrel::tool
