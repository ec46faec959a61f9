// Any texts as a patient's journal, tasks, quick notes, room and admission examinations: every
// summary is built without a crash, and the markup it writes stays balanced (the texts are
// escaped, so none of them can open or close a table or a list).

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "documents/HtmlSummaries.h"
#include "documents/HtmlText.h"
#include "documents/RecordSummarySources.h"
#include "journal/JournalDays.h"
#include "journal/JournalWords.h"
#include "labels/Labels.h"
#include "platform/Clock.h"
#include "platform/Text.h"

namespace {

using namespace pondrel;

class FuzzClock final : public Clock {
public:
    DateTime Now() override { return {2006, 3, 20, 9, 0, 0}; }
    uint64_t TickCount() override { return 0; }
};

size_t Count(const std::u16string& text, std::u16string_view what) {
    return CountOf(FoldCase(text), what);
}

void CheckBalanced(const std::u16string& html) {
    if (Count(html, u"<ul>") != Count(html, u"</ul>")) std::abort();
    if (Count(html, u"<table") != Count(html, u"</table>")) std::abort();
    if (html.find(u"<script") != std::u16string::npos) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The bytes as UTF-16 units, cut into texts at each unit 1.
    std::vector<std::u16string> texts(1);
    for (size_t i = 0; i + 1 < size; i += 2) {
        char16_t c = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (c == 1) {
            texts.emplace_back();
        } else {
            texts.back().push_back(c);
        }
    }
    texts.resize(6);

    static const Labels labels = Labels::Defaults();
    static const JournalWords words = JournalWordsFrom(labels);
    FuzzClock clock;
    RecordSummarySources sources(words, AgeWords::From(labels), DateOrder::DayMonthYear, clock);
    const SummaryContext context{labels, words, DateOrder::DayMonthYear, sources};

    PatientRecord record;
    record.inUse = 1;
    record.SetField(2, u"Doe");
    record.SetField(6, u"1950");
    record.subfolderType = texts[5].empty() ? u"Hosp" : u"Ambu";
    record.admission = {2006, 3, 13, 9, 0, 0};
    record.admissionDay = record.historyStartDay = 2263;
    record.problemJournal = texts[0];
    record.SetField(98, texts[1]);
    record.SetField(198, texts[2]);
    record.SetField(94, texts[3]);
    record.SetField(79, texts[4]);
    record.SetField(63, texts[4]);
    record.SetField(100, texts[5]);

    OpenPatient open;
    open.record = &record;
    open.currentDay = 2265;
    open.currentProblem = texts[1].empty() ? 0 : texts[1][0] % 3;
    for (DayNumber day = 2263; day <= 2270; ++day) open.days.push_back(day);
    open.dayCaption = texts[3];
    FormArrangement arrangement;
    for (size_t k = 0; k < arrangement.fieldPage.size(); ++k) {
        arrangement.fieldPage[k] = static_cast<int>(k % 21) - 1;
    }

    const std::vector<const PatientRecord*> patients{&record, &record};
    HtmlText html;
    BuildDaySummary(html, open, context);
    CheckBalanced(html.Text());
    BuildProblemSummary(html, open, context);
    CheckBalanced(html.Text());
    BuildEvolutionSummary(html, open, context);
    CheckBalanced(html.Text());
    BuildExamsSummary(html, open, context);
    CheckBalanced(html.Text());
    BuildEntrySummary(html, open, arrangement, context);
    CheckBalanced(html.Text());
    BuildTasksSummary(html, patients, context);
    CheckBalanced(html.Text());
    BuildAllPatientsSummary(html, patients, 2264, texts[3], context);
    CheckBalanced(html.Text());
    return 0;
}
