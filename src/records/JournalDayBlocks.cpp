#include "records/JournalDayBlocks.h"

namespace pondrel {

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

}  // namespace pondrel
