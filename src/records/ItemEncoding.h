#pragma once

// The item text encoding shared by patient, preferences, rooms and window-layout files:
// 16-bit little-endian units, the mark 0xFEFF, every text unit increased by 0x80 (modulo
// 0x10000), then one closing unit 0x0000.

#include <string>
#include <string_view>

#include "records/ReservedCharacters.h"

namespace pondrel {

inline constexpr char16_t kItemShift = 0x80;

// The bytes of a file holding `text`: 2 × (text length + 2) bytes.
std::string EncodeItemText(std::u16string_view text);

// The text of a file's bytes: the units after the mark, each decreased by 0x80, without the
// closing unit when the last unit is 0x0000; an odd last byte is ignored. Whatever the first
// unit holds it is taken as the mark.
std::u16string DecodeItemText(std::string_view bytes);

}  // namespace pondrel
