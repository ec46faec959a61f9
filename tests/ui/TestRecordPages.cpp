// The tasks page, the quick notes, the patient list and the windows editor, driven as a user
// would on a device folder prepared as pondrel-tool init-device does.

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "FormTestBase.h"
#include "journal/ui/CTaskPanel.h"
#include "layout/Arrangement.h"
#include "layout/ArrangementReader.h"
#include "layout/WindowsEditor.h"
#include "records/ItemEncoding.h"
#include "settings/PreferencesFile.h"
#include "ui/frame/CPatientList.h"
#include "ui/pages/CWindowsEditor.h"
#include "platform/ui/CPopupList.h"
#include "ui/pages/FreeFieldControls.h"
#include "ui/pages/QuickNotesPage.h"
#include "ui/pages/TaskPage.h"

using namespace pondrel;

class TestRecordPages : public QObject, private test::FormTestBase {
    Q_OBJECT

private slots:
    void init() { Prepare(); }
    void cleanup() { Finish(); }
    void aTaskAddedAndCheckedMovesLast();
    void typingInAFreeLineOfTheDemoTasksKeepsTheRowsInPlace();
    void quickNotesAreKeptAsTyped();
    void thePatientListOpensSortsAndShowsAPatient();
    void theWindowsEditorBringsAWindowBackAndSaves();
    void freeFieldPagesTitlesPositionsAndHiddenWindows();
    void toolRowLinesRefuseReservedCharactersPasted();
    void screenshots();

private:
    void TypeTask(int row, const QString& text) {
        auto* line = Named<QLineEdit>(QStringLiteral("taskText%1").arg(row));
        QVERIFY(line && line->isVisible());
        QTest::mouseClick(line, Qt::LeftButton);
        QTRY_VERIFY(line->hasFocus());
        QTest::keyClicks(line, text);
    }
};

void TestRecordPages::aTaskAddedAndCheckedMovesLast() {
    QCOMPARE(WriteDemo(1), 1);
    QVERIFY(Start());
    PatientRecord* record = Patients().Current();
    record->SetField(98, u"call the lab#0|N|");
    QVERIFY(Tap(QStringLiteral("tasksButton")));
    QCOMPARE(View().CurrentPage(), 19);
    QCOMPARE(Named<QLineEdit>(QStringLiteral("taskText0"))->text(), QStringLiteral("call the lab"));

    // A line start takes its capital as in every field of the form.
    TypeTask(1, QStringLiteral("write the letter #|"));
    QCOMPARE(record->Field(98), std::u16string(u"call the lab#0|N|Write the letter #2|N|"));
    // Checking the urgent task makes it plain and done: it goes last.
    QVERIFY(Tap(QStringLiteral("taskDone0")));
    QCOMPARE(record->Field(98), std::u16string(u"Write the letter #2|N|call the lab#2|*|"));
    // Deleting an unchecked task is refused.
    QVERIFY(Tap(QStringLiteral("taskDelete1")));
    QCOMPARE(NoticeText(), QStringLiteral("First check the box to confirm that the task is done"));
    // Shown again, the rows follow the saved order.
    View().ShowPage(0);
    View().ShowPage(19);
    QCOMPARE(Named<QLineEdit>(QStringLiteral("taskText0"))->text(),
             QStringLiteral("Write the letter "));
    QVERIFY(Named<QCheckBox>(QStringLiteral("taskDone1"))->isChecked());
    QVERIFY(Tap(QStringLiteral("taskDelete1")));
    QCOMPARE(record->Field(98), std::u16string(u"Write the letter #2|N|"));

    QVERIFY(ChooseMenu(QStringLiteral("Save all")));
    QCOMPARE(ReadBack(record->fileName).Field(98), std::u16string(u"Write the letter #2|N|"));
}

