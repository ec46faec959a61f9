#pragma once

// The history period of a patient: the list of period names and the first day each one shows.

#include <string>
#include <vector>

#include "records/DayNumber.h"

namespace pondrel {

class HistoryPeriod {
public:
    // The rows of the period list, separators included, in display order.
    static const std::vector<std::u16string>& Names();
    // The separator rows only close the list.
    static bool IsSeparator(std::u16string_view name);
    // The name an empty period stands for: "All hospitalization" or "5 meetings before".
    static std::u16string EffectiveName(std::u16string_view name, bool ambulatory);

    // The first day of the period. `entryDays` ascending; `currentDay` is used only when there
    // is no entry day at all. Unknown names count as "5 meetings before".
    static DayNumber StartDay(std::u16string_view name, bool ambulatory, DayNumber today,
                              DayNumber admissionDay, const std::vector<DayNumber>& entryDays,
                              DayNumber currentDay);
};

}  // namespace pondrel
