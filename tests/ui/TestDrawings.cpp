// The drawing areas of the form: strokes drawn with the mouse and a pen tablet go into the
// record's drawings and come back on every page and patient change and after a save; a
// read-only or not-begun record refuses them; "Clear" asks first; the "P" flag of the windows
// editor shows and hides the areas.

#include <memory>

#include <QCheckBox>
#include <QInputDevice>
#include <QPointingDevice>
#include <QPushButton>
#include <QTabletEvent>

#include "FormTestBase.h"
#include "journal/ui/CDrawingArea.h"
#include "records/DrawingText.h"
#include "layout/Arrangement.h"
#include "ui/pages/DrawingPages.h"
#include "ui/pages/PageHost.h"

using namespace pondrel;

class TestDrawings : public QObject, private test::FormTestBase {
    Q_OBJECT

private slots:
    void init() { Prepare(); }
    void cleanup() { Finish(); }
    void aMouseDragOfTwoThousandMovesKeepsEveryPoint();
    void aTabletPenDrawsAndATapLeavesADot();
    void aFingerOnATouchScreenDraws();
    void readOnlyAndNotBegunRecordsRefuseDrawing();
    void clearAsksFirstAndPenButtonsCycle();
    void theBudgetRefusesMoreStrokesWithANotice();
    void thePFlagShowsAndHidesTheAreas();
    void theEditorMovesSizesAndHidesWindows();
    void theFreeFieldPagesMoveAndHideWindows();
    void screenshots();

private:
    DrawingPages& Drawings() { return *View().Find<DrawingPages>(); }
    CDrawingArea* Area(int area) { return Drawings().Area(area); }
    static void Mouse(QWidget* w, QEvent::Type type, QPoint at) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(at), w->mapToGlobal(QPointF(at)), button, held,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(w, &event);
    }
    // A drag along `path`: a press at its first point, a move to each of the others, a release.
    static void Drag(QWidget* w, const std::vector<QPoint>& path) {
        Mouse(w, QEvent::MouseButtonPress, path.front());
        for (size_t i = 1; i < path.size(); ++i) Mouse(w, QEvent::MouseMove, path[i]);
        Mouse(w, QEvent::MouseButtonRelease, path.back());
    }
    static size_t PointCount(const std::u16string& drawing) {
        size_t n = 0;
        for (const Stroke& s : ReadDrawing(drawing).strokes) n += s.points.size();
        return n;
    }
    // The colour of the area's pixel at `at` as shown.
    QColor PixelOf(int area, QPoint at) { return Area(area)->grab().toImage().pixelColor(at); }
};

void TestDrawings::aMouseDragOfTwoThousandMovesKeepsEveryPoint() {
    QCOMPARE(WriteDemo(2), 2);
    QVERIFY(Start());
    PatientRecord* record = Patients().Current();
    View().ShowPage(16);
    QVERIFY(Area(2)->isVisible());
    Drawings().NextColour();
    Drawings().NextColour();  // red
    std::vector<QPoint> path;
    for (int i = 0; i <= 2000; ++i) path.emplace_back(10 + i % 80, 10 + (i / 80) * 3);
    Drag(Area(2), path);
    const DrawingReading reading = ReadDrawing(record->Drawing(2));
    QVERIFY(reading.notes.empty());
    QCOMPARE(reading.strokes.size(), 3u);  // 992 points a stroke at most
    // Every move is a point; each stroke after the first starts again at the last point.
    QCOMPARE(PointCount(record->Drawing(2)), path.size() + reading.strokes.size() - 1);
    QCOMPARE(reading.strokes.back().points.back(), (DrawingPoint{10 + 2000 % 80, 10 + 25 * 3}));
    QCOMPARE(PixelOf(2, QPoint(50, 10)), QColor(255, 0, 0));

    // Another page, another patient and back: the strokes are drawn again from the record.
    const std::u16string drawn = record->Drawing(2);
    View().ShowPage(0);
    View().Controller().MoveRecord(RecordNavigation::Move::Next);
    View().ShowPage(16);
    QVERIFY(Patients().Current() != record);
    QCOMPARE(PixelOf(2, QPoint(50, 10)) == QColor(255, 0, 0), false);
    View().Controller().MoveRecord(RecordNavigation::Move::Previous);
    QCOMPARE(Patients().Current(), record);
    QCOMPARE(PixelOf(2, QPoint(50, 10)), QColor(255, 0, 0));

    QVERIFY(ChooseMenu(QStringLiteral("Save all")));
    QCOMPARE(ReadBack(record->fileName).Drawing(2), drawn);
}

