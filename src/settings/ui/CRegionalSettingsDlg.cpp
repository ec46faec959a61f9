#include "settings/ui/CRegionalSettingsDlg.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/ui/DialogStyle.h"

namespace pondrel {

CRegionalSettingsDlg::CRegionalSettingsDlg(RegionalSettings& settings, QWidget* parent)
    : QDialog(parent), m_settings(settings) {
    setObjectName("regionalSettingsDialog");
    setWindowTitle("Regional settings");
    FitHandheldForm(this);

    m_monthFirst = new QRadioButton("M / D / Y", this);
    m_monthFirst->setObjectName("monthFirstRadio");
    m_dayFirst = new QRadioButton("D / M / Y", this);
    m_dayFirst->setObjectName("dayFirstRadio");
    QGroupBox* dateGroup =
        ChoiceGroup("Birth date format :", "dateFormatGroup", m_monthFirst, m_dayFirst, this);
    m_metric = new QRadioButton("Centimeter / kilogram", this);
    m_metric->setObjectName("metricRadio");
    m_imperial = new QRadioButton("Inch / Pound", this);
    m_imperial->setObjectName("imperialRadio");
    QGroupBox* unitGroup =
        ChoiceGroup("Length and weight :", "unitsGroup", m_metric, m_imperial, this);

    (settings.dateOrder == 1 ? m_dayFirst : m_monthFirst)->setChecked(true);
    (settings.units == 1 ? m_imperial : m_metric)->setChecked(true);

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("okButton");
    ok->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    layout->addWidget(dateGroup);
    layout->addWidget(unitGroup);
    layout->addStretch(1);
    layout->addWidget(ok, 0, Qt::AlignRight);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void CRegionalSettingsDlg::accept() {
    m_settings.dateOrder = m_dayFirst->isChecked() ? 1 : 0;
    m_settings.units = m_imperial->isChecked() ? 1 : 0;
    QDialog::accept();
}

}  // namespace pondrel
