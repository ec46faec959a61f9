#pragma once

// User names and passwords as both sides of the wire accept them: they travel inside frames
// ("#I!#host|name|password|", "#U!#name¢file", "<name> : chat") and are kept in the preferences
// file, so they never hold a character that separates the parts of either.

#include <string>
#include <string_view>

namespace pondrel {

inline constexpr size_t kMinUserNameChars = 4;
inline constexpr size_t kMaxUserNameChars = 32;
inline constexpr size_t kMaxPasswordChars = 6;

// True when `c` may not be part of a user name or a password: "|", "#", "/", "<", ">", "¢",
// "¦", "§", "¬" and the control characters.
bool IsReservedInName(char16_t c);
bool HasReservedInName(std::u16string_view text);
// True when `text` holds half of a surrogate pair without its other half (no character at all:
// stores and file systems replace it, so that two such names may become one).
bool HasUnpairedSurrogate(std::u16string_view text);
// 4 to 32 characters, none reserved, no blank at either end, no unpaired surrogate.
bool IsValidUserName(std::u16string_view name);
// 1 to 6 characters, none reserved.
bool IsValidPassword(std::u16string_view password);

// A patient file name as both sides accept it from the other: a bare name ending in ".pdr"
// (any case), no folder part, no separator of the file system or of frames, no unpaired
// surrogate, at most 200 characters.
bool IsPatientFileName(std::u16string_view name);
// The name without its ".pdr".
std::u16string_view WithoutExtension(std::u16string_view fileName);

}  // namespace pondrel
