#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "labels/Labels.h"
#include "mainform/PatientList.h"
#include "platform/FileRegistry.h"
#include "platform/HostFileSystem.h"
#include "platform/Clock.h"
#include "platform/Text.h"
#include "platform/Timers.h"
#include "records/ActivePatients.h"
#include "records/LocationList.h"
#include "records/PatientRecord.h"
#include "records/PatientSet.h"
#include "records/RoomList.h"
#include "records/RoomsFile.h"
#include "settings/Preferences.h"
#include "settings/PreferencesFile.h"
#include "startup/DeviceSetup.h"
#include "startup/InstallationFinder.h"
#include "tool/HostFiles.h"
#include "tool/ToolCommand.h"
#include "tool/ValueEscaping.h"

namespace pondrel::tool {
namespace {

int RunRooms(const std::vector<std::string>& args);
int RunRoomsFactory(const std::vector<std::string>& args);
int RunLocations(const std::vector<std::string>& args);
int RunWard(const std::vector<std::string>& args);

const ToolCommand kRooms{"rooms", "rooms FILE.roo",
                         "prints the version mark and the rooms of a rooms file", RunRooms};
const ToolCommand kRoomsFactory{"rooms-factory", "rooms-factory DIR",
                                "writes the factory rooms as \"Default rooms.roo\"",
                                RunRoomsFactory};
const ToolCommand kLocations{
    "locations", "locations DEVICE",
    "prints every entry of the location list with the number of patients counted there",
    RunLocations};
const ToolCommand kWard{"ward", "ward DEVICE [--location NAME]",
                        "prints the patients loaded for a location in room order, and its empty "
                        "beds",
                        RunWard};

std::string Joined(std::initializer_list<std::u16string_view> parts) {
    std::u16string line;
    bool first = true;
    for (std::u16string_view part : parts) {
        if (!first) line += u'|';
        line += part;
        first = false;
    }
    return EscapedValue(line);
}

int RunRooms(const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError(kRooms);
    const std::filesystem::path file(args[0]);
    const std::optional<std::u16string> name = DeviceNameOf(file);
    if (!name) return 1;
    HostFileSystem files(FolderOf(file));
    RoomsFile rooms;
    const RoomsReadFailure failure = ReadRoomsFile(files, *name, rooms);
    if (failure != RoomsReadFailure::None) {
        std::fprintf(stderr, "pondrel-tool rooms: %s\n",
                     ToUtf8(RoomsReadMessage(failure, FromUtf8(args[0]))).c_str());
        return 1;
    }
    PrintValueLine("version", rooms.versionMark);
    for (const Room& room : rooms.rooms) {
        std::printf("room=%s\n", Joined({room.name, ToText(room.icon), RankText(room.rank),
                                         room.location})
                                     .c_str());
    }
    return 0;
}

int RunRoomsFactory(const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError(kRoomsFactory);
    const std::filesystem::path folder(args[0]);
    if (!std::filesystem::is_directory(folder)) {
        std::fprintf(stderr, "pondrel-tool rooms-factory: no such folder %s\n", args[0].c_str());
        return 1;
    }
    HostFileSystem files(folder);
    if (!WriteRoomsFile(files, kDefaultRoomsFile, FactoryRooms())) {
        std::fprintf(stderr, "pondrel-tool rooms-factory: cannot write the rooms file\n");
        return 1;
    }
    std::printf("%s\n", (folder / ToUtf8(kDefaultRoomsFile.substr(1))).string().c_str());
    return 0;
}

class NoTimers final : public Timers {
public:
    void Start(TimerId, int, std::function<void()>) override {}
    void Stop(TimerId) override {}
    bool IsRunning(TimerId) const override { return false; }
};

// The patients of a device as the program loads them at start-up: the installation folder found
// as the program finds it, its location list and selection, then the active set's load.
struct Ward {
    explicit Ward(const std::filesystem::path& device) : files(device), patients(clock) {}

    bool Load(const std::filesystem::path& device, const std::optional<std::u16string>& location) {
        FileRegistry registry(device / DeviceSetup::kRegistryFile);
        const std::optional<std::u16string> installation =
            InstallationFinder(files, registry).Find();
        if (!installation) {
            std::fprintf(stderr, "no installation folder found in %s\n", device.string().c_str());
            return false;
        }
        folders.installation = *installation;
        ReadPreferencesFile(files, folders.InstallationFile(u"Preferences.pre"), preferences);
        locations.SetNamesText(preferences.locationList);
        locations.Select(location ? *location : preferences.selectedLocation);
        active = std::make_unique<ActivePatients>(files, messages, timers, folders, patients,
                                                  locations);
        return active->LoadActivePatients();
    }

    HostFileSystem files;
    SystemClock clock;
    StderrMessages messages;
    NoTimers timers;
    WorkingFolders folders;
    Preferences preferences;
    PatientSet patients;
    LocationList locations;
    std::unique_ptr<ActivePatients> active;
};

int RunLocations(const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError(kLocations);
    Ward ward(args[0]);
    if (!ward.Load(args[0], std::nullopt)) return 1;
    const std::vector<LocationList::Row> rows = ward.locations.ListRows();
    const std::vector<int>& counters = ward.locations.Counters();
    size_t entry = 0;
    for (const LocationList::Row& row : rows) {
        if (row.selection.empty()) continue;  // the separator
        std::printf("location=%s\n",
                    Joined({row.selection, ToText(counters[entry])}).c_str());
        ++entry;
    }
    return 0;
}

int RunWard(const std::vector<std::string>& args) {
    if (args.size() != 1 && args.size() != 3) return UsageError(kWard);
    std::optional<std::u16string> location;
    if (args.size() == 3) {
        std::u16string value;
        if (args[1] != "--location" || !UnescapeValue(args[2], value)) return UsageError(kWard);
        location = value;
    }
    Ward ward(args[0]);
    if (!ward.Load(args[0], location)) return 1;
    RoomsFile rooms;
    const std::u16string roomsPath = ward.folders.InstallationFile(kDefaultRoomsFile.substr(1));
    const RoomsReadFailure failure = ReadRoomsFile(ward.files, roomsPath, rooms);
    if (failure != RoomsReadFailure::None) {
        std::fprintf(stderr, "%s\n", ToUtf8(RoomsReadMessage(failure, roomsPath)).c_str());
    }
    const std::vector<RoomListRow> roomList = BuildRoomList(rooms.rooms, ward.locations);
    const std::vector<PatientListRow> rows =
        BuildPatientList(ward.patients, roomList, PatientListOrder{}, Labels::Defaults(),
                         AgeWords{}, DateOrder::DayMonthYear, ward.clock.Now());
    for (const PatientListRow& row : rows) {
        if (row.IsEmptyBed()) continue;
        const PatientRecord& record = *ward.patients.At(row.record);
        if (record.inUse != 1) continue;  // the empty record of an empty set
        std::printf("patient=%s\n",
                    Joined({record.fileName, record.Field(2), record.Field(3), record.Field(94),
                            record.location})
                        .c_str());
    }
    RoomOccupancy occupancy(ward.patients);
    for (const RoomListRow& row : roomList) {
        if (!row.isRoom || occupancy.Occupant(row.name, row.location) >= 0) continue;
        std::printf("empty=%s\n", Joined({row.name, row.location}).c_str());
    }
    return 0;
}

}  // namespace
}  // namespace pondrel::tool
