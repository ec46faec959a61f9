#include "settings/FactoryPreferences.h"

#include <algorithm>
#include <vector>

#include "records/RoomsFile.h"

namespace pondrel {

Preferences FactoryPreferences() {
    Preferences preferences;
    std::vector<std::u16string> locations;
    for (const Room& room : FactoryRooms()) {
        if (room.location.empty()) continue;
        if (std::find(locations.begin(), locations.end(), room.location) == locations.end()) {
            locations.push_back(room.location);
        }
    }
    LocationList list;
    list.SetNames(std::move(locations));
    preferences.locationList = list.NamesText();
    return preferences;
}

}  // namespace pondrel
