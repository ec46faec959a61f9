#include "journal/SectionHistory.h"

#include <algorithm>

#include "journal/JournalDays.h"
#include "journal/JournalReader.h"
#include "journal/JournalWords.h"
#include "platform/Text.h"

namespace pondrel {

namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

std::u16string Trim(std::u16string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return std::u16string(text.substr(begin, end - begin));
}

bool AddRow(std::vector<std::u16string>& rows, std::u16string row) {
    if (static_cast<int>(rows.size()) >= kMaxHistoryLines) return false;
    rows.push_back(std::move(row));
    return true;
}

}  // namespace

std::vector<std::u16string> SectionHistory::Lines(std::u16string_view text) {
    std::u16string flat = ReplaceAll(text, u"\r\n", u"\n");
    std::vector<std::u16string> lines;
    for (auto& raw : Split(flat, u'\n')) {
        std::u16string line = Trim(raw);
        if (!line.empty() && line[0] == u'-') line = Trim(line.substr(1));
        for (bool again = true; again;) {
            std::u16string before = line;
            line = ReplaceAll(line, u" .", u".");
            line = ReplaceAll(line, u",.", u".");
            line = ReplaceAll(line, u"..", u".");
            again = line != before;
        }
        line = Trim(line);
        if (!line.empty()) lines.push_back(std::move(line));
    }
    return lines;
}

bool SectionHistory::IsEnabled(const JournalReader& reader, const SectionHistoryInput& input,
                               Section section) {
    if (section == Section::Examinations) {
        for (const auto& exam : input.admissionExams) {
            if (!exam.second.empty()) return true;
        }
    }
    if (!input.entryDays) return false;
    DayNumber from = input.ambulatory ? input.historyStartDay : input.admissionDay;
    for (DayNumber day : *input.entryDays) {
        if (day < from) continue;
        if (!reader.GetSection(day, input.problem, static_cast<int>(section)).empty()) return true;
    }
    return false;
}

std::vector<std::u16string> SectionHistory::Rows(const JournalReader& reader,
                                                 const SectionHistoryInput& input, Section section,
                                                 const JournalWords& words) {
    std::vector<std::u16string> rows;
    if (section == Section::Medicine) {
        for (auto& line : Lines(input.usualDrugs)) AddRow(rows, u"Usual: " + line);
    }
    bool exams = section == Section::Examinations;
    if (exams) {
        std::u16string stamp = u"|Adm " + DateStamp(input.admissionDay, input.dateOrder) + u" ";
        for (const auto& [label, text] : input.admissionExams) {
            for (auto& line : Lines(text)) AddRow(rows, stamp + label + u": " + line);
        }
    }
    if (input.entryDays) {
        for (DayNumber day : *input.entryDays) {
            if (day < input.historyStartDay) continue;
            if (static_cast<int>(rows.size()) >= kMaxHistoryLines) break;
            std::u16string stamp = (exams ? u"|" : u"") + DateStamp(day, input.dateOrder) + u": ";
            auto text = reader.GetSection(day, input.problem, static_cast<int>(section));
            for (auto& line : Lines(text)) {
                if (!AddRow(rows, stamp + line)) break;
            }
        }
    }
    if (section == Section::Medicine || section == Section::Attitude) {
        rows.push_back(words.stop);
        rows.push_back(words.oneTime);
    }
    return rows;
}

SectionHistory::Choice SectionHistory::Choose(std::u16string_view row, Section section,
                                              std::u16string_view sectionText,
                                              const JournalWords& words) {
    Choice choice;
    bool marks = section == Section::Medicine || section == Section::Attitude;
    if (marks && (row == words.stop || row == words.oneTime)) {
        choice.atCaret = true;
        choice.text = u" (" + std::u16string(row) + u")";
        return choice;
    }
    size_t colon = row.find(u':');
    return AtEnd(sectionText,
                 Trim(colon == std::u16string_view::npos ? row : row.substr(colon + 1)));
}

SectionHistory::Choice SectionHistory::AtEnd(std::u16string_view sectionText, std::u16string text) {
    Choice choice;
    choice.text = std::move(text);
    std::u16string section(sectionText);
    while (!section.empty() &&
           (IsBlank(section.back()) || section.back() == u'\r' || section.back() == u'\n')) {
        section.pop_back();
    }
    choice.newLine = !section.empty() && section.back() != u'-';
    choice.section = std::move(section);
    return choice;
}

std::u16string SectionHistory::BulletEveryLine(std::u16string_view text) {
    std::u16string lines = ReplaceAll(text, u"\r\n-", u"\r\n");
    lines = ReplaceAll(lines, u"\r\n", u"\r\n-");
    if (lines.empty() || lines[0] != u'-') lines.insert(lines.begin(), u'-');
    return lines;
}

SectionHistory::Insertion SectionHistory::Insert(const Choice& choice,
                                                 std::u16string_view sectionText, size_t caret) {
    Insertion result;
    if (choice.atCaret) {
        caret = std::min(caret, sectionText.size());
        result.text = std::u16string(sectionText.substr(0, caret)) + choice.text +
                      std::u16string(sectionText.substr(caret));
        result.caret = caret + choice.text.size();
        return result;
    }
    result.text = choice.newLine ? BulletEveryLine(choice.section + u"\r\n") : choice.section;
    result.text += choice.text;
    result.caret = result.text.size();
    return result;
}

}  // namespace pondrel
