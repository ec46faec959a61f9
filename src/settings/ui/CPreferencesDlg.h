#pragma once

#include <functional>
#include <map>

#include <QDialog>
#include <QString>

#include "settings/PreferencesExchange.h"

class QPushButton;

namespace pondrel {

// A dialogue of a later subsystem that the Preferences dialogue opens on the exchange's copies,
// by the object name of its button (e.g. "wirelessSettingsButton").
using PreferencesPageOpener = std::function<void(PreferencesEdit& edit, QWidget* parent)>;
using PreferencesPageOpeners = std::map<QString, PreferencesPageOpener>;

// The "Preferences" dialogue: one row of buttons, each opening the dialogue of a group of
// settings on the preferences exchange's copies. Buttons whose dialogues are not part of the
// program yet are shown disabled. `edit` must outlive the dialogue.
class CPreferencesDlg final : public QDialog {
    Q_OBJECT
public:
    explicit CPreferencesDlg(PreferencesEdit& edit, QWidget* parent = nullptr,
                             PreferencesPageOpeners openers = {});

    // Shows the dialogue modally on `edit`: the main form's part of the exchange.
    static void Edit(PreferencesEdit& edit, QWidget* parent, PreferencesPageOpeners openers = {});

    void OpenGeneral();
    void OpenRegional();

private:
    QPushButton* AddButton(const QString& text, const QString& objectName, bool enabled);

    PreferencesEdit& m_edit;
    PreferencesPageOpeners m_openers;
    QWidget* m_buttonArea;
};

}  // namespace pondrel
