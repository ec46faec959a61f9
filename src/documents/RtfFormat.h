#pragma once

// Limits and marks shared by the RTF template engine, the model files and the documents built on
// them (admission letter, out letter, template documents).

#include <cstddef>
#include <string_view>

namespace pondrel {

// A template is read in one read of at most this many bytes; the result may not reach it either.
inline constexpr size_t kTemplateReadBytes = 1'000'000;
// The number of bytes read must stay below the limit of the document.
inline constexpr size_t kOutLetterTemplateLimit = 995'001;
inline constexpr size_t kAdmissionTemplateLimit = 990'001;
inline constexpr size_t kTemplateDocumentLimit = 990'001;
// A filled template of this many bytes or more is not written (it would not fit the buffer).
inline constexpr size_t kTemplateResultLimit = kTemplateReadBytes;

// Model files (.pdt) of the summary documents.
inline constexpr size_t kModelReadBytes = 1'000'000;
inline constexpr size_t kRowModelReadBytes = 15'000;
// A document built from models of this many characters or more is not written.
inline constexpr size_t kModelDocumentLimit = 500'001;
// Models store every backslash as this byte, so that they read with the same marker as the
// fragments the program adds to them.
inline constexpr char16_t kModelBackslash = u'\u00AC';

// In filled text: a blank that the clean-up of the document keeps; written as " " at the end.
// A private-use character, so that no byte of a template and no escaped record text is one.
inline constexpr char16_t kKeptBlank = u'\uE000';

// The paragraph break that the multi-line codes insert.
inline constexpr std::string_view kRtfParagraph = "\\par ";

// A code starts with the RTF escape of the cent sign and ends at "#" or at its escape.
inline constexpr std::string_view kCodeStart = "\\'a2";
inline constexpr std::string_view kEscapedHash = "\\'23";
// A normalised code text of this many characters or more is not a code.
inline constexpr size_t kMaxCodeText = 200;
// A code spread over more template bytes than this is not a code (bounds the work of a scan
// over a template full of cent signs).
inline constexpr size_t kMaxCodeBytes = 4096;

}  // namespace pondrel
