#include "documents/SummaryText.h"

#include <vector>

#include "journal/JournalDays.h"
#include "journal/JournalWords.h"
#include "platform/Text.h"

namespace pondrel {

namespace {

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

// Builds `out` from `text` one character at a time; whenever a rule matches the end of `out`,
// its `from` is taken off and its `to` is fed in again character by character, so `out` never
// holds a match and each character is handled a bounded number of times.
void RewriteInto(std::u16string& out, std::u16string_view text, const Rewrite* rules,
                 size_t count) {
    out.clear();
    out.reserve(text.size());
    std::u16string again;  // characters to feed before the rest of `text`, last one first
    size_t next = 0;
    while (!again.empty() || next < text.size()) {
        if (again.empty()) {
            out.push_back(text[next++]);
        } else {
            out.push_back(again.back());
            again.pop_back();
        }
        for (size_t i = 0; i < count; ++i) {
            const auto& [from, to] = rules[i];
            if (from.size() > to.size() && RemoveSuffix(out, from, true)) {
                again.append(to.rbegin(), to.rend());
                break;
            }
        }
    }
}

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// The dots between two digits ("0.5..1 mg", "135..145") belong to numbers: no clean-up rule may
// touch them. While the rules run they are stood in for by a character the text does not hold.
class NumberDots {
public:
    explicit NumberDots(std::u16string& text) {
        if (!HasNumberDots(text)) return;
        m_mark = UnusedMark(text);
        if (m_mark == 0) return;
        for (size_t i = 1; i < text.size(); ++i) {
            if (text[i] != u'.' || !IsDigit(text[i - 1])) continue;
            size_t end = i;
            while (end < text.size() && text[end] == u'.') ++end;
            if (end < text.size() && IsDigit(text[end])) {
                for (size_t k = i; k < end; ++k) text[k] = m_mark;
            }
            i = end;
        }
    }
    NumberDots(const NumberDots&) = delete;
    NumberDots& operator=(const NumberDots&) = delete;

    // Gives the dots back to the text the rules made from the one given.
    void Restore(std::u16string& result) const {
        if (m_mark == 0) return;
        for (char16_t& c : result) {
            if (c == m_mark) c = u'.';
        }
    }

private:
    static bool HasNumberDots(std::u16string_view text) {
        for (size_t i = text.find(u'.', 1); i != std::u16string_view::npos && i + 1 < text.size();
             i = text.find(u'.', i + 1)) {
            if (!IsDigit(text[i - 1])) continue;
            size_t end = text.find_first_not_of(u'.', i);
            if (end != std::u16string_view::npos && IsDigit(text[end])) return true;
        }
        return false;
    }
    // A character of the private use area the text does not hold (0 when it holds them all).
    static char16_t UnusedMark(std::u16string_view text) {
        constexpr char16_t kFirst = 0xE000;
        constexpr size_t kCount = 0x1900;
        std::vector<bool> used(kCount);
        for (char16_t c : text) {
            if (c >= kFirst && c < kFirst + kCount) used[c - kFirst] = true;
        }
        for (size_t i = 0; i < kCount; ++i) {
            if (!used[i]) return static_cast<char16_t>(kFirst + i);
        }
        return 0;
    }

    char16_t m_mark = 0;
};

}  // namespace

void AppendEscaped(std::u16string& out, std::u16string_view text) {
    constexpr std::u16string_view kSpecial = u"&<>\"";
    size_t from = 0;
    for (size_t at = text.find_first_of(kSpecial); at != std::u16string_view::npos;
         at = text.find_first_of(kSpecial, from)) {
        out.append(text.substr(from, at - from));
        switch (text[at]) {
            case u'&':
                out.append(u"&amp;");
                break;
            case u'<':
                out.append(u"&lt;");
                break;
            case u'>':
                out.append(u"&gt;");
                break;
            default:
                out.append(u"&quot;");
                break;
        }
        from = at + 1;
    }
    out.append(text.substr(from));
}

std::u16string HtmlEscape(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size() + text.size() / 8);
    AppendEscaped(out, text);
    return out;
}

