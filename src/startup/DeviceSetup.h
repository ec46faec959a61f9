#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/Error.h"

namespace pondrel {

// Prepares a device folder of the host for the program: the factory installation copied into
// "\Program files\Pondrel" (found there by the program without any registry value), the working
// folders, and a registry.txt naming the installation folder.
struct DeviceSetup {
    static constexpr std::u16string_view kInstallation = u"\\Program files\\Pondrel";
    static constexpr const char* kRegistryFile = "registry.txt";
    // Not installed: the folder's README and "src", the readable sources some factory files are
    // built from (the labels file, for one).
    static constexpr const char* kResourcesReadme = "README.md";
    static constexpr const char* kResourcesSources = "src";

    // Host folder holding the factory installation (Labels.txt, pictures, templates...).
    std::filesystem::path resources;
    // Host folder that becomes the device's root folder.
    std::filesystem::path device;
    // Allows a device folder that is not empty. Even then nothing already there is replaced or
    // deleted: factory files that are missing are added, the rest is left as it is.
    bool force = false;

    // Device paths of the files written and folders created, in order.
    std::vector<std::u16string> written;
    // Device paths of factory files left as they were because the device already had them.
    std::vector<std::u16string> kept;

    bool Run(Error* error = nullptr);
};

}  // namespace pondrel
