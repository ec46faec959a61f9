#include "settings/ui/CPreferencesDlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/ui/DialogStyle.h"
#include "settings/ui/CGeneralSettingsDlg.h"
#include "settings/ui/CRegionalSettingsDlg.h"

namespace pondrel {

CPreferencesDlg::CPreferencesDlg(PreferencesEdit& edit, QWidget* parent)
    : QDialog(parent), m_edit(edit) {
    setObjectName("preferencesDialog");
    setWindowTitle("Preferences");
    FitHandheldForm(this);

    auto* heading = new QLabel("Preferences", this);
    heading->setObjectName("heading");
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    heading->setFont(headingFont);
    heading->setAlignment(Qt::AlignCenter);

    m_buttonArea = new QWidget(this);
    m_buttonArea->setObjectName("buttonArea");
    auto* grid = new QGridLayout(m_buttonArea);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(4);

    struct Entry {
        const char* text;
        const char* name;
        bool enabled;
    };
    // The dialogues of the disabled buttons come with the colours, the wireless connection, the
    // exam graph, the locations and the big summary.
    const Entry entries[] = {
        {"Controls colour", "controlsColourButton", false},
        {"Clear print folder", "clearPrintFolderButton", false},
        {"Wireless settings", "wirelessSettingsButton", false},
        {"Regional settings", "regionalSettingsButton", true},
        {"Exams graph", "examsGraphButton", false},
        {"Patients' location", "patientsLocationButton", false},
        {"Big Summary", "bigSummaryButton", false},
        {"General", "generalButton", true},
    };
    int index = 0;
    for (const Entry& entry : entries) {
        QPushButton* button = AddButton(entry.text, entry.name, entry.enabled);
        grid->addWidget(button, index / 2, index % 2);
        ++index;
    }
    QPushButton* ok = AddButton("OK", "okButton", true);
    ok->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(8);
    layout->addWidget(heading);
    layout->addWidget(m_buttonArea);
    layout->addStretch(1);
    layout->addWidget(ok, 0, Qt::AlignRight);

    connect(findChild<QPushButton*>("generalButton"), &QPushButton::clicked, this,
            &CPreferencesDlg::OpenGeneral);
    connect(findChild<QPushButton*>("regionalSettingsButton"), &QPushButton::clicked, this,
            &CPreferencesDlg::OpenRegional);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

QPushButton* CPreferencesDlg::AddButton(const QString& text, const QString& objectName,
                                        bool enabled) {
    auto* button = new QPushButton(text, m_buttonArea);
    button->setObjectName(objectName);
    button->setEnabled(enabled);
    button->setAutoDefault(false);
    return button;
}

void CPreferencesDlg::Edit(PreferencesEdit& edit, QWidget* parent,
                           const PluggedDialogues& plugged) {
    CPreferencesDlg dialog(edit, parent);
    for (const auto& [name, open] : plugged) dialog.Plug(name, open);
    dialog.exec();
}

void CPreferencesDlg::Plug(const QString& buttonName, SettingsDialogue open) {
    auto* button = findChild<QPushButton*>(buttonName);
    if (!button || !open) return;
    button->setEnabled(true);
    connect(button, &QPushButton::clicked, this, [this, open] { open(m_edit, this); });
}

void CPreferencesDlg::OpenGeneral() {
    CGeneralSettingsDlg dialog(m_edit.general, m_edit.intervalChanged, this);
    dialog.exec();
}

void CPreferencesDlg::OpenRegional() {
    CRegionalSettingsDlg dialog(m_edit.regional, this);
    dialog.exec();
}

}  // namespace pondrel
