#pragma once

#include <QDialog>

#include <functional>
#include <utility>
#include <vector>

#include "settings/PreferencesExchange.h"

class QPushButton;

namespace pondrel {

// The "Preferences" dialogue: one row of buttons, each opening the dialogue of a group of
// settings on the preferences exchange's copies. Buttons whose dialogues are not part of the
// program yet are shown disabled. `edit` must outlive the dialogue.
class CPreferencesDlg final : public QDialog {
    Q_OBJECT
public:
    // The dialogue of a group of settings that a later part of the program owns (the exam
    // titles of the exam page...): it edits the exchange's copies, the dialogue as its parent.
    using SettingsDialogue = std::function<void(PreferencesEdit& edit, QWidget* parent)>;
    // Button object name and what it opens.
    using PluggedDialogues = std::vector<std::pair<QString, SettingsDialogue>>;

    explicit CPreferencesDlg(PreferencesEdit& edit, QWidget* parent = nullptr);

    // Shows the dialogue modally on `edit`: the main form's part of the exchange. The buttons
    // named in `plugged` open their dialogues.
    static void Edit(PreferencesEdit& edit, QWidget* parent, const PluggedDialogues& plugged = {});

    // The button named `buttonName` opens `open` and is enabled.
    void Plug(const QString& buttonName, SettingsDialogue open);

    void OpenGeneral();
    void OpenRegional();

private:
    QPushButton* AddButton(const QString& text, const QString& objectName, bool enabled);

    PreferencesEdit& m_edit;
    QWidget* m_buttonArea;
};

}  // namespace pondrel
