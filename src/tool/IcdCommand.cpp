// pondrel-tool icd TABLE WORD...: the rows the ICD-10 search dialogue shows for the key words,
// one CODE<TAB>WORDING line each, then found=N.

#include <cstdio>
#include <optional>
#include <string>

#include "labels/CodeTable.h"
#include "platform/HostFileSystem.h"
#include "platform/Text.h"
#include "tool/HostFiles.h"
#include "tool/ToolCommand.h"

namespace pondrel::tool {

namespace {

int RunIcd(const std::vector<std::string>& args);

const ToolCommand kIcd{"icd", "icd TABLE WORD...",
                       "searches a diagnosis code table by key words as the ICD-10 dialogue does",
                       RunIcd};

int RunIcd(const std::vector<std::string>& args) {
    if (args.size() < 2) return UsageError(kIcd);
    std::filesystem::path file = args[0];
    std::optional<std::u16string> name = DeviceNameOf(file);
    if (!name) return 1;
    HostFileSystem files(FolderOf(file));
    StderrMessages messages;
    std::u16string path = *name;
    CodeTable table;
    if (!LoadCodeTable(files, messages, path, table)) {
        std::fprintf(stderr, "pondrel-tool icd: no table loaded from %s\n", args[0].c_str());
        return 1;
    }
    std::string words;
    for (size_t i = 1; i < args.size(); ++i) words += (i > 1 ? " " : "") + args[i];
    CodeSearchResult result = SearchCodeTable(table, FromUtf8(words));
    if (result.noWords) {
        std::fprintf(stderr, "pondrel-tool icd: %s\n", ToUtf8(CodeSearchMessage(result)).c_str());
        return 1;
    }
    for (const CodeRow& row : result.rows) {
        std::printf("%s\t%s\n", ToUtf8(row.code).c_str(), ToUtf8(row.wording).c_str());
    }
    std::printf("found=%zu\n", result.found);
    return 0;
}

}  // namespace

}  // namespace pondrel::tool
