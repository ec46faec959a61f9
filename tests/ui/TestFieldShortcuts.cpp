// The shortcut lists of the record form's windows, used as a doctor does: a double tap, F4 or
// Ctrl+Space beside a window, rows and menus chosen, the task lines of the tasks page, the
// quick notes moved into a field, a tap on a caption.

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include "FormTestBase.h"
#include "journal/ui/CTaskPanel.h"
#include "layout/Arrangement.h"
#include "labels/ui/CShortcutLists.h"
#include "mainform/MainFormController.h"
#include "ui/pages/FieldShortcuts.h"
#include "ui/pages/TaskPage.h"

using namespace pondrel;

class TestFieldShortcuts : public QObject, private test::FormTestBase {
    Q_OBJECT

private slots:
    void init() { Prepare(); }
    void cleanup() { Finish(); }
    void doubleTapOpensTheListAndRowsGoInWithSpacingAndCapitals();
    void oneLineWindowsKeysAndCaptionTaps();
    void quickNotesMoveIntoTheField();
    void taskLinesTakeTheToDoList();

private:
    CShortcutLists& Lists() { return Fields().Shortcuts()->Lists(); }
    CPopupList* List() { return Lists().List(); }
    QStringList Rows() {
        QStringList rows;
        for (int i = 0; i < List()->count(); ++i) rows << List()->item(i)->text();
        return rows;
    }
    bool Choose(const QString& row) { return List()->isVisible() && test::ClickRow(*List(), row); }
    // Shows the page of `field` and taps twice into its window.
    bool DoubleTap(int field) {
        CSectionEdit* edit = Window(field);
        if (!edit) return false;
        View().ShowPage(PageOf(edit));
        m_program->Frame()->activateWindow();
        QTest::mouseClick(edit->viewport(), Qt::LeftButton);
        if (!QTest::qWaitFor([&] { return edit->hasFocus(); })) return false;
        QTest::keyClick(edit, Qt::Key_End, Qt::ControlModifier);
        QTest::mouseDClick(edit->viewport(), Qt::LeftButton);
        QTest::keyClick(edit, Qt::Key_End, Qt::ControlModifier);  // the double tap selects a word
        return List()->isVisible();
    }
    std::u16string Stored(int field) { return Patients().Current()->Field(field); }
    void Empty(int field) {
        Fields().ChangeField(field, u"");
        Fields().ShowRecord(Patients().Current());
    }
};

void TestFieldShortcuts::doubleTapOpensTheListAndRowsGoInWithSpacingAndCapitals() {
    QCOMPARE(WriteDemo(1), 1);
    QVERIFY(Start());
    Empty(20);
    QVERIFY(DoubleTap(20));
    // Over the window's own page, beside the window, the menus shown by their headers only.
    const int page = PageOf(Window(20));
    QCOMPARE(List()->parentWidget(), View().Page(page));
    QVERIFY(Rows().contains(QStringLiteral("Sinus rhythm")));
    QVERIFY(Rows().contains(QStringLiteral("[[[ Repolarisation (b) ]]]")));
    QVERIFY(!Rows().contains(QStringLiteral("QTc prolonged")));
    QCOMPARE(QApplication::focusWidget(), Window(20));  // typing goes on

    // A menu that goes back after one insertion.
    QVERIFY(Choose(QStringLiteral("[[[ Repolarisation (b) ]]]")));
    QVERIFY(Rows().contains(QStringLiteral("QTc prolonged")));
    QVERIFY(Choose(QStringLiteral("QTc prolonged")));
    QCOMPARE(Shown(20), QStringLiteral("QTc prolonged "));
    QVERIFY(Rows().contains(QStringLiteral("Sinus rhythm")));
    // A plain row after it: spacing kept, no capital in the middle of a line; stored at once.
    QVERIFY(Choose(QStringLiteral("unchanged from previous")));
    QCOMPARE(Shown(20), QStringLiteral("QTc prolonged unchanged from previous "));
    QCOMPARE(Stored(20), std::u16string(u"QTc prolonged unchanged from previous "));
    test::Screenshot(*m_program->Frame(), QStringLiteral("field-shortcut-list"));

    // A second double tap closes the list; F4 and Ctrl+Space open and close it too.
    QTest::mouseDClick(Window(20)->viewport(), Qt::LeftButton);
    QVERIFY(!List()->isVisible());
    QTest::keyClick(Window(20), Qt::Key_F4);
    QVERIFY(List()->isVisible());
    QTest::keyClick(Window(20), Qt::Key_Escape);
    QVERIFY(!List()->isVisible());
    QTest::keyClick(Window(20), Qt::Key_Space, Qt::ControlModifier);
    QVERIFY(List()->isVisible());
    // Down and Return choose from the keyboard.
    QTest::keyClick(Window(20), Qt::Key_Down);
    const QString first = List()->currentItem()->text();
    QTest::keyClick(Window(20), Qt::Key_Return);
    if (!first.startsWith(QStringLiteral("[[["))) QVERIFY(Shown(20).endsWith(first + u' '));
    // Another window's list: the first one closes.
    QVERIFY(DoubleTap(63));
    QCOMPARE(List()->parentWidget(), View().Page(PageOf(Window(63))));
}

