#pragma once

#include <array>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "records/DayNumber.h"
#include "records/JournalFormat.h"

namespace pondrel {

// The day blocks of a journal built entry by entry, for writers that build a whole journal at
// once (the conversion of old patient files). Each entry is stored with the journal's set-entry
// rule: its sections are cleaned (CleanSection), an entry whose six sections are then all empty
// is not stored, a second entry of the same problem on the same day replaces the first, and the
// text lists the days in ascending order with the entries of each day in problem order. The
// cost of each entry does not depend on the size of the journal built so far.
class JournalDayBlocks {
public:
    // Stores the entry; false when its sections are all empty (nothing stored).
    bool Set(DayNumber day, int problem, const Sections& sections);
    // "#day§p|s0|...|s5|§q|...#day§..."; empty without entries.
    std::u16string Text() const;
    bool Empty() const { return m_days.empty(); }

private:
    std::map<DayNumber, std::map<int, Sections>> m_days;
};

// An entry of a journal's day blocks: the number after the last "#" before it (a day, or in a
// version 3.00 subfolder journal a day counted from the admission) and its six sections.
struct IndexedEntry {
    long long day;
    Sections sections;
};

// The entries of day blocks ("#" + day + "§" + entries), gathered in one pass by the number
// written in "§" + number + "|" (one or two digits, no leading zero), in text order. An entry
// runs from that "|" to the character before the next "#" or "§" (six sections without the
// closing "|").
std::array<std::vector<IndexedEntry>, kMaxProblems> IndexJournalEntries(std::u16string_view days);

}  // namespace pondrel
