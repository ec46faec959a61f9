#pragma once

#include <QDialog>

#include "settings/SettingsValues.h"

class QComboBox;
class QRadioButton;

namespace pondrel {

// "General settings": the auto-save interval, the type of a new patient's folder and the age on
// printed summaries. Edits the preferences exchange's copies in place; Cancel puts back what the
// dialogue opened with. `settings` and `intervalChanged` must outlive the dialogue.
class CGeneralSettingsDlg final : public QDialog {
    Q_OBJECT
public:
    CGeneralSettingsDlg(GeneralSettings& settings, bool& intervalChanged,
                        QWidget* parent = nullptr);

    void reject() override;

private:
    GeneralSettingsEditor m_editor;
    QComboBox* m_interval;
    QRadioButton* m_hospitalisation;
    QRadioButton* m_ambulatory;
    QRadioButton* m_ageNo;
    QRadioButton* m_ageYes;
};

}  // namespace pondrel
