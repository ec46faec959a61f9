// The record form with 1000 demo patients:
//   RebuildPatientList/rooms   the patient list in room order (a room list of 1000 rooms)
//   RebuildPatientList/sorted  the patient list sorted by last name
//   ShowAnotherPatient         every field window of the form pages refilled with the texts of
//                              another patient (the factory arrangement, offscreen Qt)

#include <benchmark/benchmark.h>

#include <QWidget>

#include <array>
#include <memory>
#include <vector>

#include "demo/DemoPatients.h"
#include "journal/Ages.h"
#include "labels/Labels.h"
#include "layout/Arrangement.h"
#include "layout/FactoryArrangement.h"
#include "layout/ui/CFieldWindows.h"
#include "mainform/PatientList.h"
#include "platform/Clock.h"
#include "platform/Text.h"
#include "records/PatientSet.h"

namespace pondrel {
namespace {

constexpr int kPatients = 1000;

class FixedClock final : public Clock {
public:
    DateTime Now() override { return {2026, 3, 2, 9, 0, 0}; }
    uint64_t TickCount() override { return 0; }
};

struct Ward {
    Ward() : set(clock) {
        DemoOptions options;
        options.patients = kPatients;
        for (PatientRecord& record : MakeDemoPatients(options)) {
            PatientRecord& added = set.AddNew();
            added = std::move(record);
        }
        for (int i = 0; i < set.Count(); ++i) {
            const std::u16string room = u"R" + ToText(i);
            set.At(i)->SetField(94, room);
            rooms.push_back(room);
            RoomListRow row;
            row.name = room;
            row.location = set.At(i)->location;
            located.push_back(std::move(row));
        }
    }
    FixedClock clock;
    PatientSet set;
    std::vector<std::u16string> rooms;
    std::vector<RoomListRow> located;  // the same rooms, each in its patient's location
    Labels labels = Labels::Defaults();
};

Ward& TheWard() {
    static Ward ward;
    return ward;
}

void RebuildPatientList(benchmark::State& state, int sortColumn) {
    Ward& ward = TheWard();
    const AgeWords words;
    for (auto _ : state) {
        std::vector<PatientListRow> rows =
            BuildPatientList(ward.set, sortColumn == 0 ? ward.rooms : std::vector<std::u16string>{},
                             {sortColumn, 0}, ward.labels, words, DateOrder::DayMonthYear,
                             ward.clock.Now());
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK_CAPTURE(RebuildPatientList, rooms, 0)->Unit(benchmark::kMillisecond);

void RebuildPatientListLocated(benchmark::State& state) {
    Ward& ward = TheWard();
    const AgeWords words;
    for (auto _ : state) {
        std::vector<PatientListRow> rows =
            BuildPatientList(ward.set, ward.located, {0, 0}, ward.labels, words,
                             DateOrder::DayMonthYear, ward.clock.Now());
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(RebuildPatientListLocated)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RebuildPatientList, sorted, PatientListRow::kLastName)
    ->Unit(benchmark::kMillisecond);

void ShowAnotherPatient(benchmark::State& state) {
    Ward& ward = TheWard();
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
    int shown = 0;
    for (auto _ : state) {
        const PatientRecord& record = *ward.set.At(shown++ % ward.set.Count());
        windows.ShowTexts([&](int field) -> std::u16string_view { return record.Field(field); });
    }
}
BENCHMARK(ShowAnotherPatient)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pondrel
