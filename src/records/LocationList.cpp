#include "records/LocationList.h"

#include "platform/Text.h"

namespace pondrel {

void LocationList::SetNames(std::vector<std::u16string> names) {
    m_names.clear();
    for (auto& name : names) {
        if (name.empty()) continue;
        if (m_names.size() == kMaxLocations) break;
        m_names.push_back(std::move(name));
    }
    ResetCounters();
}

void LocationList::SetNamesText(std::u16string_view text) {
    std::vector<std::u16string> names = Split(text, u'|');
    SetNames(std::move(names));
}

std::u16string LocationList::NamesText() const {
    std::u16string text;
    for (const auto& name : m_names) text += name + u"|";
    return text;
}

std::u16string LocationList::Selected() const {
    return m_selected.empty() ? std::u16string(kAllDepartment) : m_selected;
}

bool LocationList::IsGeneralSelection(std::u16string_view name) {
    return name == kAllDepartment || name == kAllActivatedFolders ||
           name == kClosedHospitalization || name == kNoLocation;
}

std::vector<std::u16string> LocationList::CountingEntries() const {
    std::vector<std::u16string> entries = m_names;
    entries.emplace_back(kAllDepartment);
    entries.emplace_back(kCountAllActivated);
    entries.emplace_back(kClosedHospitalization);
    entries.emplace_back(kCountNoLocation);
    return entries;
}

int LocationList::CounterOf(std::u16string_view entry) const {
    std::vector<std::u16string> entries = CountingEntries();
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i] == entry) return m_counters[i];
    }
    return 0;
}

void LocationList::ResetCounters() {
    m_counters.assign(m_names.size() + kGeneralEntries, 0);
}

void LocationList::Add(std::u16string_view location, int delta) {
    const size_t general = m_names.size();  // index of "All department"
    bool anyEqual = false;
    bool departmentEqual = false;
    std::vector<std::u16string> entries = CountingEntries();
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i] != location) continue;
        m_counters[i] += delta;
        anyEqual = true;
        if (i < general) departmentEqual = true;
    }
    if (!anyEqual) m_counters[general + 3] += delta;
    if (departmentEqual) m_counters[general] += delta;
    m_counters[general + 1] += delta;
}

bool LocationList::ShouldLoad(std::u16string_view location) const {
    std::u16string selected = Selected();
    if (location == selected) return true;
    if (selected == kAllDepartment) return location != kClosedHospitalization && !location.empty();
    if (selected == kAllActivatedFolders) return true;
    if (selected == kNoLocation) return CountsAsNoLocation(location);
    return false;
}

bool LocationList::CountsAsNoLocation(std::u16string_view location) const {
    if (location == kCountNoLocation) return true;
    for (const std::u16string& entry : CountingEntries()) {
        if (entry == location) return false;
    }
    return true;
}

std::vector<LocationList::Row> LocationList::ListRows() const {
    std::vector<Row> rows;
    auto counted = [](std::u16string_view name, int count) {
        return std::u16string(name) + u" (" + ToText(count) + u")";
    };
    for (size_t i = 0; i < m_names.size(); ++i) {
        rows.push_back({counted(m_names[i], m_counters[i]), m_names[i]});
    }
    rows.push_back({std::u16string(kLocationSeparatorLength, u'-'), {}});
    const size_t general = m_names.size();
    const std::u16string_view shown[] = {kAllDepartment, kAllActivatedFolders,
                                         kClosedHospitalization, kNoLocation};
    for (size_t i = 0; i < kGeneralEntries; ++i) {
        rows.push_back({counted(shown[i], m_counters[general + i]), std::u16string(shown[i])});
    }
    return rows;
}

std::u16string WithoutRefusedPlaceCharacters(std::u16string_view name) {
    std::u16string kept;
    for (char16_t c : name) {
        if (!IsRefusedInPlaceName(c)) kept += c;
    }
    return kept;
}

namespace {

std::u16string CharacterRefusal(std::u16string_view name) {
    for (char16_t c : name) {
        if (IsRefusedInPlaceName(c)) {
            return u"The characters \u00A2 { } | \u00A6 \u00A7 \u00AC # can not be used in a name.";
        }
    }
    return {};
}

}  // namespace

std::u16string LocationNameRefusal(std::u16string_view name) {
    if (TrimRightSpaces(name).empty()) return u"Type the name of the location first.";
    std::u16string refusal = CharacterRefusal(name);
    if (!refusal.empty()) return refusal;
    const std::u16string trimmed = TrimRightSpaces(name);
    for (std::u16string_view general : {kAllDepartment, kAllActivatedFolders, kClosedHospitalization,
                                        kNoLocation, kCountAllActivated, kCountNoLocation}) {
        if (EqualsIgnoreCase(trimmed, general)) {
            return u"\"" + std::u16string(general) +
                   u"\" is an entry of the location list; choose another name.";
        }
    }
    return {};
}

std::u16string RoomNameRefusal(std::u16string_view name) {
    return CharacterRefusal(name);
}

}  // namespace pondrel
