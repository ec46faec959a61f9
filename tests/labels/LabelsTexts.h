#pragma once

// Labels texts for the tests, built the way each layout of the file was written.

#include <string>
#include <string_view>

#include "labels/Labels.h"

namespace pondrel::test {

// `count` field records after `header`, record n captioned "Caption n" with the shortcut list
// "Item n|Other n||", separated by "\r\n\r\n" (the first number absorbed by the header).
std::u16string FieldRecords(std::u16string_view header, int count);

// The three sections holding `labels`, preceded by the separator that follows the last record.
std::u16string Sections(const Labels& labels);

// Labels with a recognisable value everywhere: section "Section i", label "Label i",
// "Weekday i", "Month i", "Age i", "Short i".
Labels Numbered();

// A complete current file: FieldRecords("40", 230) + Sections(Numbered()).
std::u16string CurrentText();

// The text as 8-bit Windows-1252 bytes (characters beyond 0xFF are not expected).
std::string Latin1(std::u16string_view text);
// The text as UTF-16 little-endian bytes, without mark.
std::string Utf16Bytes(std::u16string_view text);

// The text the factory source and file hold (tests/support data lives in the resources).
std::string ReadHostFile(const std::string& path);

}  // namespace pondrel::test
