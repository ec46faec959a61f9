// The drawing areas of the form: strokes drawn with the mouse and a pen tablet go into the
// record's drawings and come back on every page and patient change and after a save; a
// read-only or not-begun record refuses them; "Clear" asks first; the "P" flag of the windows
// editor shows and hides the areas; the "I" button of the areas 5, 7 and 8 puts a named picture
// in place of the drawing after asking, and its "-Preferences-" edits the area's pictures; an
// area draws its drawing once and paints it again from what it drew.

#include <memory>

#include <QCheckBox>
#include <QLineEdit>
#include <QInputDevice>
#include <QPointingDevice>
#include <QPushButton>
#include <QTabletEvent>

#include "FormTestBase.h"
#include "journal/ui/CDrawingArea.h"
#include "records/DrawingText.h"
#include "layout/Arrangement.h"
#include "layout/VectorPictures.h"
#include "platform/ui/CPopupList.h"
#include "settings/ReadyPictures.h"
#include "ui/seams/QtUserMessages.h"
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
    void aPictureReplacesTheDrawingOnlyWhenTheDoctorSaysSo();
    void readOnlyAndNotBegunRecordsRefuseAPicture();
    void aHostilePictureIsCopiedWithinTheBudget();
    void thePictureDialogueAddsTheDrawingUnderAName();
    void anAreaDrawsItsDrawingOnceAndPaintsItAgain();
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
    // The "I" lists, and the areas with a ready-made picture.
    record->SetDrawing(7, u"");
    QVERIFY(Drawings().ChoosePicture(7, 0));
    View().ShowPage(28);
    QVERIFY(Tap(QStringLiteral("drawingPictures7")));
    test::Screenshot(*m_program->Frame(), QStringLiteral("picture-list-area-7"));
    View().ShowPage(17);
    record->SetDrawing(5, u"");
    QVERIFY(Drawings().ChoosePicture(5, 1));
    QVERIFY(Tap(QStringLiteral("drawingPictures5")));
    test::Screenshot(*m_program->Frame(), QStringLiteral("picture-list-area-5"));
    QVERIFY(Tap(QStringLiteral("drawingPictures5")));
    record->SetDrawing(5, u"");
    QVERIFY(Drawings().ChoosePicture(5, 0));
    test::Screenshot(*m_program->Frame(), QStringLiteral("picture-area-5"));
    // Ten names: the list in two columns.
    Preferences& preferences = View().GetPreferences();
    for (int i = 4; i < kPicturesPerSet; ++i) {
        preferences.vectorPictures[static_cast<size_t>(i)] = {u"#0,0,0/0|1,1",
                                                              u"Picture " + ToU16(QString::number(i))};
    }
    QVERIFY(Tap(QStringLiteral("drawingPictures5")));
    QCOMPARE(Drawings().PictureList()->count(), 11);
    test::Screenshot(*m_program->Frame(), QStringLiteral("picture-list-two-columns"));
    QVERIFY(Tap(QStringLiteral("drawingPictures5")));
    QVERIFY(test::WithModal([&] { Drawings().EditPictures(5); }, [&](QWidget* dialog) {
        test::Screenshot(*dialog, QStringLiteral("vectorial-picture-dialogue"));
        QVERIFY(test::Click(*dialog, QStringLiteral("okButton")));
    }));
}

static std::u16string ReadyDrawing(int set, const char16_t* name) {
    for (const ReadyPicture& p : ReadyPictures(set)) {
        if (p.name == name) return p.drawing;
    }
    return {};
}

