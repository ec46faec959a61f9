#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "labels/Labels.h"
#include "platform/Error.h"

namespace pondrel {

struct LabelsReadResult;

// The bytes of a labels file holding `text`: the byte-order mark, the text as UTF-16
// little-endian, and one closing zero character.
std::string EncodeLabelsText(std::u16string_view text);

// Checks that every value can be written and read back unchanged: no "#" or "|" in captions and
// items, shortcut lists ending with "||" and holding no other "||" nor "#". The message names
// the first faulty value.
bool CheckLabels(const Labels& labels, Error* error = nullptr);

// The three sections as the program writes them, from "#Labels#|" to the last date item's "|".
// Passed-over labels (1 to 18, 58 to 75) are written from `fileUiItems` when it holds them, so
// that rewriting never replaces what the file had there by the program's values.
std::u16string ComposeLabelsSections(const Labels& labels,
                                     const std::vector<std::u16string>& fileUiItems = {});

// A whole labels text of the current layout: header "40", the 230 field records, the sections.
// The values should pass CheckLabels.
std::u16string ComposeLabelsText(const Labels& labels);

// The text with its sections rewritten to hold the values read (the built-in words the reader
// gave): the text up to "#Labels#|" is kept as it is. None when a section marker is missing, the
// markers are out of order, or a section was damaged (cut by a stray "#", or holding more items
// than its count), because rewriting it would lose what the file holds.
std::optional<std::u16string> ComposeWriteBack(std::u16string_view text,
                                               const LabelsReadResult& read);

// One field record rewritten: the new text, and the range [begin, oldEnd) of the old text that
// became [begin, newEnd) of the new one; everything else is unchanged.
struct FieldRecordReplacement {
    std::u16string text;
    size_t begin = 0;
    size_t oldEnd = 0;
    size_t newEnd = 0;
};

// The text with the record of `field` holding `caption` and `shortcutList`. The record is the
// field-th record as the reader takes them, by position: captions may repeat in a file, so a
// record is never looked for by its caption. None when the text holds no such record or the
// values would not read back (a caption holding "#" or "|"; a list not ending with "||", or
// holding "#" or another "||").
std::optional<FieldRecordReplacement> ReplaceFieldRecord(std::u16string_view text, int field,
                                                         std::u16string_view caption,
                                                         std::u16string_view shortcutList);

}  // namespace pondrel