void TestRecordPages::typingInAFreeLineOfTheDemoTasksKeepsTheRowsInPlace() {
    QCOMPARE(WriteDemo(2), 2);
    QVERIFY(Start());
    // The field windows show the first patient; the tasks page then follows the move to the
    // second one, whose real demo tasks end with a done one.
    QVERIFY(Tap(QStringLiteral("recordFirst")));
    View().ShowPage(0);
    PatientRecord* first = Patients().Current();
    QVERIFY(Tap(QStringLiteral("tasksButton")));
    QVERIFY(Tap(QStringLiteral("recordNext")));
    PatientRecord* second = Patients().Current();
    QVERIFY(second != first);
    QCOMPARE(View().CurrentPage(), 19);
    const std::u16string before = second->Field(98);
    QVERIFY(before.ends_with(u"|*|"));  // a done task, last
    int free = -1;
    QStringList shown;
    for (int row = 0; row < static_cast<int>(TaskPanelModel::kMaxRows) && free < 0; ++row) {
        auto* line = Named<QLineEdit>(QStringLiteral("taskText%1").arg(row));
        if (line->isVisible() && line->text().isEmpty()) free = row;
        shown << line->text();
    }
    QVERIFY(free > 0);
    QVERIFY(Named<QCheckBox>(QStringLiteral("taskDone%1").arg(free - 1))->isChecked());

    // The first key is Shift, as for a capital: it changes nothing and shows nothing else.
    auto* line = Named<QLineEdit>(QStringLiteral("taskText%1").arg(free));
    QTest::mouseClick(line, Qt::LeftButton);
    QTRY_VERIFY(line->hasFocus());
    QTest::keyClick(line, Qt::Key_Shift);
    for (int row = 0; row <= free; ++row) {
        QCOMPARE(Named<QLineEdit>(QStringLiteral("taskText%1").arg(row))->text(), shown[row]);
    }
    TypeTask(free, QStringLiteral("ring the ward"));
    // Keys that change nothing (the caret moved) store nothing and reload nothing.
    QTest::keyClick(line, Qt::Key_Left);
    QTest::keyClick(line, Qt::Key_End);
    QTest::keyClicks(line, QStringLiteral(" at 5"));
    QCOMPARE(line->text(), QStringLiteral("Ring the ward at 5"));
    QVERIFY(line->hasFocus());
    for (int row = 0; row < free; ++row) {
        QCOMPARE(Named<QLineEdit>(QStringLiteral("taskText%1").arg(row))->text(), shown[row]);
    }
    // Stored at once into the patient on screen, before the done task; the first patient's
    // tasks are untouched.
    const std::u16string done = before.substr(before.rfind(u'|', before.size() - 4) + 1);
    QVERIFY(second->Field(98).ends_with(u"Ring the ward at 5#2|N|" + done));
    QVERIFY(first->Field(98).find(u"Ring the ward") == std::u16string::npos);
    // Shown again, the rows follow the saved order: the done task last.
    View().ShowPage(0);
    View().ShowPage(19);
    QCOMPARE(Named<QLineEdit>(QStringLiteral("taskText%1").arg(free - 1))->text(),
             QStringLiteral("Ring the ward at 5"));
    QVERIFY(Named<QCheckBox>(QStringLiteral("taskDone%1").arg(free))->isChecked());
}

void TestRecordPages::quickNotesAreKeptAsTyped() {
    QCOMPARE(WriteDemo(1), 1);
    QVERIFY(Start());
    PatientRecord* record = Patients().Current();
    record->SetField(198, {});
    View().ShowPage(QuickNotesPage::kPage);
    CSectionEdit* notes = View().Find<QuickNotesPage>()->Notes();
    QTRY_VERIFY(notes->hasFocus());
    QTest::keyClicks(notes, QStringLiteral("ring Dr Olsen"));
    QVERIFY(Tap(QStringLiteral("quickNotesReturn")));
    QTest::keyClicks(notes, QStringLiteral("fax"));
    QCOMPARE(record->Field(198), std::u16string(u"-Ring Dr Olsen\r\n-Fax"));
    QVERIFY(Tap(QStringLiteral("quickNotesBack")));
    QCOMPARE(record->Field(198), std::u16string(u"-Ring Dr Olsen\r\n-Fa"));
    m_program->Messages().QueueAnswer(BoxAnswer::Cancel);
    QVERIFY(Tap(QStringLiteral("quickNotesClear")));
    QCOMPARE(m_program->Messages().Shown().back().text, QStringLiteral("Clear all ?"));
    QCOMPARE(record->Field(198), std::u16string(u"-Ring Dr Olsen\r\n-Fa"));
    m_program->Messages().QueueAnswer(BoxAnswer::Ok);
    QVERIFY(Tap(QStringLiteral("quickNotesClear")));
    QCOMPARE(record->Field(198), std::u16string());
}

