// The letters on a patient whose journal is near the patient file size limit: 100 problems
// with their redactions, a year of days of five entries each (drug lines in the Medicine
// sections), about 195,000 characters. Each run gathers the letter's data as the program does
// (day list, treatment tables, age) and fills the factory template.

#include <fstream>
#include <iterator>

#include <benchmark/benchmark.h>

#include "documents/LetterData.h"
#include "documents/RtfFormat.h"
#include "documents/TemplateFiller.h"
#include "labels/LabelsFile.h"
#include "platform/Text.h"

namespace pondrel {
namespace {

constexpr DayNumber kFirstDay = 2263;  // 13 March 2006
constexpr int kDays = 365;
const DateTime kNow = {2007, 3, 12, 10, 0, 0};  // the last day of the year

std::string ReadResource(const char* name) {
    std::ifstream in(std::string(PONDREL_RESOURCES_DIR) + "/" + name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

const Labels& FactoryLabels() {
    static const Labels labels = InterpretLabelsBytes(ReadResource("Labels.txt")).read.labels;
    return labels;
}

PatientRecord NearLimitPatient() {
    PatientRecord r;
    r.inUse = 1;
    r.SetField(2, u"Doe");
    r.SetField(3, u"Jane");
    r.SetField(4, u"4");
    r.SetField(5, u"7");
    r.SetField(6, u"1950");
    r.SetField(59, u"Dr Smith");
    r.SetField(61, u"Fever and cough for three days.");
    r.admission = {2006, 3, 13, 9, 41, 7};
    r.admissionDay = kFirstDay;
    r.subfolderType = u"Hosp";
    std::u16string& text = r.problemJournal;
    for (int p = 0; p < 100; ++p) {
        text += u"\u00A7" + ToText(p) + u"|Problem title " + ToText(p) + u" (J" + ToText(p) +
                u")\u00A6Differential " + ToText(p) + u"\u00A6A\u00A6Redaction of problem " +
                ToText(p) + u", stable.";
    }
    for (DayNumber day = kFirstDay; day < kFirstDay + kDays; ++day) {
        text += u"#" + ToText(day) + u"\u00A7";
        for (int k = 0; k < 5; ++k) {
            if (k > 0) text += u"\u00A7";
            const int p = k * 20 + day % 20;
            const std::u16string drug = u"drug " + ToText(p) + u" 1 g";
            text += ToText(p) +
                    u"|Feels better, slept well|T 37.2, BP 120/80, HR 72|CRP 12, WBC 8|" +
                    (day % 7 == 6 ? drug + u" (Stop)" : drug) + u"|Rest in bed|Walk twice|";
        }
    }
    return r;
}

void Fill(benchmark::State& state, const char* templateName, size_t limit) {
    const PatientRecord record = NearLimitPatient();
    const std::string source = ReadResource(templateName);
    size_t bytes = 0;
    bool written = false;
    for (auto _ : state) {
        PatientRecord opened = record;
        const LetterDays days = DaysOnOpening(opened, FactoryLabels(), kNow);
        const TemplateData data =
            MakeTemplateData(opened, FactoryLabels(), DateOrder::DayMonthYear, kNow, days);
        const TemplateFill fill =
            source.size() < limit ? FillTemplateBytes(source, data) : TemplateFill{};
        bytes = fill.bytes.size();
        written = fill.Ok();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["journal chars"] = static_cast<double>(record.problemJournal.size());
    state.counters["letter bytes"] = static_cast<double>(bytes);
    state.counters["written"] = written ? 1 : 0;
}

void BM_OutLetter(benchmark::State& state) {
    Fill(state, "Out Letter Template.rtf", kOutLetterTemplateLimit);
}
BENCHMARK(BM_OutLetter)->Unit(benchmark::kMillisecond);

void BM_AdmissionLetter(benchmark::State& state) {
    Fill(state, "Admission template.rtf", kAdmissionTemplateLimit);
}
BENCHMARK(BM_AdmissionLetter)->Unit(benchmark::kMillisecond);

// The whole journal day by day: refused as too big for a document, after how long.
void BM_HospitalCourse(benchmark::State& state) {
    Fill(state, "Hospital course.rtf", kTemplateDocumentLimit);
}
BENCHMARK(BM_HospitalCourse)->Unit(benchmark::kMillisecond);

// The out letter of a patient shown on the problems page: the day list and the current day are
// the page's (the day list of a patient not opened there is built first, as in BM_OutLetter).
void BM_OutLetterOfTheOpenPatient(benchmark::State& state) {
    PatientRecord opened = NearLimitPatient();
    const std::string source = ReadResource("Out Letter Template.rtf");
    const LetterDays days = DaysOnOpening(opened, FactoryLabels(), kNow);
    for (auto _ : state) {
        const TemplateData data =
            MakeTemplateData(opened, FactoryLabels(), DateOrder::DayMonthYear, kNow, days);
        benchmark::DoNotOptimize(FillTemplateBytes(source, data));
    }
}
BENCHMARK(BM_OutLetterOfTheOpenPatient)->Unit(benchmark::kMillisecond);

// A template just under its limit made of cent signs with a "#" now and then: every one is a
// candidate code that must be read and dropped.
void BM_TemplateFullOfCentSigns(benchmark::State& state) {
    const PatientRecord record = NearLimitPatient();
    TemplateData data(record, FactoryLabels());
    std::string source = "{\\rtf1 ";
    while (source.size() + 5000 < kTemplateDocumentLimit) {
        for (int i = 0; i < 1000; ++i) source += "\\'a2";
        source += "#";
    }
    source += "}";
    for (auto _ : state) {
        const TemplateFill fill = FillTemplateBytes(source, data);
        benchmark::DoNotOptimize(fill.bytes.size());
    }
    state.counters["template bytes"] = static_cast<double>(source.size());
}
BENCHMARK(BM_TemplateFullOfCentSigns)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pondrel

BENCHMARK_MAIN();
