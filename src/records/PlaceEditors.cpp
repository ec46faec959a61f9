#include "records/PlaceEditors.h"

#include <algorithm>
#include <utility>

#include "platform/Text.h"
#include "records/LocationList.h"

namespace pondrel {

int LocationEditing::Find(std::u16string_view name) const {
    for (int i = 0; i < Size(); ++i) {
        if (EqualsIgnoreCase(m_names[static_cast<size_t>(i)], name)) return i;
    }
    return -1;
}

std::u16string LocationEditing::Add(std::u16string_view typed) {
    const std::u16string name = TrimRightSpaces(typed);
    std::u16string refusal = LocationNameRefusal(name);
    if (!refusal.empty()) return refusal;
    if (Find(name) >= 0) return {};
    if (m_names.size() >= LocationList::kMaxLocations) return u"Max 50 items in the list";
    m_names.push_back(name);
    m_selected = Size() - 1;
    return {};
}

std::u16string LocationEditing::Rename(std::u16string_view typed) {
    if (m_selected < 0) return u"Select first the item to rename in the list";
    const std::u16string name = TrimRightSpaces(typed);
    std::u16string refusal = LocationNameRefusal(name);
    if (!refusal.empty()) return refusal;
    const int found = Find(name);
    if (found >= 0 && found != m_selected) return {};
    m_names[static_cast<size_t>(m_selected)] = name;
    return {};
}

std::u16string LocationEditing::Delete() {
    if (m_selected < 0) return u"Select first the item to delete in the list";
    m_names.erase(m_names.begin() + m_selected);
    m_selected = m_names.empty() ? -1 : std::max(0, m_selected - 1);
    return {};
}

std::u16string LocationEditing::Up() {
    if (m_selected < 0) return u"Select first the item to move in the list";
    if (m_selected == 0) return u"The item is already at the top of the list";
    std::swap(m_names[static_cast<size_t>(m_selected)],
              m_names[static_cast<size_t>(m_selected - 1)]);
    --m_selected;
    return {};
}

std::u16string LocationEditing::Down() {
    if (m_selected < 0) return u"Select first the item to move in the list";
    if (m_selected == Size() - 1) return u"The item is already at the bottom of the list";
    std::swap(m_names[static_cast<size_t>(m_selected)],
              m_names[static_cast<size_t>(m_selected + 1)]);
    ++m_selected;
    return {};
}

std::u16string LocationEditing::Text() const {
    std::u16string text;
    for (const std::u16string& name : m_names) text += name + u"|";
    return text;
}

std::u16string LocationEditing::QuestionBeforeChange(const LocationList& counted,
                                                     bool deleting) const {
    if (m_selected < 0) return {};
    const std::u16string& name = m_names[static_cast<size_t>(m_selected)];
    const int patients = counted.CounterOf(name);
    if (patients <= 0) return {};
    return ToText(patients) + (patients == 1 ? u" patient is" : u" patients are") + u" in <" +
           name + u">. " + (deleting ? u"Delete" : u"Rename") +
           u" the location anyway ? Their folders keep the old name and are shown under \"No "
           u"location\".";
}

RoomsEditing::RoomsEditing(std::vector<Room> rooms) : m_rooms(std::move(rooms)) { Sort(); }

void RoomsEditing::Sort() {
    // The selected room stays selected wherever the sort puts it.
    std::vector<std::pair<Room, bool>> tagged;
    for (int i = 0; i < Size(); ++i) tagged.emplace_back(m_rooms[static_cast<size_t>(i)], i == m_selected);
    std::stable_sort(tagged.begin(), tagged.end(),
                     [](const auto& a, const auto& b) { return a.first.rank < b.first.rank; });
    m_selected = -1;
    for (size_t i = 0; i < tagged.size(); ++i) {
        m_rooms[i] = std::move(tagged[i].first);
        if (tagged[i].second) m_selected = static_cast<int>(i);
    }
}

std::u16string RoomsEditing::SetName(std::u16string_view name) {
    if (m_selected < 0) return {};
    std::u16string refusal = RoomNameRefusal(name);
    if (!refusal.empty()) return refusal;
    m_rooms[static_cast<size_t>(m_selected)].name = std::u16string(name);
    return {};
}

std::u16string RoomsEditing::SetLocation(std::u16string_view location) {
    if (m_selected < 0) return {};
    std::u16string refusal = RoomNameRefusal(location);
    if (!refusal.empty()) return refusal;
    m_rooms[static_cast<size_t>(m_selected)].location = std::u16string(location);
    return {};
}

void RoomsEditing::SetIcon(int icon) {
    if (m_selected < 0 || icon < 0 || icon > 23) return;
    m_rooms[static_cast<size_t>(m_selected)].icon = icon;
}

std::u16string RoomsEditing::Add() {
    if (m_rooms.size() >= kMaxRooms) return u"Max 200 rooms in the list";
    m_rooms.push_back(Room{{}, 0, Size(), {}});
    m_selected = Size() - 1;
    Sort();
    return {};
}

void RoomsEditing::Delete() {
    if (m_selected < 0) return;
    m_rooms.erase(m_rooms.begin() + m_selected);
    for (size_t i = static_cast<size_t>(m_selected); i < m_rooms.size(); ++i) --m_rooms[i].rank;
    m_selected = m_rooms.empty() ? -1 : std::min(m_selected, Size() - 1);
}

void RoomsEditing::Up() {
    if (m_selected <= 0) return;
    std::swap(m_rooms[static_cast<size_t>(m_selected)].rank,
              m_rooms[static_cast<size_t>(m_selected - 1)].rank);
    Sort();
}

void RoomsEditing::Down() {
    if (m_selected < 0 || m_selected >= Size() - 1) return;
    std::swap(m_rooms[static_cast<size_t>(m_selected)].rank,
              m_rooms[static_cast<size_t>(m_selected + 1)].rank);
    Sort();
}

}  // namespace pondrel
