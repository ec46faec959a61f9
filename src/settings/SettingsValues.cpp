#include "settings/SettingsValues.h"

namespace pondrel {

int AutoSaveChoiceOf(int interval) {
    switch (interval) {
    case 1:
    case 2:
    case 3: return interval;
    case 5: return 4;
    case 10: return 5;
    default: return 0;
    }
}

int AutoSaveIntervalOf(int choice) {
    if (choice == 4) return 5;
    if (choice == 5) return 10;
    if (choice < 0 || choice > 5) return 0;
    return choice;
}

UnitWords UnitWordsOf(int units) {
    if (units == 1) return {u"lbs", u"in"};
    return {u"kg", u"cm"};
}

DateOrder DateOrderOf(int dateOrderSetting) {
    return dateOrderSetting == 1 ? DateOrder::DayMonthYear : DateOrder::MonthDayYear;
}

std::u16string_view NewFolderTypeOf(int newFolderTypeSetting) {
    return newFolderTypeSetting == 1 ? u"Ambu" : u"Hosp";
}

GeneralSettingsEditor::GeneralSettingsEditor(GeneralSettings& settings, bool& intervalChanged)
    : m_settings(settings),
      m_intervalChanged(intervalChanged),
      m_opened(settings),
      m_openedChanged(intervalChanged) {}

void GeneralSettingsEditor::ChooseInterval(int choice) {
    m_settings.autoSaveInterval = AutoSaveIntervalOf(choice);
    m_intervalChanged = true;
}

void GeneralSettingsEditor::Cancel() {
    m_settings = m_opened;
    m_intervalChanged = m_openedChanged;
}

}  // namespace pondrel
