#include <QListWidget>
#include <QToolButton>
#include <QtTest>

#include "GuiDriver.h"
#include "PlainRecord.h"
#include "TestPlatform.h"
#include "journal/ui/CProblemPanel.h"
#include "journal/ui/CSectionEdit.h"
#include "labels/Labels.h"
#include "labels/ui/CShortcutLists.h"
#include "platform/ui/CPopupList.h"
#include "platform/ui/QtText.h"

namespace pondrel {

// The 's' buttons of the problem panel and the shortcut lists of its sections. Today is
// Wednesday 15 March 2006; the patient came in on Monday 13 March.
class StopButtonsTest : public QObject {
    Q_OBJECT

private:
    struct Fixture {
        explicit Fixture(std::u16string journal) {
            platform.clock.now = DateTime{2006, 3, 15, 10, 30, 0};
            record.dates.subfolderType = u"Hosp";
            record.dates.admission = DateTime{2006, 3, 13, 9, 0, 0};
            record.dates.admissionDay = 2263;
            record.journal = std::move(journal);
            Labels labels = Labels::Defaults();
            labels.shortcutLists[91] =
                u"\u00A22\u00A2Analgesics (b)|paracetamol 1 g|"
                u"ibuprofen 400 mg|<==||";
            panel.SetLabels(labels);
            panel.OpenPatient(record);
            panel.show();
            if (!QTest::qWaitForWindowExposed(&panel)) qFatal("panel not shown");
        }
        QToolButton* Button(const char* name) {
            auto* button = test::Child<QToolButton>(panel, QString::fromLatin1(name));
            if (!button) qFatal("no %s", name);
            return button;
        }
        CPopupList* StopList() { return test::Child<CPopupList>(panel, "stopList"); }
        QString Section(const char* name) {
            return ToQString(test::Child<CSectionEdit>(panel, QString::fromLatin1(name))->Text());
        }
        QStringList Rows(QListWidget* list) {
            QStringList rows;
            for (int i = 0; i < list->count(); ++i) rows << list->item(i)->text();
            return rows;
        }

        test::TestPlatform platform;
        test::PlainRecord record;
        CProblemPanel panel{platform.messages, platform.clock};
    };

private slots:
    void theThreeStopButtons() {
        Fixture f(
            u"§0|Pneumonia¦¦A¦§1|Diabetes¦¦A¦"
            u"#2263§0||||amoxicillin 1 g x3\r\n-paracetamol 1 g||CT-Scan thorax|"
            u"§1||||insulin|||");
        QWidget* p = &f.panel;
        QVERIFY(f.Button("medicineStop")->isEnabled());
        QVERIFY(f.Button("attitudeStop")->isEnabled());
        QVERIFY(f.Button("examinationsStop")->isEnabled());

        QVERIFY(test::Click(*p, "medicineStop"));
        QVERIFY(f.StopList()->isVisible());
        QCOMPARE(f.Rows(f.StopList()), (QStringList{"amoxicillin 1 g x3   <D3 (Start  13.3.06)>",
                                                    "paracetamol 1 g   <D3 (Start  13.3.06)>",
                                                    "insulin   <D3 (Start  13.3.06)>"}));
        test::Screenshot(f.panel, "panel-stop-list");
        QVERIFY(test::ClickRow(*f.StopList(), 0));
        QCOMPARE(f.Section("medicine"), QString("amoxicillin 1 g x3 (Stop)"));
        QVERIFY(f.record.journal.find(u"#2265§0||||amoxicillin 1 g x3 (Stop)|||") !=
                std::u16string::npos);
        // The list comes back at once without the stopped row.
        QVERIFY(f.StopList()->isVisible());
        QCOMPARE(f.StopList()->count(), 2);
        QVERIFY(test::Click(*p, "medicineStop"));  // pressed again: closed
        QVERIFY(!f.StopList()->isVisible());

        // Examinations: the stop in Attitude and a result line in Examinations.
        QVERIFY(test::Click(*p, "examinationsStop"));
        QVERIFY(test::ClickRow(*f.StopList(), "CT-Scan thorax   <D3 (Start  13.3.06)>"));
        QCOMPARE(f.Section("attitude"), QString("CT-Scan thorax (Stop)"));
        QCOMPARE(f.Section("examinations"), QString("CT-Scan thorax="));
        auto* examinations = test::Child<CSectionEdit>(*p, "examinations");
        QVERIFY(examinations->hasFocus());
        QCOMPARE(examinations->Caret(), size_t(15));
        // Nothing runs among the actions any more: both buttons go off, the list with them.
        QVERIFY(!f.StopList()->isVisible());
        QVERIFY(!f.Button("attitudeStop")->isEnabled());
        QVERIFY(!f.Button("examinationsStop")->isEnabled());
        QVERIFY(f.platform.messages.boxes.empty());
    }

    void refusalsShowTheirBoxes() {
        Fixture f(u"§0|Pneumonia¦¦A¦§1|Diabetes¦¦A¦#2265§1||||heparin|||");
        QWidget* p = &f.panel;
        QVERIFY(test::Click(*p, "medicineStop"));
        QVERIFY(test::ClickRow(*f.StopList(), 0));
        QCOMPARE(f.platform.messages.boxes.size(), size_t(1));
        QCOMPARE(ToQString(f.platform.messages.boxes[0].caption), QString("Stop conflict"));
        QCOMPARE(f.Section("medicine"), QString());
        QVERIFY(test::Click(*p, "previousDay"));
        QVERIFY(test::ClickRow(*f.StopList(), 0));
        QCOMPARE(f.platform.messages.boxes.size(), size_t(2));
        QCOMPARE(ToQString(f.platform.messages.boxes[1].caption),
                 QString("Stop before starting day"));
        QVERIFY(f.record.journal == u"§0|Pneumonia¦¦A¦§1|Diabetes¦¦A¦#2265§1||||heparin|||");
    }

    void sectionShortcutList() {
        Fixture f(u"§0|Pneumonia¦¦A¦");
        f.record.fields[64] = u"-aspirin 100 mg";
        auto* medicine = test::Child<CSectionEdit>(f.panel, "medicine");
        medicine->setFocus();
        QTest::mouseDClick(medicine->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        auto* list = f.panel.Shortcuts().List();
        QVERIFY(list->isVisible());
        QCOMPARE(f.Rows(list),
                 (QStringList{"[[[ Usual drugs ]]]", "[[[ Analgesics (b) ]]]", "<=="}));
        test::Screenshot(f.panel, "panel-shortcut-list");
        QVERIFY(test::ClickRow(*list, "[[[ Analgesics (b) ]]]"));
        QVERIFY(test::ClickRow(*list, "ibuprofen 400 mg"));
        QCOMPARE(f.Section("medicine"), QString("Ibuprofen 400 mg "));
        QVERIFY(test::ClickRow(*list, "<=="));
        QVERIFY(test::ClickRow(*list, "[[[ Usual drugs ]]]"));
        QVERIFY(test::ClickRow(*list, "aspirin 100 mg"));
        QCOMPARE(f.Section("medicine"), QString("-Ibuprofen 400 mg \r\n-Aspirin 100 mg "));
        // The insertions reach the journal as typing does, and start the treatments.
        f.panel.Commit();
        QVERIFY(f.record.journal.find(u"|-Ibuprofen 400 mg \r\n-Aspirin 100 mg |") !=
                std::u16string::npos);
        QVERIFY(f.Button("medicineStop")->isEnabled());
    }
};

}  // namespace pondrel

QTEST_MAIN(pondrel::StopButtonsTest)
#include "StopButtonsTest.moc"
