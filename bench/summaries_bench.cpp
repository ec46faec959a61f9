// The seven HTML summaries on a patient whose journal is near the patient file size limit
// (100 problems, a stay of 365 days with five entries a day, about 190,000 characters), and the
// tasks and all-patients summaries of 1000 demo patients. Each builds through the program's own
// sources (the long age and the treatment tables) into a text; `html_kchars` is the size of
// the HTML written.

#include <benchmark/benchmark.h>

#include <vector>

#include "demo/DemoPatients.h"
#include "documents/HtmlSummaries.h"
#include "documents/HtmlText.h"
#include "documents/RecordSummarySources.h"
#include "journal/JournalDays.h"
#include "journal/JournalWords.h"
#include "labels/Labels.h"
#include "layout/FactoryArrangement.h"
#include "mainform/SummaryArrangement.h"
#include "platform/Clock.h"
#include "platform/Text.h"
#include "settings/Preferences.h"

namespace pondrel {
namespace {

constexpr DayNumber kFirstDay = 2263;
constexpr int kDays = 365;
constexpr int kPatients = 1000;

class BenchClock final : public Clock {
public:
    DateTime Now() override { return NoonOf(kFirstDay + kDays - 1); }
    uint64_t TickCount() override { return 0; }
};

std::u16string NearLimitJournal() {
    std::u16string text;
    for (int p = 0; p < 100; ++p) {
        text += u"§" + ToText(p) + u"|Problem title " + ToText(p) + u"¦" +
                std::u16string(60, u'd') + u"¦A¦";
    }
    for (DayNumber day = kFirstDay; day < kFirstDay + kDays; ++day) {
        text += u"#" + ToText(day) + u"§";
        for (int k = 0; k < 5; ++k) {
            if (k > 0) text += u"§";
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

// The same ages and no treatments: shows what the treatment tables cost of a summary.
class NoListsSources final : public SummarySources {
public:
    explicit NoListsSources(const SummarySources& real) : m_real(real) {}
    std::u16string LongAge(const PatientRecord& record, DayNumber day) const override {
        return m_real.LongAge(record, day);
    }
    SummaryLists RunningLists(const PatientRecord&) const override { return {}; }
    SummaryLists DayLists(const PatientRecord&, DayNumber) const override { return {}; }

private:
    const SummarySources& m_real;
};

struct Fixture {
    Labels labels = Labels::Defaults();
    JournalWords words = JournalWordsFrom(labels);
    BenchClock clock;
    RecordSummarySources sources{words, AgeWords::From(labels), DateOrder::DayMonthYear, clock};
    SummaryContext context{labels, words, DateOrder::DayMonthYear, sources};
    NoListsSources noLists{sources};
    SummaryContext withoutLists{labels, words, DateOrder::DayMonthYear, noLists};
    PatientRecord record;
    OpenPatient open;
    FormArrangement arrangement;
    std::vector<PatientRecord> ward;
    std::vector<const PatientRecord*> patients;
    DayNumber wardDay = 0;  // the last day of the demo journals
    std::u16string wardCaption;

    Fixture() {
        record.inUse = 1;
        for (int k = 1; k < kFieldCount; ++k) record.SetField(k, u"value " + ToText(k));
        record.SetField(4, u"13");
        record.SetField(5, u"3");
        record.SetField(6, u"1950");
        record.subfolderType = u"Hosp";
        record.admission = NoonOf(kFirstDay);
        record.admissionDay = record.historyStartDay = kFirstDay;
        record.problemJournal = NearLimitJournal();
        open.record = &record;
        open.currentDay = kFirstDay + kDays - 1;
        for (DayNumber d = kFirstDay; d < kFirstDay + kDays; ++d) open.days.push_back(d);
        open.dayCaption = DateLabelText(open.currentDay, kFirstDay, true, words);
        arrangement = SummaryArrangementOf(FactoryArrangement(), labels, Preferences{});

        DemoOptions options;
        options.patients = kPatients;
        ward = MakeDemoPatients(options);
        wardDay = DayNumberOf(options.today);
        wardCaption = DateLabelText(wardDay, wardDay, false, words);
        for (const PatientRecord& patient : ward) patients.push_back(&patient);
    }
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

// Every build reads the journals afresh (new sources), as the first build of a page does.
template <typename Build>
void Run(benchmark::State& state, Build build) {
    Fixture& f = Shared();
    size_t size = 0;
    for (auto _ : state) {
        RecordSummarySources sources{f.words, AgeWords::From(f.labels), DateOrder::DayMonthYear,
                                     f.clock};
        SummaryContext context{f.labels, f.words, DateOrder::DayMonthYear, sources};
        HtmlText html;
        build(f, context, html);
        size = html.Text().size();
        benchmark::DoNotOptimize(size);
    }
    state.counters["html_kchars"] = static_cast<double>(size) / 1000.0;
    state.counters["journal_kchars"] = static_cast<double>(f.record.problemJournal.size()) / 1000.0;
}

void BM_DaySummary(benchmark::State& state) {
    Run(state, [](Fixture& f, const SummaryContext& context, HtmlText& html) {
        BuildDaySummary(html, f.open, context);
    });
}
void BM_ProblemSummary(benchmark::State& state) {
    Run(state, [](Fixture& f, const SummaryContext& context, HtmlText& html) {
        BuildProblemSummary(html, f.open, context);
    });
}
void BM_EvolutionSummary(benchmark::State& state) {
    Run(state, [](Fixture& f, const SummaryContext& context, HtmlText& html) {
        BuildEvolutionSummary(html, f.open, context);
    });
}
void BM_ExamsSummary(benchmark::State& state) {
    Run(state, [](Fixture& f, const SummaryContext& context, HtmlText& html) {
        BuildExamsSummary(html, f.open, context);
    });
}
void BM_EntrySummary(benchmark::State& state) {
    Run(state, [](Fixture& f, const SummaryContext& context, HtmlText& html) {
        BuildEntrySummary(html, f.open, f.arrangement, context);
    });
}
void BM_TasksSummary1000(benchmark::State& state) {
    Run(state, [](Fixture& f, const SummaryContext& context, HtmlText& html) {
        BuildTasksSummary(html, f.patients, context);
    });
}
void BM_AllPatientsSummary1000(benchmark::State& state) {
    Run(state, [](Fixture& f, const SummaryContext& context, HtmlText& html) {
        BuildAllPatientsSummary(html, f.patients, f.wardDay, f.wardCaption, context);
    });
}

// The page built again (after a move of its day): the sources kept what they read.
void BM_AllPatientsSummary1000Again(benchmark::State& state) {
    Fixture& f = Shared();
    for (auto _ : state) {
        HtmlText html;
        BuildAllPatientsSummary(html, f.patients, f.wardDay, f.wardCaption, f.context);
        benchmark::DoNotOptimize(html.Text().size());
    }
}
void BM_AllPatientsSummary1000WithoutTreatments(benchmark::State& state) {
    Fixture& f = Shared();
    for (auto _ : state) {
        HtmlText html;
        BuildAllPatientsSummary(html, f.patients, f.wardDay, f.wardCaption, f.withoutLists);
        benchmark::DoNotOptimize(html.Text().size());
    }
}

BENCHMARK(BM_DaySummary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProblemSummary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EvolutionSummary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExamsSummary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EntrySummary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TasksSummary1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AllPatientsSummary1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AllPatientsSummary1000Again)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AllPatientsSummary1000WithoutTreatments)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pondrel

BENCHMARK_MAIN();
