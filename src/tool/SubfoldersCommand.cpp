// pondrel-tool subfolders FILE.pdr: the stays of a patient file as the files manager lists them.

#include <cstdio>
#include <string>

#include "platform/Text.h"
#include "records/FilesManager.h"
#include "tool/FilesManagerSupport.h"
#include "tool/ToolCommand.h"
#include "tool/ValueEscaping.h"

namespace pondrel::tool {
namespace {

int RunSubfolders(const std::vector<std::string>& args);
const ToolCommand kSubfolders{
    "subfolders", "subfolders FILE.pdr",
    "prints the stays of a patient file as the files manager lists them (nothing is written)",
    RunSubfolders};

int RunSubfolders(const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError(kSubfolders);
    HostPatientFiles host = OpenHostPatientFiles(args[0]);
    StderrMessages messages;
    FilesManager manager(*host.files, messages, host.folders);
    std::u16string text;
    FileAsRead read;
    if (!manager.ReadText(host.PathOf(args[0]), text, read)) return 1;
    const std::vector<Stay> stays = ListStays(text);
    int current = -1;
    std::u16string titles;
    for (size_t i = 0; i < stays.size(); ++i) {
        PrintValueLine("stay", StayLine(stays[i]));
        if (stays[i].current && current < 0) {
            current = static_cast<int>(i);
            titles = stays[i].titles;
        }
    }
    if (!titles.empty() && titles.back() == u'|') titles.pop_back();
    PrintValueLine("current", ToText(current));
    PrintValueLine("titles", titles);
    return 0;
}

}  // namespace
}  // namespace pondrel::tool