void TestDrawings::aTabletPenDrawsAndATapLeavesADot() {
    QCOMPARE(WriteDemo(1), 1);
    QVERIFY(Start());
    PatientRecord* record = Patients().Current();
    View().ShowPage(16);
    QPointingDevice pen(QStringLiteral("test pen"), 42, QInputDevice::DeviceType::Stylus,
                        QPointingDevice::PointerType::Pen,
                        QInputDevice::Capability::Position | QInputDevice::Capability::Pressure,
                        1, 3);
    CDrawingArea* area = Area(3);
    auto tablet = [&](QEvent::Type type, QPoint at) {
        QTabletEvent event(type, &pen, QPointF(at), area->mapToGlobal(QPointF(at)), 0.5, 0, 0, 0,
                           0, 0, Qt::NoModifier, Qt::LeftButton,
                           type == QEvent::TabletRelease ? Qt::NoButton : Qt::LeftButton);
        QCoreApplication::sendEvent(area, &event);
    };
    Drawings().NextWidth();  // medium
    tablet(QEvent::TabletPress, {20, 20});
    for (int x = 21; x <= 120; ++x) tablet(QEvent::TabletMove, {x, 20 + x / 10});
    tablet(QEvent::TabletRelease, {120, 32});
    DrawingReading reading = ReadDrawing(record->Drawing(3));
    QCOMPARE(reading.strokes.size(), 1u);
    QCOMPARE(reading.strokes[0].widthCode, 1);
    QCOMPARE(reading.strokes[0].points.size(), 101u);
    // A tap: a stroke of one place, shown as the end dot.
    tablet(QEvent::TabletPress, {60, 80});
    tablet(QEvent::TabletRelease, {60, 80});
    reading = ReadDrawing(record->Drawing(3));
    QCOMPARE(reading.strokes.size(), 2u);
    QCOMPARE(reading.strokes[1].points, (std::vector<DrawingPoint>{{60, 80}, {60, 80}}));
    QCOMPARE(PixelOf(3, QPoint(61, 81)), QColor(0, 0, 0));
    // A two-point stroke is a segment, not a dot: its middle is drawn.
    record->SetDrawing(3, u"#0,0,255/0|10,100¦50,100");
    Area(3)->update();
    QCOMPARE(PixelOf(3, QPoint(30, 100)), QColor(0, 0, 255));
}

void TestDrawings::aFingerOnATouchScreenDraws() {
    QCOMPARE(WriteDemo(1), 1);
    QVERIFY(Start());
    PatientRecord* record = Patients().Current();
    View().ShowPage(18);
    CDrawingArea* area = Area(6);
    // The test owns the simulated screen; deleting it takes it out of the window system.
    const std::unique_ptr<QPointingDevice> screen(QTest::createTouchDevice());
    QTest::touchEvent(area, screen.get()).press(0, QPoint(30, 30));
    QTest::touchEvent(area, screen.get()).move(0, QPoint(60, 50));
    QTest::touchEvent(area, screen.get()).move(0, QPoint(90, 40));
    QTest::touchEvent(area, screen.get()).release(0, QPoint(90, 40));
    QCoreApplication::processEvents();
    const DrawingReading reading = ReadDrawing(record->Drawing(6));
    QCOMPARE(reading.strokes.size(), 1u);
    QCOMPARE(reading.strokes[0].points.front(), (DrawingPoint{30, 30}));
    QCOMPARE(reading.strokes[0].points.back(), (DrawingPoint{90, 40}));
}

void TestDrawings::readOnlyAndNotBegunRecordsRefuseDrawing() {
    QCOMPARE(WriteDemo(1), 1);
    QVERIFY(Start());
    PatientRecord* record = Patients().Current();
    View().ShowPage(15);
    record->lockState = u"R";
    Drag(Area(1), {{10, 10}, {40, 40}, {60, 10}});
    QVERIFY(record->Drawing(1).empty());
    QCOMPARE(NoticeText(), QStringLiteral("Read only"));
    record->lockState = u"W";

    View().Controller().NewPatient();
    PatientRecord* blank = Patients().Current();
    QVERIFY(blank != record);
    View().ShowPage(15);
    Drag(Area(1), {{10, 10}, {40, 40}});
    QVERIFY(blank->Drawing(1).empty());
    QCOMPARE(NoticeText(), QStringLiteral("Set first the patient's name and birth date"));
}

