#include <cstdio>
#include <filesystem>
#include <string>

#include "layout/ArrangementFormat.h"
#include "layout/ArrangementWriter.h"
#include "layout/FactoryArrangement.h"
#include "platform/Text.h"
#include "tool/HostFiles.h"
#include "tool/ToolCommand.h"

namespace pondrel::tool {
namespace {

int RunWndFactory(const std::vector<std::string>& args);
const ToolCommand kWndFactory{
    "wnd-factory", "wnd-factory DIR",
    "writes the factory arrangement as \"Initial position.wnd\" and \"Default position.wnd\"",
    RunWndFactory};

int RunWndFactory(const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError(kWndFactory);
    const std::filesystem::path folder(args[0]);
    if (!std::filesystem::is_directory(folder)) {
        std::fprintf(stderr, "pondrel-tool wnd-factory: no such folder %s\n", args[0].c_str());
        return 1;
    }
    const std::string bytes = ArrangementWriter::Encode(FactoryArrangement());
    for (std::u16string_view name :
         {arrangement_format::kInitialFileName, arrangement_format::kDefaultFileName}) {
        const std::filesystem::path file = folder / ToUtf8(name);
        if (!WriteHostFile(file, bytes)) {
            std::fprintf(stderr, "pondrel-tool wnd-factory: cannot write %s\n",
                         file.string().c_str());
            return 1;
        }
        std::printf("%s\n", file.string().c_str());
    }
    return 0;
}

}  // namespace
}  // namespace pondrel::tool
