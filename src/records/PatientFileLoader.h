#pragma once

#include <string>
#include <string_view>

namespace pondrel {

class DeviceFileSystem;
struct PatientRecord;

enum class LoadFailure { None, CannotOpen, TooBig, Empty, NewerVersion, Damaged };

struct LoadResult {
    LoadFailure failure = LoadFailure::None;
    int damageCode = 0;      // 4..10 when damaged
    bool converted = false;  // the text was a version 3.00 text, converted in memory

    bool Ok() const { return failure == LoadFailure::None; }
};

// Reads the bytes of a patient file. A file larger than the reader's limit is refused as a whole
// (TooBig), never read in part.
LoadFailure ReadPatientBytes(DeviceFileSystem& files, std::u16string_view path, std::string& bytes);

// The version rules, the conversion of a version 3.00 text (in memory only) and the parsing,
// without location filter and without messages: the reading path of the tools. The program's
// reader (PatientFileReader) goes through the same steps with its dialogues around them.
LoadResult LoadPatientText(std::u16string_view text, PatientRecord& record);
// The same for the bytes of a file, read with one byte more than the limit (TooBig beyond it).
LoadResult LoadPatientBytes(std::string_view bytes, PatientRecord& record);
// Reads and loads a file; `fileName` is set to the last part of `path`.
LoadResult LoadPatientFile(DeviceFileSystem& files, std::u16string_view path,
                           PatientRecord& record);

// A short reason: "cannot open", "too big", "empty", "newer version", "damaged: N".
std::string LoadFailureReason(const LoadResult& result);

}  // namespace pondrel
