// The record form driven as a newcomer would: field windows on the form pages, the identity and
// admission fields, the arrangement in force, on a device folder prepared as pondrel-tool
// init-device does.

#include <QApplication>
#include <QPushButton>

#include "FormTestBase.h"
#include "layout/Arrangement.h"
#include "layout/ArrangementWriter.h"

using namespace pondrel;
namespace fs = std::filesystem;

class TestRecordForm : public QObject, private test::FormTestBase {
    Q_OBJECT

private slots:
    void init() { Prepare(); }
    void cleanup() { Finish(); }
    void aNewcomerAdmitsAPatient();
    void tabMovesThroughTheWindowsAndTheViewFollows();
    void aChildsMeasurementsGetTheirBandWhenLeft();
    void oneLineWindowsKeepTheTextTheyShow();
    void readOnlyFoldersAndRefusedIdentities();
    void civilityIconAndForm();
    void screenshots();
};

void TestRecordForm::aNewcomerAdmitsAPatient() {
    QVERIFY(Start());
    QCOMPARE(View().CurrentPage(), 0);
    QVERIFY(ChooseMenu(QStringLiteral("New patient")));
    QCOMPARE(View().CurrentPage(), 0);
    PatientRecord* record = Patients().Current();
    QVERIFY(record);
    QCOMPARE(record->inUse, 0);

    // The weight before the name is refused: its window is closed to typing, so nothing typed
    // there is thrown away, and a tap on it says why.
    QVERIFY(TypeInto(7, QStringLiteral("7")));
    QCOMPARE(Shown(7), QString());
    QCOMPARE(NoticeText(), QStringLiteral("Set first the patient's name and birth date"));
    for (int field : {7, 8, 94, 63}) QVERIFY(Window(field)->isReadOnly());
    for (int field : {2, 3, 4, 5, 6}) QVERIFY(!Window(field)->isReadOnly());

    for (int field : {2, 3, 4, 5, 6}) QCOMPARE(PageOf(Window(field)), 0);
    QVERIFY(TypeInto(2, QStringLiteral("Martin")));
    QVERIFY(TypeInto(3, QStringLiteral("Lucie")));
    QVERIFY(TypeInto(4, QStringLiteral("14")));
    QVERIFY(TypeInto(5, QStringLiteral("7")));
    QVERIFY(TypeInto(6, QStringLiteral("1968")));
    QCOMPARE(record->inUse, 1);
    QVERIFY(!Shown(15).isEmpty());
    QVERIFY(Shown(15).contains(QStringLiteral("years")));
    auto* box = Named<QWidget>(QStringLiteral("patientBox"));
    QVERIFY(box);
    QVERIFY(box->property("text").toString().contains(QStringLiteral("Martin L 1968")));
    QVERIFY(!Shown(200).isEmpty());  // the chart number
    for (int field : {7, 8, 94, 63}) QVERIFY(!Window(field)->isReadOnly());
    // Placed in no ward, the patient has no room yet: the room box is empty for the room.
    QCOMPARE(Shown(94), QString());
    QVERIFY(TypeInto(94, QStringLiteral("12")));
    QCOMPARE(Shown(94), QStringLiteral("12"));
    // A triple tap selects the room: the list the double tap opened closes, and the room typed
    // replaces the text.
    CSectionEdit* room = Window(94);
    QTest::mouseDClick(room->viewport(), Qt::LeftButton);
    QTest::mouseClick(room->viewport(), Qt::LeftButton);
    QTRY_VERIFY(room->textCursor().hasSelection());
    QTest::keyClicks(room, QStringLiteral("207"));
    QCOMPARE(Shown(94), QStringLiteral("207"));
    QCOMPARE(QString::fromStdU16String(record->Field(94)), QStringLiteral("207"));

    QVERIFY(TypeInto(7, QStringLiteral("70")));
    QVERIFY(TypeInto(8, QStringLiteral("175")));
    QCOMPARE(Shown(95), QStringLiteral("22.9"));
    // The weight, left for the height, got the unit of its caption.
    QCOMPARE(Shown(7), QStringLiteral("70kg"));
    View().ShowPage(2);
    QVERIFY(TypeInto(63, QStringLiteral("Appendectomy 1990")));
    QCOMPARE(PageOf(Window(63)), 2);

    // The civility is not preset: both buttons are empty until the doctor taps one, and the
    // patient box names the patient without a title word meanwhile.
    QCOMPARE(record->sex, kSexNotChosen);
    QCOMPARE(Named<QPushButton>(QStringLiteral("civility"))->text(), QString());
    QCOMPARE(Named<QPushButton>(QStringLiteral("civility2"))->text(), QString());
    QVERIFY(box->property("text").toString().startsWith(QStringLiteral("Martin L 1968")));
    View().ShowPage(0);
    test::Screenshot(*m_program->Frame(), QStringLiteral("new-patient-civility"));

    QVERIFY(ChooseMenu(QStringLiteral("Save all")));
    const std::u16string fileName = record->fileName;
    QCOMPARE(QString::fromStdU16String(fileName), QStringLiteral("Martin_Lucie_1968.pdr"));
    PatientRecord saved = ReadBack(fileName);
    QCOMPARE(saved.Field(2), std::u16string(u"Martin"));
    QCOMPARE(saved.Field(7), std::u16string(u"70kg"));
    QCOMPARE(saved.Field(8), std::u16string(u"175cm"));
    QCOMPARE(saved.Field(95), std::u16string(u"22.9"));
    QCOMPARE(saved.Field(63), std::u16string(u"Appendectomy 1990"));

    // After a restart the patient is there, with the same values on the same pages.
    QVERIFY(Start());
    QCOMPARE(Patients().Count(), 1);
    QCOMPARE(Shown(2), QStringLiteral("Martin"));
    QCOMPARE(Shown(8), QStringLiteral("175cm"));
    QCOMPARE(Shown(63), QStringLiteral("Appendectomy 1990"));
    QCOMPARE(PageOf(Window(8)), 0);
    QCOMPARE(PageOf(Window(63)), 2);
    QCOMPARE(Shown(120), QStringLiteral("Martin"));  // the identity page mirrors
    // Still not chosen after the restart; the first tap chooses, the next one switches.
    PatientRecord* again = Patients().Current();
    QCOMPARE(again->sex, kSexNotChosen);
    QCOMPARE(Named<QPushButton>(QStringLiteral("civility"))->text(), QString());
    QVERIFY(Tap(QStringLiteral("civility")));
    QCOMPARE(again->sex, 0);
    QVERIFY(!Named<QPushButton>(QStringLiteral("civility"))->text().isEmpty());
    QCOMPARE(Named<QPushButton>(QStringLiteral("civility2"))->text(),
             Named<QPushButton>(QStringLiteral("civility"))->text());
    QVERIFY(Tap(QStringLiteral("civility")));
    QCOMPARE(again->sex, 1);
}

