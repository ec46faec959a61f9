#include "journal/ui/PanelWords.h"

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

PanelWords PanelWords::From(const Labels& labels) {
    PanelWords words;
    words.journal = JournalWordsFrom(labels);

    Take(words.title, labels.Caption(87));
    Take(words.differentialDiagnosis, labels.Caption(86));
    Take(words.redaction, labels.Caption(199));
    for (size_t i = 0; i < words.sections.size(); ++i) {
        Take(words.sections[i], labels.Caption(88 + static_cast<int>(i)));
    }
    Take(words.admission, labels.Label(137));
    Take(words.other, labels.Label(133));
    return words;
}

}  // namespace pondrel
