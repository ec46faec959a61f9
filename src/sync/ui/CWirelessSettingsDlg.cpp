#include "sync/ui/CWirelessSettingsDlg.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/UserMessages.h"
#include "platform/ui/DialogStyle.h"
#include "platform/ui/QtText.h"
#include "settings/PreferencesExchange.h"
#include "sync/ui/CAdvancedConnectionDlg.h"
#include "sync/ui/ConnectionDialogStyle.h"

namespace pondrel {

namespace style = connection_style;

CWirelessSettingsDlg::CWirelessSettingsDlg(PreferencesEdit& edit, UserMessages& messages,
                                           int serverTimeout, QWidget* parent)
    : QDialog(parent), m_edit(edit), m_messages(messages), m_serverTimeout(serverTimeout) {
    setObjectName("wirelessSettingsDialog");
    setWindowTitle("Wireless settings");
    FitHandheldForm(this);
    setStyleSheet(style::FieldStyle());

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(6);
    auto addRow = [&](int row, const char* caption, const char* captionName, const char* name) {
        grid->addWidget(style::Caption(caption, captionName, true, this), row, 0);
        auto* line = new QLineEdit(this);
        line->setObjectName(name);
        grid->addWidget(line, row, 1);
        return line;
    };
    m_userName = addRow(0, "User name", "userNameLabel", "userNameEdit");
    m_userName->setMaxLength(static_cast<int>(kMaxUserNameChars));
    m_password = addRow(1, "Password", "passwordLabel", "passwordEdit");
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setMaxLength(static_cast<int>(kMaxPasswordChars));
    m_address = addRow(2, "Server IP", "serverAddressLabel", "serverAddressEdit");
    m_address->setMaxLength(static_cast<int>(kMaxServerAddressChars));
    m_port = addRow(3, "Port number", "portLabel", "portEdit");
    m_port->setMaxLength(5);
    m_port->setValidator(new QIntValidator(0, 65535, m_port));
    // TLS: the certificate is checked against the system's authorities, or against the file
    // chosen here (a ward's own certificate).
    m_encrypted = new QCheckBox("Encrypted connection", this);
    m_encrypted->setObjectName("encryptedCheck");
    m_encrypted->setStyleSheet(
        "QCheckBox { background: rgb(255,209,213); color: black; padding: 1px 3px; }");
    grid->addWidget(m_encrypted, 4, 0, 1, 2);
    m_certificate = addRow(5, "Certificate", "certificateLabel", "certificateEdit");
    m_certificate->setPlaceholderText("System authorities");
    m_chooseCertificate = style::Button("...", "certificateButton", this);
    grid->addWidget(m_chooseCertificate, 5, 2);
    auto enableCertificate = [this](bool on) {
        m_certificate->setEnabled(on);
        m_chooseCertificate->setEnabled(on);
    };
    connect(m_encrypted, &QCheckBox::toggled, this, enableCertificate);
    connect(m_chooseCertificate, &QPushButton::clicked, this,
            &CWirelessSettingsDlg::ChooseCertificate);
    // Kept and stored only: not shown.
    m_channel = new QLineEdit(this);
    m_channel->setObjectName("channelEdit");
    m_channel->setEnabled(false);
    m_channel->hide();

    QPushButton* advanced = style::Button("Advanced features", "advancedButton", this);
    QPushButton* defaults = style::Button("Default", "defaultButton", this);
    QPushButton* cancel = style::Button("Cancel", "cancelButton", this);
    QPushButton* ok = style::Button("OK", "okButton", this);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    buttons->addWidget(defaults);
    buttons->addStretch(1);
    buttons->addWidget(cancel);
    buttons->addWidget(ok);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);
    layout->addWidget(style::Heading("-- Wireless settings --", this));
    layout->addSpacing(4);
    layout->addLayout(grid);
    layout->addSpacing(4);
    layout->addWidget(advanced);
    layout->addStretch(1);
    layout->addLayout(buttons);

    style::FitHeight(*this);
    Show(EditsOf(m_edit.wireless));
    connect(advanced, &QPushButton::clicked, this, &CWirelessSettingsDlg::OpenAdvanced);
    connect(defaults, &QPushButton::clicked, this, &CWirelessSettingsDlg::RestoreDefaults);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ok, &QPushButton::clicked, this, &CWirelessSettingsDlg::accept);
}

WirelessEdits CWirelessSettingsDlg::Edits() const {
    WirelessEdits edits{ToU16(m_userName->text()), ToU16(m_password->text()),
                        ToU16(m_address->text()), ToU16(m_port->text()), ToU16(m_channel->text())};
    edits.encrypted = m_encrypted->isChecked();
    edits.certificateFile = ToU16(m_certificate->text());
    return edits;
}

void CWirelessSettingsDlg::Show(const WirelessEdits& edits) {
    m_userName->setText(ToQString(edits.userName));
    m_password->setText(ToQString(edits.password));
    m_address->setText(ToQString(edits.serverAddress));
    m_port->setText(ToQString(edits.port));
    m_channel->setText(ToQString(edits.channel));
    m_encrypted->setChecked(edits.encrypted);
    m_certificate->setText(ToQString(edits.certificateFile));
    m_certificate->setEnabled(edits.encrypted);
    m_chooseCertificate->setEnabled(edits.encrypted);
}

void CWirelessSettingsDlg::ChooseCertificate() {
    QString file = QFileDialog::getOpenFileName(this, "Server certificate", m_certificate->text(),
                                                "Certificates (*.crt *.pem *.cer);;All files (*)");
    if (!file.isEmpty()) m_certificate->setText(file);
}

void CWirelessSettingsDlg::accept() {
    WirelessEdits edits = Edits();
    if (auto refusal = CheckWirelessEdits(edits)) {
        m_messages.ShowBox(refusal->text, refusal->caption, BoxButtons::Ok, BoxIcon::Warning);
        return;  // the dialogue stays open
    }
    m_edit.wireless = SettingsOf(edits);
    m_edit.wirelessAccepted = true;
    QDialog::accept();
}

void CWirelessSettingsDlg::RestoreDefaults() {
    if (m_messages.ShowBox(u"Do you really want to restore all default settings ?",
                           u"Restore default ?", BoxButtons::YesNo,
                           BoxIcon::Question) == BoxAnswer::No) {
        return;
    }
    Show(DefaultWirelessEdits());
    m_password->setFocus();  // there is no default password
}

void CWirelessSettingsDlg::OpenAdvanced() {
    CAdvancedConnectionDlg dialog(m_edit, m_serverTimeout, this);
    dialog.exec();
}

void CWirelessSettingsDlg::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    style::PaintBackground(painter, *this);
    QDialog::paintEvent(event);
}

}  // namespace pondrel