void TestRecordForm::tabMovesThroughTheWindowsAndTheViewFollows() {
    QCOMPARE(WriteDemo(1), 1);
    QVERIFY(Start());
    View().ShowPage(1);
    const std::vector<int> vitals = FieldsOnPage(Fields().Arrangements().Current(), 1);
    QVERIFY(vitals.size() > 2);
    CSectionEdit* first = Window(vitals.front());
    QTest::mouseClick(first->viewport(), Qt::LeftButton);
    QTRY_VERIFY(first->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), Window(vitals[1]));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), first);
    // Past the last window of the page, the next page comes into view.
    Window(vitals.back())->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTRY_COMPARE(View().CurrentPage(), 2);
}

void TestRecordForm::aChildsMeasurementsGetTheirBandWhenLeft() {
    QVERIFY(Start());
    QVERIFY(ChooseMenu(QStringLiteral("New patient")));
    const QDate born = QDate::currentDate().addDays(-70);
    QVERIFY(TypeInto(2, QStringLiteral("Petit")));
    QVERIFY(TypeInto(3, QStringLiteral("Jules")));
    QVERIFY(TypeInto(4, QString::number(born.day())));
    QVERIFY(TypeInto(5, QString::number(born.month())));
    QVERIFY(TypeInto(6, QString::number(born.year())));
    PatientRecord* record = Patients().Current();
    QCOMPARE(record->inUse, 1);
    // The curves are a girl's or a boy's: the doctor chooses the civility first.
    QVERIFY(Tap(QStringLiteral("civility")));
    QCOMPARE(record->sex, 0);
    QVERIFY(TypeInto(7, QStringLiteral("2")));
    // Tab leaves the weight: unit and band, in the window and the record.
    QTest::keyClick(Window(7), Qt::Key_Tab);
    QVERIFY2(Shown(7).startsWith(QStringLiteral("2kg (")), qPrintable(Shown(7)));
    QCOMPARE(Shown(7), QStringLiteral("2kg (<P3)"));
    QCOMPARE(record->Field(7), std::u16string(u"2kg (<P3)"));

    // A widget that takes the focus for the field (a list inserting into it) leaves it alone.
    QVERIFY(TypeInto(8, QStringLiteral("58")));
    QWidget keeper(Window(8)->parentWidget());
    keeper.setProperty(CFieldWindows::kKeepsFieldProperty, true);
    keeper.setFocusPolicy(Qt::StrongFocus);
    keeper.show();
    keeper.setFocus();
    QCOMPARE(Shown(8), QStringLiteral("58"));
    // Gone elsewhere, it is left; "Save all" leaves the field with the focus as well.
    Window(8)->setFocus();
    View().ShowPage(PageOf(Window(13)));
    QVERIFY(Shown(8).startsWith(QStringLiteral("58cm (")));
    QVERIFY(TypeInto(13, QStringLiteral("140")));
    QVERIFY(ChooseMenu(QStringLiteral("Save all")));
    QCOMPARE(ReadBack(record->fileName).Field(13), std::u16string(u"140/min"));
}

