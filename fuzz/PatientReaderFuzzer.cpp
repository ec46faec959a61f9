// Feeds arbitrary bytes to the patient file reader. Beyond not crashing, whatever the reader
// accepts must come back unchanged through the writer: the text composed from the record reads
// back into a record that composes the same text.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "records/ItemEncoding.h"
#include "records/PatientFileFormat.h"
#include "records/PatientFileLoader.h"
#include "records/PatientFileParser.h"
#include "records/PatientFileWriter.h"
#include "records/PatientRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pondrel;
    if (size > kMaxPatientFileBytes) return 0;  // refused whole by the reader
    std::u16string text =
        DecodeItemText(std::string_view(reinterpret_cast<const char*>(data), size));
    (void)FilterLocation(text);

    PatientRecord record;
    LoadResult result = LoadPatientText(text, record);
    if (!result.Ok()) return 0;

    std::u16string once = ComposePatientText(record, SubfolderKeyOf(record));
    PatientRecord again;
    if (!ParsePatientText(once, again, false)) std::abort();
    std::u16string twice = ComposePatientText(again, SubfolderKeyOf(again));
    if (once != twice) std::abort();
    if (DecodeItemText(EncodeItemText(once)) != once) std::abort();
    return 0;
}
