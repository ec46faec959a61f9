#pragma once

// The preferences exchange: the main form hands copies of the settings that the Preferences
// dialogue and its pages edit, shows the dialogue, takes the values back, applies them and
// writes the preferences file.

#include <array>
#include <functional>
#include <string>

#include "settings/Preferences.h"
#include "settings/SettingsValues.h"

namespace pondrel {

class DeviceFileSystem;
class Timers;
class UserMessages;
struct WorkingFolders;

// The copies the Preferences dialogue and its pages edit while it is open.
struct PreferencesEdit {
    ColourSettings colours;
    WirelessSettings wireless;
    NetworkOptions network;
    RegionalSettings regional;
    GeneralSettings general;
    bool intervalChanged = false;  // the general settings chose an interval
    bool wirelessAccepted = false;  // the wireless settings were closed with OK
    bool advancedAccepted = false;  // the advanced connection features were closed with OK
    std::u16string examTitles;
    std::u16string locationList;
    std::array<BigSummaryParagraph, kBigSummaryParagraphs> bigSummary{};
};

// What the exchange changed, for the form to apply.
struct PreferencesOutcome {
    enum class AutoSaveTimer { Unchanged, Start, Stop };
    AutoSaveTimer autoSaveTimer = AutoSaveTimer::Unchanged;
    UnitWords unitWords;
    bool coloursChanged = false;
    bool wirelessChanged = false;
    bool networkChanged = false;
    bool wirelessAccepted = false;
    bool advancedAccepted = false;
    bool examTitlesChanged = false;
    bool locationListChanged = false;
    bool bigSummaryChanged = false;
};

// Step 1: the copies.
PreferencesEdit BeginPreferencesEdit(const Preferences& preferences);

// Step 3: takes the values back. Date order, units, new-folder type and age are taken; the
// interval only when it was marked changed (an interval read from the file that the list cannot
// show, such as 4, is kept otherwise); the settings of the other pages are taken as edited.
PreferencesOutcome ApplyPreferencesEdit(Preferences& preferences, const PreferencesEdit& edit);

// Starts (one-minute ticks) or stops the auto-save timer as the outcome says.
void ApplyAutoSaveTimer(Timers& timers, PreferencesOutcome::AutoSaveTimer action,
                        const std::function<void()>& onTick);

// The main form's side of the exchange.
class PreferencesExchangeHost {
public:
    virtual ~PreferencesExchangeHost() = default;
    // Marks the form as showing a dialogue (status indicators are not drawn meanwhile).
    virtual void SetShowingDialog(bool showing) = 0;
    // Shows the Preferences dialogue modally on the copies.
    virtual void ShowPreferencesDialog(PreferencesEdit& edit) = 0;
    // Applies what changed: the auto-save timer, the unit words, the other Parts' settings.
    virtual void ApplyOutcome(const PreferencesOutcome& outcome) = 0;
    virtual void RefreshForm() = 0;
};

// The whole exchange: copies, dialogue, apply, write the preferences file, refresh. Returns
// whether the file was written ("Save failure !" is shown otherwise; the settings stay applied).
bool RunPreferencesExchange(Preferences& preferences, PreferencesExchangeHost& host,
                            DeviceFileSystem& files, UserMessages& messages,
                            const WorkingFolders& folders);

}  // namespace pondrel
