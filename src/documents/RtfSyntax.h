#pragma once

// The lexical pieces of RTF shared by the template engine and the reading of RTF for the
// previews: the letters of a control word, the digits of its number, the hexadecimal digits of
// an escaped byte ("\'e9").

namespace pondrel {

template <typename Char>
constexpr bool IsRtfLetter(Char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

template <typename Char>
constexpr bool IsRtfDigit(Char c) {
    return c >= '0' && c <= '9';
}

// The value of a hexadecimal digit, -1 for any other character.
template <typename Char>
constexpr int HexDigitValue(Char c) {
    if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a') + 10;
    if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A') + 10;
    return -1;
}

}  // namespace pondrel
