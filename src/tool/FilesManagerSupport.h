#pragma once

// What the files manager's commands share: a host patient file opened as the dialogue opens
// it.

#include <filesystem>
#include <memory>
#include <string>

#include "platform/HostFileSystem.h"
#include "records/WorkingFolders.h"
#include "tool/HostFiles.h"

namespace pondrel::tool {

// The file system a host file is reached through: the device folder it lies in (with its
// installation, so that backup copies are found), or the root of the host.
struct HostPatientFiles {
    std::unique_ptr<HostFileSystem> files;
    WorkingFolders folders;
    bool onDevice = false;  // the file lies in a device's active or archive folder

    // The device path of `file` in `files`.
    std::u16string PathOf(const std::filesystem::path& file) const;
    // The backup copy of `file` on its device ("" when the file is not on a device).
    std::u16string BackupOf(const std::filesystem::path& file) const;
};

HostPatientFiles OpenHostPatientFiles(const std::filesystem::path& file);

}  // namespace pondrel::tool
