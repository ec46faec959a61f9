#include "journal/TaskList.h"

#include "platform/UserMessages.h"

namespace pondrel {

namespace {

constexpr std::u16string_view kRefused = u"\u00A2{}|\u00A6\u00A7\u00AC#";

int PriorityOf(char16_t c) {
    return c >= u'0' && c <= u'2' ? c - u'0' : kPlainPriority;
}

bool IsEmptyTask(std::u16string_view text) {
    for (char16_t c : text) {
        if (c != u'|' && c != u'#') return false;
    }
    return true;
}

// A row's text as the to-do text can hold it: without "|" and "#".
std::u16string StoredTaskText(std::u16string_view text) {
    std::u16string kept;
    for (char16_t c : text) {
        if (c != u'|' && c != u'#') kept += c;
    }
    return kept;
}

}  // namespace

ParsedTasks ParseTasks(std::u16string_view todo, size_t maxRows) {
    ParsedTasks parsed;
    size_t pos = 0;
    while (pos < todo.size()) {
        if (parsed.rows.size() == maxRows) {
            parsed.rest = todo.substr(pos);
            break;
        }
        // "text#p|" then the mark up to the next "|".
        size_t bar = todo.find(u'|', pos);
        std::u16string_view task =
            todo.substr(pos, bar == std::u16string_view::npos ? bar : bar - pos);
        TaskRow row;
        const size_t hash = task.find(u'#');
        row.text = task.substr(0, hash);
        if (hash != std::u16string_view::npos && hash + 1 < task.size()) {
            row.priority = PriorityOf(task[hash + 1]);
        }
        if (bar == std::u16string_view::npos) {
            parsed.rows.push_back(std::move(row));
            break;
        }
        size_t markEnd = todo.find(u'|', bar + 1);
        std::u16string_view mark = todo.substr(
            bar + 1, markEnd == std::u16string_view::npos ? markEnd : markEnd - bar - 1);
        row.done = mark == u"*";
        parsed.rows.push_back(std::move(row));
        pos = markEnd == std::u16string_view::npos ? todo.size() : markEnd + 1;
    }
    return parsed;
}

std::u16string ComposeTasks(std::vector<TaskRow>& rows, std::u16string_view rest) {
    std::u16string text;
    for (int priority : {kUrgentPriority, kToDoPriority, kPlainPriority}) {
        for (TaskRow& row : rows) {
            if (row.done) row.priority = kPlainPriority;
            if (row.priority != priority || row.done || IsEmptyTask(row.text)) continue;
            text += StoredTaskText(row.text) + u"#" + std::u16string(1, u'0' + priority) + u"|N|";
        }
    }
    for (const TaskRow& row : rows) {
        if (row.done && !IsEmptyTask(row.text)) text += StoredTaskText(row.text) + u"#2|*|";
    }
    text += rest;
    return text;
}

bool IsTaskCharacter(char16_t c) {
    return kRefused.find(c) == std::u16string_view::npos;
}

std::u16string TaskText(std::u16string_view text) {
    std::u16string kept;
    kept.reserve(text.size());
    for (char16_t c : text) {
        if (IsTaskCharacter(c)) kept += c;
    }
    return kept;
}

TaskPanelModel::TaskPanelModel() : m_rows(kMinRows) {}

void TaskPanelModel::Load(std::u16string_view todo) {
    ParsedTasks parsed = ParseTasks(todo, kMaxRows);
    m_rows = std::move(parsed.rows);
    if (m_rows.size() < kMinRows) m_rows.resize(kMinRows);
    m_rest = std::move(parsed.rest);
}

std::u16string TaskPanelModel::Save() {
    return ComposeTasks(m_rows, m_rest);
}

void TaskPanelModel::SetText(size_t row, std::u16string_view text) {
    if (row < m_rows.size()) m_rows[row].text = TaskText(text);
}

bool TaskPanelModel::KeyPressed(size_t row) {
    if (row + 1 != m_rows.size() || m_rows.size() >= kMaxRows) return false;
    m_rows.emplace_back();
    return true;
}

void TaskPanelModel::CyclePriority(size_t row, UserMessages& messages) {
    if (row >= m_rows.size()) return;
    TaskRow& task = m_rows[row];
    task.priority = (task.priority + 1) % 3;
    if (task.done) messages.ShowNotice(u"Task already done", 1500, true);
}

void TaskPanelModel::SetDone(size_t row, bool done) {
    if (row >= m_rows.size()) return;
    m_rows[row].done = done;
    if (done) m_rows[row].priority = kPlainPriority;
}

bool TaskPanelModel::Delete(size_t row, UserMessages& messages) {
    if (row >= m_rows.size()) return false;
    if (!m_rows[row].done) {
        messages.ShowNotice(u"First check the box to confirm that the task is done", 2000, false);
        return false;
    }
    m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(row));
    m_rows.emplace_back();
    if (m_rows.size() > kMinRows && m_rows[m_rows.size() - 2].text.empty()) m_rows.pop_back();
    return true;
}

void TaskPanelModel::RowColour(size_t row, int& red, int& green, int& blue) {
    const int i = static_cast<int>(row);
    red = 255;
    green = 225 - 12 * i;
    blue = 220 - 5 * i;
}

}  // namespace pondrel
