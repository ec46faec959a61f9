#pragma once

// Switching the patients shown to another location: every record is saved, the selection
// changes and the patients of the new location are read.

#include <functional>
#include <string>
#include <string_view>

namespace pondrel {

class ActivePatients;
class LocationList;
class PatientSet;
class UserMessages;

enum class LocationSwitch {
    Unchanged,  // the name was already selected
    Switched,   // saved, selected and reloaded
    Kept,       // a save failed and the user kept the current patients: selection restored
    Waiting,    // files are being exchanged with the server or held by a dialogue: not now
};

struct LocationSwitchHooks {
    // True while something else keeps the files busy (besides pending transfers and held files).
    std::function<bool()> filesBusy;
    // After the reload: the room list, the patient list, the synchronisation file list.
    std::function<void()> reloaded;
};

// ChangeLocation. The current patient is remembered by field 2 + "|" + field 3 so that the reload
// shows it again. On a failed save the user is asked whether to go on without saving; Cancel
// keeps the previous selection with its patients.
LocationSwitch ChangeLocation(std::u16string_view name, ActivePatients& active,
                              PatientSet& patients, LocationList& locations,
                              UserMessages& messages, const LocationSwitchHooks& hooks = {});

}  // namespace pondrel
