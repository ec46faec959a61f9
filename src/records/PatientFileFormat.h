#pragma once

// Layout information shared by the patient file writer, reader and version conversion.

#include <cstddef>
#include <string_view>

namespace pondrel {

inline constexpr std::u16string_view kVersion40Mark = u"#V40#";
inline constexpr std::u16string_view kVersion300Mark = u"#V3.00#";
// Versions above this one were written by a newer program and are refused.
inline constexpr int kNewestReadableVersion = 40;

inline constexpr std::u16string_view kIdentityMark = u"\u00ACI";  // "¬I"
inline constexpr std::u16string_view kBlockMarkH = u"\u00ACH";    // subfolder block start
inline constexpr std::u16string_view kFormMark = u"\u00ACP";
inline constexpr std::u16string_view kDrawingMark = u"\u00ACL";
inline constexpr std::u16string_view kOptionsMark = u"\u00ACO";
inline constexpr std::u16string_view kBlockEndMark = u"\u00ACE";
inline constexpr std::u16string_view kLocationPrefix = u"#Location|";
inline constexpr std::u16string_view kLocationItem = u"\u00A2#Location|";  // "¢#Location|"

inline constexpr int kFirstIdentityField = 120;
inline constexpr int kIdentityFieldCount = 20;  // fields 120..139
inline constexpr int kStoredFormFields = 195;   // "¬P" items

// Bytes of a patient file the reader accepts; a larger file is refused, never read in part.
inline constexpr size_t kMaxPatientFileBytes = 400000;
// Whether the file of a text of this many characters (the byte-order mark, the characters and
// the closing zero, two bytes each) is small enough for the reader to accept.
constexpr bool FitsPatientFileLimit(size_t textLength) {
    return 2 * (textLength + 2) <= kMaxPatientFileBytes;
}
// A text of this many characters or more is written with a warning that it is too big.
inline constexpr size_t kTooBigTextLength = 195001;

// Whether field n is written among the form fields of "¬P": fields 1..229 except 2..6 (copies
// of the identity), 86..93 (working copies of the journal) and 120..140 (identity, "Send").
constexpr bool IsStoredFormField(int n) {
    return n >= 1 && n <= 229 && !(n >= 2 && n <= 6) && !(n >= 86 && n <= 93) &&
           !(n >= 120 && n <= 140);
}

}  // namespace pondrel
