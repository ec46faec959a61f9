#include "documents/SentenceList.h"

#include <algorithm>
#include <iterator>
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

constexpr size_t kPageTitleLength = 32;
constexpr int kBloodPressures[][2] = {{11, 12}, {40, 41}};
constexpr int kPeakFlow = 48;
constexpr int kBmi = 95;
// The vital signs written as "caption=value" rows (the diastolic halves go with their systolic).
constexpr int kVitalSigns[] = {7, 8, 9, 10, 11, 12, 13, 14, 40, 41, 42, 46, 47, 48, kBmi};

bool IsVitalSign(int field) {
    return std::find(std::begin(kVitalSigns), std::end(kVitalSigns), field) !=
           std::end(kVitalSigns);
}

// A field's text on one line: its lines joined with ", ", a leading "-" of each dropped.
std::u16string OneLine(std::u16string_view text) {
    std::u16string line;
    for (const std::u16string& part : Split(text, u'\n')) {
        std::u16string clean = TrimLeftOf(TrimRightOf(part, u"\r "), u"- ");
        if (clean.empty()) continue;
        if (!line.empty()) line += u", ";
        line += clean;
    }
    return line;
}

// "Weight [kg]" and "70" give "Weight=70 kg": the unit in brackets goes behind the value.
std::u16string VitalRow(std::u16string_view caption, std::u16string_view value) {
    const size_t open = caption.find(u'[');
    std::u16string name = TrimRightSpaces(caption.substr(0, open));
    std::u16string row = name + u"=" + std::u16string(value);
    if (open != std::u16string_view::npos) {
        const size_t close = caption.find(u']', open);
        std::u16string unit = TrimLeftOf(
            TrimRightSpaces(caption.substr(open + 1, close == std::u16string_view::npos
                                                         ? std::u16string_view::npos
                                                         : close - open - 1)),
            u" ");
        if (!unit.empty()) row += u" " + unit;
    }
    return row;
}

// The heading of a form page in the list: the part of its caption after a ":", 32 characters.
std::u16string PageTitle(std::u16string_view caption) {
    const size_t colon = caption.find(u':');
    if (colon != std::u16string_view::npos) caption.remove_prefix(colon + 1);
    std::u16string title = TrimLeftOf(TrimRightSpaces(caption), u" ");
    if (title.size() > kPageTitleLength) title.resize(kPageTitleLength);
    return title;
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

std::u16string AdmissionText(const PatientRecord& record, const FormArrangement& arrangement,
                             const Labels& labels) {
    const auto pageOf = [&arrangement](int field) {
        return arrangement.fieldPage[static_cast<size_t>(field)];
    };
    std::u16string text;
    for (int page = 0; page < kEntryPageCount; ++page) {
        std::u16string rows;
        std::u16string vitals;
        std::optional<size_t> vitalsAt;  // where the page's vital signs stand among its rows
        for (int k = 1; k < kFieldCount; ++k) {
            if (LeftOutOfAdmissionPages(k) || pageOf(k) != page) continue;
            if (IsVitalSign(k)) {
                if (!vitalsAt) vitalsAt = rows.size();
                if (k == kBmi) continue;  // after the other vital signs
                std::u16string value = OneLine(record.Field(k));
                bool pressure = false;
                for (const auto& [systolic, diastolic] : kBloodPressures) {
                    if (k == diastolic) pressure = true;
                    if (k != systolic) continue;
                    pressure = true;
                    const std::u16string second = OneLine(record.Field(diastolic));
                    if (value.empty() && second.empty()) continue;
                    const std::u16string pair = second.empty() ? value : value + u"/" + second;
                    vitals += VitalRow(labels.Caption(k), pair) + u"|";
                }
                if (pressure || value.empty()) continue;
                vitals += (k == kPeakFlow ? u"Peek Flow=" + value
                                          : VitalRow(labels.Caption(k), value)) +
                          u"|";
                continue;
            }
            const std::u16string& value = record.Field(k);
            if (value.empty()) continue;
            for (const std::u16string& line : Split(value, u'\n')) {
                const std::u16string row = TrimRightOf(line, u"\r");
                if (!TrimLeftOf(row, u"- ").empty()) rows += row + u"|";
            }
        }
        if (pageOf(kBmi) == page && !record.Field(kBmi).empty()) {
            if (!vitalsAt) vitalsAt = rows.size();
            vitals += u"BMI=" + OneLine(record.Field(kBmi)) + u"|";
        }
        if (vitalsAt) rows.insert(*vitalsAt, vitals);
        if (rows.empty()) continue;
        text += Heading(page == 0 ? labels.Label(label::kGeneralInformation)
                                  : PageTitle(arrangement.pageTitles[static_cast<size_t>(page)]));
        text += rows;
    }
    if (text.empty()) return text;
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