void TestDrawings::clearAsksFirstAndPenButtonsCycle() {
    QCOMPARE(WriteDemo(1), 1);
    QVERIFY(Start());
    PatientRecord* record = Patients().Current();
    View().ShowPage(16);
    Drag(Area(2), {{10, 10}, {40, 40}});
    Drag(Area(3), {{10, 10}, {40, 40}});
    const std::u16string kept = record->Drawing(2);
    QVERIFY(!kept.empty());
    m_program->Messages().QueueAnswer(BoxAnswer::No);
    QVERIFY(Tap(QStringLiteral("drawingClear2")));
    QCOMPARE(record->Drawing(2), kept);
    m_program->Messages().QueueAnswer(BoxAnswer::Yes);
    QVERIFY(Tap(QStringLiteral("drawingClear2")));
    QVERIFY(record->Drawing(2).empty());
    QVERIFY(!record->Drawing(3).empty());  // the other drawings stay
    QCOMPARE(m_program->Messages().PendingAnswers(), 0u);

    for (int i = 0; i < 8; ++i) QVERIFY(Tap(QStringLiteral("drawingColour2")));
    QCOMPARE(Drawings().ColourIndex(), 0);
    QVERIFY(Tap(QStringLiteral("drawingColour3")));
    QCOMPARE(Drawings().PenColourNow(), (DrawingColour{209, 134, 0}));
    for (int expected : {1, 2, 0}) {
        QVERIFY(Tap(QStringLiteral("drawingWidth3")));
        QCOMPARE(Drawings().WidthCodeNow(), expected);
    }
}

void TestDrawings::theBudgetRefusesMoreStrokesWithANotice() {
    QCOMPARE(WriteDemo(1), 1);
    QVERIFY(Start());
    PatientRecord* record = Patients().Current();
    View().ShowPage(18);
    std::u16string nearlyFull = u"#0,0,0/0|1,1";
    while (nearlyFull.size() < kDrawingBudget - 10) nearlyFull += u"¦1,2";
    record->SetDrawing(6, nearlyFull);
    Drag(Area(6), {{100, 100}, {150, 150}, {160, 120}});
    QCOMPARE(record->Drawing(6), nearlyFull);
    QCOMPARE(NoticeText(), QStringLiteral("This drawing is full: clear it, or draw on another picture"));
    QVERIFY(record->Drawing(6).size() <= kDrawingBudget);
}

void TestDrawings::thePFlagShowsAndHidesTheAreas() {
    QCOMPARE(WriteDemo(1), 1);
    QVERIFY(Start());
    View().ShowPage(17);
    QVERIFY(Area(4)->isVisible());
    QVERIFY(ChooseMenu(QStringLiteral("Ed windows")));
    auto* p = Named<QCheckBox>(QStringLiteral("editorP"));
    QVERIFY(p && p->isEnabled() && p->isChecked());
    QTest::mouseClick(p, Qt::LeftButton);
    QVERIFY(!Area(4)->isVisible());
    QVERIFY(!Area(5)->isVisible());
    QVERIFY(!Named<QPushButton>(QStringLiteral("drawingClear5"))->isVisible());
    QVERIFY(Area(2)->parentWidget() != Area(4)->parentWidget());
    QTest::mouseClick(p, Qt::LeftButton);
    QVERIFY(Area(4)->isVisible());
    QVERIFY(ChooseMenu(QStringLiteral("Close Ed Win")));
}

// A drag with the stylus over `widget` from `from` by `by` (positions in the widget).
// The stylus moves on the screen: the global positions are taken before the widget moves.
static void DragBy(QWidget* widget, QPoint from, QPoint by) {
    const QPointF origin = widget->mapToGlobal(QPointF(0, 0));
    auto send = [&](QEvent::Type type, QPoint at) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(at), origin + QPointF(at), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &event);
    };
    send(QEvent::MouseButtonPress, from);
    for (int i = 1; i <= 10; ++i) send(QEvent::MouseMove, from + by * i / 10);
    send(QEvent::MouseButtonRelease, from + by);
}