void TestRecordPages::thePatientListOpensSortsAndShowsAPatient() {
    QCOMPARE(WriteDemo(4), 4);
    QVERIFY(Start());
    QVERIFY(Tap(QStringLiteral("patientBox")));
    CPatientList* list = View().PatientList();
    QVERIFY(list->isVisible());
    // In room order: the 30 beds of the factory rooms file, empty (the demo patients are in
    // other locations), then the four patients.
    QCOMPARE(list->topLevelItemCount(), 30 + 4);
    QCOMPARE(list->currentItem()->text(PatientListRow::kPosition),
             QString::number(Patients().CurrentNumber()));

    // By last name, then the other way; kept in the preferences.
    const int lastName = PatientListRow::kLastName;
    QTest::mouseClick(list->header()->viewport(), Qt::LeftButton, {},
                      QPoint(list->header()->sectionViewportPosition(lastName) + 5, 5));
    QCOMPARE(View().GetPreferences().sortColumn, lastName);
    QStringList names;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        names << list->topLevelItem(i)->text(lastName);
    }
    QStringList sorted = names;
    sorted.sort(Qt::CaseInsensitive);
    QCOMPARE(names, sorted);

    // A tap on the first column checks the patient; another column shows the patient.
    QTreeWidgetItem* row = list->topLevelItem(2);
    const int record = row->text(PatientListRow::kPosition).toInt() - 1;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(row).topLeft() + QPoint(30, 5));
    QCOMPARE(Patients().At(record)->checked, 1);
    row = list->topLevelItem(2);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      QPoint(list->header()->sectionViewportPosition(PatientListRow::kPatient) + 5,
                             list->visualItemRect(row).center().y()));
    QVERIFY(!list->isVisible());
    QCOMPARE(Patients().CurrentIndex(), record);
    QCOMPARE(Shown(2), ToQString(Patients().At(record)->Field(2)));

    // The sort survives a restart through the preferences file.
    QVERIFY(ChooseMenu(QStringLiteral("Exit")));
    QVERIFY(Start());
    QCOMPARE(View().GetPreferences().sortColumn, lastName);
}

void TestRecordPages::theWindowsEditorBringsAWindowBackAndSaves() {
    QCOMPARE(WriteDemo(1), 1);
    QVERIFY(Start());
    View().ShowPage(20);
    QVERIFY(ChooseMenu(QStringLiteral("Ed windows")));
    QCOMPARE(NoticeText(),
             QStringLiteral("You can edit only the 18 first pages\n\n Choose another page"));
    QVERIFY(!View().Find<CWindowsEditor>()->IsOpen());

    View().ShowPage(3);
    QVERIFY(ChooseMenu(QStringLiteral("Ed windows")));
    QVERIFY(View().Find<CWindowsEditor>()->IsOpen());
    QVERIFY(View().Find<CWindowsEditor>()->ToolRow()->isVisible());
    // Every form page is listed while the editor is open; the menu says how to close it.
    QVERIFY(View().Navigation().IsOffered(16));
    // Hide the tobacco window, then bring it back with "Add" on page 3.
    HideField(Fields().Arrangements().Current(), 67);
    Fields().ApplyArrangement();
    QVERIFY(!Window(67)->isVisible());
    QVERIFY(Tap(QStringLiteral("editorAdd")));
    auto* list = Named<QListWidget>(QStringLiteral("windowsEditorList"));
    QVERIFY(list->isVisible());
    QVERIFY(test::ClickRow(*list, QStringLiteral("067: Tobacco")));
    QVERIFY(Window(67)->isVisible());
    QCOMPARE(PageOf(Window(67)), 3);

    auto* name = Named<QLineEdit>(QStringLiteral("editorPageName"));
    QTest::mouseClick(name, Qt::LeftButton);
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("Lifestyle"));
    QCOMPARE(View().PageName(3), QStringLiteral("Lifestyle"));

    QVERIFY(ChooseMenu(QStringLiteral("Close Ed Win")));
    QVERIFY(!View().Find<CWindowsEditor>()->IsOpen());
    QVERIFY(NoticeText().startsWith(QStringLiteral("Windows arrangement <Default> saved")));
    std::string bytes;
    HostFileSystem files(m_device);
    QVERIFY(files.ReadFile(u"\\Program files\\Pondrel\\Default position.wnd", 100000, bytes));
    Arrangement saved;
    QVERIFY(ArrangementReader::Read(DecodeItemText(bytes), saved).Ok());
    QCOMPARE(saved.pages[3].name, std::u16string(u"Lifestyle"));
    QCOMPARE(PageOfField(saved, 67), std::optional<int>(3));
}

