#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

#include <functional>

#include "GuiDriver.h"
#include "settings/ui/CGeneralSettingsDlg.h"
#include "settings/ui/CPreferencesDlg.h"
#include "settings/ui/CRegionalSettingsDlg.h"

namespace pondrel {

class SettingsDialogsTest : public QObject {
    Q_OBJECT

private:
    // A missing child stops the test program: every control a test touches must exist.
    template <typename T>
    static T* Child(QWidget* parent, const char* name) {
        T* child = test::Child<T>(*parent, QString::fromLatin1(name));
        if (!child) qFatal("no child %s", name);
        return child;
    }
    // Every control of a dialogue has a name, and the whole dialogue fits the handheld form.
    static void CheckFormAndNames(QDialog& dialog, const QString& screenshot) {
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY2(dialog.width() <= 240 && dialog.height() <= 320,
                 qPrintable(QString("%1x%2").arg(dialog.width()).arg(dialog.height())));
        for (QWidget* child : dialog.findChildren<QWidget*>()) {
            if (qobject_cast<QPushButton*>(child) || qobject_cast<QRadioButton*>(child) ||
                qobject_cast<QComboBox*>(child) || qobject_cast<QGroupBox*>(child) ||
                qobject_cast<QLabel*>(child)) {
                QVERIFY2(!child->objectName().isEmpty(), child->metaObject()->className());
                // Inside the dialogue and not cut.
                QRect inDialog(child->mapTo(&dialog, QPoint(0, 0)), child->size());
                QVERIFY2(dialog.rect().contains(inDialog), qPrintable(child->objectName()));
            }
        }
        test::Screenshot(dialog, screenshot);
    }
    // Runs `action` on the modal dialogue that `open` shows.
    static void WithModal(const std::function<void()>& open,
                          const std::function<void(QWidget*)>& action) {
        QVERIFY(test::WithModal(open, action));
    }

