// The wireless settings and the advanced connection features, driven as a user would.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "Doubles.h"
#include "GuiDriver.h"
#include "settings/PreferencesExchange.h"
#include "settings/ui/CPreferencesDlg.h"
#include "sync/ui/CAdvancedConnectionDlg.h"
#include "sync/ui/CWirelessSettingsDlg.h"

namespace pondrel {

class SyncDialogsTest : public QObject {
    Q_OBJECT

private:
    // Shown, within the handheld form, every labelled control named and inside the dialogue.
    static void CheckForm(QDialog& dialog, const QString& screenshot) {
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY2(dialog.width() <= 240 && dialog.height() <= 320,
                 qPrintable(QString("%1x%2").arg(dialog.width()).arg(dialog.height())));
        for (QWidget* child : dialog.findChildren<QWidget*>()) {
            if (!child->isVisible()) continue;
            if (qobject_cast<QPushButton*>(child) || qobject_cast<QLineEdit*>(child) ||
                qobject_cast<QCheckBox*>(child) || qobject_cast<QLabel*>(child)) {
                QVERIFY2(!child->objectName().isEmpty(), child->metaObject()->className());
                QRect inDialog(child->mapTo(&dialog, QPoint(0, 0)), child->size());
                QVERIFY2(dialog.rect().contains(inDialog), qPrintable(child->objectName()));
            }
        }
        test::Screenshot(dialog, screenshot);
    }
    static QLineEdit* Line(QWidget& dialog, const char* name) {
        return test::Child<QLineEdit>(dialog, name);
    }
    static void Retype(QWidget& dialog, const char* name, const QString& text) {
        Line(dialog, name)->clear();
        QVERIFY(test::Type(dialog, name, text));
    }

private slots:
    void wirelessShowsTheSettingsAndOkChecksThem() {
        PreferencesEdit edit;
        edit.wireless = WirelessSettings{u"Anna", u"123456", 7, u"10.0.0.5", 4000};
        test::ScriptedMessages messages;
        CWirelessSettingsDlg dialog(edit, messages, 25);
        QCOMPARE(dialog.windowTitle(), QString("Wireless settings"));
        QCOMPARE(test::Child<QLabel>(dialog, "heading")->text(),
                 QString("-- Wireless settings --"));
        QCOMPARE(Line(dialog, "userNameEdit")->text(), QString("Anna"));
        QCOMPARE(Line(dialog, "passwordEdit")->echoMode(), QLineEdit::Password);
        QCOMPARE(Line(dialog, "serverAddressEdit")->text(), QString("10.0.0.5"));
        QCOMPARE(Line(dialog, "portEdit")->text(), QString("4000"));
        QVERIFY(!Line(dialog, "channelEdit")->isVisible());
        CheckForm(dialog, "sync-wireless-settings");

        // A password longer than six characters cannot be typed.
        Retype(dialog, "passwordEdit", "12345678");
        QCOMPARE(Line(dialog, "passwordEdit")->text(), QString("123456"));
        // Three characters are refused and the dialogue stays open; four are taken.
        Retype(dialog, "userNameEdit", "Ann");
        QVERIFY(test::Click(dialog, "okButton"));
        QVERIFY(dialog.isVisible());
        QCOMPARE(messages.boxes.size(), size_t(1));
        QVERIFY(messages.boxes[0].text == u"User name is too short. It needs minimum 4 characters");
        QVERIFY(messages.boxes[0].caption == u"Username too short");
        QVERIFY(!edit.wirelessAccepted);
        // A port out of range is refused too.
        Retype(dialog, "userNameEdit", "Bruno");
        Retype(dialog, "portEdit", "0");
        QVERIFY(test::Click(dialog, "okButton"));
        QVERIFY(dialog.isVisible());
        QVERIFY(messages.boxes.back().caption == u"Invalid port number");
        Retype(dialog, "portEdit", "4001");
        Retype(dialog, "serverAddressEdit", "sync.ward7.example");
        QVERIFY(test::Click(dialog, "okButton"));
        QVERIFY(!dialog.isVisible());
        QVERIFY(edit.wirelessAccepted);
        QVERIFY(edit.wireless ==
                (WirelessSettings{u"Bruno", u"123456", 7, u"sync.ward7.example", 4001}));
    }

    void wirelessEncryptedConnectionWithAWardCertificate() {
        PreferencesEdit edit;
        edit.wireless = WirelessSettings{u"Anna", u"123456", 0, u"10.0.0.5", 4000};
        test::ScriptedMessages messages;
        CWirelessSettingsDlg dialog(edit, messages, 25);
        dialog.show();
        auto* encrypted = test::Child<QCheckBox>(dialog, "encryptedCheck");
        QCOMPARE(encrypted->text(), QString("Encrypted connection"));
        QVERIFY(!encrypted->isChecked());
        // The certificate is chosen only for an encrypted connection.
        QVERIFY(!Line(dialog, "certificateEdit")->isEnabled());
        encrypted->click();
        QVERIFY(Line(dialog, "certificateEdit")->isEnabled());
        QVERIFY(test::Child<QPushButton>(dialog, "certificateButton")->isEnabled());
        CheckForm(dialog, "sync-wireless-settings-encrypted");
        QVERIFY(test::Type(dialog, "certificateEdit", "/etc/pondrel/ward.crt "));
        QVERIFY(test::Click(dialog, "okButton"));
        QVERIFY(edit.wirelessAccepted);
        QVERIFY(edit.wireless.encrypted);
        QVERIFY(edit.wireless.certificateFile == u"/etc/pondrel/ward.crt");

        // Shown again as stored; unticking keeps the file for later.
        CWirelessSettingsDlg again(edit, messages, 25);
        QVERIFY(test::Child<QCheckBox>(again, "encryptedCheck")->isChecked());
        QCOMPARE(Line(again, "certificateEdit")->text(), QString("/etc/pondrel/ward.crt"));
        test::Child<QCheckBox>(again, "encryptedCheck")->click();
        again.accept();
        QVERIFY(!edit.wireless.encrypted);
        QVERIFY(edit.wireless.certificateFile == u"/etc/pondrel/ward.crt");
    }

