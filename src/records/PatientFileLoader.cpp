#include "records/PatientFileLoader.h"

#include "platform/DeviceFileSystem.h"
#include "records/ItemEncoding.h"
#include "records/PatientFileFormat.h"
#include "records/PatientRecord.h"
#include "records/Version300Conversion.h"

namespace pondrel {

LoadFailure ReadPatientBytes(DeviceFileSystem& files, std::u16string_view path,
                             std::string& bytes) {
    if (!files.ReadFile(path, kMaxPatientFileBytes + 1, bytes)) return LoadFailure::CannotOpen;
    return LoadFailure::None;
}

LoadResult LoadPatientText(std::u16string text, PatientRecord& record,
                           const PatientLoadHooks& hooks) {
    LoadResult result;
    auto fail = [&result](LoadFailure failure) {
        result.failure = failure;
        return result;
    };
    if (text.empty()) return fail(LoadFailure::Empty);
    if (hooks.admit && !hooks.admit(text)) return fail(LoadFailure::Stopped);
    if (IsVersion300(text)) {
        std::u16string converted;
        if (!ConvertVersion300(text, converted, &result.damage)) {
            return fail(LoadFailure::Damaged);
        }
        if (hooks.converted && !hooks.converted(converted)) return fail(LoadFailure::Stopped);
        text = std::move(converted);
        result.converted = true;
    }
    if (PatientFileVersion(text) > kNewestReadableVersion) return fail(LoadFailure::NewerVersion);
    if (!ParseAndKeepPatientText(std::move(text), record, result.converted, &result.damage)) {
        return fail(LoadFailure::Damaged);
    }
    return result;
}

LoadResult LoadPatientBytes(std::string_view bytes, PatientRecord& record,
                            const PatientLoadHooks& hooks) {
    // A file beyond the limit is refused whole: read in part and saved back later, it would
    // lose its end.
    if (bytes.size() > kMaxPatientFileBytes) return LoadResult{LoadFailure::TooBig};
    return LoadPatientText(DecodeItemText(bytes), record, hooks);
}

LoadResult LoadPatientFile(DeviceFileSystem& files, std::u16string_view path, PatientRecord& record,
                           const PatientLoadHooks& hooks) {
    std::string bytes;
    if (ReadPatientBytes(files, path, bytes) != LoadFailure::None) {
        return LoadResult{LoadFailure::CannotOpen};
    }
    LoadResult result = LoadPatientBytes(bytes, record, hooks);
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
        case LoadFailure::Stopped:
            return "not loaded";
        case LoadFailure::NewerVersion:
            return "newer version";
        case LoadFailure::Damaged:
            return "damaged: " + std::to_string(static_cast<int>(result.damage));
    }
    return "";
}

}  // namespace pondrel
