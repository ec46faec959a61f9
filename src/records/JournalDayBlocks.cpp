#include "records/JournalDayBlocks.h"

namespace pondrel {

namespace {

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

}  // namespace

bool JournalDayBlocks::Set(DayNumber day, int problem, const Sections& sections) {
    Sections clean;
    bool allEmpty = true;
    for (size_t i = 0; i < sections.size(); ++i) {
        clean[i] = CleanSection(sections[i]);
        allEmpty = allEmpty && clean[i].empty();
    }
    if (allEmpty) return false;
    m_days[day][problem] = std::move(clean);
    return true;
}

std::u16string JournalDayBlocks::Text() const {
    std::u16string text;
    for (const auto& [day, entries] : m_days) {
        text += DayBlockOpening(day);
        bool first = true;
        for (const auto& [problem, sections] : entries) {
            // The first entry follows the block's own "§".
            if (!first) text += kJournalEntryMark;
            first = false;
            text += ToText(problem);
            text += EntryBody(sections);
        }
    }
    return text;
}

std::array<std::vector<IndexedEntry>, kMaxProblems> IndexJournalEntries(std::u16string_view days) {
    constexpr size_t kNone = std::u16string_view::npos;
    std::array<std::vector<IndexedEntry>, kMaxProblems> entries;
    long long day = 0;
    for (size_t pos = 0; pos < days.size(); ++pos) {
        if (days[pos] == kJournalDayMark) {
            day = ParseInt(days.substr(pos + 1));
            continue;
        }
        if (days[pos] != kJournalEntryMark) continue;
        size_t bar = pos + 1;
        while (bar < days.size() && bar < pos + 4 && IsDigit(days[bar])) ++bar;
        const size_t digits = bar - pos - 1;
        if (digits == 0 || digits > 2 || (digits == 2 && days[pos + 1] == u'0') ||
            bar >= days.size() || days[bar] != kJournalFieldSep) {
            continue;
        }
        const size_t begin = bar + 1;
        size_t end = begin;
        while (end < days.size() && days[end] != kJournalDayMark &&
               days[end] != kJournalEntryMark) {
            ++end;
        }
        std::u16string_view entry =
            end > begin ? days.substr(begin, end - begin - 1) : std::u16string_view();
        IndexedEntry indexed{day, {}};
        size_t start = 0;
        for (size_t i = 0; i < indexed.sections.size(); ++i) {
            size_t sep =
                i + 1 < indexed.sections.size() ? entry.find(kJournalFieldSep, start) : kNone;
            if (start <= entry.size()) {
                indexed.sections[i] = entry.substr(start, sep == kNone ? kNone : sep - start);
            }
            if (sep == kNone) break;
            start = sep + 1;
        }
        int number = days[pos + 1] - u'0';
        if (digits == 2) number = number * 10 + (days[pos + 2] - u'0');
        entries[static_cast<size_t>(number)].push_back(std::move(indexed));
        pos = end - 1;  // nothing between holds a "#" or "§"
    }
    return entries;
}

}  // namespace pondrel
