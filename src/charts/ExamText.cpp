#include "charts/ExamText.h"

#include <algorithm>

#include "journal/JournalFormat.h"
#include "journal/JournalReader.h"
#include "journal/SubfolderDates.h"
#include "labels/Labels.h"
#include "platform/Text.h"
#include "records/PatientRecord.h"

namespace pondrel {

namespace {

constexpr int kLaboField = 79;
constexpr int kGasoField = 80;
// The vital signs, weight and height in the order of the line.
constexpr int kLineFields[] = {9, 13, 10, 11, 12, 14, 48, 7, 8};
constexpr std::u16string_view kValueCharacters = u"0123456789/.,+-";
constexpr std::u16string_view kBeforeValue = u"0123456789 ,.-+*/=()%";
constexpr std::u16string_view kValueStart = u"-0123456789";
// A value followed by a text this long without a stop is prose, not a result.
constexpr size_t kLongTail = 7;
constexpr size_t kBracketNear = 8;
constexpr size_t kTooLongMark = 25;

bool In(std::u16string_view set, char16_t c) {
    return set.find(c) != std::u16string_view::npos;
}

// Replaces until none is left.
void Collapse(std::u16string& text, std::u16string_view from, std::u16string_view to) {
    while (text.find(from) != std::u16string::npos) text = ReplaceAll(text, from, to);
}

// Texts from the record must not bring the separators of the exam text with them.
std::u16string WithoutMarks(std::u16string_view text) {
    std::u16string clean;
    clean.reserve(text.size());
    for (char16_t c : text) {
        if (c != kExamItemEnd && c != kExamValueMark && c != u'#') clean += c;
    }
    return clean;
}

std::u16string DayHeader(DayNumber day) {
    return u"#J" + ToText(day) + kExamItemEnd;
}

}  // namespace

std::u16string AdmissionExamLine(const PatientRecord& record, const Labels& labels) {
    if (record.subfolderType != kHospitalisation) return {};
    bool any = !record.Field(kLaboField).empty() || !record.Field(kGasoField).empty();
    for (int field : kLineFields) any = any || !record.Field(field).empty();
    if (!any) return {};
    std::u16string line = WithoutMarks(record.Field(kLaboField)) + kExamItemEnd +
                          WithoutMarks(record.Field(kGasoField)) + kExamItemEnd;
    bool first = true;
    for (int field : kLineFields) {
        if (!first) line += kExamItemEnd;
        first = false;
        line += WithoutMarks(labels.Caption(field)) + u"=" + WithoutMarks(record.Field(field));
    }
    const std::u16string end(1, kExamItemEnd);
    line = ReplaceAll(line, u"\r\n-", end);
    line = ReplaceAll(line, u"\r\n", end);
    line = ReplaceAll(line, end + u"-", end);
    line = ReplaceAll(line, u"==", u"=");
    return line;
}

GatheredExams GatherExamText(const PatientRecord& record, const std::vector<DayNumber>& shownDays,
                             std::u16string_view admissionLine) {
    GatheredExams gathered;
    JournalReader reader(record.problemJournal);
    std::vector<JournalReader::DayBlock> blocks = reader.DayBlocks();
    int problems = reader.ProblemCount();
    bool pending = !admissionLine.empty();
    const std::u16string end(1, kExamItemEnd);
    constexpr int kStatus = static_cast<int>(Section::Status);
    constexpr int kExaminations = static_cast<int>(Section::Examinations);
    for (DayNumber day : shownDays) {
        auto block = std::lower_bound(
            blocks.begin(), blocks.end(), day,
            [](const JournalReader::DayBlock& b, DayNumber d) { return b.day < d; });
        bool hasBlock = block != blocks.end() && block->day == day;
        bool admissionDay = pending && day == record.admissionDay;
        if (!hasBlock && !admissionDay) continue;
        // The admission line is gathered even when the journal has no problem yet.
        int count = admissionDay ? std::max(problems, 1) : problems;
        std::u16string dayText;
        for (int p = 0; p < count; ++p) {
            Sections entry = hasBlock ? reader.GetEntry(block->span, p) : Sections{};
            bool empty = std::all_of(entry.begin(), entry.end(),
                                     [](const std::u16string& s) { return s.empty(); });
            if (empty && !(pending && day == record.admissionDay)) continue;
            std::u16string t =
                WithoutMarks(entry[kExaminations]) + end + WithoutMarks(entry[kStatus]);
            if (pending && day == record.admissionDay) {
                t = std::u16string(admissionLine) + end + t;
                pending = false;
            }
            if (t == end) continue;
            Collapse(t, u"  ", u" ");
            t = ReplaceAll(t, u"\r\n-", end);
            t = ReplaceAll(t, u"\r\n", end);
            if (!t.empty() && t.front() == u'-') t.erase(0, 1);
            dayText += t + end;
        }
        if (dayText.empty()) continue;
        gathered.text += DayHeader(day) + dayText;
        gathered.days.push_back(day);
    }
    const std::u16string twice = end + end;
    const std::u16string bullet = end + u"-";
    while (true) {
        bool changed = false;
        for (auto [from, to] : {std::pair<std::u16string_view, std::u16string_view>{twice, end},
                                {u"--", u"-"},
                                {bullet, end}}) {
            if (gathered.text.find(from) == std::u16string::npos) continue;
            Collapse(gathered.text, from, to);
            changed = true;
        }
        if (!changed) break;
    }
    return gathered;
}

std::u16string MarkExamValues(std::u16string_view text) {
    constexpr size_t npos = std::u16string_view::npos;
    std::u16string out;
    out.reserve(text.size() + text.size() / 4);
    // Brackets opened and not yet closed on the current line: a number inside one (a reference
    // range, a comment) is not the line's value, unless it follows the "(" directly.
    int openBrackets = 0;
    size_t i = 0;
    while (i < text.size()) {
        char16_t c = text[i];
        if (c == u'#') {
            // A day header is copied as it is.
            size_t stop = text.find(kExamItemEnd, i);
            size_t next = stop == npos ? text.size() : stop + 1;
            out.append(text.substr(i, next - i));
            openBrackets = 0;
            i = next;
            continue;
        }
        // "<5", ">1000": a result beyond a limit keeps its sign.
        const bool limit = (c == u'<' || c == u'>') && i + 1 < text.size() &&
                           text[i + 1] >= u'0' && text[i + 1] <= u'9';
        if (!limit && !In(kValueStart, c)) {
            if (c == kExamItemEnd) openBrackets = 0;
            if (c == u'(') ++openBrackets;
            if (c == u')' && openBrackets > 0) --openBrackets;
            out += c;
            ++i;
            continue;
        }
        const size_t lineEnd = text.find(kExamItemEnd, i);
        bool starts = out.empty() || In(kBeforeValue, out.back());
        if (!starts) {
            if (lineEnd == npos) {
                // No item end after this point: the rest is copied unmarked.
                out.append(text.substr(i));
                break;
            }
            // Digits only up to the item's end.
            size_t digits = i;
            while (text[digits] >= u'0' && text[digits] <= u'9') ++digits;
            starts = digits > i && text[digits] == kExamItemEnd;
        }
        if (starts && openBrackets > 0 && out.back() != u'(') starts = false;
        if (!starts) {
            out += c;
            ++i;
            continue;
        }
        size_t valueEnd = i + 1;
        while (valueEnd < text.size() && In(kValueCharacters, text[valueEnd])) ++valueEnd;
        if (valueEnd - i > 1 && (text[valueEnd - 1] == u',' || text[valueEnd - 1] == u'.')) {
            --valueEnd;
        }
        out += kExamValueMark;
        out.append(text.substr(i, valueEnd - i));
        out += kExamItemEnd;
        openBrackets = 0;
        // What follows the value is read up to the end of its own line, never further: a
        // bracket or a stop written on a later line or day changes nothing here.
        std::u16string_view rest = text.substr(valueEnd);
        const size_t restEnd = rest.find(kExamItemEnd);
        const std::u16string_view line = rest.substr(0, restEnd);
        const size_t bracket = line.find(u'(');
        if (restEnd != npos && (bracket == npos || bracket < kBracketNear)) {
            // The rest of the line after a value (unit, comment, another value) is dropped.
            i = valueEnd + restEnd + 1;
            continue;
        }
        size_t stop = line.find_first_of(u",.(");
        if (stop == npos) {
            if (restEnd == npos) {
                // The text's last line, without an end: copied as it is.
                i = valueEnd;
                continue;
            }
            stop = restEnd;
        }
        // A long text before the next stop: prose, the item is made too long to be kept.
        if (stop > kLongTail) out.insert(out.size() - 1, kTooLongMark, u'x');
        i = valueEnd + stop + 1;
    }
    out = RemoveAll(out, u' ');
    out = RemoveAll(out, u'=');
    const std::u16string end(1, kExamItemEnd);
    for (std::u16string_view before : {u",", u".", u"+", u"/", u"-", u"\u00A2"}) {
        Collapse(out, std::u16string(before) + end, end);
    }
    return out;
}

}  // namespace pondrel
