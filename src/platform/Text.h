#pragma once

// UTF-16 text helpers. The core keeps every text as std::u16string, like the files and the wire;
// conversion to UTF-8 happens only at the edges (host paths, terminal, Qt).

#include <cstdint>
#include <string>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace pondrel {

std::string ToUtf8(std::u16string_view text);
// Invalid UTF-8 sequences become U+FFFD.
std::u16string FromUtf8(std::string_view text);

std::u16string ToText(long long value);

// Reads a decimal integer the way the C library's atoi does: leading blanks, an optional sign,
// then digits up to the first non-digit. No digit gives 0. Values beyond int saturate.
int ParseInt(std::u16string_view text);

// Unicode simple case folding of each UTF-16 unit (characters beyond the Basic Multilingual
// Plane are left as they are). The one rule for every comparison that ignores case: names,
// file names and paths, searches. The tables are generated from the Unicode data by
// tools/case-tables/make_case_tables.py.
char16_t FoldCase(char16_t c);
std::u16string FoldCase(std::u16string_view text);
// The capital of a letter (Unicode simple uppercase mapping); any other character is returned
// as it is.
char16_t UpperCase(char16_t c);
// Equal after FoldCase of every unit.
bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b);

std::u16string TrimRightSpaces(std::u16string_view text);
std::u16string ReplaceAll(std::u16string_view text, std::u16string_view from,
                          std::u16string_view to);
std::u16string RemoveAll(std::u16string_view text, char16_t c);
std::vector<std::u16string> Split(std::u16string_view text, char16_t separator);

// Removes every trailing repetition of `suffix` (once = only one); true when something went.
// The end is found first and the text cut there once, so no length can wrap below zero.
bool RemoveSuffix(std::u16string& text, std::u16string_view suffix, bool once = false);

// Count of non-overlapping occurrences.
size_t CountOf(std::u16string_view text, std::u16string_view what);

// printf-style formatting of the fixed message texts: each %d takes the next integer, "%%" is a
// percent sign; any other character is copied.
std::u16string Format(std::u16string_view pattern, std::initializer_list<long long> numbers);

}  // namespace pondrel
