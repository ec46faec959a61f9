#pragma once

// What the location editor and the rooms editor do with their copies, without the dialogues.
// Every operation returns the message to show, empty when none.

#include <string>
#include <vector>

#include "records/RoomsFile.h"

namespace pondrel {

class LocationList;

class LocationEditing {
public:
    explicit LocationEditing(std::vector<std::u16string> names) : m_names(std::move(names)) {}

    const std::vector<std::u16string>& Names() const { return m_names; }
    int Selected() const { return m_selected; }
    void Select(int row) { m_selected = row >= 0 && row < Size() ? row : -1; }

    std::u16string Add(std::u16string_view typed);
    std::u16string Rename(std::u16string_view typed);
    std::u16string Delete();
    std::u16string Up();
    std::u16string Down();
    // The list text: every name followed by "|".
    std::u16string Text() const;
    // The question to ask before renaming or deleting the selected location while patients are
    // counted there (they would then be counted under "No location"); empty when none are.
    std::u16string QuestionBeforeChange(const LocationList& counted, bool deleting) const;

private:
    int Size() const { return static_cast<int>(m_names.size()); }
    int Find(std::u16string_view name) const;

    std::vector<std::u16string> m_names;
    int m_selected = -1;
};

// The rooms editor's rows, kept sorted by rank.
class RoomsEditing {
public:
    explicit RoomsEditing(std::vector<Room> rooms);

    const std::vector<Room>& Rooms() const { return m_rooms; }
    int Selected() const { return m_selected; }
    void Select(int row) { m_selected = row >= 0 && row < Size() ? row : -1; }

    // Typing in the room or location box changes the selected row at once. A name with a
    // refused character is refused (message) and the row keeps its name.
    std::u16string SetName(std::u16string_view name);
    std::u16string SetLocation(std::u16string_view location);
    void SetIcon(int icon);
    // Add: an empty room, icon 0, the next rank; selected. Over 200 rooms: refused.
    std::u16string Add();
    void Delete();
    void Up();
    void Down();

private:
    int Size() const { return static_cast<int>(m_rooms.size()); }
    void Sort();

    std::vector<Room> m_rooms;
    int m_selected = -1;
};

}  // namespace pondrel
