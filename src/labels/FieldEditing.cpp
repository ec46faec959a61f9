#include "labels/FieldEditing.h"

#include <algorithm>
#include <vector>

#include "platform/Text.h"
#include "records/ReservedCharacters.h"

namespace pondrel {

namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

// A character the text does not hold, to mark a place through the rewrites of TabReturn.
char16_t UnusedCharacter(std::u16string_view text) {
    for (char16_t c = 0xE000; c < 0xF8FF; ++c) {
        if (text.find(c) == std::u16string_view::npos) return c;
    }
    return 0xF8FF;  // a text holding every private-use character: the place may be off
}

size_t LineStart(const FieldState& field) {
    size_t caret = field.Caret();
    if (field.displayLineStart && *field.displayLineStart <= caret) {
        return *field.displayLineStart;
    }
    size_t lastBreak = field.text.find_last_of(u"\r\n", caret == 0 ? 0 : caret - 1);
    if (caret == 0 || lastBreak == std::u16string::npos) return 0;
    return lastBreak + 1;
}

FieldState Replaced(const FieldState& field, size_t begin, size_t end,
                    std::u16string_view replacement) {
    FieldState result;
    result.text = field.text.substr(0, begin);
    result.text += replacement;
    result.text += std::u16string_view(field.text).substr(end);
    result.selectionStart = result.selectionEnd = begin + replacement.size();
    return result;
}

}  // namespace

FieldState FieldState::Clamped() const {
    FieldState f = *this;
    f.selectionStart = std::min(selectionStart, text.size());
    f.selectionEnd = std::min(selectionEnd, text.size());
    if (f.selectionStart > f.selectionEnd) std::swap(f.selectionStart, f.selectionEnd);
    return f;
}

FieldState FieldState::At(std::u16string text, size_t caret) {
    FieldState f;
    f.text = std::move(text);
    f.selectionStart = f.selectionEnd = std::min(caret, f.text.size());
    return f;
}

FieldChange FieldChange::Between(std::u16string_view before, std::u16string_view after) {
    size_t prefix = 0;
    size_t limit = std::min(before.size(), after.size());
    while (prefix < limit && before[prefix] == after[prefix]) ++prefix;
    size_t suffix = 0;
    while (suffix < limit - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
        ++suffix;
    }
    return FieldChange{prefix, before.size() - prefix - suffix,
                       std::u16string(after.substr(prefix, after.size() - prefix - suffix))};
}

bool IsSingleValueField(int field) {
    return (field >= 4 && field <= 14) || (field >= 40 && field <= 42) ||
           (field >= 46 && field <= 48) || field == 94 || (field >= 122 && field <= 124) ||
           field == 131 || field == 132 || field == 135;
}

bool IsBulletedField(int field, std::u16string_view text) {
    if (!text.empty() && text[0] == u'-') return true;
    return field == 63 || field == 64 || (field >= 79 && field <= 86) ||
           (field >= 88 && field <= 93) || (field >= 96 && field <= 229 && field != 199);
}

bool StartsLine(std::u16string_view text, size_t position) {
    position = std::min(position, text.size());
    if (position == 0) return true;
    std::u16string_view before = text.substr(0, position);
    if (before == u"-") return true;
    return before.ends_with(u'\n') || before.ends_with(u"\n-");
}

std::u16string CapitalFirst(std::u16string text) {
    size_t first = text.find_first_not_of(u"\r\n-");
    if (first != std::u16string::npos) text[first] = UpperCase(text[first]);
    return text;
}

std::optional<char16_t> TypedCharacter(char16_t c, const FieldState& field) {
    if (IsReservedCharacter(c)) return std::nullopt;
    FieldState f = field.Clamped();
    if (c >= u'a' && c <= u'z' && StartsLine(f.text, f.selectionStart)) {
        return static_cast<char16_t>(c - u'a' + u'A');
    }
    return c;
}

FieldState InsertText(const FieldState& field, std::u16string_view insertion) {
    FieldState f = field.Clamped();
    std::u16string text = WithoutReservedCharacters(insertion);
    // A line starts where the text goes, or inside it after its leading line breaks.
    size_t lead = text.find_first_not_of(u"\r\n-");
    bool newLine = text.substr(0, lead).find(u'\n') != std::u16string::npos;
    if (newLine || StartsLine(f.text, f.selectionStart)) text = CapitalFirst(std::move(text));
    return Replaced(f, f.selectionStart, f.selectionEnd, text);
}

FieldState BulletReturn(const FieldState& field) {
    FieldState f = field.Clamped();
    FieldState result = Replaced(f, f.selectionStart, f.selectionEnd, u"\r\n-");
    if (result.text[0] != u'-') {
        result.text.insert(result.text.begin(), u'-');
        ++result.selectionStart;
        ++result.selectionEnd;
    }
    return result;
}

