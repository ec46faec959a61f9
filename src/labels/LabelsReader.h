#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "labels/Labels.h"

namespace pondrel {

enum class LabelsEncoding {
    Utf16,        // little-endian with its byte-order mark: the file as the program writes it
    Utf16NoMark,  // little-endian without a mark
    Utf16BigEndian,
    Utf8,      // with or without its mark (a file saved by a desktop editor)
    EightBit,  // the older layouts: one byte per character, Windows-1252
};

struct DecodedLabels {
    std::u16string text;
    LabelsEncoding encoding = LabelsEncoding::Utf16;
};

// The text of a labels file's bytes. The encoding is taken from the byte-order mark, else
// guessed from the bytes. Trailing zero units (the closing character) are dropped and zero units
// inside the text are removed; an odd last byte of a 16-bit file is ignored.
DecodedLabels DecodeLabelsBytes(std::string_view bytes);

// The two 8-bit rules every text file of the program shares (labels, code tables): strict
// UTF-8 (no overlong form, no surrogate), and Windows-1252 one byte per character.
bool IsValidUtf8(std::string_view bytes);
std::u16string DecodeWindows1252(std::string_view bytes);

// One field record as found in the text: positions are offsets into the text.
struct FieldRecordSpan {
    std::u16string_view caption;
    std::u16string_view shortcutList;  // including the final "||"
    size_t end = 0;                    // just after the final "||"
};

// The field records of the part of `text` before "#Labels#|", at most 230, taken in order: from
// the next "##" the caption runs to the following "##", the shortcut list from there to the next
// "||" inclusive. Stops at the first incomplete record.
std::vector<FieldRecordSpan> FindFieldRecords(std::u16string_view text);

// Shape of one of the three sections as the reader found it.
struct SectionShape {
    bool found = false;  // its marker is in the text
    int items = 0;       // items taken
    // Nothing but blanks follows the items taken before the next section: no item was cut by a
    // stray "#" and there are no items beyond the section's count.
    bool intact = false;
};

struct LabelsReadResult {
    Labels labels;
    int fieldRecords = 0;
    SectionShape sectionCaptions;
    SectionShape plainText;
    SectionShape date;
    // The plain-text items exactly as the file holds them (line breaks around them trimmed),
    // including those the reader passes over.
    std::vector<std::u16string> fileUiItems;
    // Built-in words were given that the file should hold from now on.
    bool needsWriteBack = false;
};

// Reads a text of the current layout (as given by DecodeLabelsBytes, after conversion of older
// layouts). Missing records and sections leave their values blank; then the built-in words are
// applied. Never fails: what cannot be read keeps its default.
LabelsReadResult ReadLabelsText(std::u16string_view text);

}  // namespace pondrel
