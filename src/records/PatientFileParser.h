#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pondrel {

struct PatientRecord;

// The mark a damaged patient file lacks; the number is the one of "File load failure N".
enum class DamageCode {
    None = 0,
    NoIdentity = 4,      // "¬I"
    NoBlock = 5,         // any "¬H" (or, in a version 3.00 file, a complete folder header)
    NoCurrentBlock = 6,  // the "¬H" of the current subfolder's key
    NoForm = 7,          // "¬P"
    NoDrawings = 8,      // "¬L"
    NoOptions = 9,       // "¬O"
    NoOptionsEnd = 10,   // the end of the "¬O" part
};

// The number after "#V" at the start of a patient text (40 for "#V40#", 2 for "#V2.30#", 0 when
// there is none).
int PatientFileVersion(std::u16string_view text);
bool IsVersion300(std::u16string_view text);

// The patient's location as the location filter sees it: the text after the first
// "¢#Location|" up to the next "¢". None when the text has no such item after its start.
std::optional<std::u16string> FilterLocation(std::u16string_view text);

// Fills `record` from a text in the current layout. False, with the first missing mark in
// `damage`, when the text is damaged. The marks of the current block are looked for inside
// that block only, so a damaged block is never completed from the next one. `fromVersion300`
// turns the "-" of the drawings into "¦". `fileName` is left to the caller.
bool ParsePatientText(std::u16string_view text, PatientRecord& record, bool fromVersion300,
                      DamageCode* damage = nullptr);
// The same, keeping `text` itself as the record's `rawText` instead of a copy of it.
bool ParseAndKeepPatientText(std::u16string&& text, PatientRecord& record, bool fromVersion300,
                             DamageCode* damage = nullptr);

}  // namespace pondrel
