#include "records/DrawingText.h"

#include "RecordsFixture.h"
#include "platform/Text.h"
#include "records/StrokeCapture.h"

namespace pondrel {
namespace {

using test::U8;

const DrawingColour kRed{255, 0, 0};

// Draws a path of `points` as a pen does, segment after segment, into `drawing`.
int DrawPath(StrokeCapture& capture, std::u16string& drawing, const std::vector<DrawingPoint>& path,
             int widthCode = 0) {
    int refused = 0;
    for (size_t i = 1; i < path.size(); ++i) {
        if (capture.AddSegment(drawing, path[i - 1], path[i], kRed, widthCode) ==
            StrokeCapture::Outcome::Full) {
            ++refused;
        }
    }
    return refused;
}

TEST(DrawingTextTest, ReadsTheStrokesOfAText) {
    DrawingReading r = ReadDrawing(u"#255,0,0/0|10,20¦11,22¦13,25#0,0,255/2|5,6");
    ASSERT_EQ(r.strokes.size(), 2u);
    EXPECT_EQ(r.strokes[0].colour, kRed);
    EXPECT_EQ(r.strokes[0].widthCode, 0);
    EXPECT_EQ(r.strokes[0].points, (std::vector<DrawingPoint>{{10, 20}, {11, 22}, {13, 25}}));
    EXPECT_EQ(r.strokes[1].colour, (DrawingColour{0, 0, 255}));
    EXPECT_EQ(r.strokes[1].widthCode, 2);
    EXPECT_EQ(r.strokes[1].points, (std::vector<DrawingPoint>{{5, 6}}));
    EXPECT_TRUE(r.notes.empty());
    EXPECT_TRUE(ReadDrawing(u"").strokes.empty());
    EXPECT_TRUE(ReadDrawing(u"").notes.empty());
}

TEST(DrawingTextTest, WrittenStrokesReadBackUnchanged) {
    const std::vector<Stroke> strokes{
        {{209, 134, 0}, 1, {{0, 0}, {239, 289}, {5, 7}}},
        {{0, 255, 0}, 2, {{100, 100}}},
        {{0, 0, 0}, 0, {{1, 2}, {1, 2}}},
    };
    const std::u16string text = DrawingTextOf(strokes);
    EXPECT_EQ(U8(text), U8(u"#209,134,0/1|0,0¦239,289¦5,7#0,255,0/2|100,100#0,0,0/0|1,2¦1,2"));
    DrawingReading r = ReadDrawing(text);
    EXPECT_EQ(r.strokes, strokes);
    EXPECT_TRUE(r.notes.empty());
}

// Texts from files and the server: whatever they hold, the reader keeps what it can use.
TEST(DrawingTextTest, HostileTextsAreClampedOrSkipped) {
    struct Case {
        std::u16string text;
        size_t strokes;
        size_t points;  // of the first stroke kept
    };
    const std::vector<Case> cases{
        {u"#300,999999999999999999999,7/9|1,2", 1, 1},    // colours and width clamped
        {u"#255,0,0/0|99999999999,5¦3,4", 1, 2},           // coordinate clamped
        {u"#255,0,0/0|10¦11,22¦,¦a,b¦-3,4", 1, 1},         // points without both numbers
        {u"#255,0,0|10,20", 0, 0},                          // no width
        {u"#255,0/0|10,20", 0, 0},                          // two colours
        {u"#255,0,0/0 10,20", 0, 0},                        // no "|"
        {u"#255,0,0/0|", 0, 0},                             // no point
        {u"garbage#1,2,3/1|4,5", 1, 1},                     // text before the first stroke
        {u"####", 0, 0},
        {u"#,,/|,¦,", 0, 0},
        {u"#1,2,3/1|4,5¦", 1, 1},                           // trailing separator
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(U8(c.text));
        DrawingReading r = ReadDrawing(c.text);
        ASSERT_EQ(r.strokes.size(), c.strokes);
        if (c.strokes > 0) {
            EXPECT_EQ(r.strokes[0].points.size(), c.points);
            const Stroke& s = r.strokes[0];
            EXPECT_LE(s.colour.red, 255);
            EXPECT_LE(s.colour.green, 255);
            EXPECT_LE(s.widthCode, 2);
            for (const DrawingPoint& p : s.points) EXPECT_LE(p.x, kMaxDrawingCoordinate);
        }
        EXPECT_FALSE(r.notes.empty());  // every damaged text says what was done
    }
    const DrawingReading clamped = ReadDrawing(u"#300,999999999999999999999,7/9|1,2");
    EXPECT_EQ(clamped.strokes[0].colour, (DrawingColour{255, 255, 7}));
    EXPECT_EQ(clamped.strokes[0].widthCode, 2);
}

TEST(DrawingTextTest, TenThousandStrokesAndBoundedNotes) {
    std::u16string text;
    for (int i = 0; i < 10000; ++i) text += u"#1,2,3/0|" + ToText(i % 200) + u",5";
    EXPECT_EQ(ReadDrawing(text).strokes.size(), 10000u);
    std::u16string bad;
    for (int i = 0; i < 10000; ++i) bad += u"#x|";
    DrawingReading r = ReadDrawing(bad);
    EXPECT_TRUE(r.strokes.empty());
    ASSERT_EQ(r.notes.size(), DrawingReading::kMaxReadingNotes + 1);
    EXPECT_EQ(r.notes.back(), "9980 more notes");
}

TEST(DrawingTextTest, PenTablesAndEndDots) {
    EXPECT_EQ(PenColour(0), (DrawingColour{0, 0, 0}));
    EXPECT_EQ(PenColour(3), (DrawingColour{255, 170, 170}));
    EXPECT_EQ(PenColour(7), (DrawingColour{0, 255, 0}));
    EXPECT_EQ(PenColour(8), (DrawingColour{0, 0, 0}));
    EXPECT_EQ(PenWidth(0), 1);
    EXPECT_EQ(PenWidth(1), 4);
    EXPECT_EQ(PenWidth(2), 7);
    EXPECT_FALSE(EndDot({10, 20}, 0));
    EXPECT_EQ(EndDot({10, 20}, 1), (DotRect{8, 18, 12, 22}));
    EXPECT_EQ(EndDot({10, 20}, 2), (DotRect{7, 17, 14, 24}));
}

TEST(StrokeCaptureTest, SegmentsGoOnFromTheLastPointAndRepeatedPointsAreNotStored) {
    StrokeCapture capture;
    std::u16string drawing;
    capture.Start();
    DrawPath(capture, drawing, {{10, 20}, {10, 20}, {11, 22}, {13, 25}});
    EXPECT_EQ(U8(drawing), U8(u"#255,0,0/0|10,20¦10,20¦11,22¦13,25"));
    // A new press opens a new stroke even where the last one ended.
    capture.Start();
    DrawPath(capture, drawing, {{13, 25}, {14, 26}}, 1);
    EXPECT_EQ(U8(drawing), U8(u"#255,0,0/0|10,20¦10,20¦11,22¦13,25#255,0,0/1|13,25¦14,26"));
    EXPECT_EQ(ReadDrawing(drawing).strokes.size(), 2u);
}

TEST(StrokeCaptureTest, ALongDragOpensANewStrokeAfter992PointsAndStaysContinuous) {
    StrokeCapture capture;
    std::u16string drawing;
    capture.Start();
    std::vector<DrawingPoint> path;
    for (int i = 0; i < 1000; ++i) path.push_back({i % 200, i / 200});
    ASSERT_EQ(DrawPath(capture, drawing, path), 0);
    DrawingReading r = ReadDrawing(drawing);
    ASSERT_EQ(r.strokes.size(), 2u);
    EXPECT_EQ(r.strokes[0].points.size(), 992u);
    EXPECT_EQ(r.strokes[1].points.front(), r.strokes[0].points.back());
    EXPECT_EQ(r.strokes[1].points.back(), path.back());
    EXPECT_EQ(r.strokes[0].points.size() + r.strokes[1].points.size(), path.size() + 1);
}

TEST(StrokeCaptureTest, TheBudgetRefusesFurtherStrokesAndKeepsTheText) {
    StrokeCapture capture;
    std::u16string drawing;
    capture.Start();
    std::vector<DrawingPoint> path;
    for (int i = 0; i < 5000; ++i) path.push_back({100 + i % 100, 100 + (i / 100) % 100});
    EXPECT_GT(DrawPath(capture, drawing, path, 2), 0);
    EXPECT_LE(drawing.size(), kDrawingBudget);
    EXPECT_GT(drawing.size(), kDrawingBudget - 20);
    const std::u16string full = drawing;
    capture.Start();
    EXPECT_EQ(capture.AddSegment(drawing, {1, 1}, {2, 2}, kRed, 0), StrokeCapture::Outcome::Full);
    EXPECT_EQ(drawing, full);
    // Everything stored reads back.
    DrawingReading r = ReadDrawing(drawing);
    EXPECT_TRUE(r.notes.empty());
    EXPECT_FALSE(r.strokes.empty());
}

class FullDrawingsTest : public test::RecordsFixture {};

// Eight drawings at the budget with a filled record still make a file the reader takes.
TEST_F(FullDrawingsTest, APatientWithEightFullDrawingsSavesAndReadsBack) {
    PatientRecord& r = NewPatient();
    r.location = u"Cardio A";
    for (int field = 1; field < kFieldCount; ++field) {
        if (IsStoredFormField(field) && field != 202) r.SetField(field, std::u16string(40, u'x'));
    }
    r.problemJournal = u"§0|Pneumonia¦¦A¦#2263§0|" + std::u16string(20000, u'a') + u"|||||";
    for (int j = 1; j <= kDrawingCount; ++j) {
        StrokeCapture capture;
        std::u16string drawing;
        capture.Start();
        std::vector<DrawingPoint> path;
        for (int i = 0; i < 20000; ++i) path.push_back({(i * 7) % 240, (i * 13) % 290});
        DrawPath(capture, drawing, path, j % 3);
        ASSERT_GT(drawing.size(), kDrawingBudget - 30);
        r.SetDrawing(j, drawing);
    }
    ASSERT_EQ(Save(r), SaveOutcome::Written);
    EXPECT_FALSE(state.error);
    set.RemoveAll();
    ASSERT_TRUE(reader.ReadPatientFile(u"Doe_John_1950.pdr"))
        << (t.messages.boxes.empty() ? "" : U8(t.messages.boxes.back().text));
    ASSERT_EQ(set.Count(), 1);
    const PatientRecord& back = *set.Current();
    for (int j = 1; j <= kDrawingCount; ++j) {
        EXPECT_GT(back.Drawing(j).size(), kDrawingBudget - 30);
        EXPECT_TRUE(ReadDrawing(back.Drawing(j)).notes.empty());
    }
}

}  // namespace
}  // namespace pondrel
