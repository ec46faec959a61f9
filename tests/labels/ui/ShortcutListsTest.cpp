#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest>

#include "GuiDriver.h"
#include "labels/Labels.h"
#include "labels/ui/CShortcutLists.h"
#include "platform/ui/CPopupList.h"
#include "platform/ui/QtLines.h"

namespace pondrel {

// A page of 240 x 290 with a Medicine field (91) low on the page, a birth-day field (4) and a
// Status field (89) near the top.
class ShortcutListsTest : public QObject {
    Q_OBJECT

private:
    struct Fixture {
        Fixture() : labels(Labels::Defaults()) {
            labels.shortcutLists[91] =
                u"\u00A23\u00A2Antibiotics (b)| &- amoxicillin 1 g 3x/day po|"
                u" &- ceftriaxone 2 g iv|doxycycline *100 mg* po|paracetamol||";
            labels.shortcutLists[4] = u"12|13||";
            labels.shortcutLists[89] = u"<==|- Undo -|- Paste -|soft abdomen||";
            page.setObjectName("page");
            page.setFixedSize(240, 290);
            medicine = new QPlainTextEdit(&page);
            medicine->setObjectName("medicine");
            medicine->setGeometry(0, 200, 240, 60);
            day = new QLineEdit(&page);
            day->setObjectName("day");
            day->setGeometry(0, 20, 30, 20);
            status = new QPlainTextEdit(&page);
            status->setObjectName("status");
            status->setGeometry(40, 0, 200, 60);
            lists = new CShortcutLists(labels, &page);
            lists->Attach(medicine, 91);
            lists->Attach(day, 4);
            lists->Attach(status, 89);
            lists->SetSources([this] { return sources; });
            lists->SetQuickNotesStore([this](const std::u16string& notes) {
                sources.quickNotes = notes;
                ++stores;
            });
            page.show();
            if (!QTest::qWaitForWindowExposed(&page)) qFatal("page not shown");
        }
        CPopupList* List() const { return lists->List(); }
        QStringList Rows() const {
            QStringList rows;
            for (int i = 0; i < List()->count(); ++i) rows << List()->item(i)->text();
            return rows;
        }
        static void DoubleTap(QPlainTextEdit* edit) {
            edit->setFocus();
            QTest::mouseDClick(edit->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        }

        Labels labels;
        ShortcutSources sources;
        int stores = 0;
        QWidget page;
        QPlainTextEdit* medicine = nullptr;
        QLineEdit* day = nullptr;
        QPlainTextEdit* status = nullptr;
        CShortcutLists* lists = nullptr;
    };

    // The field's text as the record keeps it.
    static QString Text(QPlainTextEdit* edit) {
        return QString::fromStdU16String(StoredLines(edit->toPlainText()));
    }

private slots:
    void doubleTapMenuAndBackAfterInsert() {
        Fixture f;
        f.sources.usualDrugs = u"-aspirin 100 mg\r\n-statin";
        Fixture::DoubleTap(f.medicine);
        QVERIFY(f.List()->isVisible());
        QCOMPARE(f.Rows(),
                 (QStringList{"[[[ Usual drugs ]]]", "[[[ Antibiotics (b) ]]]", "paracetamol"}));
        // The list opens above the field, which keeps the focus for typing.
        QVERIFY(f.List()->geometry().bottom() < f.medicine->geometry().top());
        QVERIFY(f.medicine->hasFocus());
        test::Screenshot(f.page, "shortcut-list");

        QVERIFY(test::ClickRow(*f.List(), "[[[ Antibiotics (b) ]]]"));
        QCOMPARE(f.Rows(), (QStringList{"[[[ Main List ]]]", "->amoxicillin 1 g 3x/day po",
                                        "->ceftriaxone 2 g iv", "doxycycline *100 mg* po"}));
        test::Screenshot(f.page, "shortcut-menu");
        QVERIFY(test::ClickRow(*f.List(), "->amoxicillin 1 g 3x/day po"));
        // A capital at the start, a bullet in the Medicine field, one blank after.
        QCOMPARE(Text(f.medicine), QString("-Amoxicillin 1 g 3x/day po "));
        QCOMPARE(f.List()->item(0)->text(), QString("[[[ Usual drugs ]]]"));  // back to main
        QVERIFY(f.medicine->hasFocus());

        // Typing goes on while the list is open; the next pick goes where the caret is.
        QTest::keyClicks(f.medicine, "+ ");
        QVERIFY(test::ClickRow(*f.List(), "paracetamol"));
        QCOMPARE(Text(f.medicine), QString("-Amoxicillin 1 g 3x/day po + paracetamol "));
        QVERIFY(test::ClickRow(*f.List(), "[[[ Usual drugs ]]]"));
        QVERIFY(test::ClickRow(*f.List(), "statin"));
        QCOMPARE(Text(f.medicine), QString("-Amoxicillin 1 g 3x/day po + paracetamol statin "));
        // The widget's own undo takes the insertion back.
        f.medicine->undo();
        QCOMPARE(Text(f.medicine), QString("-Amoxicillin 1 g 3x/day po + paracetamol "));

        // A second double tap closes the list.
        Fixture::DoubleTap(f.medicine);
        QVERIFY(!f.List()->isVisible());
    }