void TestDrawings::aPictureReplacesTheDrawingOnlyWhenTheDoctorSaysSo() {
    QCOMPARE(WriteDemo(1), 1);
    QVERIFY(Start());
    PatientRecord* record = Patients().Current();
    View().ShowPage(17);
    // The "I" list: the factory pictures of the detailed status, then "-Preferences-".
    QVERIFY(Tap(QStringLiteral("drawingPictures5")));
    CPopupList* list = Drawings().PictureList();
    QVERIFY(list->isVisible());
    QStringList rows;
    for (int i = 0; i < list->count(); ++i) rows << list->item(i)->text();
    QCOMPARE(rows, (QStringList{"Cast right leg", "Cast left arm", "Oedema of both legs",
                                "Cervical collar", "-Preferences-"}));
    // Beside the button, not over it, and inside the form (above the button when the page has
    // no room below it).
    QPushButton* button = Named<QPushButton>(QStringLiteral("drawingPictures5"));
    const QRect buttonRect(button->mapTo(&View(), QPoint(0, 0)), button->size());
    QVERIFY(!list->geometry().intersects(buttonRect));
    QVERIFY(View().rect().contains(list->geometry()));
    QCOMPARE(list->geometry().left(), buttonRect.left() - std::max(0, buttonRect.left() +
                                                                      list->width() - View().width()));
    QVERIFY(Tap(QStringLiteral("drawingPictures5")));  // a second tap closes it
    QVERIFY(!list->isVisible());

    // An empty drawing takes the picture without a question.
    const size_t boxes = m_program->Messages().Shown().size();
    QVERIFY(Tap(QStringLiteral("drawingPictures5")));
    QVERIFY(test::ClickRow(*list, QStringLiteral("Cast right leg")));
    QVERIFY(!list->isVisible());
    QCOMPARE(m_program->Messages().Shown().size(), boxes);
    QCOMPARE(record->Drawing(5), ReadyDrawing(0, u"Cast right leg"));
    QCOMPARE(PixelOf(5, QPoint(32, 110)), QColor(0, 0, 255));

    // The doctor's findings go only on Yes.
    Drag(Area(5), {{100, 20}, {120, 40}});
    const std::u16string findings = record->Drawing(5);
    QVERIFY(findings != ReadyDrawing(0, u"Cast right leg"));
    m_program->Messages().QueueAnswer(BoxAnswer::No);
    QVERIFY(Tap(QStringLiteral("drawingPictures5")));
    QVERIFY(test::ClickRow(*list, QStringLiteral("Cervical collar")));
    QCOMPARE(record->Drawing(5), findings);
    QCOMPARE(m_program->Messages().Shown().back().text,
             QStringLiteral("Do you really want to replace this drawing with the picture "
                            "<Cervical collar> ?"));
    m_program->Messages().QueueAnswer(BoxAnswer::Yes);
    QVERIFY(Tap(QStringLiteral("drawingPictures5")));
    QVERIFY(test::ClickRow(*list, QStringLiteral("Cervical collar")));
    QCOMPARE(record->Drawing(5), ReadyDrawing(0, u"Cervical collar"));
    QCOMPARE(m_program->Messages().PendingAnswers(), 0u);
    QVERIFY(record->Drawing(4).empty());  // the other drawings stay

    // Saved, read back, and shown again after another page.
    QVERIFY(ChooseMenu(QStringLiteral("Save all")));
    QCOMPARE(ReadBack(record->fileName).Drawing(5), ReadyDrawing(0, u"Cervical collar"));
    View().ShowPage(0);
    View().ShowPage(17);
    QCOMPARE(PixelOf(5, QPoint(146, 100)), QColor(0, 0, 255));

    // Areas 7 and 8 have their own sets; the others have no "I" button.
    View().ShowPage(29);
    QVERIFY(Tap(QStringLiteral("drawingPictures8")));
    QCOMPARE(list->item(0)->text(), QStringLiteral("Pain scale 0-10"));
    QVERIFY(test::ClickRow(*list, QStringLiteral("24 hours")));
    QCOMPARE(record->Drawing(8), ReadyDrawing(2, u"24 hours"));
    QVERIFY(View().rect().contains(list->geometry()));
    QVERIFY(!Drawings().ChoosePicture(4, 0));
}

