// Treatment and action tables on a journal near the patient file size limit: 100 problems over
// 365 days, five entries a day, every entry with Medicine and Attitude lines that start, stop
// and run for one time, about 200,000 characters.
//   BM_RebuildAllTables: the two order sheets and the running and current-day lists of
//                        treatments and actions, all marked stale and rebuilt (aim: 10 ms);
//   BM_ReadCourses:      reading and matching the start and stop lines of the Medicine
//                        sections alone.

#include <benchmark/benchmark.h>

#include "journal/JournalFormat.h"
#include "journal/JournalWords.h"
#include "journal/TreatmentLines.h"
#include "journal/TreatmentTables.h"
#include "platform/Text.h"

namespace pondrel {
namespace {

constexpr DayNumber kFirstDay = 2263;
constexpr int kDays = 365;
constexpr int kProblems = 100;
constexpr int kEntriesPerDay = 5;

// A drug started on a day and stopped five days later (under another problem); an action given
// one time; filler in the other sections.
std::u16string NearLimitJournal() {
    std::u16string text;
    for (int p = 0; p < kProblems; ++p) {
        text += u"§" + ToText(p) + u"|Problem title " + ToText(p) + u"¦" +
                std::u16string(40, u'd') + u"¦A¦";
    }
    const std::u16string filler(12, u'x');
    for (int d = 0; d < kDays; ++d) {
        const DayNumber day = kFirstDay + d;
        text += u"#" + ToText(day) + u"§";
        for (int k = 0; k < kEntriesPerDay; ++k) {
            const int problem = k * 20 + d % 20;
            if (k > 0) text += u"§";
            text += ToText(problem);
            for (int s = 0; s < kSectionCount; ++s) {
                text += u"|";
                if (s == static_cast<int>(Section::Medicine)) {
                    text += u"-drug " + ToText(problem) + u"-" + ToText(d) + u" 500 mg x2";
                    if (d >= 5) {  // the drug this problem started five days ago
                        const int started = k * 20 + (d - 5) % 20;
                        text += u"\r\n-drug " + ToText(started) + u"-" + ToText(d - 5) +
                                u" 500 mg x2 (Stop)";
                    }
                } else if (s == static_cast<int>(Section::Attitude)) {
                    text += u"-chest X-ray " + ToText(d % 7) + u" (One time)";
                } else {
                    text += filler;
                }
            }
            text += u"|";
        }
    }
    return text;
}

TreatmentInputs Inputs(const std::u16string& journal) {
    TreatmentInputs inputs;
    inputs.journal = journal;
    inputs.days.today = kFirstDay + kDays - 1;
    inputs.days.lastDay = inputs.days.today;
    inputs.days.currentDay = kFirstDay + kDays / 2;
    inputs.days.firstDay = kFirstDay;
    return inputs;
}

void BM_RebuildAllTables(benchmark::State& state) {
    const std::u16string journal = NearLimitJournal();
    const JournalWords words;
    TreatmentTables tables(words, [&] { return Inputs(journal); });
    size_t rows = 0;
    for (auto _ : state) {
        tables.MarkAllStale();
        for (TreatmentKind kind : {TreatmentKind::Treatments, TreatmentKind::Actions}) {
            rows += tables.Sheet(kind).rows.size();
            const TreatmentLists& lists = tables.Lists(kind);
            rows += lists.running.size() + lists.currentDay.size();
        }
        benchmark::DoNotOptimize(rows);
    }
    state.counters["journal_chars"] = static_cast<double>(journal.size());
    state.counters["treatment_rows"] =
        static_cast<double>(tables.Sheet(TreatmentKind::Treatments).rows.size());
}
BENCHMARK(BM_RebuildAllTables)->Unit(benchmark::kMillisecond);

void BM_ReadCourses(benchmark::State& state) {
    const std::u16string journal = NearLimitJournal();
    const JournalWords words;
    for (auto _ : state) {
        auto courses = TreatmentLines::Read(journal, TreatmentKind::Treatments, words);
        benchmark::DoNotOptimize(courses.data());
    }
}
BENCHMARK(BM_ReadCourses)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pondrel

BENCHMARK_MAIN();
