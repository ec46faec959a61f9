#pragma once

#include <string>

namespace pondrel {

// The fixed name of record field 0..229: the caption a field shows when the labels file gives
// it none, and the default name shown by the label editor. Empty for field 0 and for numbers
// outside 0..229. Names repeat (two "Pulse" fields, three "Auscultation" fields); the number,
// not the name, identifies a field.
std::u16string DefaultFieldName(int field);

}  // namespace pondrel
