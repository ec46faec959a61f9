// Damaged or crafted patient files and journals of growing size, up to the size limit of a patient
// file (200,000 characters of text). Each shape once made reading or editing repeat its work for
// every separator, header, block or day; every benchmark here must grow linearly with the size
// (Google Benchmark fits the complexity: the reported BigO is N and the RMS small).
//
//   Convert*: the conversion of a version 3.00 file of that shape;
//   Journal*: opening the problems page on a journal of that shape and one commit;
//   HistoryButtons / DayList: the '+' buttons and the day list over thousands of entry days.

#include <benchmark/benchmark.h>

#include <string>

#include "journal/DayNavigator.h"
#include "journal/EditedRecord.h"
#include "journal/JournalWords.h"
#include "journal/ProblemPanelModel.h"
#include "journal/SectionHistory.h"
#include "platform/Clock.h"
#include "platform/Text.h"
#include "platform/UserMessages.h"
#include "records/Version300Conversion.h"

namespace pondrel {
namespace {

constexpr int64_t kSmallest = 12500;
constexpr int64_t kLargest = 190000;  // characters, below the size limit of a patient file

std::u16string Repeat(std::u16string_view piece, size_t length) {
    std::u16string out;
    while (out.size() + piece.size() <= length) out += piece;
    return out;
}

// A version 3.00 patient file whose one subfolder journal is `journal`, followed by `blocks`.
std::u16string Version300File(std::u16string_view journal, std::u16string_view blocks = {}) {
    return u"#V3.00#W¢2006,3,13,9,41,7,,¢¬IDoe¢John¢1¢2¢1950¢" + std::u16string(15, u'¢') +
           u"1¢#Location|Cardio A¢¬H2006,3,13,9,41,7,,¢2006,3,20,14,0,0,¢0¢¢Hosp¢0¢¬P" +
           std::u16string(195, u'¢') + u"¬L" + std::u16string(8, u'¢') + u"¬O" +
           std::u16string(journal) + u"¢Hosp¢1¢0¢0¢¬E" + std::u16string(blocks);
}

void Convert(benchmark::State& state, const std::u16string& text) {
    std::u16string converted;
    for (auto _ : state) {
        if (!ConvertVersion300(text, converted, nullptr)) state.SkipWithError("not converted");
        benchmark::DoNotOptimize(converted.data());
    }
    state.SetComplexityN(static_cast<int64_t>(text.size()));
}

// One header repeated, each naming every entry of the journal again.
void BM_ConvertRepeatedHeaders(benchmark::State& state) {
    const auto n = static_cast<size_t>(state.range(0));
    std::u16string days;
    for (int day = 0; days.size() < n / 2; ++day) days += u"#" + ToText(day) + u"§0|x||||||";
    Convert(state, Version300File(Repeat(u"§0|Flu¦¦A¦", n / 2) + days));
}

// A head of bare "§" (no header has its bar) and blocks without "¬O".
void BM_ConvertBareMarks(benchmark::State& state) {
    const auto n = static_cast<size_t>(state.range(0));
    Convert(state,
            Version300File(std::u16string(n / 2, u'§'), Repeat(u"¬H2007,1,10,8,0,0,,¢x¢", n / 2)));
}

// One day block with thousands of entries.
void BM_ConvertCrowdedDay(benchmark::State& state) {
    const auto n = static_cast<size_t>(state.range(0));
    Convert(state, Version300File(u"§0|Flu¦¦A¦§1|Gout¦¦A¦#3" + Repeat(u"§0|a|||||§1|b||||||", n)));
}

// A hundred long titles of one letter, then headers whose titles nearly match them: a search
// per header through every title would compare each title almost to its end.
void BM_ConvertLongTitles(benchmark::State& state) {
    const auto n = static_cast<size_t>(state.range(0));
    std::u16string head;
    const size_t titleLength = n / 400;
    for (int p = 0; p < 100; ++p) {
        head += u"§0|" + std::u16string(titleLength, u'a') + ToText(p) + u"¦¦A¦";
    }
    for (int k = 0; head.size() < n; ++k) {
        head += u"§0|" + std::u16string(titleLength / 2, u'a') + u"b" + ToText(k) + u"¦¦A¦";
    }
    Convert(state, Version300File(head + u"#0§0|x||||||"));
}

class QuietMessages final : public UserMessages {
public:
    BoxAnswer ShowBox(const std::u16string&, const std::u16string&, BoxButtons, BoxIcon) override {
        return BoxAnswer::Ok;
    }
    void ShowNotice(const std::u16string&, int, bool) override {}
};

class FixedClock final : public Clock {
public:
    DateTime Now() override { return {2006, 3, 15, 10, 0, 0}; }
    uint64_t TickCount() override { return 0; }
};

class BenchRecord final : public EditedRecord {
public:
    std::u16string JournalText() const override { return journal; }
    void StoreJournal(const std::u16string& text) override { journal = text; }
    SubfolderDates Dates() const override { return dates; }
    void StoreDates(const SubfolderDates& d) override { dates = d; }
    bool IsReadOnly() const override { return false; }
    std::u16string Field(int) const override { return {}; }
    std::u16string journal;
    SubfolderDates dates;
};

// The problems page: the patient opened (problem count, entry days, day list), one section
// typed and committed.
void OpenAndCommit(benchmark::State& state, const std::u16string& journal,
                   DateTime admission = {2006, 3, 13, 9, 41, 7}) {
    QuietMessages messages;
    FixedClock clock;
    JournalWords words;
    ProblemPanelModel panel(messages, words);
    DayNavigator days(panel, clock, messages, words);
    BenchRecord record;
    int i = 0;
    for (auto _ : state) {
        record.journal = journal;
        record.dates.subfolderType = u"Hosp";
        record.dates.admission = admission;
        days.OpenPatient(record);
        panel.EditSection(1, u"typed " + ToText(i++));
        benchmark::DoNotOptimize(record.journal.data());
    }
    state.SetComplexityN(static_cast<int64_t>(journal.size()));
}

void BM_JournalOfHashes(benchmark::State& state) {
    OpenAndCommit(state, u"§0|Flu¦¦A¦" + std::u16string(static_cast<size_t>(state.range(0)), u'#'));
}

void BM_JournalOfMarks(benchmark::State& state) {
    OpenAndCommit(state,
                  u"§0|Flu¦¦A¦" + std::u16string(static_cast<size_t>(state.range(0)), u'\u00A7'));
}

// Day blocks of every day since an admission mistyped as 1900: the day list of 20,000 rows.
std::u16string EveryDay(size_t length) {
    const DayNumber count = static_cast<DayNumber>(length / 16);
    std::u16string journal = u"§0|A¦¦A¦";
    for (DayNumber day = 2263 - count; day <= 2263; ++day) {
        journal += u"#" + ToText(day) + u"§0||s|||||";
    }
    return journal;
}

void BM_DayList(benchmark::State& state) {
    OpenAndCommit(state, EveryDay(static_cast<size_t>(state.range(0))), {1900, 1, 1, 9, 0, 0});
}

void BM_HistoryButtons(benchmark::State& state) {
    const std::u16string journal = EveryDay(static_cast<size_t>(state.range(0)));
    ProblemJournal parsed(journal);
    std::vector<DayNumber> entryDays = parsed.Reader().EntryDays();
    SectionHistoryInput input;
    input.entryDays = &entryDays;
    input.admissionDay = entryDays.front();
    input.historyStartDay = entryDays.front();
    for (auto _ : state) {
        JournalReader reader = parsed.Reader();
        for (int i = 0; i < kSectionCount; ++i) {
            benchmark::DoNotOptimize(
                SectionHistory::IsEnabled(reader, input, static_cast<Section>(i)));
        }
    }
    state.SetComplexityN(static_cast<int64_t>(journal.size()));
}

#define HOSTILE(name)                   \
    BENCHMARK(name)                     \
        ->RangeMultiplier(2)            \
        ->Range(kSmallest, kLargest)    \
        ->Unit(benchmark::kMillisecond) \
        ->Complexity(benchmark::oN)

HOSTILE(BM_ConvertRepeatedHeaders);
HOSTILE(BM_ConvertBareMarks);
HOSTILE(BM_ConvertCrowdedDay);
HOSTILE(BM_ConvertLongTitles);
HOSTILE(BM_JournalOfHashes);
HOSTILE(BM_JournalOfMarks);
HOSTILE(BM_DayList);
HOSTILE(BM_HistoryButtons);

}  // namespace
}  // namespace pondrel

BENCHMARK_MAIN();
