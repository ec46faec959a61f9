#pragma once

// The characters the program's text formats reserve, and the cleaning of texts that are stored
// between them. Every file item ends with "¢" and "¬" + letter marks the blocks of the item files
// (patient, preferences, rooms, window layouts); the problem journal and the lists stored in
// those items use "#", "§", "|" and "¦". None of them may come from what the user types.

#include <string>
#include <string_view>

namespace pondrel {

inline constexpr char16_t kItemEnd = u'\u00A2';      // "¢" ends every item
inline constexpr char16_t kBlockMark = u'\u00AC';    // "¬" + letter marks a block
inline constexpr char16_t kHeaderSep = u'\u00A6';    // "¦" separates sub-fields of a header
inline constexpr char16_t kProblemMark = u'\u00A7';  // "§" opens a problem header or entry
inline constexpr char16_t kListSep = u'|';           // separates list entries and sections
inline constexpr char16_t kDayMark = u'#';           // opens a day block or a frame code

// True for "¢", "|", "¦", "§", "¬" and "#", refused from the keyboard on the main form.
constexpr bool IsReservedCharacter(char16_t c) {
    return c == kItemEnd || c == kBlockMark || c == kHeaderSep || c == kProblemMark ||
           c == kListSep || c == kDayMark;
}

// The text without any reserved character.
std::u16string WithoutReservedCharacters(std::u16string_view text);
// A value as a file item can hold it: without "¢" and "¬", which would cut the file at the
// wrong place when it is read again.
std::u16string StorableText(std::u16string_view text);
// A journal section as stored: without "#", "§", "|", "¢" and "¬" (a "¦" is harmless there).
std::u16string CleanSection(std::u16string_view text);
// A problem header sub-field as stored: without any reserved character, and without trailing
// blanks.
std::u16string CleanHeaderField(std::u16string_view text);

}  // namespace pondrel
