#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include <fstream>
#include <sstream>

#include "Doubles.h"
#include "GuiDriver.h"
#include "TestPlatform.h"
#include "labels/ui/CCodeSearchDlg.h"

namespace pondrel {

namespace {

std::string FactoryTable() {
    std::ifstream in(PONDREL_RESOURCES_DIR "/ICD10.txt", std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

QStringList Codes(QWidget& dialog) {
    QStringList codes;
    auto* list = test::Child<QTreeWidget>(dialog, "results");
    for (int r = 0; r < list->topLevelItemCount(); ++r) codes << list->topLevelItem(r)->text(0);
    return codes;
}

}  // namespace

class CodeSearchDlgTest : public QObject {
    Q_OBJECT

private slots:
    void searchesTheFactoryTableAndPutsTheCode() {
        test::TestPlatform platform;
        test::ScriptedFileDialogs dialogs;
        platform.files.AddFile(u"\\My Documents\\ICD10.txt", FactoryTable());
        CodeTable table;
        std::u16string path;  // the preferences name no table: the default one
        CCodeSearchDlg dialog(u"Pneumonia (J18.9)", table, path, platform.files, dialogs,
                              platform.messages);
        dialog.show();
        QCOMPARE(test::Child<QLabel>(dialog, "heading")->text(), QString("Diagnoses codes :   ICD10"));
        QCOMPARE(path, std::u16string(u"\\My Documents\\ICD10.txt"));
        // The diagnosis's code was searched at once.
        QCOMPARE(test::Child<QLineEdit>(dialog, "wordsBox")->text(), QString("J18.9"));
        QCOMPARE(Codes(dialog), QStringList({"J18.9"}));

        auto* words = test::Child<QLineEdit>(dialog, "wordsBox");
        words->clear();
        QVERIFY(test::Type(dialog, "wordsBox", "heart chronic diastolic"));
        QVERIFY(test::Click(dialog, "searchButton"));
        QCOMPARE(Codes(dialog), QStringList({"I50.32", "I50.33", "I50.42", "I50.43"}));
        test::Screenshot(dialog, "icd-search");
        auto* results = test::Child<QTreeWidget>(dialog, "results");
        results->setCurrentItem(results->topLevelItem(0));
        emit results->itemClicked(results->topLevelItem(0), 0);
        QCOMPARE(dialog.Diagnosis(), std::u16string(u"Pneumonia (I50.32)"));
        QVERIFY(test::Click(dialog, "fullCodeButton"));
        QCOMPARE(dialog.Diagnosis(),
                 std::u16string(u"Chronic diastolic (congestive) heart failure (I50.32)"));
        QVERIFY(test::Click(dialog, "clearCodeButton"));
        QCOMPARE(dialog.Diagnosis(), std::u16string(u"Chronic diastolic"));

        // No match, and the words of the diagnosis.
        words->clear();
        QVERIFY(test::Type(dialog, "wordsBox", "xyzzy"));
        QVERIFY(test::Click(dialog, "searchButton"));
        QCOMPARE(results->topLevelItemCount(), 1);
        QCOMPARE(results->topLevelItem(0)->text(1), QString("- Nothing -"));
        QVERIFY(test::Click(dialog, "fullCodeButton"));
        QCOMPARE(platform.messages.boxes.back().text,
                 std::u16string(u"Select before a code in the list"));
        words->clear();
        QVERIFY(test::Click(dialog, "wordsButton"));
        auto* diagnosisWords = test::Child<QListWidget>(dialog, "diagnosisWords");
        QVERIFY(diagnosisWords->isVisible());
        QCOMPARE(diagnosisWords->count(), 2);
        QVERIFY(test::ClickRow(*diagnosisWords, 1));
        QCOMPARE(words->text(), QString("diastolic"));
        // The reserved characters never reach the words.
        QVERIFY(test::Type(dialog, "wordsBox", "#|x"));
        QCOMPARE(words->text(), QString("diastolicx"));
    }

    void tellsWhenNoTableCanBeFoundOrTheListIsFull() {
        test::TestPlatform platform;
        test::ScriptedFileDialogs dialogs;
        CodeTable table;
        std::u16string path = u"\\Storage\\Gone.txt";
        platform.messages.Queue(BoxAnswer::No);
        CCodeSearchDlg dialog(u"Fracture", table, path, platform.files, dialogs,
                              platform.messages);
        QCOMPARE(test::Child<QLabel>(dialog, "heading")->text(), QString("Diagnoses codes :  --- "));
        QVERIFY(path.empty());
        test::Screenshot(dialog, "icd-search-no-table");

        // "Load table" takes a table the user chooses.
        platform.files.AddFile(u"\\My Documents\\Mine.csv", FactoryTable());
        dialogs.Queue(std::u16string(u"\\My Documents\\Mine.csv"));
        dialog.show();
        QVERIFY(test::Click(dialog, "loadTableButton"));
        QCOMPARE(test::Child<QLabel>(dialog, "heading")->text(), QString("Diagnoses codes :   Mine"));
        QVERIFY(test::Type(dialog, "wordsBox", "fracture"));
        QVERIFY(test::Click(dialog, "searchButton"));
        QCOMPARE(Codes(dialog).size(), 100);
        QCOMPARE(platform.messages.boxes.back().text,
                 std::u16string(u"Only the first 100/2070 items are displayed."));
        QCOMPARE(platform.messages.boxes.back().caption, std::u16string(u"Search result"));
    }
};

}  // namespace pondrel

QTEST_MAIN(pondrel::CodeSearchDlgTest)
#include "CodeSearchDlgTest.moc"
