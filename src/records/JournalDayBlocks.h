#pragma once

#include <map>
#include <string>

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

}  // namespace pondrel
