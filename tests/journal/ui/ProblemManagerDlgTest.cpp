#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "GuiDriver.h"
#include "PlainRecord.h"
#include "TestPlatform.h"
#include "journal/JournalReader.h"
#include "journal/ui/CProblemManagerDlg.h"
#include "journal/ui/CProblemPanel.h"
#include "labels/Labels.h"
#include "platform/ui/QtText.h"

namespace pondrel {

namespace {

const std::u16string kJournal =
    u"§0|Pneumonia¦Heart failure¦A¦lobar§1|Diabetes¦¦I¦§2|Fall¦¦C¦hip"
    u"#2263§0|cough|crackles|CRP 120|amoxicillin|||§1|||glucose 9|insulin|||§2|pain||||||"
    u"#2264§2||||x-ray||rest|";

}  // namespace

class ProblemManagerDlgTest : public QObject {
    Q_OBJECT

private:
    static QTableWidget* List(QWidget* dialog) {
        return test::Child<QTableWidget>(*dialog, "problemList");
    }
    static void ClickRow(QWidget* dialog, int row) {
        QTableWidget* list = List(dialog);
        QRect cell = list->visualItemRect(list->item(row, 2));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    }
    static void Click(QWidget* dialog, const char* name) {
        QVERIFY(test::Click(*dialog, QString::fromLatin1(name)));
    }
    static QStringList Rows(QWidget* dialog) {
        QStringList rows;
        QTableWidget* list = List(dialog);
        for (int r = 0; r < list->rowCount(); ++r) {
            rows << list->item(r, 0)->text() + "|" + list->item(r, 1)->text() + "|" +
                        list->item(r, 2)->text();
        }
        return rows;
    }

private slots:
    void commandsChangeTheWorkingCopyOnly() {
        test::ScriptedMessages messages;
        CProblemManagerDlg dialog(kJournal, 0, {}, false, 0, messages);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(Rows(&dialog), QStringList({"Active|1|Pneumonia", "Solved|2|Diabetes",
                                              "Closed|3|Fall"}));
        test::Screenshot(dialog, "problem-manager");

        Click(&dialog, "upButton");  // problem 1 is at the top already
        QCOMPARE(messages.boxes.back().text, u"The problem is already at the top of the list.");
        QCOMPARE(messages.boxes.back().caption, u"Move Up");
        Click(&dialog, "downButton");
        QCOMPARE(Rows(&dialog).first(), QString("Solved|1|Diabetes"));
        QCOMPARE(dialog.SelectedRow(), 1);
        Click(&dialog, "activeButton");
        QCOMPARE(Rows(&dialog).at(1), QString("Active|2|Pneumonia"));
        ClickRow(&dialog, 2);
        Click(&dialog, "downButton");
        QCOMPARE(messages.boxes.back().text,
                 u"The problem is already at the bottom of the list.");

        // Merge: Fall into Diabetes, confirmed.
        Click(&dialog, "mergeButton");
        QVERIFY(test::Child<QWidget>(dialog, "mergePrompt")->isVisible());
        ClickRow(&dialog, 0);
        QCOMPARE(messages.boxes.back().caption, u"Confirm merge problems");
        QCOMPARE(messages.boxes.back().text,
                 u"Do you really want to merge the selected problems:\r\n    -Diabetes\r\n    "
                 u"-Fall\r\n\r\nFinal result:\r\n    -Diabetes\r\n\r\nYou will not be able to "
                 u"reverse this operation. If you are not sure, make a backup of the file "
                 u"before.");
        QVERIFY(!test::Child<QWidget>(dialog, "mergePrompt")->isVisible());
        QCOMPARE(Rows(&dialog), QStringList({"Solved|1|Diabetes", "Active|2|Pneumonia"}));
        std::u16string journal = dialog.Journal();
        JournalReader reader(journal);
        QCOMPARE(reader.GetProblemRedaction(0), u"hip");
        QCOMPARE(reader.GetSection(2264, 0, 5), u"rest");
        QCOMPARE(reader.GetSection(2263, 1, 0), u"cough");

        // Merging a problem with itself is refused.
        ClickRow(&dialog, 1);
        Click(&dialog, "mergeButton");
        ClickRow(&dialog, 1);
        QCOMPARE(messages.boxes.back().text, u"Choose only two different problems");

        // Delete asks first; Cancel keeps the problem.
        messages.Queue(BoxAnswer::Cancel);
        Click(&dialog, "deleteButton");
        QCOMPARE(messages.boxes.back().text,
                 u"Do you really want to delete the selected problem << 2: Pneumonia >> ?\r\n"
                 u"This operation is dangerous. All information about this problem from the "
                 u"first day until the last day will be permanently lost.\r\n\r\nDelete ?");
        QCOMPARE(Rows(&dialog).size(), 2);
        Click(&dialog, "deleteButton");
        QCOMPARE(Rows(&dialog), QStringList({"Solved|1|Diabetes"}));
        QVERIFY(dialog.Changed());
    }

