#pragma once

// The month calendar of the day navigation: a month as a grid of weeks, with the entry days in
// bold, and the bold days the calendar asks for three months at a time.

#include <array>
#include <vector>

#include "records/DayNumber.h"

namespace pondrel {

class MonthCalendar {
public:
    struct Cell {
        DayNumber day = 0;
        int dayOfMonth = 1;
        bool inMonth = false;  // false for the days of the previous and next months
        bool bold = false;     // an entry day
        bool current = false;  // the current day of the editor
        bool today = false;
    };
    // Six weeks of seven days, starting with the week that holds the 1st.
    using Grid = std::array<std::array<Cell, 7>, 6>;

    // `firstWeekday`: 0 = Sunday .. 6 = Saturday. `entryDays` ascending.
    static Grid MonthGrid(int year, int month, int firstWeekday,
                          const std::vector<DayNumber>& entryDays, DayNumber currentDay,
                          DayNumber today);

    // The entry days from `firstDay` up to 90 days after it that fall in the month of
    // `firstDay` or one of the two months after it.
    static std::vector<DayNumber> BoldDays(const std::vector<DayNumber>& entryDays,
                                           DayNumber firstDay);

    // The month shown after or before (year, month), clamped to January 1900 .. December 9999.
    static void StepMonth(int& year, int& month, int step);
    // True for a real date from 1 January 1900 to 31 December 9999, the dates it offers.
    static bool IsSelectable(int year, int month, int day);
};

}  // namespace pondrel
