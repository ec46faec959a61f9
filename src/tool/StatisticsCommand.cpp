// pondrel-tool statistics DEVICE --active|--archive [--out DIR]: the two statistics tables of a
// device's active or archive folder.

#include <cstdio>
#include <string>
#include <memory>
#include <system_error>

#include "documents/StatisticTables.h"
#include "platform/HostFileSystem.h"
#include "platform/Text.h"
#include "records/FolderFiles.h"
#include "records/WorkingFolders.h"
#include "tool/SummarySupport.h"
#include "tool/ToolCommand.h"

namespace pondrel::tool {
namespace {

int RunStatistics(const std::vector<std::string>& args);
const ToolCommand kStatistics{
    "statistics", "statistics DEVICE --active|--archive [--out DIR]",
    "writes \"Statistic table 1.xls\" and \"Statistic table 2.xls\" of a device folder (default: "
    "its print folder)",
    RunStatistics};

int RunStatistics(const std::vector<std::string>& args) {
    std::filesystem::path device;
    std::filesystem::path out;
    int source = -1;  // 0 active, 1 archive
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--active") {
            source = 0;
        } else if (args[i] == "--archive") {
            source = 1;
        } else if (args[i] == "--out" && i + 1 < args.size()) {
            out = args[++i];
        } else if (!args[i].empty() && args[i][0] != '-' && device.empty()) {
            device = args[i];
        } else {
            return UsageError(kStatistics);
        }
    }
    if (device.empty() || source < 0) return UsageError(kStatistics);
    std::error_code error;
    if (!std::filesystem::is_directory(device, error)) {
        return UsageError(kStatistics, "DEVICE must be a device folder");
    }
    HostFileSystem files(device);
    const SummarySettings settings = LoadSummarySettings(device, u"");
    StatisticOptions options;
    for (int k = 0; k < kFieldCount; ++k) {
        options.captions[static_cast<size_t>(k)] = settings.labels.Caption(k);
    }
    options.dayFirst = settings.preferences.regional.dateOrder == 1;

    const std::u16string_view folder =
        source == 0 ? WorkingFolders::kActivePatients : WorkingFolders::kArchives;
    std::vector<FolderEntry> entries;
    if (!ListFolder(files, folder, entries)) {
        std::fprintf(stderr, "pondrel-tool statistics: cannot list %s\n", ToUtf8(folder).c_str());
        return 1;
    }
    std::vector<std::u16string> names;
    for (const FolderEntry& entry : entries) names.push_back(entry.fileName);

    std::u16string outFolder(WorkingFolders::kPrintDoc);
    std::unique_ptr<HostFileSystem> outFiles;
    DeviceFileSystem* target = &files;
    if (!out.empty()) {
        std::filesystem::create_directories(out, error);
        outFiles = std::make_unique<HostFileSystem>(std::filesystem::absolute(out, error));
        outFolder = u"\\";
        target = outFiles.get();
    } else {
        files.CreateFolder(WorkingFolders::kPrintDoc);
    }
    StatisticResult result;
    const bool written =
        WriteStatisticTables(files, folder, names, *target, outFolder, options, result);
    for (const std::u16string& name : result.skipped) {
        std::fprintf(stderr, "skipped %s\n", ToUtf8(name).c_str());
    }
    if (!written) {
        std::fprintf(stderr,
                     "The statistic table can't be created because it's used by another "
                     "software.\n");
        return 1;
    }
    std::printf("rows=%d read=%d skipped=%zu\n", result.rows, result.read, result.skipped.size());
    return 0;
}

}  // namespace
}  // namespace pondrel::tool
