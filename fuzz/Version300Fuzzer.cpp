// Feeds arbitrary texts to the conversion of version 3.00 patient files: the bytes, taken as
// UTF-16 units, follow the "#V3.00#" mark. Run with inputs up to the size limit of a patient file
// (scripts/fuzz.sh gives this target -max_len=400000): a damaged or crafted file must convert in
// time proportional to its size, and whatever converts must read as a current file and come back
// unchanged through the writer.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "records/PatientFileLoader.h"
#include "records/PatientFileParser.h"
#include "records/PatientFileWriter.h"
#include "records/PatientRecord.h"
#include "records/Version300Conversion.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pondrel;
    std::u16string text = u"#V3.00#";
    for (size_t i = 0; i + 1 < size; i += 2) {
        text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    }
    std::u16string converted;
    DamageCode damage = DamageCode::None;
    if (!ConvertVersion300(text, converted, &damage)) {
        if (damage != DamageCode::NoIdentity && damage != DamageCode::NoBlock) std::abort();
        return 0;
    }
    if (!converted.starts_with(u"#V40#")) std::abort();
    PatientRecord record;
    if (!ParsePatientText(converted, record, true)) return 0;
    std::u16string once = ComposePatientText(record, SubfolderKeyOf(record));
    PatientRecord again;
    if (!ParsePatientText(once, again, false)) std::abort();
    if (ComposePatientText(again, SubfolderKeyOf(again)) != once) std::abort();
    return 0;
}