    void keysOpenAndDriveTheList() {
        Fixture f;
        f.day->setFocus();
        QTest::keyClick(f.day, Qt::Key_F4);
        QVERIFY(f.List()->isVisible());
        QCOMPARE(f.Rows(), (QStringList{"12", "13"}));
        // Down picks a row, Return inserts it: no blank in a single-value field.
        QTest::keyClick(f.day, Qt::Key_Down);
        QTest::keyClick(f.day, Qt::Key_Down);
        QTest::keyClick(f.day, Qt::Key_Return);
        QCOMPARE(f.day->text(), QString("13"));
        QTest::keyClick(f.day, Qt::Key_Escape);
        QVERIFY(!f.List()->isVisible());
        QTest::keyClick(f.day, Qt::Key_Space, Qt::ControlModifier);
        QVERIFY(f.List()->isVisible());
        // Another field taking the focus closes it.
        f.status->setFocus();
        QTRY_VERIFY(!f.List()->isVisible());
    }

    void keyboardRules() {
        Fixture f;
        f.status->setFocus();
        QTest::keyClicks(f.status, QString::fromUtf8("#soft|\u00A7"));
        QCOMPARE(Text(f.status), QString("Soft"));
        QTest::keyClick(f.status, Qt::Key_Return);  // Status (89) takes bullets
        QTest::keyClicks(f.status, "tender");
        QCOMPARE(Text(f.status), QString("-Soft\r\n-Tender"));
        // The list's Paste brings no reserved character; its Undo takes the paste back.
        QApplication::clipboard()->setText(QString::fromUtf8("a#b\u00A6c"));
        QTest::keyClick(f.status, Qt::Key_F4);
        QVERIFY(test::ClickRow(*f.List(), "- Paste -"));
        QCOMPARE(Text(f.status), QString("-Soft\r\n-Tenderabc"));
        QVERIFY(test::ClickRow(*f.List(), "- Undo -"));
        QCOMPARE(Text(f.status), QString("-Soft\r\n-Tender"));
        QVERIFY(test::ClickRow(*f.List(), "<=="));
        QCOMPARE(Text(f.status), QString("-Soft\r\n-Tender\r\n-"));
        QVERIFY(f.status->hasFocus());
    }

    void quickNotesMoveIntoTheField() {
        Fixture f;
        f.sources.quickNotes = u"-K+ 3.1 *recheck*\r\n-call family";
        f.status->setFocus();
        QTest::keyClicks(f.status, "soft");
        Fixture::DoubleTap(f.status);
        QCOMPARE(f.Rows().first(), QString(">> K+ 3.1 *recheck*"));
        test::Screenshot(f.page, "shortcut-quick-notes");
        QVERIFY(test::ClickRow(*f.List(), ">> K+ 3.1 *recheck*"));
        QCOMPARE(Text(f.status), QString("-Soft\r\n-K+ 3.1 *recheck*"));
        QCOMPARE(f.sources.quickNotes, std::u16string(u"-call family"));
        QCOMPARE(f.stores, 1);
        QCOMPARE(f.Rows().first(), QString(">> call family"));
    }
};

}  // namespace pondrel

QTEST_MAIN(pondrel::ShortcutListsTest)
#include "ShortcutListsTest.moc"