std::u16string BulletEveryLine(std::u16string_view text) {
    std::u16string lines = ReplaceAll(text, u"\r\n-", u"\r\n");
    lines = ReplaceAll(lines, u"\r\n", u"\r\n-");
    if (lines.empty() || lines[0] != u'-') lines.insert(lines.begin(), u'-');
    return lines;
}

FieldState TabReturn(const FieldState& field, std::u16string_view token) {
    FieldState f = field.Clamped();
    const size_t caret = f.Caret();
    const char16_t marker = UnusedCharacter(f.text);
    const bool quickNote = token == kQuickNoteMove;
    std::u16string text = f.text;
    if (text.empty()) {
        text = std::u16string(u"-") + marker;
    } else if (text.back() == u'-') {
        text.insert(caret, 1, marker);
        if (!quickNote) {
            // A second tab-return on an empty bullet takes the bullets away.
            text = ReplaceAll(text, u"\r\n-", u"\r\n");
            if (text[0] == u'-') text.erase(0, 1);
        }
    } else {
        size_t lineStart = LineStart(f);
        if (caret == lineStart) {
            text.insert(caret, 1, marker);
        } else {
            bool newLine = text[lineStart] == u'-' ||
                           (lineStart > 0 && IsBlank(text[lineStart - 1])) ||
                           token == kTabReturn2 || quickNote;
            text.insert(caret,
                        newLine ? std::u16string(u"\r\n") + marker : std::u16string(1, marker));
        }
        text = BulletEveryLine(text);
    }
    size_t at = text.find(marker);
    text.erase(at, 1);
    FieldState result;
    result.text = std::move(text);
    result.selectionStart = result.selectionEnd = at;
    return result;
}

FieldState KeptOnOneLine(const FieldState& before, const FieldState& after) {
    const FieldState a = after.Clamped();
    const FieldChange change = FieldChange::Between(before.text, a.text);
    const std::u16string& inserted = change.replacement;
    if (inserted.find_first_of(u"\r\n") == std::u16string::npos) return a;
    // Positions in the new insertion of every position in the old one (and of its end).
    std::u16string kept;
    std::vector<size_t> moved(inserted.size() + 1, 0);
    for (size_t i = 0; i < inserted.size();) {
        moved[i] = kept.size();
        if (inserted[i] != u'\r' && inserted[i] != u'\n') {
            kept += inserted[i++];
            continue;
        }
        size_t end = i;
        while (end < inserted.size() && (inserted[end] == u'\r' || inserted[end] == u'\n')) {
            ++end;
        }
        if (end < inserted.size() && inserted[end] == u'-') ++end;
        const char16_t previous = !kept.empty()         ? kept.back()
                                  : change.position > 0 ? a.text[change.position - 1]
                                                        : u' ';
        if (previous != u' ') kept += u' ';
        for (size_t j = i; j < end; ++j) moved[j] = kept.size();
        i = end;
    }
    moved[inserted.size()] = kept.size();
    // Nor is a bullet put in front of a line that had none.
    if (change.position == 0 && kept.starts_with(u'-') && !before.text.starts_with(u'-')) {
        kept.erase(0, 1);
        for (size_t& m : moved) m = m > 0 ? m - 1 : 0;
    }
    const size_t insertedEnd = change.position + inserted.size();
    auto follow = [&](size_t position) {
        if (position <= change.position) return position;
        if (position >= insertedEnd) return position - inserted.size() + kept.size();
        return change.position + moved[position - change.position];
    };
    FieldState result;
    result.text = a.text.substr(0, change.position) + kept + a.text.substr(insertedEnd);
    result.selectionStart = follow(a.selectionStart);
    result.selectionEnd = follow(a.selectionEnd);
    return result;
}

std::optional<FieldState> ToggleCaptionWord(int field, const FieldState& state,
                                            std::u16string_view word) {
    if ((field >= 2 && field <= 6) || field == 15 || field == 95 || field == 200 || field == 201) {
        return std::nullopt;
    }
    FieldState f = state.Clamped();
    constexpr std::u16string_view kCopied = u"[c] ";
    if (f.text.starts_with(kCopied)) return Replaced(f, 0, kCopied.size(), u"");
    if (word.empty()) return std::nullopt;
    const std::u16string_view text = f.text;
    if (text == word) return Replaced(f, 0, text.size(), u"");
    if (text.starts_with(word)) return Replaced(f, 0, word.size(), u"");
    if (text.ends_with(word)) {
        return Replaced(f, text.size() - word.size(), text.size(), u"");
    }
    return Replaced(f, f.Caret(), f.Caret(), WithoutReservedCharacters(word));
}

}  // namespace pondrel