void TestDrawings::readOnlyAndNotBegunRecordsRefuseAPicture() {
    QCOMPARE(WriteDemo(1), 1);
    QVERIFY(Start());
    PatientRecord* record = Patients().Current();
    View().ShowPage(17);
    record->lockState = u"R";
    QVERIFY(!Drawings().ChoosePicture(5, 0));
    QVERIFY(record->Drawing(5).empty());
    QCOMPARE(NoticeText(), QStringLiteral("Read only"));
    record->lockState = u"W";

    View().Controller().NewPatient();
    PatientRecord* blank = Patients().Current();
    View().ShowPage(17);
    QVERIFY(Tap(QStringLiteral("drawingPictures5")));
    QVERIFY(test::ClickRow(*Drawings().PictureList(), 0));
    QVERIFY(blank->Drawing(5).empty());
    QCOMPARE(NoticeText(), QStringLiteral("Set first the patient's name and birth date"));
    // An empty slot chooses nothing.
    QVERIFY(!Drawings().ChoosePicture(5, kPicturesPerSet - 1));
}

void TestDrawings::aHostilePictureIsCopiedWithinTheBudget() {
    QCOMPARE(WriteDemo(1), 1);
    QVERIFY(Start());
    PatientRecord* record = Patients().Current();
    std::u16string huge = u"rubbish#300,-1,0/9|";
    for (int i = 0; i < 10000; ++i) huge += u"#999,0,0/7|12,9999999999\u00A613,14";
    View().GetPreferences().vectorPictures[0] = {huge, u"Huge"};
    View().ShowPage(17);
    QVERIFY(Drawings().ChoosePicture(5, 0));
    QVERIFY(!record->Drawing(5).empty());
    QVERIFY(record->Drawing(5).size() <= kDrawingBudget);
    const DrawingReading reading = ReadDrawing(record->Drawing(5));
    QVERIFY(reading.notes.empty());
    QCOMPARE(reading.strokes.front().colour, (DrawingColour{255, 0, 0}));
    QCOMPARE(NoticeText(), QStringLiteral("The picture <Huge> is larger than a drawing may be: "
                                          "its last strokes were left out"));
    QVERIFY(!Area(5)->grab().isNull());
    QVERIFY(ChooseMenu(QStringLiteral("Save all")));
    QCOMPARE(ReadBack(record->fileName).Drawing(5), record->Drawing(5));
}

void TestDrawings::thePictureDialogueAddsTheDrawingUnderAName() {
    QCOMPARE(WriteDemo(1), 1);
    QVERIFY(Start());
    PatientRecord* record = Patients().Current();
    View().ShowPage(28);
    Drag(Area(7), {{10, 10}, {60, 20}, {90, 12}});
    const std::u16string mine = record->Drawing(7);
    QVERIFY(!mine.empty());

    auto openPreferences = [&] {
        QVERIFY(Tap(QStringLiteral("drawingPictures7")));
        QVERIFY(test::ClickRow(*Drawings().PictureList(), QStringLiteral("-Preferences-")));
    };
    // Cancel changes nothing.
    QVERIFY(test::WithModal(openPreferences, [&](QWidget* dialog) {
        auto* names = test::Child<QListWidget>(*dialog, QStringLiteral("pictureNames"));
        QCOMPARE(names->count(), 3);
        QCOMPARE(names->currentRow(), 0);
        QCOMPARE(test::Child<QLineEdit>(*dialog, QStringLiteral("pictureName"))->text(),
                 QStringLiteral("Pain scale 0-10"));
        QVERIFY(test::Click(*dialog, QStringLiteral("deleteButton")));
        QCOMPARE(names->count(), 2);
        QVERIFY(test::Click(*dialog, QStringLiteral("cancelButton")));
    }));
    QCOMPARE(NoticeText(), QStringLiteral("You select cancel. Nothing has been modified"));
    QCOMPARE(SlotsOf(View().GetPreferences(), 1)[0].name, u"Pain scale 0-10");
    m_program->Messages().QueueAnswer(BoxAnswer::Ok);  // "Picture has been saved"

    // "Add" under a typed name: the reserved characters never reach it.
    QVERIFY(test::WithModal(openPreferences, [&](QWidget* dialog) {
        auto* name = test::Child<QLineEdit>(*dialog, QStringLiteral("pictureName"));
        name->clear();
        QTest::keyClicks(name, QStringLiteral("My | strip#"));
        QCOMPARE(name->text(), QStringLiteral("My  strip"));
        QVERIFY(test::Click(*dialog, QStringLiteral("addButton")));
        QCOMPARE(m_program->Messages().Shown().back().caption,
                 QStringLiteral("Picture has been saved"));
        auto* names = test::Child<QListWidget>(*dialog, QStringLiteral("pictureNames"));
        QCOMPARE(names->currentItem()->text(), QStringLiteral("My  strip"));
        QVERIFY(test::Click(*dialog, QStringLiteral("okButton")));
    }));
    QCOMPARE(m_program->Messages().PendingAnswers(), 0u);
    const PictureSlots set = SlotsOf(View().GetPreferences(), 1);
    QCOMPARE(set[3].name, u"My  strip");
    QCOMPARE(set[3].drawing, mine);
    QVERIFY(SlotsOf(View().GetPreferences(), 2)[3].name.empty());  // area 8 keeps its own

    // OK without saving the picture says so.
    QVERIFY(test::WithModal(openPreferences, [&](QWidget* dialog) {
        QVERIFY(test::Click(*dialog, QStringLiteral("okButton")));
    }));
    QCOMPARE(NoticeText(), QStringLiteral("Your modifications have been processed but you "
                                          "haven't choose to save this picture"));

    // The new picture is in the list, and replaces another drawing once asked.
    record->SetDrawing(7, u"#0,0,0/0|1,1\u00A62,2");
    m_program->Messages().QueueAnswer(BoxAnswer::Yes);
    QVERIFY(Tap(QStringLiteral("drawingPictures7")));
    QVERIFY(test::ClickRow(*Drawings().PictureList(), QStringLiteral("My  strip")));
    QCOMPARE(record->Drawing(7), mine);
}

