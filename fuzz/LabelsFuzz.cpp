// Any bytes given as "Labels.txt": the reader must not crash, and a file the program rewrites
// (converted or completed) must read back to the same values without asking for another rewrite.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "labels/LabelsFile.h"
#include "labels/LabelsWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pondrel;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    LabelsInterpretation first = InterpretLabelsBytes(bytes);
    if (!first.newText) return 0;
    LabelsInterpretation again = InterpretLabelsBytes(EncodeLabelsText(*first.newText));
    if (again.newText || again.layout != LabelsLayout::Current ||
        !(again.read.labels == first.read.labels)) {
        std::abort();
    }
    return 0;
}
