#include "labels/KeyWordSearch.h"

#include <algorithm>

#include "platform/Text.h"

namespace pondrel {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u',' || c == u';' || c == u'\t'; }

// Gathers entries with the chunk rule; false once no more may be added.
class Gatherer {
public:
    explicit Gatherer(const KeyWordSearchLimits& limits) : m_limits(limits) {}
    bool Add(EntrySpan span) {
        if (m_chunkChars > m_limits.chunkChars) {
            if (m_chunks >= m_limits.maxChunks) return false;
            ++m_chunks;
            m_chunkChars = 0;
        }
        m_spans.push_back(span);
        m_chunkChars += span.length + 2;
        return true;
    }
    std::vector<EntrySpan> Take() { return std::move(m_spans); }

private:
    const KeyWordSearchLimits& m_limits;
    std::vector<EntrySpan> m_spans;
    size_t m_chunks = 1;
    size_t m_chunkChars = 0;
};

bool HoldsWord(std::u16string_view entry, std::u16string_view word, const WordRule& rule) {
    if (rule.partStarts.empty()) return entry.find(word) != std::u16string_view::npos;
    for (size_t at = entry.find(word); at != std::u16string_view::npos;
         at = entry.find(word, at + 1)) {
        if (at > 0 && rule.partStarts.find(entry[at - 1]) != std::u16string_view::npos) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::vector<std::u16string> KeyWords(std::u16string_view text) {
    std::vector<std::u16string> words;
    std::u16string word;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || IsBlank(text[i])) {
            if (!word.empty()) words.push_back(FoldCase(word));
            word.clear();
        } else {
            word += text[i];
        }
    }
    if (words.empty()) return words;
    size_t longest = 0;
    for (size_t i = 1; i < words.size(); ++i) {
        if (words[i].size() > words[longest].size()) longest = i;
    }
    std::vector<std::u16string> ordered{words[longest]};
    for (const std::u16string& w : words) {
        if (w != ordered.front()) ordered.push_back(w);
    }
    return ordered;
}

std::vector<EntrySpan> AllEntries(std::u16string_view text, std::u16string_view separators,
                                  const KeyWordSearchLimits& limits) {
    Gatherer gathered(limits);
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of(separators, start);
        if (end == std::u16string_view::npos) end = text.size();
        size_t length = end - start;
        if (length > 0 && length <= limits.maxEntryLength && !gathered.Add({start, length})) break;
        start = end + 1;
    }
    return gathered.Take();
}

std::vector<EntrySpan> SearchEntries(std::u16string_view text, std::u16string_view separators,
                                     const std::vector<std::u16string>& words, WordRule rule,
                                     const KeyWordSearchLimits& limits) {
    std::vector<EntrySpan> found;
    if (words.empty()) return AllEntries(text, separators, limits);
    // The first (longest) word is looked for in the whole text; each occurrence gives its
    // entry, found by going back and forward to the separators or to the ends of the text.
    {
        Gatherer gathered(limits);
        const std::u16string& first = words.front();
        size_t at = first.empty() ? std::u16string_view::npos : text.find(first);
        while (at != std::u16string_view::npos) {
            size_t begin = text.find_last_of(separators, at);
            begin = begin == std::u16string_view::npos ? 0 : begin + 1;
            size_t end = text.find_first_of(separators, at);
            if (end == std::u16string_view::npos) end = text.size();
            EntrySpan span{begin, end - begin};
            if (span.length <= limits.maxEntryLength &&
                HoldsWord(text.substr(begin, span.length), first, rule) && !gathered.Add(span)) {
                break;
            }
            at = end >= text.size() ? std::u16string_view::npos : text.find(first, end + 1);
        }
        found = gathered.Take();
    }
    // The other words filter the entries found.
    for (size_t w = 1; w < words.size() && !found.empty(); ++w) {
        Gatherer gathered(limits);
        for (const EntrySpan& span : found) {
            if (HoldsWord(text.substr(span.start, span.length), words[w], rule) &&
                !gathered.Add(span)) {
                break;
            }
        }
        found = gathered.Take();
    }
    return found;
}

}  // namespace pondrel
