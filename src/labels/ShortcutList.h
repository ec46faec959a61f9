#pragma once

// The pop-up shortcut list of a field, without widgets: its rows built from the field's
// shortcut list in the labels file (plain rows, menus, editing commands), the two menus made
// from the record (the usual drugs of the Medicine field, the past history of the Diagnosis
// field) and the patient's quick-note lines on top; and what choosing a row does to the field
// (InsertShortcut): automatic spacing, comments dropped, in-line returns, capitals at line
// starts, new lines and bullets, menus and their "back after insert" rule, quick-note moves.
//
// Insertions obey the keyboard's rule: no reserved character ever reaches the field.
//
// Use: Build(field, sources) when the list opens (a double tap, F4 or Ctrl+Space), show Rows();
// on a choice call Choose() with the field's state and apply what it returns (the field's new
// state, a command the widget carries out, the new quick notes, new rows).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "labels/FieldEditing.h"

namespace pondrel {

struct Labels;

// What a list is built from besides the labels file.
struct ShortcutSources {
    std::u16string usualDrugs;   // field 64
    std::u16string pastHistory;  // field 63
    std::u16string quickNotes;   // field 198
    // The quick-notes page is shown: its field's list has no quick-note rows.
    bool quickNotesPageShown = false;
};

inline constexpr int kMedicineField = 91;
inline constexpr int kDiagnosisField = 87;
inline constexpr int kQuickNotesField = 198;
inline constexpr int kTasksField = 98;
inline constexpr std::u16string_view kUsualDrugsMenu = u"Usual drugs";
inline constexpr std::u16string_view kNothingRow = u"- Nothing -";
// Record menus and quick notes offer at most this many lines.
inline constexpr size_t kMaxRecordMenuItems = 30;
inline constexpr size_t kMaxQuickNoteRows = 50;

class ShortcutList {
public:
    // `labels` must outlive the list.
    explicit ShortcutList(const Labels& labels);

    // Builds the rows for `field`: the menu named by the last menu row chosen, else the main
    // list; the quick-note rows in front unless the quick-notes page is shown.
    void Build(int field, const ShortcutSources& sources);
    void Close() { m_open = false; }
    bool IsOpen() const { return m_open; }
    int Field() const { return m_field; }
    const std::vector<std::u16string>& Rows() const { return m_rows; }
    bool InMenu() const { return m_inMenu; }
    bool BackAfterInsert() const { return m_backAfterInsert; }

    // Rows that act on the field through the widget.
    enum class Command { None, Undo, Cut, Copy, Paste, Close };
    struct Outcome {
        std::optional<FieldState> field;  // the field's new text and selection
        Command command = Command::None;
        bool rebuilt = false;  // Rows() changed
        // The new quick notes (field 198) after a quick-note row moved its line.
        std::optional<std::u16string> quickNotes;
    };
    // Chooses row `row` for the list field in state `field`.
    Outcome Choose(size_t row, const FieldState& field, const ShortcutSources& sources);

    // The row an item of the labels file shows; none for an empty item.
    static std::optional<std::u16string> DisplayForm(std::u16string_view item);
    // The lines of a record field as menu items (at most 30).
    static std::vector<std::u16string> RecordMenuItems(std::u16string_view text);
    // The lines the quick notes offer (at most 50).
    static std::vector<std::u16string> QuickNoteLines(std::u16string_view notes);
    // The quick notes without their first line equal to `line`; none when no line is.
    static std::optional<std::u16string> WithoutQuickNoteLine(std::u16string_view notes,
                                                              std::u16string_view line);
    // The text a plain row inserts into `field`: trailing blank, comments, in-line returns.
    static std::u16string InsertionText(std::u16string_view row, int field, bool fieldEmpty);

private:
    void BuildMainList(const std::vector<std::u16string_view>& items);
    bool BuildMenu(const std::vector<std::u16string_view>& items, const ShortcutSources& sources);
    Outcome Insert(std::u16string_view row, const FieldState& field,
                   const ShortcutSources& sources);
    Outcome MoveQuickNote(std::u16string_view line, const FieldState& field,
                          const ShortcutSources& sources);

    const Labels& m_labels;
    bool m_open = false;
    int m_field = 0;
    std::u16string m_menuName;  // the menu of the next build; empty: the main list
    bool m_inMenu = false;
    bool m_backAfterInsert = false;
    std::vector<std::u16string> m_rows;
};

}  // namespace pondrel