void TestFieldShortcuts::oneLineWindowsKeysAndCaptionTaps() {
    QCOMPARE(WriteDemo(1), 1);
    QVERIFY(Start());
    // The temperature: a single value, no trailing blank; a one-line window stays one line.
    Empty(9);
    QVERIFY(Window(9)->height() < kMultiLineHeight);
    QVERIFY(DoubleTap(9));
    QVERIFY(Choose(QStringLiteral("37.5")));
    QCOMPARE(Shown(9), QStringLiteral("37.5"));
    QTest::keyClick(Window(9), Qt::Key_Return);
    QCOMPARE(Shown(9), QStringLiteral("37.5"));

    // Typed reserved characters never reach a window; a line start takes its capital.
    Empty(20);
    QVERIFY(TypeInto(20, QStringLiteral("#|sinus")));
    QCOMPARE(Shown(20), QStringLiteral("Sinus"));
    QCOMPARE(Stored(20), std::u16string(u"Sinus"));

    // A tap on the caption toggles the normal word of label 34 ("Nl").
    Empty(21);
    QLabel* caption = Fields().Windows().Caption(21);
    View().ShowPage(PageOf(Window(21)));
    QTest::mouseClick(caption, Qt::LeftButton);
    QCOMPARE(Shown(21), QStringLiteral("Nl"));
    QCOMPARE(Stored(21), std::u16string(u"Nl"));
    QTest::mouseClick(caption, Qt::LeftButton);
    QCOMPARE(Shown(21), QString());
    // A value copied from an earlier stay loses its mark only.
    Fields().ChangeField(21, u"[c] Normal");
    Fields().ShowRecord(Patients().Current());
    QTest::mouseClick(caption, Qt::LeftButton);
    QCOMPARE(Stored(21), std::u16string(u"Normal"));
}

void TestFieldShortcuts::quickNotesMoveIntoTheField() {
    QCOMPARE(WriteDemo(1), 1);
    QVERIFY(Start());
    Empty(20);
    Fields().ChangeField(kQuickNotesField, u"-Call the cardiologist\r\n-ECG tomorrow");
    QVERIFY(DoubleTap(20));
    QCOMPARE(Rows().value(0), QStringLiteral(">> Call the cardiologist"));
    QCOMPARE(Rows().value(1), QStringLiteral(">> ECG tomorrow"));
    QVERIFY(Choose(QStringLiteral(">> ECG tomorrow")));
    QCOMPARE(Shown(20), QStringLiteral("-ECG tomorrow"));
    QCOMPARE(Stored(kQuickNotesField), std::u16string(u"-Call the cardiologist"));
    QVERIFY(!Rows().contains(QStringLiteral(">> ECG tomorrow")));
}

void TestFieldShortcuts::taskLinesTakeTheToDoList() {
    QCOMPARE(WriteDemo(2), 2);
    QVERIFY(Start());
    // The tasks page shown on the second patient, after the form showed the first.
    View().ShowPage(0);
    View().ShowPage(TaskPage::kPage);
    View().Controller().MoveRecord(RecordNavigation::Move::Next);
    PatientRecord* second = Patients().Current();
    QVERIFY(second);
    // The second patient's tasks: two open ones, so that the next line is free.
    second->SetField(98, u"Call the family#1|N|Check the drains#2|N|");
    View().ShowPage(0);
    View().ShowPage(TaskPage::kPage);
    const std::u16string firstBefore = Patients().At(0)->Field(98);
    auto* panel = Named<CTaskPanel>(QStringLiteral("taskPanel"));
    QVERIFY(panel);
    QLineEdit* line = nullptr;
    for (size_t row = 0; row < TaskPanelModel::kMaxRows && !line; ++row) {
        QLineEdit* candidate = panel->Line(row);
        if (candidate->isVisible() && candidate->text().isEmpty()) line = candidate;
    }
    QVERIFY(line);
    m_program->Frame()->activateWindow();
    QTest::mouseClick(line, Qt::LeftButton);
    QVERIFY(QTest::qWaitFor([&] { return line->hasFocus(); }));
    QTest::keyClick(line, Qt::Key_Space, Qt::ControlModifier);
    QVERIFY(List()->isVisible());
    QVERIFY(Rows().contains(QStringLiteral("Blood tests")));
    test::Screenshot(*m_program->Frame(), QStringLiteral("task-line-shortcut-list"));
    QVERIFY(Choose(QStringLiteral("Blood tests")));
    QCOMPARE(line->text(), QStringLiteral("Blood tests "));
    // A second row goes on the same line.
    QVERIFY(Choose(QStringLiteral("Check results")));
    QCOMPARE(line->text(), QStringLiteral("Blood tests Check results "));
    QVERIFY2(
        second->Field(98).find(u"Blood tests Check results") != std::u16string::npos,
        qPrintable(ToQString(second->Field(98)) + " / " + ToQString(Patients().At(0)->Field(98))));
    QCOMPARE(Patients().At(0)->Field(98), firstBefore);

    // The list stays open after a row; a tap on a task's priority button closes it.
    QVERIFY(List()->isVisible());
    auto* priority = panel->findChild<QPushButton*>(QStringLiteral("taskPriority0"));
    QVERIFY(priority);
    QTest::mouseClick(priority, Qt::LeftButton);
    QVERIFY(!List()->isVisible());
}

QTEST_MAIN(TestFieldShortcuts)
#include "TestFieldShortcuts.moc"
