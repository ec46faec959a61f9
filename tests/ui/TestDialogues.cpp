// What every dialogue of the program shares, and the ground of the dialogues that edit files:
// dialogues open centred over the main window and inside the screen, their fields refuse the
// reserved characters typed or pasted, automatic saves wait while a dialogue holds the files,
// and actions outside the field windows pass the read-only and not-begun rules.

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QIntValidator>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextEdit>
#include <QVBoxLayout>

#include "FormTestBase.h"
#include "charts/ui/CExamsGraphDlg.h"
#include "mainform/MainFormController.h"
#include "platform/Platform.h"
#include "records/ActivePatients.h"
#include "records/FilesHold.h"
#include "ui/frame/DialogWatcher.h"

using namespace pondrel;

class TestDialogues : public QObject, private test::FormTestBase {
    Q_OBJECT

private slots:
    void init() { Prepare(); }
    void cleanup() { Finish(); }
    void aDialoguePlaceIsCentredAndInsideTheScreen();
    void dialoguesOpenCentredOverTheMainWindow();
    void fieldsOfEveryDialogueRefuseReservedCharactersTypedOrPasted();
    void theExamTitlesDialogueRefusesThemOnPaste();
    void autoSaveWaitsWhileADialogueHoldsTheFiles();
    void actionsOutsideFieldsPassTheReadOnlyAndNotBegunRules();

private:
    static QPoint Centre(const QWidget& widget) { return widget.frameGeometry().center(); }
};

void TestDialogues::aDialoguePlaceIsCentredAndInsideTheScreen() {
    const QRect screen(0, 0, 800, 600);
    // Centred over the window.
    QCOMPARE(DialogPosition(QSize(100, 50), QRect(100, 100, 240, 320), screen), QPoint(170, 235));
    // A window near an edge: the dialogue is pushed back inside.
    QCOMPARE(DialogPosition(QSize(200, 100), QRect(700, 550, 240, 320), screen), QPoint(600, 500));
    QCOMPARE(DialogPosition(QSize(200, 100), QRect(-200, -300, 240, 320), screen), QPoint(0, 0));
    // Larger than the screen: its top-left corner stays on it.
    QCOMPARE(DialogPosition(QSize(900, 700), QRect(100, 100, 240, 320), screen), QPoint(0, 0));
    // An offset screen (a second monitor).
    QCOMPARE(DialogPosition(QSize(100, 100), QRect(1000, 0, 240, 320), QRect(800, 0, 400, 300)),
             QPoint(1070, 110));
}

void TestDialogues::dialoguesOpenCentredOverTheMainWindow() {
    QVERIFY(Start());
    QWidget& frame = *m_program->Frame();
    const QRect area = frame.screen()->availableGeometry();
    // A dialogue of a page, one of the frame's own and one without a parent.
    for (QWidget* parent :
         {static_cast<QWidget*>(&View()), &frame, static_cast<QWidget*>(nullptr)}) {
        QDialog dialog(parent);
        dialog.resize(180, 120);
        dialog.open();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY((Centre(dialog) - Centre(frame)).manhattanLength() <= 2);
        QVERIFY(area.contains(dialog.frameGeometry()));
        dialog.close();
    }
    // The main window near the screen's corner: the dialogue stays on the screen.
    frame.move(area.right() - 100, area.bottom() - 100);
    QDialog wide(&frame);
    wide.resize(230, 200);
    wide.open();
    QVERIFY(QTest::qWaitForWindowExposed(&wide));
    QVERIFY(area.contains(wide.frameGeometry()));
}