    void wirelessCancelAndDefaults() {
        PreferencesEdit edit;
        edit.wireless = WirelessSettings{u"Anna", u"123456", 0, u"10.0.0.5", 4000};
        const WirelessSettings before = edit.wireless;
        test::ScriptedMessages messages;
        {
            CWirelessSettingsDlg dialog(edit, messages, 25);
            dialog.show();
            messages.Queue(BoxAnswer::No);
            QVERIFY(test::Click(dialog, "defaultButton"));
            QCOMPARE(Line(dialog, "userNameEdit")->text(), QString("Anna"));
            QVERIFY(messages.boxes.back().text ==
                    u"Do you really want to restore all default settings ?");
            QVERIFY(messages.boxes.back().caption == u"Restore default ?");
            QVERIFY(messages.boxes.back().buttons == BoxButtons::YesNo);
            messages.Queue(BoxAnswer::Yes);
            QVERIFY(test::Click(dialog, "defaultButton"));
            QCOMPARE(Line(dialog, "userNameEdit")->text(), QString("Mr Client"));
            QCOMPARE(Line(dialog, "portEdit")->text(), QString("4000"));
            QVERIFY(Line(dialog, "passwordEdit")->text().isEmpty());  // no default password
            QVERIFY(test::Click(dialog, "cancelButton"));
        }
        QVERIFY(!edit.wirelessAccepted);
        QVERIFY(edit.wireless == before);
    }

    void advancedOptionsOkAndCancel() {
        PreferencesEdit edit;
        edit.network.connectAtStart = 1;
        edit.network.synchronisationPeriod = u"";
        {
            CAdvancedConnectionDlg dialog(edit, 40);
            QCOMPARE(test::Child<QLabel>(dialog, "heading")->text(),
                     QString("-- Advanced connection settings --"));
            QCOMPARE(test::Child<QLabel>(dialog, "serverTimeoutValue")->text(), QString("40 sec"));
            QCOMPARE(test::Child<QLabel>(dialog, "reconnectAfterStandbyCheckText")->text(),
                     QString("Connect automatically when turning on the computer after standby"));
            QVERIFY(test::Child<QCheckBox>(dialog, "connectAtStartCheck")->isChecked());
            CheckForm(dialog, "sync-advanced-connection");
            auto* minutes = Line(dialog, "minutesEdit");
            QVERIFY(!minutes->isEnabled());
            QVERIFY(test::Click(dialog, "regularlyCheck"));
            QVERIFY(minutes->isEnabled());
            QVERIFY(test::Type(dialog, "minutesEdit", "1a5x9"));
            QCOMPARE(minutes->text(), QString("15"));  // two digits at most
            QVERIFY(test::Click(dialog, "okButton"));
        }
        QVERIFY(edit.advancedAccepted);
        QCOMPARE(edit.network.periodicSynchronisation, 1);
        QVERIFY(edit.network.synchronisationPeriod == u"15");

        // Ticked without minutes: off after OK.
        edit.network.synchronisationPeriod = u"";
        {
            CAdvancedConnectionDlg dialog(edit, 25);
            dialog.show();
            QVERIFY(test::Child<QCheckBox>(dialog, "regularlyCheck")->isChecked());
            QVERIFY(test::Click(dialog, "okButton"));
        }
        QCOMPARE(edit.network.periodicSynchronisation, 0);

        // Cancel puts back what the dialogue opened with; a tap on a caption ticks its box.
        const NetworkOptions before = edit.network;
        {
            CAdvancedConnectionDlg dialog(edit, 25);
            dialog.show();
            auto* text = test::Child<QLabel>(dialog, "importAllCheckText");
            QTest::mouseClick(text, Qt::LeftButton);
            QVERIFY(test::Child<QCheckBox>(dialog, "importAllCheck")->isChecked());
            QCOMPARE(edit.network.importAllAtConnection, 1);
            QVERIFY(test::Click(dialog, "cancelButton"));
        }
        QVERIFY(edit.network == before);
    }

    void preferencesOpensTheWirelessSettings() {
        PreferencesEdit edit;
        test::ScriptedMessages messages;
        bool opened = false;
        CPreferencesDlg dialog(edit);
        dialog.Plug("wirelessSettingsButton", [&](PreferencesEdit& copies, QWidget* parent) {
            opened = true;
            CWirelessSettingsDlg wireless(copies, messages, 25, parent);
        });
        dialog.show();
        QVERIFY(test::Click(dialog, "wirelessSettingsButton"));
        QVERIFY(opened);
        CPreferencesDlg without(edit);
        without.show();
        QVERIFY(!test::Child<QPushButton>(without, "wirelessSettingsButton")->isEnabled());
    }
};

}  // namespace pondrel

QTEST_MAIN(pondrel::SyncDialogsTest)
#include "SyncDialogsTest.moc"
