#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pondrel {

// The key-word search shared by the ICD-10 code search and the quick load search: a text of
// entries, each ended by a separator character (a line break, "|"), and a few words typed by
// the user. The entries are filtered word after word; the result is the entries holding every
// word, in the order of the text.

// The words of a search text: ",", ";" and tabs are blanks, runs of blanks are one, the words
// are folded to lower case, and the longest one (the first of several of equal length) comes
// first, every repetition of it dropped. Empty when the text holds no word.
std::vector<std::u16string> KeyWords(std::u16string_view text);

// One entry of a searched text: its first character and its length (separators excluded).
struct EntrySpan {
    size_t start = 0;
    size_t length = 0;
};

struct KeyWordSearchLimits {
    // An entry longer than this is never a result (it is skipped; the search goes on).
    size_t maxEntryLength = 400;
    // The entries found by one word are gathered in chunks: a new chunk is started when the
    // current one holds more than chunkChars characters; gathering stops when the last chunk
    // allowed is full.
    size_t chunkChars = 20'000;
    size_t maxChunks = 50;
};

// How an entry must hold a word: anywhere (code tables) or at the start of a name part, that
// is right after one of `partStarts` (quick load: " " and "_").
struct WordRule {
    std::u16string_view partStarts;  // empty: anywhere
};

// The entries of `text` (already folded to lower case) holding every word of `words`, in text
// order; an entry ends at any character of `separators`, and the start and the end of the text
// are entry limits too. A word that matches nothing leaves the result empty.
std::vector<EntrySpan> SearchEntries(std::u16string_view text, std::u16string_view separators,
                                     const std::vector<std::u16string>& words, WordRule rule = {},
                                     const KeyWordSearchLimits& limits = {});

// Every entry of `text` (separators as above, empty entries left out), within the limits.
std::vector<EntrySpan> AllEntries(std::u16string_view text, std::u16string_view separators,
                                  const KeyWordSearchLimits& limits = {});

}  // namespace pondrel
