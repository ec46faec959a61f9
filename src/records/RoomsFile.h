#pragma once

// Rooms files ("*.roo", "\Default rooms.roo" in the installation folder): the rooms and beds of
// the department, item-encoded like a patient file. The text may start with a version mark (the
// text before a "#" found at position 0 to 5; the program writes "v3.5#"); then every room is
// its name, icon number, rank (at least two digits) and, only when the file has a mark, its
// location, each item followed by "¢".

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pondrel {

class DeviceFileSystem;

inline constexpr std::u16string_view kDefaultRoomsFile = u"\\Default rooms.roo";
inline constexpr std::u16string_view kRoomsVersionMark = u"v3.5";
inline constexpr size_t kMaxRoomsFileBytes = 100000;
inline constexpr size_t kMaxRooms = 200;

struct Room {
    std::u16string name;
    int icon = 0;  // 0 to 23, an icon of "Patients Icons.jpg"
    int rank = 0;
    std::u16string location;  // empty in files without a version mark

    bool operator==(const Room&) const = default;
};

struct RoomsFile {
    std::u16string versionMark;  // empty when the file has none
    std::vector<Room> rooms;
};

enum class RoomsReadFailure {
    None,
    CannotOpen,
    TooBig,        // more than 100 000 bytes
    TooManyRooms,  // more than 200 rooms
};

// The rank as written: at least two digits ("07").
std::u16string RankText(int rank);

// The rooms of a decoded text. A file of more than 200 rooms is refused whole (TooManyRooms,
// `out` untouched): reading a part and saving it back would lose the others. An incomplete last
// room keeps what it has.
RoomsReadFailure ParseRoomsText(std::u16string_view text, RoomsFile& out);

// The text the program writes: "v3.5#", then every room's four items.
std::u16string RoomsText(const std::vector<Room>& rooms);

// Reads and decodes a rooms file. Nothing is cut: a file over the byte or room limits is
// refused whole and `out` is left untouched.
RoomsReadFailure ReadRoomsFile(DeviceFileSystem& files, std::u16string_view path, RoomsFile& out);
// The message telling the user why `path` was not read.
std::u16string RoomsReadMessage(RoomsReadFailure failure, std::u16string_view path);

// Writes the rooms (refused, false, beyond 200 rooms or 100 000 bytes: such a file could not be
// read back whole).
bool WriteRoomsFile(DeviceFileSystem& files, std::u16string_view path,
                    const std::vector<Room>& rooms);

// Orders rooms by rank (stable for equal ranks), as the rooms editor shows them.
void SortByRank(std::vector<Room>& rooms);

// The rooms written into a new installation: a small department of two wards.
std::vector<Room> FactoryRooms();

}  // namespace pondrel