    // Clicks a radio button on its indicator (its centre may lie beyond its text).
    static void Pick(QWidget* parent, const char* name) {
        auto* radio = Child<QRadioButton>(parent, name);
        QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
    }

private slots:
    void generalShowsTheSettingsAndOkKeepsAnUnlistedInterval() {
        GeneralSettings settings{4, 1, 0};
        bool changed = false;
        CGeneralSettingsDlg dialog(settings, changed);
        QCOMPARE(dialog.windowTitle(), QString("General settings"));
        QCOMPARE(Child<QLabel>(&dialog, "heading")->text(), QString("General Settings"));
        auto* list = Child<QComboBox>(&dialog, "intervalList");
        QCOMPARE(list->count(), 6);
        QCOMPARE(list->itemText(0), QString("Off"));
        QCOMPARE(list->itemText(5), QString("10 minutes"));
        QCOMPARE(list->currentText(), QString("Off"));
        QVERIFY(Child<QRadioButton>(&dialog, "ambulatoryRadio")->isChecked());
        QVERIFY(Child<QRadioButton>(&dialog, "ageNoRadio")->isChecked());
        CheckFormAndNames(dialog, "general-settings");
        QTest::mouseClick(Child<QPushButton>(&dialog, "okButton"), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(settings.autoSaveInterval, 4);
        QVERIFY(!changed);
    }

    void generalChoicesAndCancel() {
        GeneralSettings settings{2, 0, 0};
        bool changed = false;
        {
            CGeneralSettingsDlg dialog(settings, changed);
            dialog.show();
            auto* list = Child<QComboBox>(&dialog, "intervalList");
            QCOMPARE(list->currentIndex(), 2);
            list->setCurrentIndex(5);
            emit list->activated(5);
            Pick(&dialog, "ambulatoryRadio");
            Pick(&dialog, "ageYesRadio");
            QCOMPARE(settings, (GeneralSettings{10, 1, 1}));
            QTest::mouseClick(Child<QPushButton>(&dialog, "cancelButton"), Qt::LeftButton);
        }
        QCOMPARE(settings, (GeneralSettings{2, 0, 0}));
        QVERIFY(!changed);
        {
            CGeneralSettingsDlg dialog(settings, changed);
            dialog.show();
            auto* list = Child<QComboBox>(&dialog, "intervalList");
            list->setCurrentIndex(4);
            emit list->activated(4);
            Pick(&dialog, "ambulatoryRadio");
            QTest::mouseClick(Child<QPushButton>(&dialog, "okButton"), Qt::LeftButton);
        }
        QCOMPARE(settings, (GeneralSettings{5, 1, 0}));
        QVERIFY(changed);
    }

    void regionalTakesTheChoicesOnOkOnly() {
        RegionalSettings settings{0, 0};
        {
            CRegionalSettingsDlg dialog(settings);
            QCOMPARE(dialog.windowTitle(), QString("Regional settings"));
            QCOMPARE(Child<QGroupBox>(&dialog, "dateFormatGroup")->title(),
                     QString("Birth date format :"));
            QCOMPARE(Child<QGroupBox>(&dialog, "unitsGroup")->title(),
                     QString("Length and weight :"));
            QVERIFY(Child<QRadioButton>(&dialog, "monthFirstRadio")->isChecked());
            QVERIFY(Child<QRadioButton>(&dialog, "metricRadio")->isChecked());
            QCOMPARE(dialog.findChildren<QPushButton*>().size(), 1);  // only OK
            CheckFormAndNames(dialog, "regional-settings");
            Pick(&dialog, "dayFirstRadio");
            Pick(&dialog, "imperialRadio");
            QCOMPARE(settings, (RegionalSettings{0, 0}));
            QTest::mouseClick(Child<QPushButton>(&dialog, "okButton"), Qt::LeftButton);
        }
        QCOMPARE(settings, (RegionalSettings{1, 1}));
        {
            CRegionalSettingsDlg dialog(settings);
            dialog.show();
            QVERIFY(Child<QRadioButton>(&dialog, "dayFirstRadio")->isChecked());
            Pick(&dialog, "metricRadio");
            dialog.reject();  // closed without OK
        }
        QCOMPARE(settings, (RegionalSettings{1, 1}));
    }

    void preferencesButtonsOpenTheirDialoguesOnTheCopies() {
        PreferencesEdit edit;
        edit.general.autoSaveInterval = 4;
        CPreferencesDlg dialog(edit);
        QCOMPARE(dialog.windowTitle(), QString("Preferences"));
        QCOMPARE(Child<QLabel>(&dialog, "heading")->text(), QString("Preferences"));
        const char* disabled[] = {"controlsColourButton",   "clearPrintFolderButton",
                                  "wirelessSettingsButton", "examsGraphButton",
                                  "patientsLocationButton", "bigSummaryButton"};
        for (const char* name : disabled)
            QVERIFY2(!Child<QPushButton>(&dialog, name)->isEnabled(), name);
        QCOMPARE(Child<QPushButton>(&dialog, "controlsColourButton")->text(),
                 QString("Controls colour"));
        QCOMPARE(Child<QPushButton>(&dialog, "patientsLocationButton")->text(),
                 QString("Patients' location"));
        QVERIFY(Child<QPushButton>(&dialog, "generalButton")->isEnabled());
        QVERIFY(Child<QPushButton>(&dialog, "regionalSettingsButton")->isEnabled());
        CheckFormAndNames(dialog, "preferences");

        WithModal(
            [&] {
                QTest::mouseClick(Child<QPushButton>(&dialog, "generalButton"), Qt::LeftButton);
            },
            [](QWidget* modal) {
                auto* general = qobject_cast<CGeneralSettingsDlg*>(modal);
                QVERIFY(general);
                auto* list = Child<QComboBox>(general, "intervalList");
                list->setCurrentIndex(1);
                emit list->activated(1);
                general->accept();
            });
        QCOMPARE(edit.general.autoSaveInterval, 1);
        QVERIFY(edit.intervalChanged);

        WithModal(
            [&] {
                QTest::mouseClick(Child<QPushButton>(&dialog, "regionalSettingsButton"),
                                  Qt::LeftButton);
            },
            [](QWidget* modal) {
                auto* regional = qobject_cast<CRegionalSettingsDlg*>(modal);
                QVERIFY(regional);
                Pick(regional, "dayFirstRadio");
                regional->accept();
            });
        QCOMPARE(edit.regional.dateOrder, 1);

        QTest::mouseClick(Child<QPushButton>(&dialog, "okButton"), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void subDialoguesFitWhenOpenedFromThePreferences() {
        PreferencesEdit edit;
        CPreferencesDlg dialog(edit);
        dialog.show();
        WithModal([&] { dialog.OpenGeneral(); },
                  [](QWidget* modal) {
                      QVERIFY(modal->width() <= 240 && modal->height() <= 320);
                      static_cast<QDialog*>(modal)->reject();
                  });
    }
};

}  // namespace pondrel

QTEST_MAIN(pondrel::SettingsDialogsTest)
#include "SettingsDialogsTest.moc"
