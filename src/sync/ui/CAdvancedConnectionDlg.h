#pragma once

#include <QDialog>

#include "sync/WirelessRules.h"

class QCheckBox;
class QLineEdit;

namespace pondrel {

struct PreferencesEdit;

// The "Advanced connection features" dialogue: when the program connects and synchronises on
// its own, on the preferences exchange's copy of the options. Cancel puts back the options it
// opened with. `edit` must outlive the dialogue.
class CAdvancedConnectionDlg final : public QDialog {
    Q_OBJECT
public:
    CAdvancedConnectionDlg(PreferencesEdit& edit, int serverTimeout, QWidget* parent = nullptr);

    void accept() override;
    void reject() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // A check box whose text wraps over the lines it needs; a tap on the text ticks it too.
    QCheckBox* AddCheck(const QString& text, const QString& name, QWidget* parent);
    void ShowOptions();

    PreferencesEdit& m_edit;
    AdvancedFeaturesEditor m_editor;
    QCheckBox* m_atStart;
    QCheckBox* m_afterStandby;
    QCheckBox* m_regularly;
    QLineEdit* m_minutes;
    QCheckBox* m_atConnection;
    QCheckBox* m_importAll;
};

}  // namespace pondrel
