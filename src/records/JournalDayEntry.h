#pragma once

#include <array>
#include <string>

#include "records/DayNumber.h"

namespace pondrel {

// The six sections of a problem entry: Anamnesia, Status, Examinations, Medicine, Other and
// Attitude.
using JournalSections = std::array<std::u16string, 6>;

// The journal's set-entry rule for the day blocks, as the conversion of old patient files needs
// it (the journal editor has the complete journal operations). Stores the entry of `problem` on
// `day` into `journal`: "#", "§" and "|" are removed from the sections; an entry whose six
// sections are all empty is not stored (returns false); a missing day block is created before the
// first block of a later day; a new entry is placed in problem-number order; an existing entry
// is replaced, so that it reads problem|s0|s1|s2|s3|s4|s5|. Problem headers are not touched.
bool SetJournalDayEntry(std::u16string& journal, DayNumber day, int problem,
                        const JournalSections& sections);

}  // namespace pondrel
