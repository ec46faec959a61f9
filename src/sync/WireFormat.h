#pragma once

// What the program and the synchronisation server agree on: the frame end, the separators inside
// frames, the frame codes and the size limits of the wire. Shared by both sides.

#include <cstddef>
#include <string_view>

namespace pondrel {

// Every frame ends with these three characters on the wire.
inline constexpr std::u16string_view kFrameEnd = u"#F|";

// Separators inside frames.
inline constexpr char16_t kFieldSep = u'\u00A2';  // "¢" fields and records
inline constexpr char16_t kCodeSep = u'\u00A6';   // "¦" introduces a message code
inline constexpr char16_t kTextEnd = u'\u00A7';   // "§" ends the text of a mail or file frame
inline constexpr char16_t kNameSep = u'|';        // names, parts of a code
inline constexpr char16_t kItemSep = u'/';        // ends an item of a list of acknowledgements

// The start of a patient-file frame, and the mark between its text and its code.
inline constexpr std::u16string_view kFileFrameStart = u"\u00A2File\u00A2";
inline constexpr std::u16string_view kFileCodeMark = u"\u00A7Code\u00A7";

// Characters per receive call and per send call, and the largest patient text a file frame may
// carry.
inline constexpr size_t kMaxReceiveBytes = 200'000;
inline constexpr size_t kMaxSendChars = 100'000;
inline constexpr size_t kMaxFileChars = 195'000;

// A frame longer than this (well above the largest legal one, a file frame of kMaxFileChars) is
// never accepted: the peer that sends it is disconnected.
inline constexpr size_t kMaxFrameChars = 1'000'000;

// Received characters waiting for the user-interface thread beyond which the receiving worker
// stops reading until they were taken.
inline constexpr size_t kMaxPendingChars = 4'000'000;

}  // namespace pondrel
