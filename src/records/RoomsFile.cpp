#include "records/RoomsFile.h"

#include <algorithm>

#include "platform/DeviceFileSystem.h"
#include "platform/Text.h"
#include "records/ItemEncoding.h"

namespace pondrel {

namespace {

// Largest position of the "#" that ends a version mark.
constexpr size_t kMarkEndLimit = 5;

}  // namespace

std::u16string RankText(int rank) {
    std::u16string text = ToText(rank);
    if (rank >= 0 && text.size() < 2) text.insert(0, 1, u'0');
    return text;
}

RoomsReadFailure ParseRoomsText(std::u16string_view text, RoomsFile& out) {
    RoomsFile file;
    const size_t mark = text.find(u'#');
    bool hasMark = false;
    if (mark != std::u16string_view::npos && mark <= kMarkEndLimit) {
        file.versionMark = std::u16string(text.substr(0, mark));
        text.remove_prefix(mark + 1);
        hasMark = true;
    }
    const size_t itemsPerRoom = hasMark ? 4 : 3;
    std::vector<std::u16string_view> items;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find(kItemEnd, start);
        if (end == std::u16string_view::npos) {
            items.push_back(text.substr(start));
            break;
        }
        items.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    const size_t roomCount = (items.size() + itemsPerRoom - 1) / itemsPerRoom;
    if (roomCount > kMaxRooms) return RoomsReadFailure::TooManyRooms;
    for (size_t i = 0; i < items.size(); i += itemsPerRoom) {
        Room room;
        room.name = std::u16string(items[i]);
        if (i + 1 < items.size()) room.icon = ParseInt(items[i + 1]);
        if (i + 2 < items.size()) room.rank = ParseInt(items[i + 2]);
        if (hasMark && i + 3 < items.size()) room.location = std::u16string(items[i + 3]);
        file.rooms.push_back(std::move(room));
    }
    out = std::move(file);
    return RoomsReadFailure::None;
}

std::u16string RoomsText(const std::vector<Room>& rooms) {
    std::u16string text(kRoomsVersionMark);
    text += u'#';
    for (const Room& room : rooms) {
        for (const std::u16string& item :
             {room.name, ToText(room.icon), RankText(room.rank), room.location}) {
            text += item;
            text += kItemEnd;
        }
    }
    return text;
}

RoomsReadFailure ReadRoomsFile(DeviceFileSystem& files, std::u16string_view path, RoomsFile& out) {
    std::string bytes;
    // One byte more than allowed tells a file over the limit from one just at it.
    if (!files.ReadFile(path, kMaxRoomsFileBytes + 1, bytes)) return RoomsReadFailure::CannotOpen;
    if (bytes.size() > kMaxRoomsFileBytes) return RoomsReadFailure::TooBig;
    return ParseRoomsText(DecodeItemText(bytes), out);
}

std::u16string RoomsReadMessage(RoomsReadFailure failure, std::u16string_view path) {
    const std::u16string file = u"The file <" + std::u16string(path) + u">";
    switch (failure) {
        case RoomsReadFailure::None:
            return {};
        case RoomsReadFailure::CannotOpen:
            return file + u" can not be opened.";
        case RoomsReadFailure::TooBig:
            return file + u" is too big (more than " +
                   ToText(static_cast<long long>(kMaxRoomsFileBytes)) +
                   u" bytes). It has not been loaded and is left unchanged.";
        case RoomsReadFailure::TooManyRooms:
            return file + u" holds more than " + ToText(static_cast<long long>(kMaxRooms)) +
                   u" rooms. It has not been loaded and is left unchanged.";
    }
    return {};
}

bool WriteRoomsFile(DeviceFileSystem& files, std::u16string_view path,
                    const std::vector<Room>& rooms) {
    if (rooms.size() > kMaxRooms) return false;
    const std::string bytes = EncodeItemText(RoomsText(rooms));
    if (bytes.size() > kMaxRoomsFileBytes) return false;
    return files.WriteFile(path, bytes);
}

void SortByRank(std::vector<Room>& rooms) {
    std::stable_sort(rooms.begin(), rooms.end(),
                     [](const Room& a, const Room& b) { return a.rank < b.rank; });
}

std::vector<Room> FactoryRooms() {
    std::vector<Room> rooms;
    auto add = [&rooms](std::u16string name, int icon, std::u16string_view location) {
        rooms.push_back(Room{std::move(name), icon, static_cast<int>(rooms.size()),
                             std::u16string(location)});
    };
    // Rooms 101 to 115 in ward A, 116 to 130 in ward B; the icons tell single rooms (0) from
    // the beds of the monitoring rooms (5) at the end of each ward.
    for (int room = 101; room <= 130; ++room) {
        const bool monitoring = room == 114 || room == 115 || room == 129 || room == 130;
        add(ToText(room), monitoring ? 5 : 0, room <= 115 ? u"Ward A" : u"Ward B");
    }
    return rooms;
}

}  // namespace pondrel
