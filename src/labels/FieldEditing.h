#pragma once

// The editing rules of the form's fields, without widgets: what typing, Enter, a tap on a
// caption and the shortcut lists do to a field's text. Texts use "\r\n" line breaks as the
// record keeps them; a line starting with "-" is a bullet. Positions are indexes into the text.
//
// A widget hands its text, selection and caret in a FieldState and applies the FieldState it
// gets back (FieldChange gives the smallest replacement, so the widget's own undo keeps working).

#include <optional>
#include <string>
#include <string_view>

namespace pondrel {

struct FieldState {
    std::u16string text;
    // The selection is [selectionStart, selectionEnd); the caret stands at its end. Empty when
    // both are equal.
    size_t selectionStart = 0;
    size_t selectionEnd = 0;
    // Where the display line holding the caret starts, when the widget wraps long lines; none:
    // the line holding the caret starts after the last line break before it.
    std::optional<size_t> displayLineStart;

    size_t Caret() const { return selectionEnd; }
    bool HasSelection() const { return selectionStart != selectionEnd; }
    // Positions put within the text, the selection in order.
    FieldState Clamped() const;
    static FieldState At(std::u16string text, size_t caret);
};

// The smallest replacement turning one text into another: `length` units from `position` are
// replaced by `replacement`.
struct FieldChange {
    size_t position = 0;
    size_t length = 0;
    std::u16string replacement;

    static FieldChange Between(std::u16string_view before, std::u16string_view after);
};

// The fields that take a single value (birth date parts, vital signs, room, identity numbers):
// shortcuts are inserted into them without a trailing blank.
bool IsSingleValueField(int field);
// The fields where Enter starts a new bulleted line ("\r\n-"), also any field whose text starts
// with "-".
bool IsBulletedField(int field, std::u16string_view text);

// A typed character as the field takes it: none for the reserved characters; a lower-case "a"
// to "z" becomes a capital at the start of a line (see StartsLine).
std::optional<char16_t> TypedCharacter(char16_t c, const FieldState& field);
// True when text typed or inserted at `position` starts a line: at the start of the text, after
// a leading "-", or after a line break, or a line break and "-".
bool StartsLine(std::u16string_view text, size_t position);
// The first character after leading line breaks and bullets made a capital (a-z and the
// Latin-1 letters).
std::u16string CapitalFirst(std::u16string text);

// Replaces the selection with `insertion` (reserved characters dropped), its first letter made
// a capital when it starts a line. The caret ends after the insertion.
FieldState InsertText(const FieldState& field, std::u16string_view insertion);

// Enter in a bulleted field: "\r\n-" at the caret, and "-" in front of the text when it does
// not start with one.
FieldState BulletReturn(const FieldState& field);

// A new bulleted line (the "<---", "<==" rows, the quick-note moves, the stop commands and the
// history lists). `token` is "<--- ", "<== " or ">>". The result's selection is the empty
// place where the caller's text goes.
FieldState TabReturn(const FieldState& field, std::u16string_view token);
inline constexpr std::u16string_view kTabReturn1 = u"<--- ";
inline constexpr std::u16string_view kTabReturn2 = u"<== ";
inline constexpr std::u16string_view kQuickNoteMove = u">>";

// Every line starting with one "-": "\r\n-" made "\r\n", then "\r\n" made "\r\n-", and "-" put
// in front when the text does not start with it.
std::u16string BulletEveryLine(std::u16string_view text);

// What an insertion does to a one-line edit (a one-line field window, a task line): the line
// breaks it brings, with the bullet that follows them, become one blank; the text around the
// change is kept as it is, the selection follows.
FieldState KeptOnOneLine(const FieldState& before, const FieldState& after);

// A tap on the caption of a field (not for fields 2 to 6, 15, 95, 200 and 201): a leading
// "[c] " (a value copied from an earlier stay) is removed; else the normal word `word` (label
// 34) is removed from a text equal to it, starting or ending with it, or else inserted at the
// caret. None when nothing changes.
std::optional<FieldState> ToggleCaptionWord(int field, const FieldState& state,
                                            std::u16string_view word);

}  // namespace pondrel
