#include "tool/FilesManagerSupport.h"

#include <system_error>

#include "platform/FileRegistry.h"
#include "platform/Text.h"
#include "startup/DeviceSetup.h"
#include "startup/InstallationFinder.h"
#include "tool/SummarySupport.h"

namespace pondrel::tool {

namespace {

std::u16string DevicePathUnder(const std::filesystem::path& root,
                               const std::filesystem::path& file) {
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(file, error);
    std::filesystem::path relative = absolute.lexically_relative(root);
    std::u16string path;
    for (const auto& part : relative) path += u"\\" + FromUtf8(part.string());
    return path;
}

}  // namespace

HostPatientFiles OpenHostPatientFiles(const std::filesystem::path& file) {
    HostPatientFiles out;
    std::filesystem::path device = DeviceOf(file);
    std::error_code error;
    if (!device.empty() && !std::filesystem::is_directory(file, error)) {
        out.files = std::make_unique<HostFileSystem>(std::filesystem::absolute(device, error));
        out.onDevice = true;
        FileRegistry registry(device / DeviceSetup::kRegistryFile);
        if (auto installation = InstallationFinder(*out.files, registry).Find()) {
            out.folders.installation = *installation;
        }
        return out;
    }
    out.files = std::make_unique<HostFileSystem>(std::filesystem::path("/"));
    return out;
}

std::u16string HostPatientFiles::PathOf(const std::filesystem::path& file) const {
    return DevicePathUnder(files->Root(), file);
}

std::u16string HostPatientFiles::BackupOf(const std::filesystem::path& file) const {
    if (!onDevice) return {};
    return JoinPath(folders.Backup(), FromUtf8(file.filename().string()));
}

}  // namespace pondrel::tool
