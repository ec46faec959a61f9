#include "settings/ui/CGeneralSettingsDlg.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/ui/DialogStyle.h"
#include "platform/ui/QtText.h"

namespace pondrel {

CGeneralSettingsDlg::CGeneralSettingsDlg(GeneralSettings& settings, bool& intervalChanged,
                                         QWidget* parent)
    : QDialog(parent), m_editor(settings, intervalChanged) {
    setObjectName("generalSettingsDialog");
    setWindowTitle("General settings");
    FitHandheldForm(this);

    auto* heading = new QLabel("General Settings", this);
    heading->setObjectName("heading");
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    heading->setFont(headingFont);
    heading->setAlignment(Qt::AlignCenter);

    auto* quickSave = new QGroupBox("Quick save", this);
    quickSave->setObjectName("quickSaveGroup");
    auto* intervalLabel = new QLabel("Auto save every :", quickSave);
    intervalLabel->setObjectName("intervalLabel");
    m_interval = new QComboBox(quickSave);
    m_interval->setObjectName("intervalList");
    for (std::u16string_view choice : kAutoSaveChoices) m_interval->addItem(ToQString(choice));
    m_interval->setCurrentIndex(m_editor.ShownChoice());
    auto* quickSaveLayout = new QHBoxLayout(quickSave);
    quickSaveLayout->setContentsMargins(6, 2, 6, 2);
    quickSaveLayout->addWidget(intervalLabel);
    quickSaveLayout->addWidget(m_interval, 1);

    m_hospitalisation = new QRadioButton("Hospitalization", this);
    m_hospitalisation->setObjectName("hospitalisationRadio");
    m_ambulatory = new QRadioButton("Ambulatory", this);
    m_ambulatory->setObjectName("ambulatoryRadio");
    QGroupBox* folderGroup = ChoiceGroup("Default new patient's file", "newFolderGroup",
                                         m_hospitalisation, m_ambulatory, this);
    m_ageNo = new QRadioButton("No", this);
    m_ageNo->setObjectName("ageNoRadio");
    m_ageYes = new QRadioButton("Yes", this);
    m_ageYes->setObjectName("ageYesRadio");
    QGroupBox* ageGroup =
        ChoiceGroup("Age on summaries to print", "ageGroup", m_ageNo, m_ageYes, this);

    const GeneralSettings& shown = m_editor.Settings();
    (shown.newFolderType == 1 ? m_ambulatory : m_hospitalisation)->setChecked(true);
    (shown.ageOnSummaries == 1 ? m_ageYes : m_ageNo)->setChecked(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName("buttons");
    buttons->button(QDialogButtonBox::Ok)->setObjectName("okButton");
    buttons->button(QDialogButtonBox::Ok)->setText("OK");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("cancelButton");
    buttons->button(QDialogButtonBox::Cancel)->setText("Cancel");

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    layout->addWidget(heading);
    layout->addWidget(quickSave);
    layout->addWidget(folderGroup);
    layout->addWidget(ageGroup);
    layout->addStretch(1);
    layout->addWidget(buttons);

    // Choosing an entry, even the one shown, sets the interval and marks it changed.
    connect(m_interval, &QComboBox::activated, this,
            [this](int index) { m_editor.ChooseInterval(index); });
    connect(m_hospitalisation, &QRadioButton::toggled, this, [this](bool on) {
        if (on) m_editor.SetNewFolderType(0);
    });
    connect(m_ambulatory, &QRadioButton::toggled, this, [this](bool on) {
        if (on) m_editor.SetNewFolderType(1);
    });
    connect(m_ageNo, &QRadioButton::toggled, this, [this](bool on) {
        if (on) m_editor.SetAgeOnSummaries(0);
    });
    connect(m_ageYes, &QRadioButton::toggled, this, [this](bool on) {
        if (on) m_editor.SetAgeOnSummaries(1);
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void CGeneralSettingsDlg::reject() {
    m_editor.Cancel();
    QDialog::reject();
}

}  // namespace pondrel
