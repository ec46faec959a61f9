// pondrel-tool merge ACTIVE.pdr ARCHIVED.pdr: merges an active patient file into an archived one
// as the files manager does.

#include <cstdio>
#include <string>
#include <system_error>

#include "platform/Text.h"
#include "records/FilesManager.h"
#include "tool/FilesManagerSupport.h"
#include "tool/ToolCommand.h"

namespace pondrel::tool {
namespace {

int RunMerge(const std::vector<std::string>& args);
const ToolCommand kMerge{
    "merge", "merge ACTIVE.pdr ARCHIVED.pdr",
    "merges an active patient file into an archived one (writes the archived file, removes the "
    "active one and its backup copy)",
    RunMerge};

int RunMerge(const std::vector<std::string>& args) {
    if (args.size() != 2) return UsageError(kMerge);
    std::error_code error;
    HostPatientFiles host = OpenHostPatientFiles(args[0]);
    // Both files are reached through one file system: the device's when both lie on it.
    const std::filesystem::path root = host.files->Root();
    const std::filesystem::path archived = std::filesystem::absolute(args[1], error);
    if (host.onDevice && archived.lexically_relative(root).native().rfind("..", 0) == 0) {
        host = HostPatientFiles{std::make_unique<HostFileSystem>(std::filesystem::path("/")), {},
                                false};
    }
    StderrMessages messages;
    FilesManager manager(*host.files, messages, host.folders);
    std::u16string summary;
    if (!manager.MergeFiles(host.PathOf(args[0]), host.PathOf(args[1]), host.BackupOf(args[0]),
                            &summary)) {
        return 1;
    }
    std::printf("%s\n", ToUtf8(summary).c_str());
    return 0;
}

}  // namespace
}  // namespace pondrel::tool
