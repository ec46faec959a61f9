// "Quick load file": an archived patient brought back among the active patients and shown.

#include <string>
#include <vector>

#include "labels/QuickLoad.h"
#include "labels/ui/CQuickLoadDlg.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "records/ActivePatients.h"
#include "records/CCorvaneDoc.h"
#include "records/FilesHold.h"
#include "records/LocationList.h"
#include "records/LocationSwitch.h"
#include "records/PatientFileReader.h"
#include "records/PatientRecord.h"
#include "records/PatientSet.h"
#include "sync/FileExchange.h"
#include "sync/SyncSession.h"
#include "ui/frame/CCorvaneView.h"
#include "ui/pages/SyncPages.h"
#include "ui/pages/WardControls.h"

namespace pondrel {

namespace {

// The position in the set of the record read from `fileName`; -1 when none is loaded.
int RecordOfFile(const PatientSet& patients, std::u16string_view fileName) {
    for (int i = 0; i < patients.Count(); ++i) {
        const PatientRecord* record = patients.At(i);
        if (record && !record->fileName.empty() && EqualsIgnoreCase(record->fileName, fileName)) {
            return i;
        }
    }
    return -1;
}

// The entry of the location list whose selection loads a patient at `location`: the patient's
// own location when it is an entry of the list, else "No location", else every active folder.
std::u16string SelectionShowing(const LocationList& locations, const std::u16string& location) {
    std::vector<std::u16string> candidates;
    for (const std::u16string& name : locations.Names()) {
        if (name == location) candidates.push_back(location);
    }
    if (location == kClosedHospitalization) candidates.push_back(location);
    candidates.emplace_back(kNoLocation);
    candidates.emplace_back(kAllActivatedFolders);
    LocationList probe = locations;
    for (const std::u16string& candidate : candidates) {
        probe.Select(candidate);
        if (probe.ShouldLoad(location)) return candidate;
    }
    return std::u16string(kAllActivatedFolders);
}

}  // namespace

void CCorvaneView::RunQuickLoad() {
    if (!m_controller->PatientsLoaded()) return;
    m_controller->CommitAll();
    ActivePatients& active = Active();
    PatientSet& patients = m_document.Patients();
    SyncPages* sync = Find<SyncPages>();
    ArchiveNames names;
    // A folder that cannot be listed gives an empty list: nothing to choose.
    ReadArchiveNames(m_platform.files, names);

    QuickLoadOutcome outcome = QuickLoadOutcome::Failed;
    std::u16string chosen;
    SetShowingDialog(true);
    {
        // Nothing else writes patient files while the file comes back.
        FilesHold hold(active);
        CQuickLoadDlg dialog(
            std::move(names),
            [&](const std::u16string& fileName) {
                QuickLoadMove move;
                move.fileName = fileName;
                move.loaded = RecordOfFile(patients, fileName) >= 0;
                move.transferPending =
                    active.PendingTransfers() > 0 ||
                    (sync && sync->Session().Files().OperationUnderWay());
                move.backupFolder = m_folders.Backup();
                move.now = m_platform.clock.Now();
                outcome = BringBack(m_platform.files, m_platform.messages, move);
                return outcome;
            },
            this);
        if (dialog.exec() == QDialog::Accepted) chosen = dialog.ChosenName();
    }
    SetShowingDialog(false);
    if (chosen.empty()) return;
    if (outcome == QuickLoadOutcome::AlreadyLoaded) {
        ShowQuickLoaded(chosen);
        return;
    }
    if (outcome != QuickLoadOutcome::Moved) return;

    // The file joins the set under the location selected before when that location shows it.
    m_controller->ReleaseAll();
    PatientFileReader& reader = active.Reader();
    const std::vector<int> counters = m_locations.Counters();
    const bool read = reader.ReadPatientFile(chosen);
    // Counted at a location (the reader's last location is then this file's) but not loaded.
    const bool filteredOut = !read && m_locations.Counters() != counters &&
                             !m_locations.ShouldLoad(reader.LastLocation());
    WardControls* wards = Find<WardControls>();
    if (filteredOut) {
        // Left out by the location filter: the location that shows the patient is selected
        // (the set saved and read again), then the patient is shown.
        const std::u16string selection = SelectionShowing(m_locations, reader.LastLocation());
        if (wards) {
            wards->SwitchTo(selection);
        } else {
            LocationSwitchHooks hooks;
            hooks.reloaded = [this] { PatientsChanged(); };
            ChangeLocation(selection, active, patients, m_locations, m_platform.messages, hooks);
        }
    } else if (wards) {
        wards->AfterReload();
    } else {
        PatientsChanged();
    }
    if (!wards && sync) sync->Session().Files().RebuildHandheldList();
    ShowQuickLoaded(chosen);
}

void CCorvaneView::ShowQuickLoaded(const std::u16string& fileName) {
    PatientSet& patients = m_document.Patients();
    const int index = RecordOfFile(patients, fileName);
    if (index >= 0 && index != patients.CurrentIndex()) {
        m_controller->CommitAll();
        patients.SetCurrent(index);
    }
    PatientsChanged();
    m_controller->ShowRecord();
}

}  // namespace pondrel
