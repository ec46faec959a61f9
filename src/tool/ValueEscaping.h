#pragma once

// Texts of the tool's "name=value" output lines and of its text arguments: one line each, in
// UTF-8, with "\" written "\\", CR written "\r" and LF written "\n".

#include <string>
#include <string_view>

namespace pondrel::tool {

std::string EscapedValue(std::u16string_view value);
// The reverse of EscapedValue. False (value unspecified) when `utf8` is not valid UTF-8 or holds
// a "\" that is not followed by "\", "r" or "n": a script's mistake is refused, never guessed.
bool UnescapeValue(std::string_view utf8, std::u16string& value);

// Prints "name=value" with the value escaped on stdout.
void PrintValueLine(std::string_view name, std::u16string_view value);

}  // namespace pondrel::tool