void TestDrawings::anAreaDrawsItsDrawingOnceAndPaintsItAgain() {
    QCOMPARE(WriteDemo(2), 2);
    QVERIFY(Start());
    PatientRecord* record = Patients().Current();
    View().ShowPage(16);
    record->SetDrawing(2, u"#255,0,0/2|20,20\u00A680,80");
    CDrawingArea* area = Area(2);
    area->grab();
    const int first = area->FullDraws();
    area->grab();
    area->repaint();
    QCOMPARE(area->FullDraws(), first);  // nothing changed: painted from what was drawn
    QCOMPARE(PixelOf(2, QPoint(50, 50)), QColor(255, 0, 0));

    // A stroke while the pen is down is drawn segment by segment, then once whole.
    Mouse(area, QEvent::MouseButtonPress, {100, 20});
    for (int x = 101; x < 160; ++x) Mouse(area, QEvent::MouseMove, {x, 20});
    area->grab();
    QCOMPARE(area->FullDraws(), first);
    QCOMPARE(PixelOf(2, QPoint(130, 20)), QColor(0, 0, 0));
    Mouse(area, QEvent::MouseButtonRelease, {159, 20});
    area->grab();
    QCOMPARE(area->FullDraws(), first + 1);
    QCOMPARE(PixelOf(2, QPoint(130, 20)), QColor(0, 0, 0));

    // Another patient, and a drawing changed outside the area, are drawn again.
    View().Controller().MoveRecord(RecordNavigation::Move::Next);
    QVERIFY(PixelOf(2, QPoint(50, 50)) != QColor(255, 0, 0));
    View().Controller().MoveRecord(RecordNavigation::Move::Previous);
    QCOMPARE(PixelOf(2, QPoint(50, 50)), QColor(255, 0, 0));
    record->SetDrawing(2, u"");
    QVERIFY(PixelOf(2, QPoint(50, 50)) != QColor(255, 0, 0));

    // At zoom 2 the drawing is drawn at twice the pixels, not enlarged.
    record->SetDrawing(2, u"#255,0,0/0|20,20\u00A680,20");
    QPixmap zoomed(area->size() * 2);
    zoomed.setDevicePixelRatio(2);
    area->render(&zoomed);
    const QImage image = zoomed.toImage();
    QCOMPARE(image.pixelColor(100, 40), QColor(255, 0, 0));
    QVERIFY(image.pixelColor(100, 42) != QColor(255, 0, 0));  // a line 2 pixels thick
}

QTEST_MAIN(TestDrawings)
#include "TestDrawings.moc"