    void noSelectionAndReadOnly() {
        test::ScriptedMessages messages;
        CProblemManagerDlg empty(u"", 0, {}, false, 0, messages);
        QTest::mouseClick(test::Child<QPushButton>(empty, "solvedButton"), Qt::LeftButton);
        QCOMPARE(messages.boxes.back().text, u"Select before a problem.");
        QCOMPARE(messages.boxes.back().caption, u"Solved");

        CProblemManagerDlg viewOnly(kJournal, 1, {u"Actif", u"R\u00E9solu", u"Ferm\u00E9"}, true,
                                    0, messages);
        viewOnly.show();
        QCOMPARE(Rows(&viewOnly).at(1), QString("R\u00E9solu|2|Diabetes"));
        for (const char* name : {"upButton", "downButton", "activeButton", "solvedButton",
                                 "closedButton", "deleteButton", "mergeButton"}) {
            QVERIFY2(!test::Child<QPushButton>(viewOnly, name)->isEnabled(), name);
        }
        QVERIFY(test::Child<QPushButton>(viewOnly, "okButton")->isEnabled());
    }

    // "Mgr" on the panel: the working copies are committed first, OK replaces the journal and
    // shows problem 1; a read-only record is only shown; Cancel changes nothing.
    void panelOpensTheManager() {
        test::TestPlatform platform;
        platform.clock.now = DateTime{2006, 3, 15, 10, 30, 0};
        test::PlainRecord record;
        record.dates.subfolderType = u"Hosp";
        record.dates.admission = DateTime{2006, 3, 13, 9, 0, 0};
        record.dates.admissionDay = 2263;
        record.journal = kJournal;
        CProblemPanel panel(platform.messages, platform.clock);
        panel.SetLabels(Labels::Defaults());
        panel.OpenPatient(record);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QVERIFY(test::Child<QWidget>(panel, "problemManager")->isVisible());
        panel.Refresh(panel.Model().ChooseProblem(2));
        QVERIFY(test::Type(panel, "title", " (!)"));

        QVERIFY(test::WithModal([&] { QVERIFY(test::Click(panel, "problemManager")); },
                                [&](QWidget* dialog) {
                                    QCOMPARE(List(dialog)->item(2, 2)->text(),
                                             QString("Fall (!)"));
                                    QCOMPARE(List(dialog)->currentRow(), 2);
                                    Click(dialog, "upButton");
                                    Click(dialog, "okButton");
                                }));
        QCOMPARE(platform.messages.notices.back().text, u"Modifications done");
        JournalReader reader(record.journal);
        QCOMPARE(reader.GetProblemTitle(1), u"Fall (!)");
        QCOMPARE(reader.GetSection(2263, 1, 0), u"pain");
        QCOMPARE(panel.Model().CurrentProblem(), 0);

        const std::u16string before = record.journal;
        QVERIFY(test::WithModal([&] { QVERIFY(test::Click(panel, "problemManager")); },
                                [&](QWidget* dialog) {
                                    Click(dialog, "deleteButton");
                                    Click(dialog, "cancelButton");
                                }));
        QCOMPARE(platform.messages.notices.back().text, u"Cancel");
        QCOMPARE(record.journal, before);

        record.lockState = u"R";
        QVERIFY(test::WithModal([&] { QVERIFY(test::Click(panel, "problemManager")); },
                                [&](QWidget* dialog) {
                                    QVERIFY(!test::Child<QPushButton>(*dialog, "deleteButton")
                                                 ->isEnabled());
                                    Click(dialog, "okButton");
                                }));
        QCOMPARE(platform.messages.notices.back().text, u"Read only");
        QCOMPARE(record.journal, before);
        panel.ClosePatient();
    }
};

}  // namespace pondrel

QTEST_MAIN(pondrel::ProblemManagerDlgTest)
#include "ProblemManagerDlgTest.moc"
