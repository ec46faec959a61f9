#pragma once

// Constants of the preferences file shared by its reader and its writer.

#include <cstddef>
#include <string_view>

namespace pondrel::preferences_format {

inline constexpr std::u16string_view kFileName = u"Preferences.pre";
// Where a file that could not be read completely, or one of an older layout, is copied before
// the program overwrites it.
inline constexpr std::u16string_view kOldCopyName = u"Preferences.pre.old";

inline constexpr std::u16string_view kVersionMark = u"v40#";
inline constexpr int kCurrentVersion = 40;

// Section markers, in file order. The markers that start with "¢" are an empty item followed by
// the marker item; the others lead the first item of their section.
inline constexpr std::u16string_view kDessinImage = u"\u00A2DessinImage\u00A2";
inline constexpr std::u16string_view kPatientCustom = u"\u00A2PatientCustom\u00A2";
inline constexpr std::u16string_view kOutbox = u"Outbox=";
inline constexpr std::u16string_view kSentItems = u"SentItems=";
inline constexpr std::u16string_view kActiveFiles = u"ActiveFiles=";
inline constexpr std::u16string_view kServerFiles = u"ServerFiles=";
inline constexpr std::u16string_view kOtherSocket = u"OtherSocket=";
inline constexpr std::u16string_view kCEditRect = u"\u00A2CEdit Rect\u00A2";
inline constexpr std::u16string_view kOther = u"\u00A2Other\u00A2";

// The reader's byte limit. The handheld took 100 000 bytes, which a file holding long mails
// exceeds: everything after the cut (layouts, locations, regional settings...) was then lost at
// the next save. The program writes no file that it cannot read back whole.
inline constexpr size_t kReadLimitBytes = 4'000'000;

// Field windows of fields 202 to 229 when an older file stores no rectangles for them.
inline constexpr int kFirstFieldMissingInOlderLayout = 202;

}  // namespace pondrel::preferences_format
