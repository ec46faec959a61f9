#include <cstdio>
#include <string>

#include "platform/HostFileSystem.h"
#include "platform/Text.h"
#include "records/ItemEncoding.h"
#include "tool/HostFiles.h"
#include "tool/ToolCommand.h"

namespace pondrel::tool {
namespace {

int RunEncode(const std::vector<std::string>& args);
const ToolCommand kEncode{"encode", "encode IN OUT",
                          "writes the UTF-8 text of IN into OUT in the item encoding", RunEncode};

int RunEncode(const std::vector<std::string>& args) {
    if (args.size() != 2) return UsageError(kEncode);
    std::string text;
    if (!ReadHostFile(args[0], SIZE_MAX, text)) {
        std::fprintf(stderr, "cannot open\n");
        return 1;
    }
    if (!WriteHostFile(args[1], EncodeItemText(FromUtf8(text)))) {
        std::fprintf(stderr, "cannot write\n");
        return 1;
    }
    return 0;
}

}  // namespace
}  // namespace pondrel::tool
