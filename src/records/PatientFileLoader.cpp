#include "records/PatientFileLoader.h"

#include "platform/DeviceFileSystem.h"
#include "records/ItemEncoding.h"
#include "records/PatientFileFormat.h"
#include "records/PatientFileParser.h"
#include "records/PatientRecord.h"
#include "records/Version300Conversion.h"

namespace pondrel {

LoadFailure ReadPatientBytes(DeviceFileSystem& files, std::u16string_view path,
                             std::string& bytes) {
    // One byte more than the limit tells a file at the limit from a longer one.
    if (!files.ReadFile(path, kMaxPatientFileBytes + 1, bytes)) return LoadFailure::CannotOpen;
    if (bytes.size() > kMaxPatientFileBytes) {
        bytes.clear();
        return LoadFailure::TooBig;
    }
    return LoadFailure::None;
}

LoadResult LoadPatientText(std::u16string_view text, PatientRecord& record) {
    LoadResult result;
    if (text.empty()) {
        result.failure = LoadFailure::Empty;
        return result;
    }
    std::u16string converted;
    if (IsVersion300(text)) {
        if (!ConvertVersion300(text, converted, &result.damageCode)) {
            result.failure = LoadFailure::Damaged;
            return result;
        }
        text = converted;
        result.converted = true;
    }
    if (PatientFileVersion(text) > kNewestReadableVersion) {
        result.failure = LoadFailure::NewerVersion;
        return result;
    }
    result.damageCode = ParsePatientText(text, record, result.converted);
    if (result.damageCode != 0) result.failure = LoadFailure::Damaged;
    return result;
}

LoadResult LoadPatientBytes(std::string_view bytes, PatientRecord& record) {
    if (bytes.size() > kMaxPatientFileBytes) return LoadResult{LoadFailure::TooBig, 0, false};
    return LoadPatientText(DecodeItemText(bytes), record);
}

LoadResult LoadPatientFile(DeviceFileSystem& files, std::u16string_view path,
                           PatientRecord& record) {
    LoadResult result;
    std::string bytes;
    result.failure = ReadPatientBytes(files, path, bytes);
    if (!result.Ok()) return result;
    result = LoadPatientBytes(bytes, record);
    if (result.Ok()) {
        std::vector<std::u16string> parts = PathParts(path);
        record.fileName = parts.empty() ? std::u16string() : parts.back();
    }
    return result;
}

std::string LoadFailureReason(const LoadResult& result) {
    switch (result.failure) {
        case LoadFailure::None:
            return "";
        case LoadFailure::CannotOpen:
            return "cannot open";
        case LoadFailure::TooBig:
            return "too big";
        case LoadFailure::Empty:
            return "empty";
        case LoadFailure::NewerVersion:
            return "newer version";
        case LoadFailure::Damaged:
            return "damaged: " + std::to_string(result.damageCode);
    }
    return "";
}

}  // namespace pondrel