void TestDrawings::theEditorMovesSizesAndHidesWindows() {
    QCOMPARE(WriteDemo(1), 1);
    QVERIFY(Start());
    View().ShowPage(1);
    QVERIFY(ChooseMenu(QStringLiteral("Ed windows")));
    const Arrangement& a = Fields().Arrangements().Current();
    const Rect before = a.fields[9].window;
    const QRect shown = Window(9)->geometry();

    QVERIFY(Tap(QStringLiteral("editorModeM")));
    QLabel* caption = Fields().Windows().Caption(9);
    DragBy(caption, QPoint(5, 5), QPoint(0, 100));
    QCOMPARE(a.fields[9].window.top, before.top + 100);
    QCOMPARE(Window(9)->geometry().top(), shown.top() + 100);
    QCOMPARE(caption->geometry().top(), Window(9)->geometry().top() + 3);
    QVERIFY(!Window(9)->hasFocus());
    // Dragged far below the page: the window stays on it.
    DragBy(Window(9)->viewport(), QPoint(5, 5), QPoint(0, 900));
    QVERIFY(Window(9)->geometry().bottom() < PageHost::kPageHeight);

    // "S": the one-line window grows to 31 pixels at most, and takes no focus.
    QVERIFY(Tap(QStringLiteral("editorModeS")));
    QVERIFY(!Named<QPushButton>(QStringLiteral("editorModeM"))->isChecked());
    DragBy(Window(10)->viewport(), QPoint(5, 5), QPoint(-30, 60));
    QCOMPARE(Window(10)->geometry().height(), 31);
    QCOMPARE(a.fields[10].window.bottom - a.fields[10].window.top, 31);
    QVERIFY(!Window(10)->hasFocus());
    QVERIFY(Window(10)->textCursor().selectedText().isEmpty());

    // "H": a tap hides the window; "Add" lists it again.
    QVERIFY(Tap(QStringLiteral("editorModeH")));
    DragBy(Window(11)->viewport(), QPoint(5, 5), QPoint(0, 0));
    QCOMPARE(a.fields[11].layoutValue, -1);
    QVERIFY(!Fields().Windows().IsShown(11));
    // Modes off: the windows take the stylus again.
    QVERIFY(Tap(QStringLiteral("editorModeH")));
    QTest::mouseClick(Window(12)->viewport(), Qt::LeftButton);
    QTRY_VERIFY(Window(12)->hasFocus());
    test::Screenshot(*m_program->Frame(), QStringLiteral("editor-modes-page-1"));
    QVERIFY(ChooseMenu(QStringLiteral("Close Ed Win")));
    // Closing saves the arrangement as before.
    QCOMPARE(NoticeText(), QStringLiteral("Windows arrangement <Default> saved"));
}

void TestDrawings::theFreeFieldPagesMoveAndHideWindows() {
    QCOMPARE(WriteDemo(1), 1);
    QVERIFY(Start());
    View().ShowPage(28);
    QVERIFY(Tap(QStringLiteral("freeEdit28")));
    const Rect before = Fields().FreeFields().windows[0].rect;
    QVERIFY(Tap(QStringLiteral("freeModeM28")));
    DragBy(Fields().Windows().Caption(100), QPoint(3, 3), QPoint(20, 10));
    QCOMPARE(Fields().FreeFields().windows[0].rect.left, before.left + 20);
    QCOMPARE(Fields().FreeFields().windows[0].rect.top, before.top + 10);
    QVERIFY(!Window(100)->hasFocus());
    QVERIFY(Tap(QStringLiteral("freeModeH28")));
    QVERIFY(!Named<QPushButton>(QStringLiteral("freeModeM28"))->isChecked());
    DragBy(Window(101)->viewport(), QPoint(3, 3), QPoint(0, 0));
    QVERIFY(!Fields().Windows().IsShown(101));
    QCOMPARE(Fields().FreeFields().windows[1].visible, 0);
    test::Screenshot(*m_program->Frame(), QStringLiteral("editor-modes-page-28"));
    // Unticking "Edit menu" ends the mode.
    QVERIFY(Tap(QStringLiteral("freeEdit28")));
    QVERIFY(!Named<QPushButton>(QStringLiteral("freeModeH28"))->isChecked());
}

void TestDrawings::screenshots() {
    QCOMPARE(WriteDemo(1), 1);
    QVERIFY(Start());
    PatientRecord* record = Patients().Current();
    record->SetDrawing(1, u"#255,0,0/1|60,80¦70,90¦85,92¦95,85#0,0,255/2|120,150");
    record->SetDrawing(2, u"#255,0,0/0|60,40¦80,60¦100,40#0,0,0/2|140,70");
    record->SetDrawing(3, u"#0,0,255/1|40,60¦50,70¦60,60¦70,70¦80,60");
    record->SetDrawing(5, u"#204,102,255/1|20,20¦100,100");
    record->SetDrawing(7, u"#0,255,0/0|10,10¦100,30");
    View().Controller().ShowRecord();
    for (int page : {15, 16, 17, 18, 28, 29}) {
        View().ShowPage(page);
        test::Screenshot(*m_program->Frame(), QStringLiteral("drawing-page-%1").arg(page));
    }
}

QTEST_MAIN(TestDrawings)
#include "TestDrawings.moc"
