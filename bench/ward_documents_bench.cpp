// The ward documents and the summary files: the big and small summaries of 100 to 1000 demo
// patients (a ward whose document passes the 500,000-character limit is refused as soon as the
// limit is reached, which `refused` counts), a ward of long texts refused, the day and problem
// summary files of a journal near the patient file size limit (100 problems, 365 days, five
// entries a day), and "Save all" of 1000 patients into a memory file system.

#include <benchmark/benchmark.h>

#include <vector>

#include "MemoryFileSystem.h"
#include "demo/DemoPatients.h"
#include "documents/FactoryModels.h"
#include "documents/RecordSummarySources.h"
#include "documents/SummaryFiles.h"
#include "documents/WardDocuments.h"
#include "journal/JournalDays.h"
#include "journal/JournalWords.h"
#include "labels/Labels.h"
#include "platform/Clock.h"
#include "platform/Text.h"
#include "records/JournalFormat.h"
#include "records/WorkingFolders.h"

namespace pondrel {
namespace {

constexpr DayNumber kFirstDay = 2263;
constexpr int kDays = 365;

class BenchClock final : public Clock {
public:
    DateTime Now() override { return {2026, 3, 2, 12, 0, 0}; }
    uint64_t TickCount() override { return 0; }
};

std::u16string Model(std::u16string_view name) {
    for (const auto& [file, bytes] : FactoryModels()) {
        if (file != name) continue;
        std::u16string text;
        for (unsigned char c : bytes) text += static_cast<char16_t>(c);
        return text;
    }
    return {};
}

std::u16string NearLimitJournal() {
    std::u16string text;
    for (int p = 0; p < 100; ++p) {
        text += u"\u00A7" + ToText(p) + u"|Problem title " + ToText(p) + u"\u00A6" +
                std::u16string(60, u'd') + u"\u00A6A\u00A6";
    }
    for (DayNumber day = kFirstDay; day < kFirstDay + kDays; ++day) {
        text += u"#" + ToText(day) + u"\u00A7";
        for (int k = 0; k < 5; ++k) {
            if (k > 0) text += u"\u00A7";
            text += ToText(k * 20 + day % 20);
            for (int s = 0; s < kSectionCount; ++s) {
                text += u"|" + (s == 2 || s == 3 ? u"drug " + ToText(day % 37) + u" mg"
                                                 : std::u16string(15, u'x'));
            }
            text += u"|";
        }
    }
    return text;
}

struct Fixture {
    Labels labels = Labels::Defaults();
    JournalWords words = JournalWordsFrom(labels);
    BenchClock clock;
    RecordSummarySources sources{words, AgeWords::From(labels), DateOrder::DayMonthYear, clock};
    SummaryContext context{labels, words, DateOrder::DayMonthYear, sources};
    std::vector<PatientRecord> ward;
    DayNumber day = 0;

