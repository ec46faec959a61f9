#include <cstdio>
#include <string>

#include "layout/Arrangement.h"
#include "layout/ArrangementFormat.h"
#include "layout/ArrangementReader.h"
#include "platform/Text.h"
#include "records/ItemEncoding.h"
#include "tool/HostFiles.h"
#include "tool/ToolCommand.h"
#include "tool/ValueEscaping.h"

namespace pondrel::tool {
namespace {

int RunWnd(const std::vector<std::string>& args);
const ToolCommand kWnd{"wnd", "wnd FILE.wnd",
                       "prints what the form takes from a window arrangement, name=value", RunWnd};

int RunWnd(const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError(kWnd);
    std::string bytes;
    const size_t limit = arrangement_format::kReadLimitBytes;
    if (!ReadHostFile(args[0], limit + 1, bytes)) {
        std::fprintf(stderr, "pondrel-tool wnd: cannot open %s\n", args[0].c_str());
        return 1;
    }
    if (bytes.size() > limit) {
        std::fprintf(stderr, "pondrel-tool wnd: too big: more than %zu bytes\n", limit);
        return 1;
    }
    // What a file of an older version does not hold is listed as the form would keep it: the
    // factory layout of those fields.
    Arrangement arrangement;
    const ArrangementReadResult result =
        ArrangementReader::Read(DecodeItemText(bytes), arrangement);
    switch (result.status) {
        case ArrangementReadResult::Status::NewerVersion:
            std::fprintf(stderr, "pondrel-tool wnd: version \"%s\" is newer than this program\n",
                         ToUtf8(result.version).c_str());
            return 1;
        case ArrangementReadResult::Status::Damaged:
            std::fprintf(stderr, "pondrel-tool wnd: damaged: the file ends before its last item\n");
            return 1;
        case ArrangementReadResult::Status::Read:
            break;
    }
    for (const std::string& correction : result.corrections) {
        std::fprintf(stderr, "corrected: %s\n", correction.c_str());
    }
    PrintValueLine("version", result.version);
    ListArrangement(
        arrangement.fields, arrangement.pages,
        [](const std::string& name, std::u16string_view value) { PrintValueLine(name, value); });
    return 0;
}

}  // namespace
}  // namespace pondrel::tool
