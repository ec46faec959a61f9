#include <cstdio>
#include <string>

#include "platform/HostFileSystem.h"
#include "platform/Text.h"
#include "records/ItemEncoding.h"
#include "tool/HostFiles.h"
#include "tool/ToolCommand.h"

namespace pondrel::tool {
namespace {

int RunDecode(const std::vector<std::string>& args);
const ToolCommand kDecode{"decode", "decode FILE",
                          "prints the text of a file in the item encoding, in UTF-8", RunDecode};

int RunDecode(const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError(kDecode);
    std::string bytes;
    if (!ReadHostFile(args[0], SIZE_MAX, bytes)) {
        std::fprintf(stderr, "cannot open\n");
        return 1;
    }
    std::string text = ToUtf8(DecodeItemText(bytes));
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}

}  // namespace
}  // namespace pondrel::tool