    Fixture() {
        DemoOptions options;
        options.patients = 1000;
        ward = MakeDemoPatients(options);
        day = DayNumberOf(options.today);
    }
    WardInputs Inputs(int patients) const {
        WardInputs inputs;
        inputs.day = day;
        inputs.paragraphs[0] = {u"Motive of Hospitalization", u"\u00A2F61#"};
        inputs.paragraphs[1] = {u"Current problem", u"\u00A2F62#"};
        for (int i = 0; i < patients; ++i) {
            inputs.rows.push_back({&ward[static_cast<size_t>(i)], {}});
        }
        return inputs;
    }
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

void WardDocumentBench(benchmark::State& state, WardDocumentKind kind) {
    Fixture& f = Shared();
    const WardInputs inputs = f.Inputs(static_cast<int>(state.range(0)));
    const bool big = kind == WardDocumentKind::Big;
    const WardModels models =
        big ? WardModels{Model(kBigSummaryModel), Model(kBigSummaryEvenRowModel),
                         Model(kBigSummaryOddRowModel)}
            : WardModels{Model(kSmallSummaryModel), Model(kSmallSummaryLineModel),
                         Model(kSmallSummaryEndModel)};
    WardDocument document;
    for (auto _ : state) {
        document = big ? BuildBigSummary(models, inputs, f.context)
                       : BuildSmallSummary(models, inputs, f.context);
        benchmark::DoNotOptimize(document.text.data());
    }
    state.counters["rows"] = document.patientRows;
    state.counters["kchars"] = static_cast<double>(document.text.size()) / 1000.0;
    state.counters["refused"] = document.failure == WardFailure::TooBig ? 1 : 0;
}

void BM_BigSummary(benchmark::State& state) {
    WardDocumentBench(state, WardDocumentKind::Big);
}
BENCHMARK(BM_BigSummary)->Arg(100)->Arg(250)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_SmallSummary(benchmark::State& state) {
    WardDocumentBench(state, WardDocumentKind::Small);
}
BENCHMARK(BM_SmallSummary)->Arg(100)->Arg(250)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);

// Patients with names, a room and one problem only: rows small enough for 1000 of them to stay
// within the limit, which shows how the time grows with the ward.
void BM_BigSummaryShortRows(benchmark::State& state) {
    Fixture& f = Shared();
    std::vector<PatientRecord> ward;
    for (int i = 0; i < state.range(0); ++i) {
        PatientRecord r;
        r.inUse = 1;
        r.SetField(2, u"Doe");
        r.SetField(3, u"P" + ToText(i));
        r.SetField(94, ToText(100 + i));
        r.problemJournal = u"\u00A70|Asthma\u00A6\u00A6A\u00A6";
        ward.push_back(r);
    }
    WardInputs inputs = f.Inputs(0);
    for (const PatientRecord& r : ward) inputs.rows.push_back({&r, {}});
    const WardModels models{Model(kBigSummaryModel), Model(kBigSummaryEvenRowModel),
                            Model(kBigSummaryOddRowModel)};
    WardDocument document;
    for (auto _ : state) {
        document = BuildBigSummary(models, inputs, f.context);
        benchmark::DoNotOptimize(document.text.data());
    }
    state.counters["rows"] = document.patientRows;
    state.counters["kchars"] = static_cast<double>(document.text.size()) / 1000.0;
    state.counters["refused"] = document.failure == WardFailure::TooBig ? 1 : 0;
}
BENCHMARK(BM_BigSummaryShortRows)->Arg(25)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);

// 1000 patients whose names hold 20,000 accented letters each: refused at the first rows.
void BM_TooBigWardRefused(benchmark::State& state) {
    Fixture& f = Shared();
    std::vector<PatientRecord> ward = f.ward;
    for (PatientRecord& r : ward) r.SetField(3, std::u16string(20'000, u'\u00E9'));
    WardInputs inputs = f.Inputs(0);
    for (const PatientRecord& r : ward) inputs.rows.push_back({&r, {}});
    const WardModels models{Model(kBigSummaryModel), Model(kBigSummaryEvenRowModel),
                            Model(kBigSummaryOddRowModel)};
    WardDocument document;
    for (auto _ : state) {
        document = BuildBigSummary(models, inputs, f.context);
        benchmark::DoNotOptimize(document.text.data());
    }
    state.counters["refused"] = document.failure == WardFailure::TooBig ? 1 : 0;
}
BENCHMARK(BM_TooBigWardRefused)->Unit(benchmark::kMillisecond);

void SummaryFileBench(benchmark::State& state, bool day) {
    Fixture& f = Shared();
    PatientRecord record = f.ward.front();
    record.problemJournal = NearLimitJournal();
    record.admissionDay = kFirstDay;
    record.historyStartDay = kFirstDay;
    OpenPatient open;
    open.record = &record;
    open.currentDay = kFirstDay + kDays - 1;
    open.currentProblem = 7;
    const std::u16string model = Model(kPrintModel);
    std::u16string text;
    for (auto _ : state) {
        text = day ? BuildDaySummaryFile(model, open, f.context, {})
                   : BuildProblemSummaryFile(model, open, f.context, {});
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["journal_kchars"] = static_cast<double>(record.problemJournal.size()) / 1000.0;
    state.counters["kchars"] = static_cast<double>(text.size()) / 1000.0;
}

void BM_DaySummaryFileNearLimit(benchmark::State& state) {
    SummaryFileBench(state, true);
}
BENCHMARK(BM_DaySummaryFileNearLimit)->Unit(benchmark::kMillisecond);

void BM_ProblemSummaryFileNearLimit(benchmark::State& state) {
    SummaryFileBench(state, false);
}
BENCHMARK(BM_ProblemSummaryFileNearLimit)->Unit(benchmark::kMillisecond);

void BM_SaveAll1000(benchmark::State& state) {
    Fixture& f = Shared();
    std::vector<const PatientRecord*> patients;
    for (const PatientRecord& r : f.ward) patients.push_back(&r);
    const std::u16string model = Model(kPrintModel);
    size_t written = 0;
    for (auto _ : state) {
        test::MemoryFileSystem files;
        files.AddFolder(WorkingFolders::kPrintDoc);
        written = SaveAllDaySummaries(files, model, patients, f.day, f.context, {}).written.size();
    }
    state.counters["files"] = static_cast<double>(written);
}
BENCHMARK(BM_SaveAll1000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace pondrel

BENCHMARK_MAIN();
