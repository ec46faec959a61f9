// pondrel-tool demo DIR --patients N [--seed S] [--date YYYY-MM-DD] [--create]: fills the active
// patients folder of the device folder DIR with fictional patients written by the program's own
// writer. Existing files are never replaced.

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "demo/DemoPatients.h"
#include "platform/HostFileSystem.h"
#include "platform/Text.h"
#include "records/WorkingFolders.h"
#include "tool/JournalArguments.h"
#include "tool/ToolCommand.h"

namespace pondrel::tool {
namespace {

int RunDemo(const std::vector<std::string>& args);
const ToolCommand kDemo{
    "demo", "demo DIR --patients N [--seed S] [--date YYYY-MM-DD] [--create]",
    "writes N fictional patients into the active patients folder of the device folder DIR "
    "(the same patients for the same seed and date; existing files are left alone)",
    RunDemo};

template <typename T>
bool ParseNumber(const std::string& text, T& value) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && !text.empty();
}

bool ParseDate(const std::string& text, DateTime& date) {
    auto parsed = ParseDateArgument(text);
    if (!parsed) return false;
    date = *parsed;
    date.hour = 8;
    return date.year >= 1950;
}

int RunDemo(const std::vector<std::string>& args) {
    std::string dir;
    DemoOptions options;
    bool havePatients = false;
    bool create = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--patients" && hasValue) {
            if (!ParseNumber(args[++i], options.patients) || options.patients < 0 ||
                options.patients > kMaxDemoPatients) {
                std::fprintf(stderr, "--patients takes a number from 0 to %d\n", kMaxDemoPatients);
                return 2;
            }
            havePatients = true;
        } else if (arg == "--seed" && hasValue) {
            if (!ParseNumber(args[++i], options.seed)) {
                std::fprintf(stderr, "--seed takes a whole number\n");
                return 2;
            }
        } else if (arg == "--date" && hasValue) {
            if (!ParseDate(args[++i], options.today)) {
                std::fprintf(stderr, "--date takes a date YYYY-MM-DD from 1950 on\n");
                return 2;
            }
        } else if (arg == "--create") {
            create = true;
        } else if (!arg.empty() && arg[0] != '-' && dir.empty()) {
            dir = arg;
        } else {
            return UsageError(kDemo);
        }
    }
    if (dir.empty() || !havePatients) return UsageError(kDemo);

    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec)) {
        std::fprintf(stderr, "%s: no such folder\n", dir.c_str());
        return 1;
    }
    HostFileSystem files(dir);
    const std::u16string active(WorkingFolders::kActivePatients);
    if (!files.FolderExists(active)) {
        if (!create) {
            std::fprintf(stderr,
                         "%s has no active patients folder (My Documents/PD_ActivePatients).\n"
                         "Prepare the device folder with: pondrel-tool init-device %s\n"
                         "or let this command create the folder with --create.\n",
                         dir.c_str(), dir.c_str());
            return 1;
        }
        Error error;
        const std::u16string myDocuments(WorkingFolders::kMyDocuments);
        if ((!files.FolderExists(myDocuments) && !files.CreateFolder(myDocuments, &error)) ||
            !files.CreateFolder(active, &error)) {
            std::fprintf(stderr, "cannot create the active patients folder: %s\n",
                         error.message.c_str());
            return 1;
        }
    }

    DemoWriteResult result = WriteDemoPatients(files, active, options);
    for (const std::u16string& name : result.skipped) {
        std::fprintf(stderr, "skipped %s: a file of that name exists\n", ToUtf8(name).c_str());
    }
    for (const std::u16string& name : result.failed) {
        std::fprintf(stderr, "could not write %s\n", ToUtf8(name).c_str());
    }
    std::printf("%d patients written into %s\n", result.written,
                files.HostPath(active).string().c_str());
    return result.failed.empty() ? 0 : 1;
}

}  // namespace
}  // namespace pondrel::tool
