#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include "GuiDriver.h"
#include "journal/JournalWords.h"
#include "journal/TreatmentTables.h"
#include "journal/ui/COrderSheets.h"
#include "labels/Labels.h"

namespace pondrel {

// The order sheets of page 27 on a stay from 13 to 20 March 2006 (the exit day), seen on the
// 20th.
class OrderSheetsTest : public QObject {
    Q_OBJECT

private:
    // The texts of a row; the drug line read as one line, however it is wrapped.
    static QStringList Row(QTreeWidget* view, int row) {
        QStringList texts;
        QTreeWidgetItem* item = view->topLevelItem(row);
        for (int c = 0; item && c < view->columnCount(); ++c) {
            texts << (c == 0 ? QString(item->text(c)).replace('\n', ' ') : item->text(c));
        }
        return texts;
    }
    // Every date and status column shows its texts whole.
    static void CheckDatesWhole(QTreeWidget* view) {
        QFontMetrics metrics(view->font());
        for (int c = 1; c < view->columnCount(); ++c) {
            for (int r = 0; r < view->topLevelItemCount(); ++r) {
                for (const QString& line : view->topLevelItem(r)->text(c).split(u'\n')) {
                    QVERIFY2(metrics.horizontalAdvance(line) + 8 <= view->columnWidth(c),
                             qPrintable(line));
                }
            }
        }
        int total = 0;
        for (int c = 0; c < view->columnCount(); ++c) total += view->columnWidth(c);
        QVERIFY(total <= view->viewport()->width());
    }

private slots:
    void sheetsAndRunningLists() {
        std::u16string journal =
            u"§0|Pneumonia¦¦A¦#2263§0||||amoxicillin 1 g x3\r\n-paracetamol 1 g if pain or "
            u"fever above 38.5||chest X-ray|#2265§0||||amoxicillin 1 g x3 (Stop)||CT-Scan thorax|";
        JournalWords words;
        TreatmentDays days{2270, 2270, 2270, 2263};
        TreatmentTables tables(words, [&] { return TreatmentInputs{journal, days}; });
        COrderSheets sheets;
        sheets.SetLabels(Labels::Defaults());
        sheets.Show(&tables);
        sheets.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sheets));

        auto* treatments = test::Child<QTreeWidget>(sheets, "treatmentSheet");
        auto* actions = test::Child<QTreeWidget>(sheets, "actionSheet");
        QCOMPARE(treatments->headerItem()->text(0), QString("Medicine"));
        QCOMPARE(treatments->headerItem()->text(1), QString("Start"));
        QCOMPARE(treatments->headerItem()->text(2), QString("Stop"));
        QCOMPARE(treatments->topLevelItemCount(), 2);
        // Dates on two lines: the text keeps the width.
        QCOMPARE(Row(treatments, 0),
                 (QStringList{"amoxicillin 1 g x3", "Mo 13.3.06", "D3\nWe 15.3.06"}));
        QCOMPARE(Row(treatments, 1), (QStringList{"paracetamol 1 g if pain or fever above 38.5",
                                                  "Mo 13.3.06\n(D8)", ""}));
        QCOMPARE(treatments->topLevelItem(1)->toolTip(1), QString("Mo 13.3.06  (D8)"));
        QVERIFY(treatments->columnWidth(0) >= 80);
        QCOMPARE(actions->headerItem()->text(0), QString("Attitude"));
        QCOMPARE(actions->topLevelItemCount(), 2);
        QCOMPARE(treatments->palette().color(QPalette::Base), QColor(255, 230, 230));
        QCOMPARE(actions->palette().color(QPalette::Base), QColor(255, 200, 255));
        CheckDatesWhole(treatments);
        CheckDatesWhole(actions);
        // A long text wraps; its tooltip shows it on one line.
        QCOMPARE(treatments->topLevelItem(1)->toolTip(0), Row(treatments, 1).first());
        QVERIFY(treatments->topLevelItem(1)->text(0).contains('\n'));
        // Every wrapped line fits the column: the whole line is readable.
        const QFontMetrics metrics(treatments->font());
        for (const QString& line : treatments->topLevelItem(1)->text(0).split('\n')) {
            QVERIFY(metrics.horizontalAdvance(line) < treatments->columnWidth(0));
        }
        test::Screenshot(sheets, "order-sheets");

        // A tap on a row shows its whole line.
        QTest::mouseClick(treatments->viewport(), Qt::LeftButton, {},
                          treatments->visualItemRect(treatments->topLevelItem(1)).center());
        QCOMPARE(treatments->property("shownWhole").toString(),
                 QString("paracetamol 1 g if pain or fever above 38.5"));
        auto* title = test::Child<QLabel>(sheets, "orderSheetsTitle");
        QCOMPARE(title->text(), QString("Order sheets"));

        QVERIFY(test::Click(sheets, "nowButton"));
        QVERIFY(sheets.ShowsRunningLists());
        // The title names the view shown.
        QCOMPARE(title->text(), QString("Order sheets: Now"));
        QCOMPARE(treatments->headerItem()->text(1), QString("Now"));
        QCOMPARE(treatments->topLevelItemCount(), 1);
        QCOMPARE(Row(treatments, 0), (QStringList{"paracetamol 1 g if pain or fever above 38.5",
                                                  "D8\n(Start  13.3.06)"}));
        QCOMPARE(Row(actions, 0), (QStringList{"chest X-ray", "D8\n(Start  13.3.06)"}));
        CheckDatesWhole(treatments);
        test::Screenshot(sheets, "order-sheets-now");

        // No patient: nothing shown.
        sheets.Show(nullptr);
        QCOMPARE(treatments->topLevelItemCount(), 0);
    }
};

}  // namespace pondrel

QTEST_MAIN(pondrel::OrderSheetsTest)
#include "OrderSheetsTest.moc"
