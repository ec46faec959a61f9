#pragma once

#include <QDialog>

#include "settings/PreferencesExchange.h"

class QPushButton;

namespace pondrel {

// The "Preferences" dialogue: one row of buttons, each opening the dialogue of a group of
// settings on the preferences exchange's copies. Buttons whose dialogues are not part of the
// program yet are shown disabled. `edit` must outlive the dialogue.
class CPreferencesDlg final : public QDialog {
    Q_OBJECT
public:
    explicit CPreferencesDlg(PreferencesEdit& edit, QWidget* parent = nullptr);

    // Shows the dialogue modally on `edit`: the main form's part of the exchange.
    static void Edit(PreferencesEdit& edit, QWidget* parent);

    void OpenGeneral();
    void OpenRegional();

private:
    QPushButton* AddButton(const QString& text, const QString& objectName, bool enabled);

    PreferencesEdit& m_edit;
    QWidget* m_buttonArea;
};

}  // namespace pondrel
