// The field windows of the form show their whole value: a one-line window too narrow for its text
// draws it smaller, and holds it whole as its tool tip, as a child's weight with its growth band.

#include <QApplication>
#include <QRegularExpression>
#include <QScrollBar>

#include <algorithm>

#include "FormTestBase.h"

using namespace pondrel;

class TestFieldWindows : public QObject, private test::FormTestBase {
    Q_OBJECT

private slots:
    void init() { Prepare(); }
    void cleanup() { Finish(); }
    void aGrowthBandIsShownWhole();
    void aLongTextHasItsToolTip();

private:
    // Whether the window draws its whole text in its own font (the caret after it).
    static bool Whole(CSectionEdit& edit) {
        const QFontMetrics metrics(edit.font());
        int widest = 0;
        for (const QString& line : edit.toPlainText().split(QChar(u'\n'))) {
            widest = std::max(widest, metrics.horizontalAdvance(line));
        }
        const int room = edit.viewport()->width() -
                         2 * static_cast<int>(edit.document()->documentMargin()) -
                         edit.cursorWidth();
        return widest <= room;
    }
    // A child born 70 days ago with a chosen civility, the form on its identity page.
    void NewChild();
};

void TestFieldWindows::NewChild() {
    QVERIFY(Start());
    QVERIFY(ChooseMenu(QStringLiteral("New patient")));
    const QDate born = QDate::currentDate().addDays(-70);
    QVERIFY(TypeInto(2, QStringLiteral("Petit")));
    QVERIFY(TypeInto(3, QStringLiteral("Jules")));
    QVERIFY(TypeInto(4, QString::number(born.day())));
    QVERIFY(TypeInto(5, QString::number(born.month())));
    QVERIFY(TypeInto(6, QString::number(born.year())));
    QCOMPARE(Patients().Current()->inUse, 1);
    // A growth band is judged on the child's sex, which the civility gives.
    QVERIFY(Tap(QStringLiteral("civility")));
}

void TestFieldWindows::aGrowthBandIsShownWhole() {
    NewChild();
    // Left with Tab, the weight gets its unit and a band of two percentiles.
    QVERIFY(TypeInto(7, QStringLiteral("5.1")));
    QTest::keyClick(Window(7), Qt::Key_Tab);
    CSectionEdit& weight = *Window(7);
    QVERIFY2(QRegularExpression(QStringLiteral("^5\\.1kg \\(P\\d+-P\\d+\\)$"))
                 .match(weight.toPlainText())
                 .hasMatch(),
             qPrintable(weight.toPlainText()));
    QVERIFY2(Whole(weight), qPrintable(QStringLiteral("%1 in %2 px at %3 px")
                                           .arg(weight.toPlainText())
                                           .arg(weight.viewport()->width())
                                           .arg(weight.font().pixelSize())));
    // Drawn smaller than the other windows, it says so and holds the whole value as its tip.
    QVERIFY(weight.font().pixelSize() < Window(2)->font().pixelSize());
    QCOMPARE(weight.toolTip(), weight.toPlainText());
    if (auto* notice = Named<QLabel>(QStringLiteral("notice"))) notice->hide();
    test::Screenshot(*m_program->Frame(), QStringLiteral("field-window-growth-band"));

    // Back to a short text, the window takes its own font again and has no tip.
    weight.selectAll();
    QTest::keyClicks(&weight, QStringLiteral("5"));
    QCOMPARE(weight.toPlainText(), QStringLiteral("5"));
    QCOMPARE(weight.font().pixelSize(), Window(2)->font().pixelSize());
    QVERIFY(weight.toolTip().isEmpty());

    // The measurements at birth on the vital-signs page get their band whole as well.
    View().ShowPage(PageOf(Window(205)));
    QVERIFY(TypeInto(205, QStringLiteral("3350")));
    QVERIFY(TypeInto(206, QStringLiteral("49.5")));
    QTest::keyClick(Window(206), Qt::Key_Tab);
    for (int field : {205, 206}) {
        QVERIFY2(Shown(field).contains(QStringLiteral("(")), qPrintable(Shown(field)));
        QVERIFY2(Whole(*Window(field)), qPrintable(Shown(field)));
    }
    test::Screenshot(*m_program->Frame(), QStringLiteral("field-window-birth-bands"));
}

void TestFieldWindows::aLongTextHasItsToolTip() {
    QCOMPARE(WriteDemo(1), 1);
    QVERIFY(Start());
    PatientRecord* record = Patients().Current();
    // Stored on another device: far too long for its one-line window at any size.
    const std::u16string text = u"10 cigarettes a day since 1990, 20 a day since the divorce";
    record->SetField(67, text);
    View().Controller().ShowRecord();
    View().ShowPage(PageOf(Window(67)));
    CSectionEdit& smoking = *Window(67);
    QVERIFY(smoking.height() < 32);
    QCOMPARE(smoking.toolTip(), ToQString(text));
    // Not a character of it is lost, and the record keeps it as it was.
    QCOMPARE(smoking.Text(), text);
    QCOMPARE(record->Field(67), text);
    // A multi-line window wraps its text in its own font and needs no tip.
    record->SetField(69, text + u" " + text);
    View().Controller().ShowRecord();
    QVERIFY(Window(69)->height() >= 32);
    QCOMPARE(Window(69)->font().pixelSize(), Window(2)->font().pixelSize());
    QVERIFY(Window(69)->toolTip().isEmpty());
    QTRY_VERIFY(Window(69)->verticalScrollBar()->isVisible());
    test::Screenshot(*m_program->Frame(), QStringLiteral("field-window-long-text"));
}

QTEST_MAIN(TestFieldWindows)
#include "TestFieldWindows.moc"
