#include "settings/FactoryPreferences.h"

#include <algorithm>
#include <vector>

#include "records/RoomsFile.h"
#include "settings/ReadyPictures.h"

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
    // The ready-made pictures fill the first slots of the sets of areas 5, 7 and 8.
    for (int set = 0; set < 3; ++set) {
        size_t slot = static_cast<size_t>(set * kPicturesPerSet);
        for (ReadyPicture& picture : ReadyPictures(set)) {
            preferences.vectorPictures[slot++] = {std::move(picture.drawing),
                                                  std::move(picture.name)};
        }
    }
    return preferences;
}

}  // namespace pondrel
