#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include "GuiDriver.h"
#include "TestPlatform.h"
#include "labels/Labels.h"
#include "labels/LabelsReader.h"
#include "labels/LabelsWriter.h"
#include "labels/ui/CLabelEditorDlg.h"
#include "platform/ui/QtText.h"

namespace pondrel {

namespace {

constexpr char16_t kFolder[] = u"\\Pondrel";
constexpr char16_t kPath[] = u"\\Pondrel\\Labels.txt";

// A labels file whose field 91 (Medicine) has a menu.
std::u16string LabelsText() {
    Labels labels = Labels::Defaults();
    labels.captions[91] = u"Medicine";
    labels.shortcutLists[91] = u"aspirin|\u00A22\u00A2Antibiotics|amoxicillin|ceftriaxone|<-||";
    labels.captions[40] = u"Pulse";
    labels.captions[42] = u"Pulse";  // a caption used twice
    return ComposeLabelsText(labels);
}

}  // namespace

class LabelEditorDlgTest : public QObject {
    Q_OBJECT

private:
    static QStringList Rows(QWidget* dialog) {
        QStringList rows;
        auto* list = test::Child<QListWidget>(*dialog, "shortcutRows");
        for (int r = 0; r < list->count(); ++r) rows << list->item(r)->text();
        return rows;
    }
    static void Click(QWidget* dialog, const char* name) {
        QVERIFY(test::Click(*dialog, QString::fromLatin1(name)));
    }
    static void Row(QWidget* dialog, const char* list, int row) {
        QVERIFY(test::ClickRow(*test::Child<QListWidget>(*dialog, list), row));
    }
    static QLineEdit* Text(QWidget* dialog) {
        return test::Child<QLineEdit>(*dialog, "textEdit");
    }

private slots:
    void editsAndSavesOneRecord() {
        test::TestPlatform platform;
        const std::string before = EncodeLabelsText(LabelsText());
        platform.files.AddFile(kPath, before);
        Labels labels = ReadLabelsText(LabelsText()).labels;
        bool saved = false;
        QVERIFY(test::WithModal(
            [&] {
                saved = CLabelEditorDlg::EditShortcuts(labels, 91, u"Amoxicillin 1 g x3, day 2",
                                                       0, kFolder, platform.files,
                                                       platform.messages, nullptr);
            },
            [&](QWidget* dialog) {
                QCOMPARE(test::Child<QLabel>(*dialog, "heading")->text(),
                         QString("Label of the box (Default = Medicine) : N\u00B091"));
                QCOMPARE(Rows(dialog), QStringList({"aspirin", "----- Antibiotics ----- {2}",
                                                    "      amoxicillin", "      ceftriaxone",
                                                    "<-"}));
                test::Screenshot(*dialog, "label-editor");
                // A header shows its title and count; "Menu off" and "Menu back" apply.
                Row(dialog, "shortcutRows", 1);
                QCOMPARE(Text(dialog)->text(), QString("Antibiotics"));
                QCOMPARE(test::Child<QSpinBox>(*dialog, "countBox")->value(), 2);
                QCOMPARE(test::Child<QPushButton>(*dialog, "menuButton")->text(),
                         QString("Menu off"));
                Click(dialog, "backButton");
                QCOMPARE(Rows(dialog).at(1), QString("----- Antibiotics (b) ----- {2}"));
                // A word of the field with a version tag after it, added below "aspirin".
                Row(dialog, "shortcutRows", 0);
                Text(dialog)->clear();
                Click(dialog, "wordsButton");
                Row(dialog, "wordsList", 2);
                QCOMPARE(Text(dialog)->text(), QString("Amoxicillin"));
                Click(dialog, "tagsButton");
                Row(dialog, "tagsList", 9);
                QCOMPARE(Text(dialog)->text(), QString("Amoxicillin((1))"));
                Click(dialog, "addButton");
                QCOMPARE(Rows(dialog).at(1), QString("Amoxicillin((1))"));
                // Typed reserved characters never stay.
                Text(dialog)->setFocus();
                Text(dialog)->end(false);
                QTest::keyClicks(Text(dialog), "x#|y");
                QCOMPARE(Text(dialog)->text(), QString("Amoxicillin((1))xy"));
                // The last row moves up past the whole menu.
                Row(dialog, "shortcutRows", 5);
                Click(dialog, "upButton");
                QCOMPARE(Rows(dialog).at(2), QString("<-"));
                auto* title = test::Child<QLineEdit>(*dialog, "titleEdit");
                title->setText("Drugs");
                test::Screenshot(*dialog, "label-editor-edited");
                Click(dialog, "saveButton");
            }));
        QVERIFY(saved);
        QCOMPARE(labels.captions[91], u"Drugs");
        QCOMPARE(labels.shortcutLists[91],
                 u"aspirin|Amoxicillin((1))|<-|\u00A22\u00A2Antibiotics (b)|amoxicillin|"
                 u"ceftriaxone||");
        QCOMPARE(platform.messages.notices.back().text, u"Save successfull");
        const std::string stored = *platform.files.Bytes(kPath);
        QCOMPARE(DecodeLabelsBytes(stored).text,
                 ReplaceFieldRecord(LabelsText(), 91, u"Drugs", labels.shortcutLists[91])->text);
        QCOMPARE(*platform.files.Bytes(u"\\Pondrel\\Labels.txt.bak"), before);
    }

