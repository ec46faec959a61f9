#pragma once

// The characters the program's text formats reserve: "¢" ends every file item, "¬" + letter
// marks the blocks of the item files, and the problem journal and the lists stored in items use
// "#", "§", "|" and "¦". None of them may come from what the user types or inserts.

#include <string>
#include <string_view>

#include "records/ItemEncoding.h"

namespace pondrel {

// True for "¢", "|", "¦", "§", "¬" and "#", refused from the keyboard on the main form.
constexpr bool IsReservedCharacter(char16_t c) {
    return c == kItemEnd || c == kBlockMark || c == kHeaderSep || c == kProblemMark || c == u'|' ||
           c == u'#';
}

// The text without any reserved character.
std::u16string WithoutReservedCharacters(std::u16string_view text);

}  // namespace pondrel
