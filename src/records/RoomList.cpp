#include "records/RoomList.h"

#include "platform/Text.h"
#include "records/LocationList.h"
#include "records/PatientRecord.h"
#include "records/PatientSet.h"

namespace pondrel {

namespace {

constexpr int kRoomField = 94;

std::u16string Key(std::u16string_view room, std::u16string_view location) {
    std::u16string key = FoldCase(room);
    key += u'\u0001';  // never in a name: the two parts can not run into each other
    key += FoldCase(location);
    return key;
}

// The text of a location row's column without its leading "-", ">" and spaces.
std::u16string WithoutHeading(std::u16string_view text) {
    size_t start = 0;
    while (start < text.size() &&
           (text[start] == u'-' || text[start] == u'>' || text[start] == u' ')) {
        ++start;
    }
    return std::u16string(text.substr(start));
}

}  // namespace

RoomOccupancy::RoomOccupancy(const PatientSet& patients) {
    for (int i = 0; i < patients.Count(); ++i) {
        const PatientRecord* record = patients.At(i);
        if (record == nullptr) continue;
        const std::u16string& room = record->Field(kRoomField);
        if (room.empty()) continue;
        m_byRoomAndLocation.try_emplace(Key(room, record->location), i);
        m_byRoom.try_emplace(FoldCase(room), i);
    }
}

int RoomOccupancy::Occupant(std::u16string_view room, std::u16string_view location) const {
    if (room.empty()) return -1;
    if (location.empty()) {
        auto found = m_byRoom.find(FoldCase(room));
        return found == m_byRoom.end() ? -1 : found->second;
    }
    auto found = m_byRoomAndLocation.find(Key(room, location));
    return found == m_byRoomAndLocation.end() ? -1 : found->second;
}

std::vector<RoomListRow> BuildRoomList(const std::vector<Room>& rooms,
                                       const LocationList& locations) {
    const std::u16string selected = locations.Selected();
    const bool all = selected == kAllDepartment;
    const bool none = selected == kNoLocation;
    std::vector<RoomListRow> rows;
    rows.reserve(rooms.size() + locations.Names().size() + 1);
    for (const Room& room : rooms) {
        const bool kept = all || (none ? room.location.empty()
                                       : EqualsIgnoreCase(room.location, selected));
        if (!kept) continue;
        RoomListRow row;
        row.icon = room.icon;
        row.name = room.name;
        row.iconNumber = ToText(room.icon);
        row.location = room.location;
        rows.push_back(std::move(row));
    }
    auto heading = [&rows](std::u16string_view location, std::u16string_view iconNumber) {
        RoomListRow row;
        row.icon = kHeadingIcon;
        row.name = std::u16string(kHeadingPrefix) + std::u16string(location);
        row.iconNumber = std::u16string(iconNumber);
        row.occupant = std::u16string(kHeadingOccupant);
        row.location = row.name;
        row.isRoom = false;
        rows.push_back(std::move(row));
    };
    for (const std::u16string& name : locations.Names()) heading(name, u"27");
    heading(kClosedHospitalization, u"0");
    return rows;
}

void FillOccupants(std::vector<RoomListRow>& rows, const PatientSet& patients,
                   const std::function<std::u16string(const PatientRecord&)>& titleWord) {
    const RoomOccupancy occupancy(patients);
    for (RoomListRow& row : rows) {
        if (!row.isRoom) continue;
        row.occupantRecord = occupancy.Occupant(row.name, row.location);
        row.occupant.clear();
        if (row.occupantRecord < 0) continue;
        const PatientRecord& record = *patients.At(row.occupantRecord);
        const std::u16string& last = record.Field(2);
        const std::u16string& first = record.Field(3);
        if (!last.empty() && titleWord) row.occupant = titleWord(record) + u" ";
        row.occupant += last + u" " + first.substr(0, first.empty() ? 0 : 1) + u"  " +
                        record.Field(6);
    }
}

RoomPick DecideRoomPick(const std::vector<RoomListRow>& rows, int row) {
    if (row < 0 || row >= static_cast<int>(rows.size())) return RoomPick::Nothing;
    if (row == static_cast<int>(rows.size()) - 1 && !rows[static_cast<size_t>(row)].isRoom) {
        return RoomPick::Close;
    }
    const RoomListRow& picked = rows[static_cast<size_t>(row)];
    if (picked.isRoom && (picked.occupantRecord >= 0 || !picked.occupant.empty())) {
        return RoomPick::Taken;
    }
    return RoomPick::Place;
}

void PlaceInRoom(PatientRecord& record, const RoomListRow& row, const DateTime& now) {
    if (!row.isRoom && WithoutHeading(row.location) == kClosedHospitalization &&
        record.exitDateSet != 1) {
        record.exit = now;
        record.exitDateSet = 1;
    }
    record.SetField(kRoomField, WithoutHeading(row.name));
    record.icon = ParseInt(row.iconNumber);
    // A room of a file without locations does not move the patient out of its location.
    if (row.isRoom && row.location.empty()) return;
    record.location = WithoutHeading(row.location);
}

}  // namespace pondrel
