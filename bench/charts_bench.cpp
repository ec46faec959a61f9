// The growth curves and the exam page: the percentile of a measurement, a curve value, the exam
// table of a journal near the patient file size limit, and the layout of one graph repaint.

#include <benchmark/benchmark.h>

#include <random>

#include "charts/ExamGraph.h"
#include "charts/ExamTable.h"
#include "charts/GrowthCurves.h"
#include "journal/JournalFormat.h"
#include "journal/ProblemJournal.h"
#include "labels/Labels.h"
#include "platform/Text.h"
#include "platform/UserMessages.h"
#include "records/PatientRecord.h"

namespace pondrel {
namespace {

constexpr DayNumber kFirstDay = 2263;
constexpr int kDays = 365;
constexpr int kProblems = 6;

class QuietMessages final : public UserMessages {
public:
    BoxAnswer ShowBox(const std::u16string&, const std::u16string&, BoxButtons, BoxIcon) override {
        return BoxAnswer::Ok;
    }
    void ShowNotice(const std::u16string&, int, bool) override {}
};

const GrowthCurves& Curves() {
    static QuietMessages messages;
    static const GrowthCurves curves = GrowthCurves::Load(messages);
    return curves;
}

// A year in hospital, six problems a day, each entry with results in its Examinations and
// Status sections: about 195,000 characters, near the 400,000 bytes of a patient file.
PatientRecord NearLimitRecord() {
    PatientRecord record;
    record.inUse = 1;
    record.subfolderType = u"Hosp";
    record.admissionDay = kFirstDay;
    record.SetField(7, u"72 kg");
    record.SetField(9, u"38.2");
    std::u16string text;
    for (int p = 0; p < kProblems; ++p)
        text += u"§" + ToText(p) + u"|Problem " + ToText(p) + u"¦¦A¦";
    for (DayNumber day = kFirstDay; day < kFirstDay + kDays; ++day) {
        text += u"#" + ToText(day);
        for (int p = 0; p < kProblems; ++p) {
            const std::u16string n = ToText(day % 50);
            text += u"§" + ToText(p) + u"||T 37." + ToText(day % 10) + u"\r\n-BP 12" + ToText(p) +
                    u"/80\r\n-stable|Hb 1" + ToText(p) + u"." + ToText(day % 10) +
                    u" g/dl\r\nCRP " + n + u"\r\nNa 14" + ToText(day % 5) + u" K 4." + ToText(p) +
                    u"\r\nCreat " + n + u"0 (stable)||||";
        }
    }
    record.problemJournal = text;
    return record;
}

void BM_PercentileOf(benchmark::State& state) {
    const CCourbepercentile& set = Curves().Set(GrowthMeasure::Weight, 1);
    std::mt19937 random(7);
    std::uniform_real_distribution<float> ages(0, 216);
    std::uniform_real_distribution<float> weights(2, 90);
    std::vector<std::pair<float, float>> inputs(1024);
    for (auto& input : inputs) input = {ages(random), weights(random)};
    size_t i = 0;
    for (auto _ : state) {
        const auto& [age, weight] = inputs[i++ & 1023];
        benchmark::DoNotOptimize(PercentileOf(set, age, weight));
    }
}
BENCHMARK(BM_PercentileOf);

void BM_CurveValue(benchmark::State& state) {
    const CCourbepercentile& set = Curves().Set(GrowthMeasure::Height, 0);
    float age = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(set.PercentileFunc(50, age));
        age = age > 215 ? 0 : age + 0.37f;
    }
}
BENCHMARK(BM_CurveValue);

void BM_BuildExamTable(benchmark::State& state) {
    PatientRecord record = NearLimitRecord();
    Labels labels = Labels::Defaults();
    ExamTableInput input;
    input.record = &record;
    input.labels = &labels;
    input.shownDays = ShownDaysOf(record, kFirstDay + kDays - 1);
    input.examTitles = u"Hb|CRP|Na,Sodium|";
    state.counters["journal_chars"] = static_cast<double>(record.problemJournal.size());
    size_t rows = 0;
    for (auto _ : state) {
        ExamTable table = BuildExamTable(input);
        rows = table.rows.size();
        benchmark::DoNotOptimize(table);
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_BuildExamTable)->Unit(benchmark::kMillisecond);

void BM_GraphLayoutWithCurves(benchmark::State& state) {
    ExamGraph graph(Curves());
    PatientRecord child;
    child.sex = 0;
    child.SetField(4, u"1");
    child.SetField(5, u"1");
    child.SetField(6, u"2005");
    graph.SetPatient(child);
    graph.SetCurvesShown(true);
    ExamRow row;
    row.title = u"Weight";
    for (int d = 0; d < 60; ++d)
        row.values.push_back({kFirstDay - 300 + d * 5, ToText(4 + d / 10)});
    graph.LoadGraphRow(row);
    const DateTime now{2006, 3, 13, 9, 0, 0};
    auto width = [](std::u16string_view text, int height) {
        return static_cast<int>(text.size()) * height * 6 / 10;
    };
    for (auto _ : state) benchmark::DoNotOptimize(graph.Layout(241, 148, now, width));
}
BENCHMARK(BM_GraphLayoutWithCurves);

}  // namespace
}  // namespace pondrel

BENCHMARK_MAIN();
