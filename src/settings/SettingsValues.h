#pragma once

// What the general and regional settings mean to the rest of the program, and how the general
// settings dialogue maps its choices to them.

#include <array>
#include <string>
#include <string_view>

#include "records/DayNumber.h"
#include "settings/Preferences.h"

namespace pondrel {

// The entries of the "Auto save every :" list, in order.
inline constexpr std::array<std::u16string_view, 6> kAutoSaveChoices{
    u"Off", u"1 minutes", u"2 minutes", u"3 minutes", u"5 minutes", u"10 minutes"};

// The entry shown for an interval: 0 "Off", 1 to 3 the same index, 5 index 4, 10 index 5; any
// other interval (such as 4 from the file) shows "Off" without being changed.
int AutoSaveChoiceOf(int interval);
// The interval an entry sets: its index, except 4 gives 5 and 5 gives 10.
int AutoSaveIntervalOf(int choice);

struct UnitWords {
    std::u16string weight;  // "kg" or "lbs"
    std::u16string length;  // "cm" or "in"
};
UnitWords UnitWordsOf(int units);

// 1 is day first; anything else month first.
DateOrder DateOrderOf(int dateOrderSetting);

// The subfolder type a new patient gets: "Ambu" for 1, "Hosp" otherwise.
std::u16string_view NewFolderTypeOf(int newFolderTypeSetting);

// The edits of the general settings dialogue on copies of the three values: opening remembers
// them, choosing an interval marks it changed, Cancel puts back what the dialogue opened with.
// The changed mark survives a second opening in the same preferences exchange, so accepting a
// new interval and then reopening the dialogue does not lose it.
class GeneralSettingsEditor {
public:
    // `settings` and `intervalChanged` are the exchange's copies; they must outlive the editor.
    GeneralSettingsEditor(GeneralSettings& settings, bool& intervalChanged);

    int ShownChoice() const { return AutoSaveChoiceOf(m_settings.autoSaveInterval); }
    void ChooseInterval(int choice);
    void SetNewFolderType(int type) { m_settings.newFolderType = type; }
    void SetAgeOnSummaries(int age) { m_settings.ageOnSummaries = age; }
    const GeneralSettings& Settings() const { return m_settings; }

    void Cancel();

private:
    GeneralSettings& m_settings;
    bool& m_intervalChanged;
    GeneralSettings m_opened;
    bool m_openedChanged;
};

}  // namespace pondrel
