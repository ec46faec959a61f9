#include "records/ReservedCharacters.h"

namespace pondrel {

std::u16string WithoutReservedCharacters(std::u16string_view text) {
    std::u16string kept;
    kept.reserve(text.size());
    for (char16_t c : text) {
        if (!IsReservedCharacter(c)) kept += c;
    }
    return kept;
}

}  // namespace pondrel
