// pondrel-tool quick-load DEVICE WORD...: the rows the quick load dialogue shows for the words
// typed, then files=SHOWN/TOTAL. Nothing is moved.

#include <cstdio>
#include <string>

#include "labels/QuickLoad.h"
#include "platform/Error.h"
#include "platform/HostFileSystem.h"
#include "platform/Text.h"
#include "tool/ToolCommand.h"

namespace pondrel::tool {

namespace {

int RunQuickLoad(const std::vector<std::string>& args);

const ToolCommand kQuickLoad{"quick-load", "quick-load DEVICE [WORD...]",
                             "lists the archived patients quick load shows for the words typed",
                             RunQuickLoad};

int RunQuickLoad(const std::vector<std::string>& args) {
    if (args.empty()) return UsageError(kQuickLoad);
    HostFileSystem files(args[0]);
    ArchiveNames names;
    Error error;
    if (!ReadArchiveNames(files, names, &error)) {
        std::fprintf(stderr, "pondrel-tool quick-load: the archive folder cannot be read: %s\n",
                     error.message.c_str());
        return 1;
    }
    std::string words;
    for (size_t i = 1; i < args.size(); ++i) words += (i > 1 ? " " : "") + args[i];
    QuickLoadResult result = SearchArchive(names, FromUtf8(words));
    if (result.nothing) std::printf("- Nothing -\n");
    for (const std::u16string& row : result.rows) std::printf("%s\n", ToUtf8(row).c_str());
    std::u16string full = result.FullLine();
    if (!full.empty()) std::printf("%s\n", ToUtf8(full).c_str());
    std::printf("files=%zu/%zu\n", result.rows.size(), names.Total());
    return 0;
}

}  // namespace

}  // namespace pondrel::tool
