#pragma once

#include <QDialog>

#include "sync/WirelessRules.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace pondrel {

class UserMessages;
struct PreferencesEdit;

// The "Wireless settings" dialogue: user name, password, server address and port on the
// preferences exchange's copies, which OK takes only when they are acceptable. "Advanced
// features" opens the advanced connection dialogue on the same exchange. `edit` and `messages`
// must outlive the dialogue; `serverTimeout` is shown by the advanced dialogue.
class CWirelessSettingsDlg final : public QDialog {
    Q_OBJECT
public:
    CWirelessSettingsDlg(PreferencesEdit& edit, UserMessages& messages, int serverTimeout,
                         QWidget* parent = nullptr);

    void accept() override;
    void RestoreDefaults();
    void OpenAdvanced();
    // The file dialogue for the server's certificate (or its authority's).
    void ChooseCertificate();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    WirelessEdits Edits() const;
    void Show(const WirelessEdits& edits);

    PreferencesEdit& m_edit;
    UserMessages& m_messages;
    int m_serverTimeout;
    QLineEdit* m_userName;
    QLineEdit* m_password;
    QLineEdit* m_address;
    QLineEdit* m_port;
    QLineEdit* m_channel;
    QCheckBox* m_encrypted;
    QLineEdit* m_certificate;
    QPushButton* m_chooseCertificate;
};

}  // namespace pondrel