void TestRecordForm::oneLineWindowsKeepTheTextTheyShow() {
    QCOMPARE(WriteDemo(1), 1);
    QVERIFY(Start());
    PatientRecord* record = Patients().Current();
    // A text of two lines (typed on another device) in a one-line window: shown, never cut.
    record->SetField(67, u"10 cigarettes a day\r\nsince 1990");
    View().Controller().ShowRecord();
    View().ShowPage(PageOf(Window(67)));
    QVERIFY(Window(67)->height() < 32);
    QCOMPARE(record->Field(67), std::u16string(u"10 cigarettes a day\r\nsince 1990"));
    // Return does not break the line; what is typed comes after the stored text.
    QVERIFY(TypeInto(67, QStringLiteral(" (stopped)")));
    QTest::keyClick(Window(67), Qt::Key_Return);
    QTest::keyClick(Window(67), Qt::Key_Enter);
    QCOMPARE(record->Field(67), std::u16string(u"10 cigarettes a day\r\nsince 1990 (stopped)"));
    // A multi-line window takes Return.
    QVERIFY(Window(69)->height() >= 32);
    QVERIFY(TypeInto(69, QStringLiteral("Penicillin")));
    QTest::keyClick(Window(69), Qt::Key_Return);
    QTest::keyClicks(Window(69), QStringLiteral("Latex"));
    QVERIFY(record->Field(69).ends_with(u"Penicillin\r\nLatex"));
}

