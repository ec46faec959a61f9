#pragma once

// The room list beside "Room N°": the rooms of the selected location, each with its occupant,
// then one row per location of the department ("-> " + name) and "-> Closed hospitalization"
// to move the patient or close the hospitalisation.

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/DateTime.h"
#include "records/RoomsFile.h"

namespace pondrel {

class LocationList;
struct PatientRecord;
class PatientSet;

inline constexpr std::u16string_view kHeadingPrefix = u"-> ";
inline constexpr std::u16string_view kHeadingOccupant = u"------------------";
inline constexpr int kHeadingIcon = 27;

struct RoomListRow {
    int icon = 0;
    std::u16string name;        // room name, or "-> " + location
    std::u16string iconNumber;  // as shown in its column
    std::u16string occupant;    // empty for a free room
    std::u16string location;    // the room's location, or "-> " + location
    int occupantRecord = -1;    // position in the set of the occupant
    bool isRoom = true;         // false for the trailing location rows
};

// Which patient holds a room. A room belongs to its location: room "12" of one ward is not taken
// by the patient of room "12" of another. Names compare ignoring case. A room without a
// location (files without version mark) is matched by its name alone.
class RoomOccupancy {
public:
    explicit RoomOccupancy(const PatientSet& patients);
    // The position in the set of the first patient holding the room, or -1.
    int Occupant(std::u16string_view room, std::u16string_view location) const;

private:
    std::unordered_map<std::u16string, int> m_byRoomAndLocation;
    std::unordered_map<std::u16string, int> m_byRoom;
};

// The rows of LoadRoomList for the selected location of `locations`: the rooms whose location
// equals the selection (ignoring case), all rooms under "All department", the rooms without
// location under "No location"; then the location rows and "-> Closed hospitalization".
std::vector<RoomListRow> BuildRoomList(const std::vector<Room>& rooms,
                                       const LocationList& locations);

// Fills the occupant column of every room row: title word + " " (only with a last name), last
// name, " ", first letter of the first name, two spaces and field 6.
void FillOccupants(std::vector<RoomListRow>& rows, const PatientSet& patients,
                   const std::function<std::u16string(const PatientRecord&)>& titleWord);

// What a tap on a row of the room list does for the current patient.
enum class RoomPick {
    Nothing,  // no such row
    Taken,    // "This bed is already taken"
    Place,    // a free room or another location
    Close,    // "-> Closed hospitalization": asks first
};
RoomPick DecideRoomPick(const std::vector<RoomListRow>& rows, int row);

// Places the record at the row: field 94, `icon` and `location` from its columns (without the
// leading "-", ">" and spaces of location rows). For the closing row, `exit` := now when the
// exit date is not set yet.
void PlaceInRoom(PatientRecord& record, const RoomListRow& row, const DateTime& now);

}  // namespace pondrel
