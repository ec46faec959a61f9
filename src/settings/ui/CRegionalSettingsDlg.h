#pragma once

#include <QDialog>

#include "settings/Preferences.h"

class QRadioButton;

namespace pondrel {

// "Regional settings": the order of day and month in dates and the units of length and weight.
// Shows `settings` and writes the choices back into it when closed with OK; closing it otherwise
// changes nothing. `settings` must outlive the dialogue.
class CRegionalSettingsDlg final : public QDialog {
    Q_OBJECT
public:
    explicit CRegionalSettingsDlg(RegionalSettings& settings, QWidget* parent = nullptr);

    void accept() override;

private:
    RegionalSettings& m_settings;
    QRadioButton* m_monthFirst;
    QRadioButton* m_dayFirst;
    QRadioButton* m_metric;
    QRadioButton* m_imperial;
};

}  // namespace pondrel
