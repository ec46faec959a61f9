#include "settings/PreferencesExchange.h"

#include "platform/Timers.h"
#include "settings/PreferencesFile.h"

namespace pondrel {

namespace {
constexpr int kAutoSaveTickMs = 60'000;
}

PreferencesEdit BeginPreferencesEdit(const Preferences& p) {
    PreferencesEdit edit;
    edit.colours = p.colours;
    edit.wireless = p.wireless;
    edit.network = p.network;
    edit.regional = p.regional;
    edit.general = p.general;
    edit.intervalChanged = false;
    edit.examTitles = p.examTitles;
    edit.locationList = p.locationList;
    edit.bigSummary = p.bigSummary;
    return edit;
}

PreferencesOutcome ApplyPreferencesEdit(Preferences& p, const PreferencesEdit& edit) {
    PreferencesOutcome outcome;
    p.regional = edit.regional;
    outcome.unitWords = UnitWordsOf(p.regional.units);
    if (edit.intervalChanged) {
        p.general.autoSaveInterval = edit.general.autoSaveInterval;
        outcome.autoSaveTimer = p.general.autoSaveInterval < 1
                                    ? PreferencesOutcome::AutoSaveTimer::Stop
                                    : PreferencesOutcome::AutoSaveTimer::Start;
    }
    p.general.newFolderType = edit.general.newFolderType;
    p.general.ageOnSummaries = edit.general.ageOnSummaries;

    outcome.coloursChanged = !(p.colours == edit.colours);
    outcome.wirelessChanged = !(p.wireless == edit.wireless);
    outcome.networkChanged = !(p.network == edit.network);
    outcome.wirelessAccepted = edit.wirelessAccepted;
    outcome.advancedAccepted = edit.advancedAccepted;
    outcome.examTitlesChanged = p.examTitles != edit.examTitles;
    outcome.locationListChanged = p.locationList != edit.locationList;
    outcome.bigSummaryChanged = p.bigSummary != edit.bigSummary;
    p.colours = edit.colours;
    p.wireless = edit.wireless;
    p.network = edit.network;
    p.examTitles = edit.examTitles;
    p.locationList = edit.locationList;
    p.bigSummary = edit.bigSummary;
    return outcome;
}

void ApplyAutoSaveTimer(Timers& timers, PreferencesOutcome::AutoSaveTimer action,
                        const std::function<void()>& onTick) {
    switch (action) {
    case PreferencesOutcome::AutoSaveTimer::Start:
        timers.Start(TimerId::AutoSave, kAutoSaveTickMs, onTick);
        break;
    case PreferencesOutcome::AutoSaveTimer::Stop: timers.Stop(TimerId::AutoSave); break;
    case PreferencesOutcome::AutoSaveTimer::Unchanged: break;
    }
}

bool RunPreferencesExchange(Preferences& preferences, PreferencesExchangeHost& host,
                            DeviceFileSystem& files, UserMessages& messages,
                            const WorkingFolders& folders) {
    PreferencesEdit edit = BeginPreferencesEdit(preferences);
    host.SetShowingDialog(true);
    host.ShowPreferencesDialog(edit);
    host.SetShowingDialog(false);
    PreferencesOutcome outcome = ApplyPreferencesEdit(preferences, edit);
    host.ApplyOutcome(outcome);
    bool saved = SavePreferences(files, messages, folders, preferences);
    host.RefreshForm();
    return saved;
}

}  // namespace pondrel
