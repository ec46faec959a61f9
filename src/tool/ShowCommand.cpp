#include <cstdio>
#include <string>

#include "platform/Text.h"
#include "records/DayNumber.h"
#include "records/PatientRecord.h"
#include "tool/PatientFileEdit.h"
#include "tool/ToolCommand.h"
#include "tool/ValueEscaping.h"

namespace pondrel::tool {
namespace {

int RunShow(const std::vector<std::string>& args);
const ToolCommand kShow{"show", "show FILE.pdr",
                        "prints a patient record as name=value lines (nothing is written)",
                        RunShow};

void Line(const std::string& name, std::u16string_view value) {
    PrintValueLine(name, value);
}

int RunShow(const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError(kShow);
    PatientRecord r;
    if (!LoadHostPatient(args[0], r)) return 1;
    Line("sex", ToText(r.sex));
    Line("icon", ToText(r.icon));
    Line("inUse", ToText(r.inUse));
    Line("exitDateSet", ToText(r.exitDateSet));
    Line("checked", ToText(r.checked));
    Line("admissionDay", ToText(r.admissionDay));
    Line("historyStartDay", ToText(r.historyStartDay));
    Line("admission", SubfolderDateTimeText(r.admission));
    Line("exit", SubfolderDateTimeText(r.exit));
    Line("subfolderKey", r.subfolderKey);
    Line("lockState", r.lockState);
    Line("location", r.location);
    Line("subfolderType", r.subfolderType);
    Line("fileName", r.fileName);
    for (int n = 0; n < kFieldCount; ++n) {
        if (!r.Field(n).empty()) Line("field." + std::to_string(n), r.Field(n));
    }
    for (int j = 1; j <= kDrawingCount; ++j) {
        if (!r.Drawing(j).empty()) Line("drawing." + std::to_string(j), r.Drawing(j));
    }
    if (!r.problemJournal.empty()) Line("journal", r.problemJournal);
    return 0;
}

}  // namespace
}  // namespace pondrel::tool
