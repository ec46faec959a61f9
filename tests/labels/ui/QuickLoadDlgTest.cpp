#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

#include "GuiDriver.h"
#include "labels/ui/CQuickLoadDlg.h"

namespace pondrel {

class QuickLoadDlgTest : public QObject {
    Q_OBJECT

private:
    static QStringList Rows(QWidget& dialog) {
        QStringList rows;
        auto* list = test::Child<QListWidget>(dialog, "rows");
        for (int r = 0; r < list->count(); ++r) rows << list->item(r)->text();
        return rows;
    }

private slots:
    void listsAtEveryKeyAndHandsTheRowsOwnFile() {
        ArchiveNames names = ArchiveNamesOf({u"Doe_MaryAnn_1950.pdr", u"Doe_Ann_1950.pdr",
                                             u"Annet_Bob_2001.pdr", u"Smith_Joanna_1919.pdr"});
        std::vector<std::u16string> asked;
        CQuickLoadDlg dialog(names, [&](const std::u16string& file) {
            asked.push_back(file);
            return asked.size() == 1 ? QuickLoadOutcome::Declined : QuickLoadOutcome::Moved;
        });
        dialog.show();
        QCOMPARE(Rows(dialog).size(), 4);
        QCOMPARE(test::Child<QLabel>(dialog, "countLine")->text(), QString("Files: 4/4"));
        QVERIFY(test::Click(dialog, "letterA"));
        QCOMPARE(Rows(dialog), QStringList({"Doe Ann 1950", "Annet Bob 2001"}));
        QVERIFY(test::Click(dialog, "letterN"));
        QVERIFY(test::Click(dialog, "spaceButton"));
        QVERIFY(test::Type(dialog, "searchBox", "19|"));  // "|" is refused
        QCOMPARE(test::Child<QLineEdit>(dialog, "searchBox")->text(), QString("an 19"));
        QCOMPARE(Rows(dialog), QStringList({"Doe Ann 1950"}));
        QCOMPARE(test::Child<QLabel>(dialog, "countLine")->text(), QString("Files: 1/4"));
        test::Screenshot(dialog, "quick-load");
        // Declined: the dialogue stays; then the row's own file, never "MaryAnn".
        QVERIFY(test::ClickRow(*test::Child<QListWidget>(dialog, "rows"), 0));
        QVERIFY(dialog.isVisible());
        QVERIFY(test::ClickRow(*test::Child<QListWidget>(dialog, "rows"), 0));
        QCOMPARE(asked, (std::vector<std::u16string>{u"Doe_Ann_1950.pdr", u"Doe_Ann_1950.pdr"}));
        QCOMPARE(dialog.ChosenName(), std::u16string(u"Doe_Ann_1950.pdr"));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void nothingAndBackAndClear() {
        ArchiveNames names = ArchiveNamesOf({u"Doe_Ann_1950.pdr"});
        CQuickLoadDlg dialog(names, [](const std::u16string&) { return QuickLoadOutcome::Moved; });
        dialog.show();
        QVERIFY(test::Click(dialog, "letterZ"));
        QCOMPARE(Rows(dialog), QStringList({"- Nothing -"}));
        QCOMPARE(test::Child<QLabel>(dialog, "countLine")->text(), QString("Files: 0/1"));
        QVERIFY(test::ClickRow(*test::Child<QListWidget>(dialog, "rows"), 0));
        QVERIFY(dialog.ChosenName().empty());
        test::Screenshot(dialog, "quick-load-nothing");
        QVERIFY(test::Click(dialog, "backButton"));
        QCOMPARE(Rows(dialog), QStringList({"Doe Ann 1950"}));
        QVERIFY(test::Click(dialog, "letterD"));
        QVERIFY(test::Click(dialog, "clearButton"));
        QCOMPARE(test::Child<QLineEdit>(dialog, "searchBox")->text(), QString());
    }
};

}  // namespace pondrel

QTEST_MAIN(pondrel::QuickLoadDlgTest)
#include "QuickLoadDlgTest.moc"
