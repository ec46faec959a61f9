// The form as a doctor new to the program meets it on the 240-pixel screen: every button of the
// pages of a working day can be hit with a finger's tip, the patient list shows whole names,
// head doctors and problems, the connection and mail lights stand clear of the buttons.

#include <QAbstractButton>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>

#include "FormTestBase.h"
#include "sync/ui/CConnectionIndicators.h"
#include "ui/frame/CCommandBar.h"
#include "ui/frame/PageListDelegate.h"

using namespace pondrel;

namespace {

// A button smaller than this on either side is missed by a fingertip (and hard to hit with the
// stylus on a moving ward round).
constexpr int kSmallestButton = 16;

}  // namespace

class TestNewUserPass : public QObject, private test::FormTestBase {
    Q_OBJECT

private slots:
    void init() { Prepare(); }
    void cleanup() { Finish(); }
    void everyButtonOfTheDayCanBeHit();
    void thePatientListShowsWholeTexts();
    void theLightsStandClearOfTheButtons();
    void thePageListNamesAreWhole();
    void shortcutRowsAreReadWhole();
    void aLongTaskShowsItsBeginning();
    void aWorkingDayInScreenshots();

private:
    // The visible buttons of `root` smaller than kSmallestButton, by name and size.
    QStringList SmallButtons(QWidget& root) {
        QStringList small;
        for (QAbstractButton* button : root.findChildren<QAbstractButton*>()) {
            if (!button->isVisibleTo(&root) || !button->isEnabled()) continue;
            const QSize size = button->size();
            if (size.width() >= kSmallestButton && size.height() >= kSmallestButton) continue;
            small << QStringLiteral("%1 '%2' %3x%4")
                         .arg(button->objectName(), button->text())
                         .arg(size.width())
                         .arg(size.height());
        }
        return small;
    }
};

// Every page of the page order and the command bar.
void TestNewUserPass::everyButtonOfTheDayCanBeHit() {
    QCOMPARE(WriteDemo(4), 4);
    QVERIFY(Start());
    QStringList small = SmallButtons(*m_program->Frame()->CommandBar());
    for (int page = 0; page < CCorvaneView::kPageCount; ++page) {
        View().ShowPage(page);
        QWidget* band = View().Page(page);
        if (!band) continue;
        for (const QString& one : SmallButtons(*band)) {
            small << QStringLiteral("page %1: %2").arg(page).arg(one);
        }
    }
    QVERIFY2(small.isEmpty(), qPrintable(small.join(QStringLiteral("\n"))));
}

// Patient, Head Dr and Problem: a column is as wide as its texts need (within the screen), and
// a text still cut shows whole in its tool tip.
void TestNewUserPass::thePatientListShowsWholeTexts() {
    QCOMPARE(WriteDemo(6), 6);
    QVERIFY(Start());
    View().ShowPage(0);
    QVERIFY(Tap(QStringLiteral("patientBox")));
    auto* list = Named<QTreeWidget>(QStringLiteral("patientList"));
    QVERIFY(list && list->isVisible());
    test::Screenshot(*m_program->Frame(), QStringLiteral("newuser-patient-list"));
    const int padding =
        2 * list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 6;
    int checked = 0;
    for (int column : {1, 2, 3}) {
        bool anyText = false;
        for (int row = 0; row < list->topLevelItemCount(); ++row) {
            QTreeWidgetItem* item = list->topLevelItem(row);
            const QString text = item->text(column);
            if (text.isEmpty()) continue;
            anyText = true;
            ++checked;
            const int needed = list->fontMetrics().horizontalAdvance(text) + padding;
            if (list->columnWidth(column) >= needed) continue;
            QVERIFY2(
                item->toolTip(column) == text,
                qPrintable(QStringLiteral("column %1 row %2 cut without a tool tip: %3 in %4 px")
                               .arg(column)
                               .arg(row)
                               .arg(text)
                               .arg(list->columnWidth(column))));
        }
        QVERIFY2(anyText, qPrintable(QStringLiteral("column %1 is empty").arg(column)));
    }
    QVERIFY(checked > 0);
    // The name and the head doctor stand together on the screen, beside the room.
    const int nameRight = list->header()->sectionViewportPosition(1) + list->columnWidth(1);
    QVERIFY2(nameRight <= list->viewport()->width(), qPrintable(QString::number(nameRight)));
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        const QString name = list->topLevelItem(row)->text(1);
        if (name.isEmpty()) continue;
        QVERIFY2(list->columnWidth(1) >= list->fontMetrics().horizontalAdvance(name) + padding,
                 qPrintable(name));
    }
}

// Both lights in the command bar, the size they were given, over no button.
void TestNewUserPass::theLightsStandClearOfTheButtons() {
    QVERIFY(Start());
    CCommandBar& bar = *m_program->Frame()->CommandBar();
    const QRect barRect = bar.rect();
    for (QPoint corner :
         {CConnectionIndicators::kConnectionLight, CConnectionIndicators::kMailLight}) {
        const QRect light(
            corner, QSize(CConnectionIndicators::kLightSize, CConnectionIndicators::kLightSize));
        QVERIFY(barRect.contains(light));
        for (QWidget* control : bar.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!control->isVisible() || control == bar.Indicators()) continue;
            QVERIFY2(!control->geometry().intersects(light),
                     qPrintable(QStringLiteral("%1 at %2,%3")
                                    .arg(control->objectName())
                                    .arg(corner.x())
                                    .arg(corner.y())));
        }
    }
    test::Screenshot(bar, QStringLiteral("newuser-command-bar"));
}

