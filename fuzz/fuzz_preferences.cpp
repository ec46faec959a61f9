// Any bytes read as a preferences file: the reader must not crash, and what it took must write
// and read back to the same text.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "records/ItemEncoding.h"
#include "settings/Preferences.h"
#include "settings/PreferencesReader.h"
#include "settings/PreferencesWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pondrel;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Preferences first;
    PreferencesReadResult result = PreferencesReader::Read(DecodeItemText(bytes), first);
    if (result.status == PreferencesReadResult::Status::NewerVersion) return 0;
    std::u16string written = PreferencesWriter::Compose(first);
    Preferences second;
    PreferencesReader::Read(written, second);
    if (PreferencesWriter::Compose(second) != written) std::abort();
    return 0;
}
