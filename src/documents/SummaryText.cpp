#include "documents/SummaryText.h"

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
    for (int round = 0; round < kRounds; ++round) {
        bool changed = false;
        for (const auto& [from, to] : rules) {
            if (from.size() <= to.size() || current.find(from) == std::u16string::npos) continue;
            current = ReplaceAll(current, from, to);
            changed = true;
        }
        if (!changed) return current;
    }
    std::u16string out;
    RewriteInto(out, current, rules.data(), rules.size());
    return out;
}

std::u16string RewriteEachUntilStable(std::u16string_view text,
                                      std::initializer_list<Rewrite> rules) {
    return RewriteEachUntilStable(text, std::span<const Rewrite>(rules.begin(), rules.size()));
}

std::u16string RewriteEachUntilStable(std::u16string_view text, std::span<const Rewrite> rules) {
    std::u16string current(text);
    std::u16string next;
    for (const Rewrite& rule : rules) {
        if (current.find(rule.first) == std::u16string::npos) continue;
        RewriteInto(next, current, &rule, 1);
        current.swap(next);
    }
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
