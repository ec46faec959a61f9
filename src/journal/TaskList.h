#pragma once

// The to-do text of a patient (field 98) and the task panel of the tasks page that edits it.
// The text is a run of tasks, each "text#priority|mark|": priority 0 urgent, 1 to do, 2 plain;
// mark "*" done, "N" not done ("first line#0|N|second line#2|*|").

#include <string>
#include <string_view>
#include <vector>

namespace pondrel {

class UserMessages;

inline constexpr int kUrgentPriority = 0;
inline constexpr int kToDoPriority = 1;
inline constexpr int kPlainPriority = 2;

struct TaskRow {
    std::u16string text;
    int priority = kPlainPriority;
    bool done = false;
    friend bool operator==(const TaskRow&, const TaskRow&) = default;
};

// The tasks of a to-do text: at most `maxRows` rows, and the text of the tasks after them as it
// stands, so that a save never loses them.
struct ParsedTasks {
    std::vector<TaskRow> rows;
    std::u16string rest;
};
ParsedTasks ParseTasks(std::u16string_view todo, size_t maxRows);

// The to-do text of the rows: urgent tasks first, then the tasks to do, then the plain ones,
// each group in row order; then the done tasks (a done row takes priority 2). Rows whose text
// is empty once "|" and "#" are removed are left out. `rest` follows unchanged.
// The rows' priorities are updated (done rows become plain).
std::u16string ComposeTasks(std::vector<TaskRow>& rows, std::u16string_view rest);

// Whether a character may be typed into a task line: not "¢", "{", "}", "|", "¦", "§", "¬"
// nor "#".
bool IsTaskCharacter(char16_t c);
// The text without the characters a task line refuses.
std::u16string TaskText(std::u16string_view text);

// The rows of the task panel (5 to 10) and what its buttons do. Every change is followed by the
// caller storing Save() into field 98.
class TaskPanelModel {
public:
    static constexpr size_t kMinRows = 5;
    static constexpr size_t kMaxRows = 10;

    TaskPanelModel();

    // Shows a to-do text: rows beyond 5 removed, one row for each of the first 10 tasks, the
    // rows left over emptied; tasks after the tenth are kept aside, unchanged.
    void Load(std::u16string_view todo);
    // The to-do text of the rows and the tasks kept aside (done rows become plain).
    std::u16string Save();

    const std::vector<TaskRow>& Rows() const { return m_rows; }
    size_t RowCount() const { return m_rows.size(); }
    // Tasks after the tenth, which the panel does not show.
    const std::u16string& HiddenTasks() const { return m_rest; }

    // A row's text was edited (refused characters are dropped).
    void SetText(size_t row, std::u16string_view text);
    // A key was pressed in the line of row `row`: in the last row, a row is added (up to 10).
    // True when a row was added.
    bool KeyPressed(size_t row);
    // Priority button: 0 -> 1 -> 2 -> 0; on a done row the notice "Task already done" as well.
    void CyclePriority(size_t row, UserMessages& messages);
    // Check box: checking makes the row plain; unchecking keeps its priority.
    void SetDone(size_t row, bool done);
    // Delete button: refused with a notice unless the row is done; the rows below move up, the
    // last row is emptied, and removed when the one before it is empty too and more than 5
    // rows are left. True when deleted.
    bool Delete(size_t row, UserMessages& messages);

    // The background of a row's text line: red 255, green 225 - 12 row, blue 220 - 5 row.
    static void RowColour(size_t row, int& red, int& green, int& blue);

private:
    std::vector<TaskRow> m_rows;
    std::u16string m_rest;
};

}  // namespace pondrel