void TestRecordForm::readOnlyFoldersAndRefusedIdentities() {
    QCOMPARE(WriteDemo(2), 2);
    QVERIFY(Start());
    const PatientRecord* first = Patients().At(0);
    PatientRecord* second = Patients().At(1);
    QVERIFY(Tap(QStringLiteral("recordNext")));
    QCOMPARE(Patients().Current(), second);
    // The second patient has the first's first name and year; typing the first's last name
    // over his own on the identity page makes the same identity: refused at the last key, and
    // the name typed so far comes back.
    for (int field : {3, 121}) second->SetField(field, first->Field(3));
    for (int field : {6, 124}) second->SetField(field, first->Field(6));
    View().Controller().ShowRecord();
    View().ShowPage(30);
    const QString last = ToQString(first->Field(2));
    m_program->Messages().QueueAnswer(BoxAnswer::Ok);
    QTest::mouseClick(Window(120)->viewport(), Qt::LeftButton);
    Window(120)->selectAll();
    QTest::keyClicks(Window(120), last);
    QVERIFY(!m_program->Messages().Shown().empty());
    QCOMPARE(m_program->Messages().Shown().back().caption,
             QStringLiteral("Identity duplication found"));
    QCOMPARE(Shown(120), last.left(last.size() - 1));
    QCOMPARE(ToQString(second->Field(2)), last.left(last.size() - 1));
    QCOMPARE(Shown(2), last.left(last.size() - 1));

    // A folder held by another user: typing is refused with its notice, nothing changes.
    second->lockState = u"R";
    View().ShowPage(1);
    const std::u16string before = second->Field(9);
    QVERIFY(TypeInto(9, QStringLiteral("5")));
    QCOMPARE(NoticeText(), QStringLiteral("Read only"));
    QCOMPARE(second->Field(9), before);
    QCOMPARE(Shown(9), ToQString(before));
}

void TestRecordForm::civilityIconAndForm() {
    QCOMPARE(WriteDemo(1), 1);
    QVERIFY(Start());
    PatientRecord* record = Patients().Current();
    const int sex = record->sex;
    QVERIFY(Tap(QStringLiteral("civility")));
    QCOMPARE(record->sex, 1 - sex);
    QCOMPARE(Named<QPushButton>(QStringLiteral("civility2"))->text(),
             Named<QPushButton>(QStringLiteral("civility"))->text());

    auto* icons = Named<QListWidget>(QStringLiteral("iconPicker"));
    QVERIFY(icons);
    QCOMPARE(icons->count(), 24);
    icons->setFocus();
    QTRY_VERIFY(icons->height() > 100);  // grows while it has the focus
    QVERIFY(test::ClickRow(*icons, 7));
    QCOMPARE(record->icon, 7);

    // An arrangement of the patient's own, chosen in the "Sel form" list.
    Arrangement cardio = Fields().Arrangements().Current();
    cardio.pages[3].name = u"Cardio habits";
    HostFileSystem files(m_device);
    QVERIFY(files.WriteFile(u"\\My Documents\\Cardio.wnd", ArrangementWriter::Encode(cardio)));
    QVERIFY(Tap(QStringLiteral("selForm")));
    auto* forms = Named<QListWidget>(QStringLiteral("formList"));
    QVERIFY(forms->isVisible());
    QVERIFY(test::ClickRow(*forms, QStringLiteral("Cardio.wnd")));
    QCOMPARE(record->Field(202), std::u16string(u"Cardio.wnd"));
    QCOMPARE(View().PageName(3), QStringLiteral("Cardio habits"));
    QCOMPARE(Shown(202), QStringLiteral("Cardio.wnd"));
}

void TestRecordForm::screenshots() {
    QCOMPARE(WriteDemo(3), 3);
    QVERIFY(Start());
    // Every page button of page 0 holds its whole text ("Admission", "Discharge").
    int buttons = 0;
    for (auto* button : View().Page(0)->findChildren<QPushButton*>()) {
        if (!button->objectName().startsWith(QStringLiteral("pageButton"))) continue;
        ++buttons;
        QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) <= button->width() - 2,
                 qPrintable(button->text()));
    }
    QVERIFY(buttons > 0);
    for (int page : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 28, 29, 30}) {
        View().ShowPage(page);
        test::Screenshot(*m_program->Frame(), QStringLiteral("form-page-%1").arg(page));
    }
}

QTEST_MAIN(TestRecordForm)
#include "TestRecordForm.moc"