std::u16string RewriteUntilStable(std::u16string_view text, std::initializer_list<Rewrite> rules) {
    return RewriteUntilStable(text, std::span<const Rewrite>(rules.begin(), rules.size()));
}

std::u16string RewriteUntilStable(std::u16string_view text, std::span<const Rewrite> rules) {
    // Rounds of whole-text replacements, rule after rule, settle ordinary texts in one to three
    // rounds. A text that still changes after that (a long run of blanks or dots, as a hostile
    // file may hold) is finished in one pass over its characters; the rules then leave it
    // without any match as well, where a clash of rules such as ",.," allows two endings.
    constexpr int kRounds = 6;
    std::u16string current(text);
    const NumberDots dots(current);
    for (int round = 0; round < kRounds; ++round) {
        bool changed = false;
        for (const auto& [from, to] : rules) {
            if (from.size() <= to.size() || current.find(from) == std::u16string::npos) continue;
            current = ReplaceAll(current, from, to);
            changed = true;
        }
        if (!changed) {
            dots.Restore(current);
            return current;
        }
    }
    std::u16string out;
    RewriteInto(out, current, rules.data(), rules.size());
    dots.Restore(out);
    return out;
}

std::u16string RewriteEachUntilStable(std::u16string_view text,
                                      std::initializer_list<Rewrite> rules) {
    return RewriteEachUntilStable(text, std::span<const Rewrite>(rules.begin(), rules.size()));
}

std::u16string RewriteEachUntilStable(std::u16string_view text, std::span<const Rewrite> rules) {
    std::u16string current(text);
    const NumberDots dots(current);
    std::u16string next;
    for (const Rewrite& rule : rules) {
        if (current.find(rule.first) == std::u16string::npos) continue;
        RewriteInto(next, current, &rule, 1);
        current.swap(next);
    }
    dots.Restore(current);
    return current;
}

std::u16string PunctuationCleanup(std::u16string_view text) {
    return RewriteEachUntilStable(
        text,
        {{u"?.", u"?"}, {u"!.", u"!"}, {u" ,", u","}, {u" .", u"."}, {u",.", u"."}, {u"..", u"."}});
}

std::u16string TrimLeftOf(std::u16string_view text, std::u16string_view set) {
    size_t begin = text.find_first_not_of(set);
    if (begin == std::u16string_view::npos) return {};
    return std::u16string(text.substr(begin));
}

std::u16string TrimRightOf(std::u16string_view text, std::u16string_view set) {
    size_t last = text.find_last_not_of(set);
    if (last == std::u16string_view::npos) return {};
    return std::u16string(text.substr(0, last + 1));
}

std::u16string CutTo(std::u16string_view text, size_t count) {
    if (text.size() <= count) return std::u16string(text);
    if (count > 0 && IsHighSurrogate(text[count - 1])) --count;
    return std::u16string(text.substr(0, count));
}

std::u16string DayHeading(DayNumber day, bool hospitalisation, DayNumber admissionDay,
                          const JournalWords& words) {
    std::u16string heading;
    if (hospitalisation && day >= admissionDay) {
        heading = words.dayLetter + ToText(static_cast<long long>(day) - admissionDay + 1) + u" - ";
    }
    return heading + LongDayText(day, words);
}

std::u16string DayCaption(std::u16string_view dayCaption, size_t length) {
    return CutTo(TrimRightSpaces(ReplaceAll(dayCaption, u" - ", u" ")), length);
}

std::u16string AgeAfterEquals(std::u16string_view age) {
    size_t equals = age.find(u'=');
    if (equals == std::u16string_view::npos) return {};
    return TrimRightOf(TrimLeftOf(age.substr(equals + 1), u" "), u" ");
}

}  // namespace pondrel
