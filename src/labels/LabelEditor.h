#pragma once

// The label editor without its dialogue: the working copy of one field's shortcut list as a
// row per item, and the commands that change it (add, delete, rename, move, menus, "back"
// menus). Every refused command leaves the list unchanged and says why with the message and
// caption the dialogue shows. The fixed tag rows and the word list of the field's text are
// here too. Saving the list into the labels file is LabelsFile::SaveFieldRecord.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pondrel {

class LabelEditor {
public:
    enum class RowKind { Plain, Header, Indented };
    struct Row {
        RowKind kind = RowKind::Plain;
        std::u16string text;  // as the box shows it
        int menuCount = 0;    // a header's item count
    };
    // A refusal: message box text and caption. Empty text: the command was carried out.
    struct Result {
        std::u16string text;
        std::u16string caption;
        bool Done() const { return text.empty(); }
    };
    // What a selected row puts into the dialogue's controls.
    struct Selection {
        std::u16string text;          // into the text box
        std::optional<int> count;     // a header's count (the count box is enabled)
        bool menuOff = false;         // the menu button reads "Menu off"
        bool menuButtonEnabled = false;
        bool backEnabled = false;
    };

    // `shortcutList` is a list of the labels file: items separated by "|", ended by "||".
    explicit LabelEditor(std::u16string_view shortcutList);

    // The list as the file holds it: the items joined by "|", then "||".
    std::u16string List() const;
    const std::vector<std::u16string>& Items() const { return m_items; }
    // One row per item.
    std::vector<Row> Rows() const;
    // Row selected by the last command, if any (commands keep it on the row they moved).
    std::optional<int> Selected() const { return m_selected; }
    void Select(std::optional<int> row);
    Selection SelectionState() const;

    // The commands act on the selected row.
    Result Add(std::u16string_view text);
    Result Delete();
    // `count` is the count box (used for a header only).
    Result Rename(std::u16string_view text, int count);
    // Moves by `rows` rows (1, or 17 for the "+" buttons), fewer at the ends.
    Result MoveUp(int rows);
    Result MoveDown(int rows);
    // "Menu on" on a plain item, "Menu off" on a header.
    Result ToggleMenu();
    Result ToggleBack();

    // The characters the dialogue refuses from the keyboard; texts given to the commands lose
    // them as well (pasted text cannot carry them into the file).
    static bool IsRefusedCharacter(char16_t c);
    static std::u16string Clean(std::u16string_view text);

    // The tag rows: twenty fixed rows of token and meaning.
    static std::vector<std::u16string> TagRows();
    // What choosing tag row `row` does to the text box: the token is inserted at the caret
    // (in-line returns, version tags, the comment star) or replaces the whole text.
    struct Tag {
        std::u16string token;
        bool atCaret = false;
    };
    static Tag TagOf(int row);
    // "- Space -", "- Back -", then every word longer than two characters of the field's text
    // (at most 100 words examined).
    static std::vector<std::u16string> WordRows(std::u16string_view fieldText);

    // Rows a header claims: its count, but no more than the plain items that follow it before
    // the next header or the end of the list.
    int ClaimedCount(size_t header) const;

private:
    bool IsHeader(size_t item) const;
    // The header that claims item `item`, if any.
    std::optional<size_t> MenuOf(size_t item) const;
    // First and one-past-last item of the unit that moves with `item`: a header with its
    // items, or the item alone.
    std::pair<size_t, size_t> UnitOf(size_t item) const;
    bool Exists(std::u16string_view text, std::optional<size_t> except) const;
    Result Move(int rows, bool up);

    std::vector<std::u16string> m_items;
    std::optional<int> m_selected;
};

}  // namespace pondrel
