#include <cstdio>
#include <string>

#include "platform/HostFileSystem.h"
#include "platform/Text.h"
#include "records/PatientRecord.h"
#include "tool/PatientFileEdit.h"
#include "tool/ToolCommand.h"

namespace pondrel::tool {
namespace {

int RunResave(const std::vector<std::string>& args);
const ToolCommand kResave{
    "resave", "resave FILE.pdr DIR",
    "reads a patient file and writes it into DIR as the program saves it (a file named after "
    "an older name of the patient in DIR is removed, as on a rename)",
    RunResave};

int RunResave(const std::vector<std::string>& args) {
    if (args.size() != 2) return UsageError(kResave);
    PatientRecord record;
    if (!LoadHostPatient(args[0], record)) return 1;
    // DIR is the active folder of the writer; there is no backup folder.
    HostFileSystem target(args[1]);
    if (!target.FolderExists(u"\\")) {
        std::fprintf(stderr, "cannot create\n");
        return 1;
    }
    if (!SaveWithProgramWriter(target, record)) return 1;
    std::printf("%s\n", ToUtf8(PatientFileName(record)).c_str());
    return 0;
}

}  // namespace
}  // namespace pondrel::tool
