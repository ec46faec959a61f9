#include "journal/ui/PanelWords.h"

#include "labels/Labels.h"

namespace pondrel {

PanelWords PanelWords::From(const Labels& labels) {
    PanelWords words;
    words.journal = JournalWordsFrom(labels);

    TakeLabelWord(words.title, labels.Caption(87));
    TakeLabelWord(words.differentialDiagnosis, labels.Caption(86));
    TakeLabelWord(words.redaction, labels.Caption(199));
    for (size_t i = 0; i < words.sections.size(); ++i) {
        TakeLabelWord(words.sections[i], labels.Caption(88 + static_cast<int>(i)));
    }
    TakeLabelWord(words.admission, labels.Label(137));
    TakeLabelWord(words.other, labels.Label(133));
    return words;
}

}  // namespace pondrel