void TestDialogues::fieldsOfEveryDialogueRefuseReservedCharactersTypedOrPasted() {
    QVERIFY(Start());
    QDialog dialog(&View());
    auto* layout = new QVBoxLayout(&dialog);
    auto* line = new QLineEdit(&dialog);
    auto* plain = new QPlainTextEdit(&dialog);
    auto* rich = new QTextEdit(&dialog);
    auto* port = new QLineEdit(&dialog);
    port->setValidator(new QIntValidator(0, 65535, port));  // its own rule stays
    for (QWidget* w : {static_cast<QWidget*>(line), static_cast<QWidget*>(plain),
                       static_cast<QWidget*>(rich), static_cast<QWidget*>(port)}) {
        layout->addWidget(w);
    }
    dialog.open();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    const QString pasted = QString::fromUtf16(u"a\u00A2b|c\u00A6d\u00A7e\u00ACf#g");
    QApplication::clipboard()->setText(pasted);
    line->setFocus();
    QTest::keyClicks(line, QStringLiteral("x#y|"));
    QTest::keyClick(line, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(line->text(), QStringLiteral("xyabcdefg"));

    plain->setFocus();
    QTest::keyClicks(plain, QStringLiteral("1#2"));
    QTest::keyClick(plain, Qt::Key_V, Qt::ControlModifier);
    plain->paste();  // as the context menu pastes
    QCOMPARE(plain->toPlainText(), QStringLiteral("12abcdefgabcdefg"));
    // The caret stays after what was kept: typing goes on at the end.
    QTest::keyClicks(plain, QStringLiteral("z"));
    QVERIFY(plain->toPlainText().endsWith(QStringLiteral("gz")));

    rich->setFocus();
    rich->paste();
    QCOMPARE(rich->toPlainText(), QStringLiteral("abcdefg"));

    QApplication::clipboard()->setText(QStringLiteral("4000"));
    port->setFocus();
    QTest::keyClick(port, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(port->text(), QStringLiteral("4000"));
}

void TestDialogues::theExamTitlesDialogueRefusesThemOnPaste() {
    QVERIFY(Start());
    std::u16string titles = u"Hb|CRP|";
    QApplication::clipboard()->setText(QString::fromUtf16(u"Na#|K\u00A2"));
    QString typed;
    QVERIFY(test::WithModal(
        [&] { CExamsGraphDlg::EditTitles(titles, View().GetPlatform().messages, &View()); },
        [&](QWidget* dialog) {
            auto* edit = test::Child<QLineEdit>(*dialog, QStringLiteral("titleEdit"));
            QVERIFY(edit);
            edit->clear();
            edit->setFocus();
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
            typed = edit->text();
            test::Screenshot(*dialog, QStringLiteral("dialogue-exam-titles-pasted"));
            QVERIFY((Centre(*dialog) - Centre(*m_program->Frame())).manhattanLength() <= 2);
        }));
    QCOMPARE(typed, QStringLiteral("NaK"));
}

void TestDialogues::autoSaveWaitsWhileADialogueHoldsTheFiles() {
    QCOMPARE(WriteDemo(1), 1);
    QVERIFY(Start());
    PatientRecord* record = Patients().Current();
    QVERIFY(record && record->inUse != 0);
    const std::u16string fileName = record->fileName;
    QVERIFY(Fields().ChangeField(21, u"Typed while a dialogue is open").stored);
    ActivePatients& active = View().Active();
    active.SetAutoSaveInterval(1);
    {
        FilesHold hold(active);
        active.OnAutoSaveTick();
        QVERIFY(ReadBack(fileName).Field(21) != u"Typed while a dialogue is open");
    }
    active.OnAutoSaveTick();
    QCOMPARE(QString::fromStdU16String(ReadBack(fileName).Field(21)),
             QStringLiteral("Typed while a dialogue is open"));
}

void TestDialogues::actionsOutsideFieldsPassTheReadOnlyAndNotBegunRules() {
    QCOMPARE(WriteDemo(1), 1);
    QVERIFY(Start());
    MainFormController& form = View().Controller();
    QVERIFY(form.MayChangeRecord());
    QVERIFY(NoticeText().isEmpty());

    Patients().Current()->lockState = u"R";
    QVERIFY(!form.MayChangeRecord());
    QCOMPARE(NoticeText(), QStringLiteral("Read only"));

    Patients().Current()->lockState = u"W";
    form.NewPatient();
    QVERIFY(Patients().Current()->inUse == 0);
    QVERIFY(!form.MayChangeRecord());
    QCOMPARE(NoticeText(), QStringLiteral("Set first the patient's name and birth date"));
}

QTEST_MAIN(TestDialogues)
#include "TestDialogues.moc"
