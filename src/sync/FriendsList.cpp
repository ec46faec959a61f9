#include "sync/FriendsList.h"

#include <algorithm>

#include "platform/Text.h"
#include "sync/WireNames.h"

namespace pondrel {

bool FriendsList::Contains(std::u16string_view name) const {
    return std::any_of(m_rows.begin(), m_rows.end(),
                       [&](const Friend& f) { return f.name == name; });
}

void FriendsList::SetText(std::u16string_view text, std::u16string_view ownName) {
    m_rows.clear();
    for (std::u16string& name : Split(text, u'|')) {
        if (IsValidUserName(name) && name != ownName && !Contains(name)) {
            m_rows.push_back(Friend{std::move(name)});
        }
    }
}

std::u16string FriendsList::Text() const {
    std::u16string text;
    for (const Friend& f : m_rows) text += f.name + u"|";
    return text;
}

std::vector<std::u16string> FriendsList::UpdateOnline(const std::vector<std::u16string>& online,
                                                      std::u16string_view ownName) {
    std::vector<std::u16string> added;
    for (const std::u16string& name : online) {
        if (name == ownName || !IsValidUserName(name) || Contains(name)) continue;
        m_rows.insert(m_rows.begin(), Friend{name});
        added.push_back(name);
    }
    for (Friend& f : m_rows) {
        f.online = std::find(online.begin(), online.end(), f.name) != online.end();
    }
    return added;
}

FriendsList::AddResult FriendsList::Add(std::u16string_view name, std::u16string_view ownName) {
    if (name == ownName) return AddResult::OwnName;
    if (!IsValidUserName(name)) return AddResult::Unusable;
    for (Friend& f : m_rows) {
        if (f.name != name) continue;
        f.checked = true;
        return AddResult::AlreadyListed;
    }
    m_rows.insert(m_rows.begin(), Friend{std::u16string(name), true, false});
    return AddResult::Added;
}

bool FriendsList::IsOnline(std::u16string_view name) const {
    return std::any_of(m_rows.begin(), m_rows.end(),
                       [&](const Friend& f) { return f.online && f.name == name; });
}

void FriendsList::SetChecked(size_t row, bool checked) {
    if (row < m_rows.size()) m_rows[row].checked = checked;
}

void FriendsList::CheckAll(bool checked) {
    for (Friend& f : m_rows) f.checked = checked;
}

size_t FriendsList::RemoveChecked() {
    size_t before = m_rows.size();
    std::erase_if(m_rows, [](const Friend& f) { return f.checked; });
    return before - m_rows.size();
}

}  // namespace pondrel
