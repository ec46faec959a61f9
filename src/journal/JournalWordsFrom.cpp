#include "journal/JournalWords.h"
#include "labels/Labels.h"

namespace pondrel {

void TakeLabelWord(std::u16string& word, const std::u16string& value) {
    if (value.empty()) return;
    word = value;
    std::erase(word, u'\t');
}

JournalWords JournalWordsFrom(const Labels& labels) {
    JournalWords j;
    TakeLabelWord(j.start, labels.Label(121));
    TakeLabelWord(j.stop, labels.Label(122));
    TakeLabelWord(j.dayLetter, labels.Label(124));
    TakeLabelWord(j.empty, labels.Label(126));
    TakeLabelWord(j.now, labels.Label(127));
    TakeLabelWord(j.solved, labels.Label(128));
    TakeLabelWord(j.problemNumber, labels.Label(167));
    TakeLabelWord(j.active, labels.Label(170));
    TakeLabelWord(j.problem, labels.Label(172));
    TakeLabelWord(j.closed, labels.Label(177));
    TakeLabelWord(j.oneTime, labels.Label(187));
    static constexpr int kExamFields[] = {79, 80, 81, 82, 83, 84, 85, 20};
    for (size_t i = 0; i < j.admissionExamCaptions.size(); ++i) {
        TakeLabelWord(j.admissionExamCaptions[i], labels.Caption(kExamFields[i]));
    }
    for (size_t i = 0; i < j.weekdays.size(); ++i)
        TakeLabelWord(j.weekdays[i], labels.weekdayNames[i]);
    for (size_t i = 0; i < j.months.size(); ++i) TakeLabelWord(j.months[i], labels.monthNames[i]);
    for (size_t i = 0; i < j.shortMonths.size(); ++i) {
        TakeLabelWord(j.shortMonths[i], labels.shortMonthNames[i]);
    }
    return j;
}

}  // namespace pondrel