// The factory names of the page list are read whole in their cells (on two lines where needed),
// the two identity pages and the untitled free-field pages told apart.
void TestNewUserPass::thePageListNamesAreWhole() {
    QVERIFY(Start());
    QVERIFY(Tap(QStringLiteral("pageListButton")));
    auto* list = Named<QListWidget>(QStringLiteral("pageList"));
    QVERIFY(list && list->isVisible());
    QStringList names;
    // The cell less its icon and margins, as the list draws it.
    const int width = list->gridSize().width() - list->iconSize().width() - 12;
    for (int row = 0; row < list->count(); ++row) {
        const QString name = list->item(row)->text();
        QVERIFY2(!names.contains(name), qPrintable(QStringLiteral("twice: ") + name));
        names << name;
        const PageListDelegate::Shown shown = PageListDelegate::Layout(name, list->font(), width);
        QVERIFY2(shown.lines.size() <= 2 && shown.lines.join(QChar(' ')) == name,
                 qPrintable(name + QStringLiteral(" shown as ") + shown.lines.join(QChar('/'))));
        QFont font = list->font();
        font.setPixelSize(shown.pixels);
        for (const QString& line : shown.lines) {
            QVERIFY2(QFontMetrics(font).horizontalAdvance(line) <= width, qPrintable(line));
        }
        QVERIFY(shown.pixels >= 8);
    }
    QVERIFY(names.contains(QStringLiteral("Free fields 1")));
    QVERIFY(names.contains(QStringLiteral("Identity form")));
    test::Screenshot(*m_program->Frame(), QStringLiteral("newuser-page-list"));
}

// The shortcut lists of a few windows with long rows: a list of one column is as wide as its
// widest row; a row a narrower column of several still cuts is read whole in its tool tip.
void TestNewUserPass::shortcutRowsAreReadWhole() {
    QCOMPARE(WriteDemo(1), 1);
    QVERIFY(Start());
    int lists = 0;
    bool severalColumns = false;
    // Field windows, then the Medicine and Status sections of the problems page.
    for (int field : {16, 20, 63, 9, -1, -2}) {
        CSectionEdit* edit = nullptr;
        if (field >= 0) {
            edit = Window(field);
            if (!edit) continue;
            View().ShowPage(PageOf(edit));
        } else {
            View().ShowPage(20);
            edit = Named<CSectionEdit>(field == -1 ? QStringLiteral("medicine")
                                                   : QStringLiteral("status"));
            QVERIFY(edit);
        }
        m_program->Frame()->activateWindow();
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_F4);
        // Each page keeps a list of its own: the one shown.
        QListWidget* list = nullptr;
        for (auto* one :
             m_program->Frame()->findChildren<QListWidget*>(QStringLiteral("shortcutList"))) {
            if (one->isVisible()) list = one;
        }
        if (!list || list->count() == 0) continue;
        ++lists;
        const bool columns = list->isWrapping();
        severalColumns = severalColumns || columns;
        const int cell = columns ? list->gridSize().width() : list->viewport()->width();
        for (int row = 0; row < list->count(); ++row) {
            QListWidgetItem* item = list->item(row);
            const int needed = list->fontMetrics().horizontalAdvance(item->text()) + 4;
            if (needed <= cell) continue;
            QVERIFY2(columns, qPrintable(QStringLiteral("field %1: %2 cut in one column of %3 px")
                                             .arg(field)
                                             .arg(item->text())
                                             .arg(cell)));
            QCOMPARE(item->toolTip(), item->text());
        }
        test::Screenshot(*m_program->Frame(), QStringLiteral("newuser-shortcuts-%1").arg(field));
        QTest::keyClick(edit, Qt::Key_Escape);
    }
    QVERIFY(lists >= 2);
    QVERIFY(severalColumns);
}

// A task longer than its line is read from its first word (the rest in its tool tip).
void TestNewUserPass::aLongTaskShowsItsBeginning() {
    QCOMPARE(WriteDemo(1), 1);
    QVERIFY(Start());
    const QString longTask =
        QStringLiteral("Discuss the medication list with the family doctor before discharge");
    Patients().Current()->SetField(98, ToU16(longTask) + u"#1|N|short one#2|N|");
    View().ShowPage(19);
    auto* line = Named<QLineEdit>(QStringLiteral("taskText0"));
    QVERIFY(line && line->isVisible());
    QCOMPARE(line->text(), longTask);
    QVERIFY(line->fontMetrics().horizontalAdvance(longTask) > line->width());
    QCOMPARE(line->cursorPosition(), 0);
    QCOMPARE(line->toolTip(), longTask);
}

// Every page of the page order as a doctor meets it with a few patients, and the pop-up lists,
// for the screenshot mode (PONDREL_SCREENSHOTS=1): each shown page lies on its band.
void TestNewUserPass::aWorkingDayInScreenshots() {
    QCOMPARE(WriteDemo(6), 6);
    QVERIFY(Start());
    QWidget& frame = *m_program->Frame();
    const std::vector<int> order = View().Navigation().Order();
    QVERIFY(order.size() > 20);
    for (int page : order) {
        View().ShowPage(page);
        QCOMPARE(View().CurrentPage(), page);
        test::Screenshot(frame, QStringLiteral("newuser-day-page-%1").arg(page, 2, 10, QChar('0')));
    }
    View().ShowPage(0);
    QVERIFY(Tap(QStringLiteral("pageListButton")));
    test::Screenshot(frame, QStringLiteral("newuser-day-page-list"));
    QVERIFY(Tap(QStringLiteral("pageListButton")));
    QVERIFY(Tap(QStringLiteral("mainMenuButton")));
    test::Screenshot(frame, QStringLiteral("newuser-day-main-menu"));
    QVERIFY(Tap(QStringLiteral("mainMenuButton")));
}

QTEST_MAIN(TestNewUserPass)
#include "TestNewUserPass.moc"
