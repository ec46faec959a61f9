#pragma once

#include <string>
#include <string_view>

#include "records/PatientFileParser.h"

namespace pondrel {

// Converts the text of a version 3.00 patient file into the current layout. In version 3.00
// every subfolder block carries its own journal, as the first item of its "¬O" part, with days
// counted from the subfolder's admission day; drawings separate points with "-".
//
// The conversion merges these journals into one folder journal on absolute days (problems of the
// same title share one number), inserts it after the location item of the folder header, turns
// the "-" of every drawing into "¦", and moves each old journal behind the four option items of
// its block, so that the type, in-use, icon and checked items are read where the current layout
// has them while the old text stays in the file.
//
// Returns false with the damage (NoIdentity: no "¬I"; NoBlock: the folder header is incomplete)
// when the text does not have the shape the conversion needs; nothing should then be written.
bool ConvertVersion300(std::u16string_view text, std::u16string& converted, DamageCode* damage);

// The part of a problem title that identifies it across subfolders: the title without trailing
// "!", "(", ")" and spaces.
std::u16string ComparableTitle(std::u16string_view title);

}  // namespace pondrel
