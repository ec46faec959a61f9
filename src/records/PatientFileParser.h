#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pondrel {

struct PatientRecord;

// The number after "#V" at the start of a patient text (40 for "#V40#", 2 for "#V2.30#", 0 when
// there is none).
int PatientFileVersion(std::u16string_view text);
bool IsVersion300(std::u16string_view text);

// The patient's location as the location filter sees it: the text after the first
// "¢#Location|" up to the next "¢". None when the text has no such item after its start.
std::optional<std::u16string> FilterLocation(std::u16string_view text);

// Fills `record` from a text in the current layout. Returns 0 on success, otherwise the code of
// the first missing mark: 4 "¬I", 5 any "¬H", 6 the current block's "¬H" item, 7 "¬P", 8 "¬L",
// 9 "¬O", 10 the end of the "¬O" part. The marks of the current block are looked for inside
// that block only, so a damaged block is never completed from the next one. `fromVersion300`
// turns the "-" of the drawings into "¦". `fileName` is left to the caller.
int ParsePatientText(std::u16string_view text, PatientRecord& record, bool fromVersion300);
// The same, keeping `text` itself as the record's `rawText` instead of a copy of it.
int ParseAndKeepPatientText(std::u16string&& text, PatientRecord& record, bool fromVersion300);

}  // namespace pondrel