    void refusalsAndClosing() {
        test::TestPlatform platform;
        platform.files.AddFile(kPath, EncodeLabelsText(LabelsText()));
        Labels labels = ReadLabelsText(LabelsText()).labels;
        QVERIFY(!CLabelEditorDlg::EditShortcuts(labels, -1, u"", 0, kFolder, platform.files,
                                                platform.messages, nullptr));
        QCOMPARE(platform.messages.boxes.back().text, u"First select a window to edit !");
        QVERIFY(!CLabelEditorDlg::EditShortcuts(labels, 15, u"", 0, kFolder, platform.files,
                                                platform.messages, nullptr));
        QCOMPARE(platform.messages.boxes.back().text, u"This window can not be edited !");

        // A caption another field uses is refused; the dialogue stays open. Closing it asks
        // whether to save; No leaves the file alone.
        const std::string before = *platform.files.Bytes(kPath);
        QVERIFY(test::WithModal(
            [&] {
                QVERIFY(!CLabelEditorDlg::EditShortcuts(labels, 40, u"", 1, kFolder,
                                                        platform.files, platform.messages,
                                                        nullptr));
            },
            [&](QWidget* dialog) {
                Click(dialog, "addButton");
                QCOMPARE(platform.messages.boxes.back().text,
                         u"Insert before the label to add !");
                test::Child<QLineEdit>(*dialog, "titleEdit")->setText("Medicine");
                Click(dialog, "saveButton");
                QCOMPARE(platform.messages.boxes.back().text,
                         u"The title label already exist. You have to change it or insert a "
                         u"version tag.");
                QVERIFY(dialog->isVisible());
                platform.messages.Queue(BoxAnswer::No);
                static_cast<QDialog*>(dialog)->reject();
                QCOMPARE(platform.messages.boxes.back().text,
                         u"Do you want to save before you exit ?");
            }));
        QCOMPARE(platform.messages.notices.back().text, u"Nothing was saved !");
        QCOMPARE(*platform.files.Bytes(kPath), before);
        QCOMPARE(labels.Label(111), u"lbs");

        // The file changed under the open dialogue: nothing is written.
        QVERIFY(test::WithModal(
            [&] {
                QVERIFY(!CLabelEditorDlg::EditShortcuts(labels, 42, u"", 0, kFolder,
                                                        platform.files, platform.messages,
                                                        nullptr));
            },
            [&](QWidget* dialog) {
                platform.files.AddFile(kPath, before + std::string(2, '\0'));
                Click(dialog, "saveButton");
            }));
        QCOMPARE(platform.messages.boxes.back().text,
                 u"The file <Labels.txt> was changed by another program since the label editor "
                 u"read it. Nothing was saved.");
        QCOMPARE(*platform.files.Bytes(kPath), before + std::string(2, '\0'));
    }
};

}  // namespace pondrel

QTEST_MAIN(pondrel::LabelEditorDlgTest)
#include "LabelEditorDlgTest.moc"
