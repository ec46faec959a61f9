#pragma once

// Layout of "Labels.txt", shared by its reader, converter and writer. The file is UTF-16
// little-endian text with a byte-order mark: a version header, 230 field records
// (number "##" caption "##" shortcut list "||"), then the labels, plain-text and date sections,
// each a marker followed by items ended by "|". docs/labels-file.md describes it in full.

#include <cstddef>
#include <string_view>

namespace pondrel {

inline constexpr int kLabelsFieldCount = 230;
inline constexpr int kSectionCaptionCount = 30;
inline constexpr int kUiLabelCount = 250;
inline constexpr int kWeekdayCount = 7;
inline constexpr int kMonthCount = 12;
inline constexpr int kAgeWordCount = 4;
inline constexpr int kShortMonthCount = 12;
// Weekdays, months, age words, short months, in that order.
inline constexpr int kDateItemCount =
    kWeekdayCount + kMonthCount + kAgeWordCount + kShortMonthCount;

inline constexpr std::u16string_view kLabelsCurrentHeader = u"40";
inline constexpr int kLabelsCurrentVersion = 40;

inline constexpr std::u16string_view kRecordMark = u"##";
inline constexpr std::u16string_view kListEnd = u"||";
inline constexpr std::u16string_view kEmptyShortcutList = u"||";
inline constexpr std::u16string_view kRecordSeparator = u"\r\n\r\n";
inline constexpr char16_t kItemEndMark = u'|';
inline constexpr char16_t kSectionMark = u'#';

inline constexpr std::u16string_view kLabelsMarker = u"#Labels#|";
inline constexpr std::u16string_view kPlainTextMarker = u"#Plain text#|";
inline constexpr std::u16string_view kDateMarker = u"#Date#|";

inline constexpr char16_t kByteOrderMark = 0xFEFF;
// The reader takes at most this many bytes; more than kLabelsTooBigUnits 16-bit units is
// reported to the user as too big.
inline constexpr size_t kLabelsMaxBytes = 1'000'000;
inline constexpr size_t kLabelsTooBigUnits = 499'996;

inline constexpr std::u16string_view kLabelsFileName = u"Labels.txt";
// The file as it was before the program last rewrote it (conversion or added words).
inline constexpr std::u16string_view kLabelsBackupName = u"Labels.txt.bak";

// Plain-text items the reader passes over: those labels keep the values the program gives them.
constexpr bool IsPassedOverLabel(int index) {
    return (index >= 1 && index <= 18) || (index >= 58 && index <= 75);
}

}  // namespace pondrel
