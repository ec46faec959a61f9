// Any text as a drawing: the reader must not crash or keep a value out of range, and what it
// kept, written again, must read back to the same strokes without a note. The same text as a
// named vectorial picture: its copy into a drawing stays within the budget and reads back clean.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "layout/VectorPictures.h"
#include "records/DrawingText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pondrel;
    std::u16string text;
    text.reserve(size / 2);
    for (size_t i = 0; i + 1 < size; i += 2) {
        text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    }
    const DrawingReading first = ReadDrawing(text);
    if (first.notes.size() > DrawingReading::kMaxReadingNotes + 1) std::abort();
    for (const Stroke& s : first.strokes) {
        if (s.points.empty() || s.widthCode < 0 || s.widthCode > 2) std::abort();
        for (int c : {s.colour.red, s.colour.green, s.colour.blue}) {
            if (c < 0 || c > 255) std::abort();
        }
        for (const DrawingPoint& p : s.points) {
            if (p.x < 0 || p.y < 0 || p.x > kMaxDrawingCoordinate || p.y > kMaxDrawingCoordinate) {
                std::abort();
            }
        }
    }
    const DrawingReading again = ReadDrawing(DrawingTextOf(first.strokes));
    if (!(again.strokes == first.strokes) || !again.notes.empty()) std::abort();
    const PictureCopy copy = PictureForDrawing(text);
    if (copy.drawing.size() > kDrawingBudget) std::abort();
    const DrawingReading copied = ReadDrawing(copy.drawing);
    if (!copied.notes.empty() || copied.strokes.size() + copy.strokesCut != first.strokes.size()) {
        std::abort();
    }
    return 0;
}
