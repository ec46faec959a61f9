#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "records/PatientFileParser.h"

namespace pondrel {

class DeviceFileSystem;
struct PatientRecord;

enum class LoadFailure {
    None,
    CannotOpen,
    TooBig,        // larger than the reader takes: refused whole, never read in part
    Empty,         // no text at all
    Stopped,       // a hook of the caller stopped the reading (it has told the user why)
    NewerVersion,  // written by a newer program
    Damaged,       // a mark is missing: see `damage`
};

struct LoadResult {
    LoadFailure failure = LoadFailure::None;
    DamageCode damage = DamageCode::None;
    bool converted = false;  // the text was a version 3.00 text, converted in memory

    bool Ok() const { return failure == LoadFailure::None; }
};

// What the program's reader adds to the reading of a patient file; the tools leave both empty.
struct PatientLoadHooks {
    // The decoded text, before it is converted or parsed (the location filter): false stops.
    std::function<bool(std::u16string_view text)> admit;
    // The text of a version 3.00 file, converted (to be written back): false stops.
    std::function<bool(const std::u16string& converted)> converted;
};

// The one reading routine of patient files, for the program's reader (PatientFileReader, with its
// hooks and messages around it) and the quiet loaders (the tool, the benchmarks, the fuzzer):
// the size limit, the decoding, the conversion of version 3.00 texts in memory, the version
// rule and the parsing. Nothing is shown and nothing is written here.
//
// Reads the bytes of a file, with one byte more than the limit so that a file at the limit is
// told from a longer one.
LoadFailure ReadPatientBytes(DeviceFileSystem& files, std::u16string_view path, std::string& bytes);
// Loads a decoded text into `record` (its rawText keeps the text, converted or not).
LoadResult LoadPatientText(std::u16string text, PatientRecord& record,
                           const PatientLoadHooks& hooks = {});
// The same for the bytes of a file (TooBig beyond the limit).
LoadResult LoadPatientBytes(std::string_view bytes, PatientRecord& record,
                            const PatientLoadHooks& hooks = {});
// Reads and loads a file; `fileName` is set to the last part of `path`.
LoadResult LoadPatientFile(DeviceFileSystem& files, std::u16string_view path, PatientRecord& record,
                           const PatientLoadHooks& hooks = {});

// A short reason: "cannot open", "too big", "empty", "newer version", "damaged: N".
std::string LoadFailureReason(const LoadResult& result);

}  // namespace pondrel
