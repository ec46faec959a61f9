#include "tool/PrefsSupport.h"

#include <cstdio>
#include <filesystem>

#include "platform/HostFileSystem.h"
#include "platform/Text.h"
#include "settings/PreferencesFile.h"
#include "tool/HostFiles.h"

namespace pondrel::tool {

namespace {

// A host file system rooted at the file's folder, and the file's device path in it (empty when
// the name can not be one).
struct HostFile {
    explicit HostFile(const std::string& path)
        : files(std::filesystem::absolute(std::filesystem::path(path)).parent_path()),
          devicePath(DeviceNameOf(path).value_or(u"")) {}
    HostFileSystem files;
    std::u16string devicePath;
};

}  // namespace

std::optional<ReadPreferences> ReadHostPreferences(const std::string& path) {
    HostFile host(path);
    if (host.devicePath.empty()) return std::nullopt;
    ReadPreferences read;
    Error error;
    auto result = ReadPreferencesFile(host.files, host.devicePath, read.preferences, &error);
    if (!result) {
        std::fprintf(stderr, "pondrel-tool: %s\n", error.message.c_str());
        return std::nullopt;
    }
    read.result = *result;
    if (result->status == PreferencesReadResult::Status::NewerVersion) {
        std::fprintf(stderr, "pondrel-tool: %s: version \"%s\" is newer than this program\n",
                     path.c_str(), ToUtf8(result->versionMark).c_str());
        return std::nullopt;
    }
    if (result->status == PreferencesReadResult::Status::SectionMissing) {
        std::fprintf(stderr, "pondrel-tool: %s: %s\n", path.c_str(),
                     ToUtf8(MissingSectionMessage(result->missingSection).text).c_str());
    }
    return read;
}

bool WriteHostPreferences(const std::string& path, const Preferences& preferences) {
    HostFile host(path);
    if (host.devicePath.empty()) return false;
    Error error;
    if (!WritePreferencesFile(host.files, host.devicePath, preferences, &error)) {
        std::fprintf(stderr, "pondrel-tool: %s: %s\n", path.c_str(), error.message.c_str());
        return false;
    }
    return true;
}

}  // namespace pondrel::tool
