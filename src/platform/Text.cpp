#include "platform/Text.h"

#include <climits>

namespace pondrel {

std::string ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::u16string FromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    size_t i = 0;
    auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    while (i < text.size()) {
        unsigned char b = byte(i);
        uint32_t c = 0xFFFD;
        size_t len = 1;
        if (b < 0x80) {
            c = b;
        } else if ((b & 0xE0) == 0xC0) {
            len = 2;
        } else if ((b & 0xF0) == 0xE0) {
            len = 3;
        } else if ((b & 0xF8) == 0xF0) {
            len = 4;
        }
        if (len > 1) {
            bool ok = i + len <= text.size();
            uint32_t v = b & (0x7F >> len);
            for (size_t k = 1; ok && k < len; ++k) {
                if ((byte(i + k) & 0xC0) != 0x80) {
                    ok = false;
                } else {
                    v = (v << 6) | (byte(i + k) & 0x3F);
                }
            }
            static const uint32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
            if (ok && v >= kMin[len] && v <= 0x10FFFF && !(v >= 0xD800 && v <= 0xDFFF)) {
                c = v;
            } else {
                len = 1;
                c = 0xFFFD;
            }
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
        i += len;
    }
    return out;
}

std::u16string ToText(long long value) {
    std::string s = std::to_string(value);
    return std::u16string(s.begin(), s.end());
}

int ParseInt(std::u16string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    long long value = 0;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
        value = value * 10 + (text[i] - u'0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
        ++i;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    if (value < INT_MIN) value = INT_MIN;
    return static_cast<int>(value);
}

namespace {

// A run of code points with one case mapping; see CaseTables.inc.
struct CaseRun {
    char16_t first;
    char16_t last;
    char16_t stride;
    char16_t delta;
};

#include "platform/CaseTables.inc"

template <size_t N>
char16_t MapThrough(const CaseRun (&runs)[N], char16_t c) {
    // The last run that starts at or before c.
    size_t low = 0;
    size_t high = N;
    while (low < high) {
        size_t middle = (low + high) / 2;
        if (runs[middle].first <= c) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    if (low == 0) return c;
    const CaseRun& run = runs[low - 1];
    if (c > run.last || (c - run.first) % run.stride != 0) return c;
    return static_cast<char16_t>(c + run.delta);
}

}  // namespace

char16_t FoldCase(char16_t c) {
    if (c < 0x80) return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
    return MapThrough(kFoldRanges, c);
}

std::u16string FoldCase(std::u16string_view text) {
    std::u16string out(text);
    for (auto& c : out) c = FoldCase(c);
    return out;
}

char16_t UpperCase(char16_t c) {
    if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
    return MapThrough(kUpperRanges, c);
}

bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    }
    return true;
}

std::u16string TrimRightSpaces(std::u16string_view text) {
    size_t end = text.size();
    while (end > 0 && text[end - 1] == u' ') --end;
    return std::u16string(text.substr(0, end));
}

std::u16string ReplaceAll(std::u16string_view text, std::u16string_view from,
                          std::u16string_view to) {
    if (from.empty()) return std::u16string(text);
    std::u16string out;
    size_t pos = 0;
    for (;;) {
        size_t hit = text.find(from, pos);
        if (hit == std::u16string_view::npos) break;
        out.append(text.substr(pos, hit - pos));
        out.append(to);
        pos = hit + from.size();
    }
    out.append(text.substr(pos));
    return out;
}

std::u16string RemoveAll(std::u16string_view text, char16_t c) {
    std::u16string out;
    out.reserve(text.size());
    for (char16_t x : text) {
        if (x != c) out += x;
    }
    return out;
}

std::vector<std::u16string> Split(std::u16string_view text, char16_t separator) {
    std::vector<std::u16string> parts;
    size_t pos = 0;
    for (;;) {
        size_t hit = text.find(separator, pos);
        if (hit == std::u16string_view::npos) {
            parts.emplace_back(text.substr(pos));
            return parts;
        }
        parts.emplace_back(text.substr(pos, hit - pos));
        pos = hit + 1;
    }
}

bool RemoveSuffix(std::u16string& text, std::u16string_view suffix, bool once) {
    if (suffix.empty()) return false;
    size_t end = text.size();
    while (end >= suffix.size() &&
           std::u16string_view(text).substr(end - suffix.size(), suffix.size()) == suffix) {
        end -= suffix.size();
        if (once) break;
    }
    if (end == text.size()) return false;
    text.erase(end);
    return true;
}

size_t CountOf(std::u16string_view text, std::u16string_view what) {
    if (what.empty()) return 0;
    size_t count = 0;
    for (size_t pos = text.find(what); pos != std::u16string_view::npos;
         pos = text.find(what, pos + what.size())) {
        ++count;
    }
    return count;
}

std::u16string Format(std::u16string_view pattern, std::initializer_list<long long> numbers) {
    std::u16string out;
    auto next = numbers.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == u'%' && i + 1 < pattern.size()) {
            if (pattern[i + 1] == u'd') {
                if (next != numbers.end()) out += ToText(*next++);
                ++i;
                continue;
            }
            if (pattern[i + 1] == u'%') {
                out += u'%';
                ++i;
                continue;
            }
        }
        out += pattern[i];
    }
    return out;
}

}  // namespace pondrel
