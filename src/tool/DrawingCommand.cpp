#include <cstdio>
#include <string>

#include "platform/Text.h"
#include "records/DrawingText.h"
#include "records/PatientRecord.h"
#include "tool/PatientFileEdit.h"
#include "tool/ToolCommand.h"

namespace pondrel::tool {
namespace {

int RunDrawing(const std::vector<std::string>& args);
const ToolCommand kDrawing{"drawing", "drawing FILE.pdr J",
                           "prints the strokes of drawing J (1 to 8) as the program reads them",
                           RunDrawing};

int RunDrawing(const std::vector<std::string>& args) {
    if (args.size() != 2) return UsageError(kDrawing);
    const std::string& j = args[1];
    if (j.size() != 1 || j[0] < '1' || j[0] > '0' + kDrawingCount) {
        return UsageError(kDrawing, "J must be a drawing number from 1 to 8");
    }
    PatientRecord r;
    if (!LoadHostPatient(args[0], r)) return 1;
    const DrawingReading reading = ReadDrawing(r.Drawing(j[0] - '0'));
    std::printf("strokes=%zu\n", reading.strokes.size());
    for (const Stroke& s : reading.strokes) {
        std::printf("stroke=%d,%d,%d width=%d points=%zu first=%d,%d last=%d,%d\n", s.colour.red,
                    s.colour.green, s.colour.blue, s.widthCode, s.points.size(),
                    s.points.front().x, s.points.front().y, s.points.back().x,
                    s.points.back().y);
    }
    for (const std::string& note : reading.notes) {
        std::fprintf(stderr, "pondrel-tool drawing: %s\n", note.c_str());
    }
    return 0;
}

}  // namespace
}  // namespace pondrel::tool
