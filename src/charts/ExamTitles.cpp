#include "charts/ExamTitles.h"

#include "platform/Text.h"

namespace pondrel {

std::vector<std::u16string> SplitExamTitles(std::u16string_view text) {
    std::vector<std::u16string> titles;
    size_t start = 0;
    while (start < text.size() && titles.size() < kMaxExamTitles) {
        size_t bar = text.find(u'|', start);
        if (bar == std::u16string_view::npos) bar = text.size();
        titles.emplace_back(text.substr(start, bar - start));
        start = bar + 1;
    }
    return titles;
}

std::u16string JoinExamTitles(const std::vector<std::u16string>& titles) {
    std::u16string text;
    for (const std::u16string& title : titles) text += title + u"|";
    return text;
}

std::vector<std::u16string_view> AliasesOf(std::u16string_view title) {
    std::vector<std::u16string_view> aliases;
    size_t start = 0;
    while (true) {
        size_t comma = title.find(u',', start);
        if (comma == std::u16string_view::npos) {
            aliases.push_back(title.substr(start));
            return aliases;
        }
        aliases.push_back(title.substr(start, comma - start));
        start = comma + 1;
    }
}

std::u16string_view ShownTitle(std::u16string_view title) {
    size_t comma = title.find(u',');
    return comma == std::u16string_view::npos || comma == 0 ? title : title.substr(0, comma);
}

std::u16string ExamNameKey(std::u16string_view name) {
    std::u16string key = FoldCase(RemoveAll(name, u' '));
    // "°", and "º" that keyboards without the degree sign give in its place.
    while (!key.empty() && (key.back() == u'\u00B0' || key.back() == u'\u00BA')) key.pop_back();
    return key;
}

bool ExamNameMatches(std::u16string_view name, std::u16string_view alias) {
    // Names in the exam text have lost their blanks; aliases are compared without theirs. A
    // longer name is another analyte ("Creatinine clearance", "Proteinuria"): only the same
    // name counts. A name that is nothing but a degree sign is no exam.
    std::u16string key = ExamNameKey(name);
    return !key.empty() && key == ExamNameKey(alias);
}

bool ExamNameMatchesTitle(std::u16string_view name, std::u16string_view title) {
    for (std::u16string_view alias : AliasesOf(title)) {
        if (ExamNameMatches(name, alias)) return true;
    }
    return false;
}

}  // namespace pondrel
