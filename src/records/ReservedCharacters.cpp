#include "records/ReservedCharacters.h"

namespace pondrel {

namespace {

template <typename Removed>
std::u16string Without(std::u16string_view text, Removed removed) {
    std::u16string out;
    out.reserve(text.size());
    // Runs between removed characters are copied whole.
    size_t from = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (removed(text[i])) {
            out.append(text.substr(from, i - from));
            from = i + 1;
        }
    }
    out.append(text.substr(from));
    return out;
}

}  // namespace

std::u16string WithoutReservedCharacters(std::u16string_view text) {
    return Without(text, IsReservedCharacter);
}

std::u16string StorableText(std::u16string_view text) {
    return Without(text, [](char16_t c) { return c == kItemEnd || c == kBlockMark; });
}

std::u16string CleanSection(std::u16string_view text) {
    return Without(text, [](char16_t c) { return IsReservedCharacter(c) && c != kHeaderSep; });
}

std::u16string CleanHeaderField(std::u16string_view text) {
    std::u16string out = WithoutReservedCharacters(text);
    while (!out.empty() && (out.back() == u' ' || out.back() == u'\t')) out.pop_back();
    return out;
}

}  // namespace pondrel
