#include "records/LocationSwitch.h"

#include "platform/UserMessages.h"
#include "records/ActivePatients.h"
#include "records/LocationList.h"
#include "records/PatientRecord.h"
#include "records/PatientSet.h"

namespace pondrel {

LocationSwitch ChangeLocation(std::u16string_view name, ActivePatients& active,
                              PatientSet& patients, LocationList& locations,
                              UserMessages& messages, const LocationSwitchHooks& hooks) {
    const std::u16string previous = locations.Selected();
    if (name == previous) return LocationSwitch::Unchanged;
    if (active.PendingTransfers() > 0 || active.FilesHeld() ||
        (hooks.filesBusy && hooks.filesBusy())) {
        messages.ShowNotice(u"Wait for the end of the file exchange", 2000, true);
        return LocationSwitch::Waiting;
    }
    if (const PatientRecord* current = patients.Current()) {
        active.RememberPatient(current->Field(2) + u"|" + current->Field(3));
    }
    if (!active.SaveAll(QuietLevel::Silent)) {
        const BoxAnswer answer = messages.ShowBox(
            u"An error occurs while saving the patients of the previous location. Do you want to "
            u"close without saving ?",
            u"Close without saving all?", BoxButtons::OkCancel, BoxIcon::Question);
        if (answer != BoxAnswer::Ok) {
            active.RememberPatient({});
            return LocationSwitch::Kept;
        }
    }
    locations.Select(std::u16string(name));
    active.LoadActivePatients();
    if (hooks.reloaded) hooks.reloaded();
    return LocationSwitch::Switched;
}

}  // namespace pondrel
