#include "charts/ExamTitlesEditor.h"

#include <algorithm>
#include <utility>

#include "charts/ExamTitles.h"
#include "platform/UserMessages.h"

namespace pondrel {

std::u16string ExamTitlesEditor::WithoutRefused(std::u16string_view text) {
    std::u16string kept;
    for (char16_t c : text) {
        if (kRefused.find(c) == std::u16string_view::npos) kept += c;
    }
    return kept;
}

ExamTitlesEditor::ExamTitlesEditor(std::u16string_view storedTitles, UserMessages& messages)
    : m_messages(messages) {
    for (std::u16string& title : SplitExamTitles(storedTitles)) {
        if (!title.empty()) m_entries.push_back(std::move(title));
    }
    Select(m_entries.empty() ? -1 : 0);
}

void ExamTitlesEditor::Select(int index) {
    if (index < 0 || index >= static_cast<int>(m_entries.size())) {
        m_selected = -1;
        return;
    }
    m_selected = index;
    m_edit = m_entries[static_cast<size_t>(index)];
}

bool ExamTitlesEditor::Contains(std::u16string_view text) const {
    return std::find(m_entries.begin(), m_entries.end(), text) != m_entries.end();
}

void ExamTitlesEditor::Tell(std::u16string_view text) {
    m_messages.ShowBox(std::u16string(text), u"");
}

void ExamTitlesEditor::Add() {
    if (m_edit.empty()) return Tell(u"Insert first the title of the exam");
    if (Contains(m_edit)) return;
    if (static_cast<int>(m_entries.size()) >= kMaxExamTitles) {
        return Tell(u"Max 50 items in the list");
    }
    m_entries.push_back(m_edit);
    m_selected = static_cast<int>(m_entries.size()) - 1;
}

void ExamTitlesEditor::Rename() {
    if (m_selected < 0) return Tell(u"Select first the item to rename in the list");
    // An empty title would vanish from the stored list.
    if (m_edit.empty()) return Tell(u"Insert first the title of the exam");
    if (Contains(m_edit)) return;
    m_entries[static_cast<size_t>(m_selected)] = m_edit;
}

void ExamTitlesEditor::Move(int by, std::u16string_view atEnd) {
    if (m_selected < 0) return Tell(u"Select first the item to move in the list");
    int to = m_selected + by;
    if (to < 0 || to >= static_cast<int>(m_entries.size())) return Tell(atEnd);
    std::swap(m_entries[static_cast<size_t>(m_selected)], m_entries[static_cast<size_t>(to)]);
    m_selected = to;
}

void ExamTitlesEditor::Up() {
    Move(-1, u"The item is already at the top of the list");
}

void ExamTitlesEditor::Down() {
    Move(1, u"The item is already at the bottom of the list");
}

void ExamTitlesEditor::Delete() {
    if (m_selected < 0) return Tell(u"Select first the item to delete in the list");
    m_entries.erase(m_entries.begin() + m_selected);
    Select(m_entries.empty() ? -1 : std::max(0, m_selected - 1));
}

std::u16string ExamTitlesEditor::StoredTitles() const {
    return JoinExamTitles(m_entries);
}

}  // namespace pondrel
