// Journal operations on a journal near the patient file size limit: 100 problems, 365 days of
// five entries each, about 193,000 characters.

#include <benchmark/benchmark.h>

#include "journal/EditedRecord.h"
#include "journal/JournalWords.h"
#include "journal/ProblemJournal.h"
#include "journal/ProblemManager.h"
#include "journal/ProblemPanelModel.h"
#include "journal/SectionHistory.h"
#include "platform/Text.h"
#include "platform/UserMessages.h"

namespace pondrel {
namespace {

constexpr DayNumber kFirstDay = 2263;
constexpr int kDays = 365;

std::u16string NearLimitJournal() {
    std::u16string text;
    for (int p = 0; p < 100; ++p) {
        text += u"§" + ToText(p) + u"|Problem title " + ToText(p) + u"¦" +
                std::u16string(60, u'd') + u"¦A¦";
    }
    const std::u16string section(15, u'x');
    for (DayNumber day = kFirstDay; day < kFirstDay + kDays; ++day) {
        text += u"#" + ToText(day) + u"§";
        for (int k = 0; k < 5; ++k) {
            if (k > 0) text += u"§";
            text += ToText(k * 20 + day % 20);
            for (int s = 0; s < kSectionCount; ++s) text += u"|" + section;
            text += u"|";
        }
    }
    return text;
}

class QuietMessages final : public UserMessages {
public:
    BoxAnswer ShowBox(const std::u16string&, const std::u16string&, BoxButtons, BoxIcon) override {
        return BoxAnswer::Ok;
    }
    void ShowNotice(const std::u16string&, int, bool) override {}
};

class BenchRecord final : public EditedRecord {
public:
    std::u16string JournalText() const override { return journal; }
    void StoreJournal(const std::u16string& text) override { journal = text; }
    SubfolderDates Dates() const override { return {}; }
    void StoreDates(const SubfolderDates&) override {}
    bool IsReadOnly() const override { return false; }
    std::u16string Field(int) const override { return {}; }
    std::u16string journal;
};

// Rewrites an entry in the middle of the year (alternating texts so every write changes it).
void BM_SetEntry(benchmark::State& state) {
    ProblemJournal journal(NearLimitJournal());
    Sections a{u"cough", u"crackles", u"CRP", u"amoxicillin", u"", u"rest"};
    Sections b{u"cough", u"better", u"CRP", u"amoxicillin", u"", u"rest"};
    bool flip = false;
    for (auto _ : state) {
        journal.SetEntry(kFirstDay + 180, 3, flip ? a : b);
        flip = !flip;
    }
    state.counters["chars"] = static_cast<double>(journal.Text().size());
}
BENCHMARK(BM_SetEntry)->Unit(benchmark::kMicrosecond);

// A new entry on the last day and its removal: insertion and deletion at the end.
void BM_SetEntryAndDelete(benchmark::State& state) {
    ProblemJournal journal(NearLimitJournal());
    Sections s{u"new", u"", u"", u"", u"", u""};
    for (auto _ : state) {
        journal.SetEntry(kFirstDay + kDays - 1, 99, s);
        journal.DeleteEntry(kFirstDay + kDays - 1, 99);
    }
}
BENCHMARK(BM_SetEntryAndDelete)->Unit(benchmark::kMicrosecond);

void BM_GetEntry(benchmark::State& state) {
    ProblemJournal journal(NearLimitJournal());
    DayNumber day = kFirstDay + static_cast<DayNumber>(state.range(0));
    int problem = 20 + day % 20;
    for (auto _ : state) benchmark::DoNotOptimize(journal.GetEntry(day, problem));
}
BENCHMARK(BM_GetEntry)->Arg(0)->Arg(180)->Arg(kDays - 1)->Unit(benchmark::kMicrosecond);

void BM_ProblemCount(benchmark::State& state) {
    ProblemJournal journal(NearLimitJournal());
    for (auto _ : state) benchmark::DoNotOptimize(journal.ProblemCount());
}
BENCHMARK(BM_ProblemCount)->Unit(benchmark::kMicrosecond);

// One keystroke in a section: the working copy is committed into the journal and the journal
// copied into the record.
void BM_CommitCurrentProblem(benchmark::State& state) {
    QuietMessages messages;
    JournalWords words;
    BenchRecord record;
    record.journal = NearLimitJournal();
    ProblemPanelModel panel(messages, words);
    panel.Open(record, kFirstDay + 180);
    panel.ChooseProblem(3);
    bool flip = false;
    for (auto _ : state) {
        panel.EditSection(1, flip ? u"better" : u"worse");
        flip = !flip;
    }
}
BENCHMARK(BM_CommitCurrentProblem)->Unit(benchmark::kMicrosecond);

// One keystroke as the Qt panel sends it: kept in the working copy until the field is left.
void BM_DeferredKeystroke(benchmark::State& state) {
    QuietMessages messages;
    JournalWords words;
    BenchRecord record;
    record.journal = NearLimitJournal();
    ProblemPanelModel panel(messages, words);
    panel.Open(record, kFirstDay + 180);
    panel.ChooseProblem(3);
    bool flip = false;
    for (auto _ : state) {
        panel.EditSection(1, flip ? u"better" : u"worse", ProblemPanelModel::EditCommit::Deferred);
        flip = !flip;
    }
}
BENCHMARK(BM_DeferredKeystroke)->Unit(benchmark::kMicrosecond);

// What the panel does on every move of day or problem besides the commit: the working copies
// loaded and the six '+' buttons decided over all the entry days.
void BM_ShowProblemAndHistoryButtons(benchmark::State& state) {
    QuietMessages messages;
    JournalWords words;
    BenchRecord record;
    record.journal = NearLimitJournal();
    ProblemPanelModel panel(messages, words);
    panel.Open(record, kFirstDay + 180);
    panel.ChooseProblem(3);
    SectionHistoryInput input;
    input.problem = 3;
    input.entryDays = &panel.EntryDays();
    input.admissionDay = kFirstDay;
    for (auto _ : state) {
        panel.ShowCurrentProblem();
        JournalReader reader = panel.Journal().Reader();
        for (int s = 0; s < kSectionCount; ++s) {
            benchmark::DoNotOptimize(
                SectionHistory::IsEnabled(reader, input, static_cast<Section>(s)));
        }
    }
}
BENCHMARK(BM_ShowProblemAndHistoryButtons)->Unit(benchmark::kMicrosecond);

// The problem manager on the same journal: each command as the dialogue runs it from the
// journal it is given to the journal its OK hands back (read, command, written), aim 20 ms.
template <typename Command>
void RunManagerCommand(benchmark::State& state, Command command) {
    const std::u16string text = NearLimitJournal();
    for (auto _ : state) {
        ProblemManager manager(text);
        command(manager);
        std::u16string result = manager.Text();
        benchmark::DoNotOptimize(result);
    }
}

void BM_ManagerReadAndWrite(benchmark::State& state) {
    RunManagerCommand(state, [](ProblemManager&) {});
}
BENCHMARK(BM_ManagerReadAndWrite)->Unit(benchmark::kMillisecond);

void BM_ManagerMoveDown(benchmark::State& state) {
    RunManagerCommand(state, [](ProblemManager& m) { m.MoveDown(0); });
}
BENCHMARK(BM_ManagerMoveDown)->Unit(benchmark::kMillisecond);

void BM_ManagerSetState(benchmark::State& state) {
    RunManagerCommand(state, [](ProblemManager& m) { m.SetState(50, kStateSolved); });
}
BENCHMARK(BM_ManagerSetState)->Unit(benchmark::kMillisecond);

// Deleting problem 1 of 100: every later problem moves up one number.
void BM_ManagerDeleteFirst(benchmark::State& state) {
    RunManagerCommand(state, [](ProblemManager& m) { m.Delete(0); });
}
BENCHMARK(BM_ManagerDeleteFirst)->Unit(benchmark::kMillisecond);

// Merging problems 1 and 2 (entries on 36 and 37 days, joined on none) and 1 and 21 (joined
// on every day both have).
void BM_ManagerMerge(benchmark::State& state) {
    RunManagerCommand(state, [](ProblemManager& m) { m.Merge(0, 20); });
}
BENCHMARK(BM_ManagerMerge)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pondrel

BENCHMARK_MAIN();
