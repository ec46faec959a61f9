#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "records/ReservedCharacters.h"

namespace pondrel {

// The four general selections of the location list.
inline constexpr std::u16string_view kAllDepartment = u"All department";
inline constexpr std::u16string_view kAllActivatedFolders = u"All activated folders";
inline constexpr std::u16string_view kClosedHospitalization = u"Closed hospitalization";
inline constexpr std::u16string_view kNoLocation = u"No location";
// How two of them are spelt in the counting list.
inline constexpr std::u16string_view kCountAllActivated = u"XX All activated folders XX";
inline constexpr std::u16string_view kCountNoLocation = u"XX No location XX";
// The separator line between the locations and the general entries of the location list.
inline constexpr size_t kLocationSeparatorLength = 57;

// The locations of the department, the selected location and the number of patients counted at
// each entry. The counting list is the location names in order followed by "All department",
// "XX All activated folders XX", "Closed hospitalization" and "XX No location XX"; every entry
// has its own counter.
// The characters refused in location and room names, typed or pasted: those the file formats
// reserve, and "{" and "}".
constexpr bool IsRefusedInPlaceName(char16_t c) {
    return IsReservedCharacter(c) || c == u'{' || c == u'}';
}
// The name without the refused characters (what a pasted text keeps).
std::u16string WithoutRefusedPlaceCharacters(std::u16string_view name);
// Why a name can not be a location of the list; empty when it can. Refused: an empty name, a
// refused character, and the names of the general entries (ignoring case).
std::u16string LocationNameRefusal(std::u16string_view name);
// Why a name can not be a room name; empty when it can (an empty name is allowed: a new row).
std::u16string RoomNameRefusal(std::u16string_view name);

class LocationList {
public:
    static constexpr size_t kMaxLocations = 50;
    static constexpr size_t kGeneralEntries = 4;

    LocationList() { ResetCounters(); }

    // The department's locations; at most 50 are kept, empty names are dropped.
    void SetNames(std::vector<std::u16string> names);
    const std::vector<std::u16string>& Names() const { return m_names; }
    // The stored form: every name followed by "|".
    void SetNamesText(std::u16string_view text);
    std::u16string NamesText() const;

    // The selected location; "All department" when none was chosen.
    std::u16string Selected() const;
    void Select(std::u16string name) { m_selected = std::move(name); }
    // True for the four general selections (not a location of the department).
    static bool IsGeneralSelection(std::u16string_view name);

    // Counting list entries and their counters, in the same order.
    std::vector<std::u16string> CountingEntries() const;
    const std::vector<int>& Counters() const { return m_counters; }
    // The counter of a counting-list entry; 0 for an unknown entry.
    int CounterOf(std::u16string_view entry) const;
    void ResetCounters();

    // Counts a patient at `location`: every equal entry, else "XX No location XX"; "All
    // department" too when the equal entry is a department location; always "XX All activated
    // folders XX". Uncounting undoes it.
    void CountPatient(std::u16string_view location) { Add(location, 1); }
    void UncountPatient(std::u16string_view location) { Add(location, -1); }

    // Whether a patient at `location` is loaded while the selected location is shown. Under
    // "No location" it is every patient counted there: an empty location, and a location no
    // longer in the list (renamed or deleted).
    bool ShouldLoad(std::u16string_view location) const;
    // True when a patient at `location` is counted under "XX No location XX".
    bool CountsAsNoLocation(std::u16string_view location) const;

    // The rows of the location list as shown: every location with " (n)", a separator, then the
    // four general entries with their counters. `selection` is what choosing the row selects
    // (empty for the separator).
    struct Row {
        std::u16string text;
        std::u16string selection;
    };
    std::vector<Row> ListRows() const;

private:
    void Add(std::u16string_view location, int delta);

    std::vector<std::u16string> m_names;
    std::u16string m_selected;
    std::vector<int> m_counters;  // one per counting-list entry
};

}  // namespace pondrel
