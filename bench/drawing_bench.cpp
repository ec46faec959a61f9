// The drawing areas (offscreen Qt):
//   RedrawFullDrawing/1, /2    one area of 204 x 268 with its picture and a drawing at its budget,
//                              read and painted at zoom 1 and 2
//   RepaintArea/1, /2          an area with a full drawing painted again, nothing changed (what
//                              a notice, a pop-up list or a window over it costs)
//   ShowAnotherPatient/0       every field window refilled with another patient (as form_bench)
//   ShowAnotherPatient/1       the same, the eight areas given the patient's eight full drawings
//                              and the two areas of the page shown painted at zoom 2 (a patient
//                              never shown before: every drawing read and drawn)
//   ShowAnotherPatient/2       the same, the eight areas given the drawings, not painted (the
//                              drawings' share of showing a patient on a page without areas)

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QWidget>

#include <array>
#include <memory>
#include <vector>

#include "demo/DemoPatients.h"
#include "journal/ui/CDrawingArea.h"
#include "layout/Arrangement.h"
#include "layout/FactoryArrangement.h"
#include "layout/ui/CFieldWindows.h"
#include "records/DrawingText.h"
#include "records/PatientRecord.h"
#include "records/StrokeCapture.h"

namespace pondrel {
namespace {

class NoHost final : public DrawingAreaHost {
public:
    bool MayDraw(int) override { return false; }
    std::u16string* Drawing(int) override { return nullptr; }
    DrawingColour PenColourNow() const override { return {}; }
    int WidthCodeNow() const override { return 0; }
    void DrawingFull(int) override {}
};

// A drawing filled to its budget by a pen wandering over an area of `width` x `height`.
std::u16string FullDrawing(int width, int height, int seed) {
    StrokeCapture capture;
    std::u16string text;
    capture.Start();
    DrawingPoint from{width / 2, height / 2};
    for (int i = 0; i < 40000; ++i) {
        const DrawingPoint to{(from.x + 7 + (i * seed) % 5) % width, (from.y + 3 + i % 7) % height};
        if (capture.AddSegment(text, from, to, PenColour(i / 997 % 8), i / 500 % 3) ==
            StrokeCapture::Outcome::Full) {
            break;
        }
        from = to;
    }
    return text;
}

QImage Picture() {
    QImage picture(408, 536, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter p(&picture);
    for (int i = 0; i < 40; ++i) p.drawEllipse(10 * i, 12 * i, 80, 120);
    return picture;
}

void RedrawFullDrawing(benchmark::State& state) {
    const int zoom = static_cast<int>(state.range(0));
    const std::u16string text = FullDrawing(204, 268, 3);
    const QImage picture = Picture().scaled(204 * zoom, 268 * zoom);
    QImage target(204 * zoom, 268 * zoom, QImage::Format_ARGB32_Premultiplied);
    target.setDevicePixelRatio(zoom);
    for (auto _ : state) {
        QPainter painter(&target);
        painter.drawImage(QPoint(0, 0), picture);
        CDrawingArea::PaintDrawing(painter, ReadDrawing(text).strokes);
    }
    state.counters["characters"] = static_cast<double>(text.size());
}
BENCHMARK(RedrawFullDrawing)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void RepaintArea(benchmark::State& state) {
    const int zoom = static_cast<int>(state.range(0));
    const std::u16string text = FullDrawing(204, 268, 3);
    NoHost host;
    QWidget page;
    CDrawingArea area(6, host, &page);
    area.setGeometry(2, 20, 204, 268);
    area.SetPicture(Picture());
    area.ShowDrawing(&text);
    QImage target(204 * zoom, 268 * zoom, QImage::Format_ARGB32_Premultiplied);
    target.setDevicePixelRatio(zoom);
    area.render(&target);
    for (auto _ : state) area.render(&target);
    state.counters["full_draws"] = area.FullDraws();
}
BENCHMARK(RepaintArea)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void ShowAnotherPatient(benchmark::State& state) {
    const bool given = state.range(0) != 0;
    const bool painted = state.range(0) == 1;
    DemoOptions options;
    options.patients = 50;
    std::vector<PatientRecord> patients = MakeDemoPatients(options);
    for (size_t i = 0; i < patients.size(); ++i) {
        for (int j = 1; j <= kDrawingCount; ++j) {
            patients[i].SetDrawing(j, FullDrawing(204, 132, static_cast<int>(i + j)));
        }
    }
    QWidget form;
    std::array<QWidget*, kFormPages> bands{};
    for (auto& band : bands) band = new QWidget(&form);
    CFieldWindows windows;
    const Arrangement arrangement = FactoryArrangement();
    for (int page = 0; page < kFormPages; ++page) {
        for (int field : FieldsOnPage(arrangement, page)) {
            const FieldLayout& layout = arrangement.fields[static_cast<size_t>(field)];
            windows.Place(field, bands[static_cast<size_t>(page)],
                          PlacedRect(InBand(layout.window, page), kMinWindowHeight),
                          PlacedRect(InBand(layout.caption, page), kMinCaptionHeight), true);
        }
    }
    NoHost host;
    std::vector<CDrawingArea*> areas;
    for (int j = 1; j <= kDrawingCount; ++j) {
        areas.push_back(new CDrawingArea(j, host, bands[15]));
        areas.back()->setGeometry(2, 20, 204, 132);
        areas.back()->SetPicture(Picture());
    }
    QImage target(204 * 2, 132 * 2, QImage::Format_ARGB32_Premultiplied);
    target.setDevicePixelRatio(2);
    size_t shown = 0;
    for (auto _ : state) {
        const PatientRecord& record = patients[shown++ % patients.size()];
        windows.ShowTexts([&](int field) -> std::u16string_view { return record.Field(field); });
        if (!given) continue;
        for (int j = 1; j <= kDrawingCount; ++j) {
            areas[static_cast<size_t>(j - 1)]->ShowDrawing(&record.drawings[static_cast<size_t>(j - 1)]);
        }
        if (!painted) continue;
        for (int j : {2, 3}) areas[static_cast<size_t>(j - 1)]->render(&target);
    }
}
BENCHMARK(ShowAnotherPatient)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pondrel
