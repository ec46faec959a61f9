#include "journal/JournalWords.h"
#include "labels/Labels.h"

namespace pondrel {

namespace {

// A caption as one line: the labels file may break a caption with a tab ("Radio\tgraphic").
std::u16string OneLine(std::u16string text) {
    std::erase(text, u'\t');
    return text;
}

void Take(std::u16string& word, const std::u16string& value) {
    if (!value.empty()) word = OneLine(value);
}

}  // namespace

JournalWords JournalWordsFrom(const Labels& labels) {
    JournalWords j;
    Take(j.start, labels.Label(121));
    Take(j.stop, labels.Label(122));
    Take(j.dayLetter, labels.Label(124));
    Take(j.empty, labels.Label(126));
    Take(j.now, labels.Label(127));
    Take(j.solved, labels.Label(128));
    Take(j.problemNumber, labels.Label(167));
    Take(j.active, labels.Label(170));
    Take(j.problem, labels.Label(172));
    Take(j.closed, labels.Label(177));
    Take(j.oneTime, labels.Label(187));
    static constexpr int kExamFields[] = {79, 80, 81, 82, 83, 84, 85, 20};
    for (size_t i = 0; i < j.admissionExamCaptions.size(); ++i) {
        Take(j.admissionExamCaptions[i], labels.Caption(kExamFields[i]));
    }
    for (size_t i = 0; i < j.weekdays.size(); ++i) Take(j.weekdays[i], labels.weekdayNames[i]);
    for (size_t i = 0; i < j.months.size(); ++i) Take(j.months[i], labels.monthNames[i]);
    for (size_t i = 0; i < j.shortMonths.size(); ++i) {
        Take(j.shortMonths[i], labels.shortMonthNames[i]);
    }
    return j;
}

}  // namespace pondrel
