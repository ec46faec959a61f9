#include "documents/SentenceList.h"

#include <optional>

#include "documents/JournalIndex.h"
#include "documents/SummaryBlocks.h"
#include "documents/SummaryText.h"
#include "labels/Labels.h"
#include "platform/Text.h"

namespace pondrel {
namespace {

namespace label = summary_label;
constexpr int kNormalWordLabel = 34;

std::u16string Heading(std::u16string_view text) {
    return u"------- " + std::u16string(text) + u" -------|";
}

bool IsAsciiDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

}  // namespace

std::u16string EvolutionText(const PatientRecord& record, int problem,
                             const std::vector<DayListRow>& days, const SummaryLists& running,
                             const Labels& labels) {
    const JournalIndex journal(record.problemJournal);
    std::u16string text;
    for (const DayListRow& row : days) {
        const std::optional<Sections> entry = journal.Entry(row.day, problem);
        if (!entry) continue;
        std::u16string parts;
        for (int s : kSummarySectionOrder) {
            const std::u16string& section = (*entry)[static_cast<size_t>(s)];
            if (section.empty()) continue;
            std::u16string part = ReplaceAll(ReplaceAll(section, u"\r\n-", u"|"), u"\r\n", u"|");
            if (!part.empty() && part.front() == u'-') part.erase(0, 1);
            parts += PunctuationCleanup(part) + u"|";
        }
        if (!parts.empty()) text += Heading(row.text) + parts;
    }
    const bool known = problem >= 0 && problem < journal.ProblemCount();
    const ProblemHeader header = known ? journal.Header(problem) : ProblemHeader{};
    std::u16string dd = TrimRightOf(header.differentialDiagnosis, u"\r\n-");
    dd = RemoveAll(ReplaceAll(dd, u"\r\n", u"|"), u'-');
    text += Heading(labels.Label(label::kDifferentialDiagnosis)) + header.title + u"|" + dd + u"|";
    if (!running.treatments.empty()) {
        text += Heading(labels.Label(label::kTreatments));
        for (const TreatmentListRow& row : running.treatments) {
            text += row.text + u" " + row.status + u"|";
        }
    }
    if (!running.actions.empty()) {
        text += Heading(labels.Label(label::kActions));
        for (const TreatmentListRow& row : running.actions) {
            text += row.text + u" " + row.status + u"|";
        }
    }
    const std::u16string& normal = labels.Label(kNormalWordLabel);
    if (!normal.empty()) text = ReplaceAll(text, u"|" + normal + u"|", u"|");
    text += u"|";
    return RewriteUntilStable(text, {{u"||", u"|"}});
}

std::vector<std::u16string> SentenceRows(std::u16string_view content, bool admission) {
    std::vector<std::u16string> rows = {std::u16string(admission ? kAdmissionRow : kEvolutionRow),
                                        u" "};
    size_t from = 0;
    while (from < content.size()) {
        size_t end = content.find(u'|', from);
        if (end == std::u16string_view::npos) end = content.size();
        rows.push_back(TrimLeftOf(TrimRightOf(content.substr(from, end - from), u".?=, "), u" "));
        from = end + 1;
    }
    return rows;
}

std::optional<SentenceInsertion> InsertSentence(std::u16string_view text, size_t start,
                                                size_t end, std::u16string_view row) {
    start = std::min(start, text.size());
    end = std::clamp(end, start, text.size());
    std::u16string sentence = TrimRightOf(TrimLeftOf(row, u"- "), u"- ,.?=");
    if (sentence.empty()) return std::nullopt;
    if (start >= 2) {
        const bool blankBefore = text[start - 1] == u' ';
        const char16_t c = blankBefore ? text[start - 2] : text[start - 1];
        if (c != u' ') {
            const bool digits =
                std::any_of(sentence.begin(), sentence.end(), [](char16_t d) { return IsAsciiDigit(d); });
            if (!digits && c != u'.' && sentence.front() >= u'A' && sentence.front() <= u'Z') {
                sentence.front() = static_cast<char16_t>(sentence.front() - u'A' + u'a');
            }
            const bool punctuation = c == u',' || c == u';' || c == u'.';
            if (!(punctuation && blankBefore)) {
                if (blankBefore) --start;  // one blank separates the texts
                sentence.insert(0, 1, u' ');
            }
        }
    }
    SentenceInsertion insertion;
    insertion.text = std::u16string(text.substr(0, start)) + sentence + std::u16string(text.substr(end));
    insertion.caret = start + sentence.size();
    return insertion;
}

}  // namespace pondrel