void TestRecordPages::freeFieldPagesTitlesPositionsAndHiddenWindows() {
    QCOMPARE(WriteDemo(1), 1);
    QVERIFY(Start());
    View().ShowPage(28);
    // The title renames the page in the page list, cut to 12 characters, and is kept whole.
    QVERIFY(test::Type(*m_program->Frame(), QStringLiteral("freeTitle28"),
                       QStringLiteral("Cardiology notes")));
    QCOMPARE(View().PageName(28), QStringLiteral("Cardiology n"));
    QCOMPARE(View().GetPreferences().freeFields.pageTexts[0], std::u16string(u"Cardiology notes"));

    // "Edit menu" shows the tool row; "N°" moves the page in the page list, digits only.
    auto* tools = Named<QWidget>(QStringLiteral("freeTools28"));
    QVERIFY(!tools->isVisible());
    QVERIFY(Tap(QStringLiteral("freeEdit28")));
    QVERIFY(tools->isVisible());
    QCOMPARE(View().GetPreferences().freeFields.options[0], 1);
    QVERIFY(
        test::Type(*m_program->Frame(), QStringLiteral("freePosition28"), QStringLiteral("2x")));
    QCOMPARE(Named<QLineEdit>(QStringLiteral("freePosition28"))->text(), QStringLiteral("2"));
    QCOMPARE(View().Navigation().Order()[1], 28);
    QCOMPARE(View().GetPreferences().freeFields.pageTexts[2], std::u16string(u"2"));

    // A hidden free field comes back through "Add".
    windows_editor::HideFreeField(Fields().FreeFields(), 105);
    Fields().PlaceFreeFields();
    QVERIFY(!Window(105)->isVisible());
    QVERIFY(Tap(QStringLiteral("freeAdd28")));
    CPopupList* list = Fields().FreeControls().List();
    QVERIFY(list->isVisible());
    QCOMPARE(list->count(), 2);
    QVERIFY(list->item(0)->text().startsWith(QStringLiteral("Edit 5 : ")));
    QCOMPARE(list->item(1)->text(), QStringLiteral("Restore default settings"));
    QVERIFY(test::ClickRow(*list, 0));
    QVERIFY(Window(105)->isVisible());

    // "Restore default settings", answered Yes, empties the titles and positions.
    QVERIFY(Tap(QStringLiteral("freeAdd28")));
    m_program->Messages().QueueAnswer(BoxAnswer::Yes);
    QVERIFY(test::ClickRow(*list, QStringLiteral("Restore default settings")));
    QCOMPARE(m_program->Messages().Shown().back().caption, QStringLiteral("Restore ?"));
    QCOMPARE(Named<QLineEdit>(QStringLiteral("freeTitle28"))->text(), QString());
    QCOMPARE(View().GetPreferences().freeFields.pageTexts[2], std::u16string());
    QCOMPARE(*View().Navigation().PositionOf(28), *View().Navigation().PositionOf(26) + 1);
}

// The line fields of the tool rows (free-field page titles, the windows editor's button text
// and page name) keep out the reserved characters, pasted or typed, as every field does.
void TestRecordPages::toolRowLinesRefuseReservedCharactersPasted() {
    QCOMPARE(WriteDemo(1), 1);
    QVERIFY(Start());
    QApplication::clipboard()->setText(QString::fromUtf16(u"a\u00A2b|c\u00A6d\u00A7e\u00ACf#g"));
    auto paste = [this](const QString& name) {
        auto* line = Named<QLineEdit>(name);
        QVERIFY(line && line->isVisible());
        QTest::mouseClick(line, Qt::LeftButton);
        QTRY_VERIFY(line->hasFocus());
        line->selectAll();
        QTest::keyClick(line, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClicks(line, QStringLiteral("#x|"));
        QCOMPARE(line->text(), QStringLiteral("abcdefgx"));
    };
    for (int page : {28, 29}) {
        View().ShowPage(page);
        paste(QStringLiteral("freeTitle%1").arg(page));
    }
    QCOMPARE(View().GetPreferences().freeFields.pageTexts[0], std::u16string(u"abcdefgx"));
    QCOMPARE(View().GetPreferences().freeFields.pageTexts[1], std::u16string(u"abcdefgx"));

    View().ShowPage(3);
    QVERIFY(ChooseMenu(QStringLiteral("Ed windows")));
    QVERIFY(View().Find<CWindowsEditor>()->IsOpen());
    paste(QStringLiteral("editorButtonText"));
    paste(QStringLiteral("editorPageName"));
    QCOMPARE(View().PageName(3), QStringLiteral("abcdefgx"));
    QCOMPARE(Fields().Arrangements().Current().pages[3].buttonText, std::u16string(u"abcdefgx"));
}

void TestRecordPages::screenshots() {
    QCOMPARE(WriteDemo(6), 6);
    QVERIFY(Start());
    Patients().Current()->SetField(98,
                                   u"call the lab#0|N|ask cardiology#1|N|chest film#2|N|"
                                   u"blood cultures#2|*|");
    Patients().Current()->SetField(198, u"-ring Dr Olsen\r\n-fax the letter");
    View().ShowPage(19);
    test::Screenshot(*m_program->Frame(), QStringLiteral("form-page-19-tasks"));
    View().ShowPage(37);
    test::Screenshot(*m_program->Frame(), QStringLiteral("form-page-37-quick-notes"));
    View().ShowPage(29);
    QVERIFY(Tap(QStringLiteral("freeEdit29")));
    test::Screenshot(*m_program->Frame(), QStringLiteral("form-page-29-edit-mode"));
    View().ShowPage(0);
    QVERIFY(Tap(QStringLiteral("patientBox")));
    test::Screenshot(*m_program->Frame(), QStringLiteral("form-patient-list"));
    // The room column shows the room after the check box and the icon.
    auto* list = Named<QTreeWidget>(QStringLiteral("patientList"));
    QTreeWidgetItem* first = list->topLevelItem(0);
    QVERIFY(!first->text(0).isEmpty());
    QVERIFY(list->visualItemRect(first).isValid());
    QVERIFY(list->columnWidth(0) >=
            2 * 16 + 12 + list->fontMetrics().horizontalAdvance(first->text(0)));
    QVERIFY(Tap(QStringLiteral("patientBox")));
    // The list had the focus: it does not go to a window out of view.
    QCOMPARE(View().CurrentPage(), 0);
    QVERIFY(Tap(QStringLiteral("selForm")));
    test::Screenshot(*m_program->Frame(), QStringLiteral("form-sel-form"));
    QVERIFY(Tap(QStringLiteral("selForm")));
    Named<QWidget>(QStringLiteral("iconPicker"))->setFocus();
    test::Screenshot(*m_program->Frame(), QStringLiteral("form-icon-picker"));
    View().ShowPage(3);
    QVERIFY(ChooseMenu(QStringLiteral("Ed windows")));
    QVERIFY(Tap(QStringLiteral("editorOption")));
    test::Screenshot(*m_program->Frame(), QStringLiteral("form-windows-editor"));
}

QTEST_MAIN(TestRecordPages)
#include "TestRecordPages.moc"
