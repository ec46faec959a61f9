#include "journal/MonthCalendar.h"

#include <algorithm>

#include "journal/JournalDays.h"
#include "journal/JournalFormat.h"

namespace pondrel {

MonthCalendar::Grid MonthCalendar::MonthGrid(int year, int month, int firstWeekday,
                                             const std::vector<DayNumber>& entryDays,
                                             DayNumber currentDay, DayNumber today) {
    StepMonth(year, month, 0);
    DayNumber first = DayNumberOf(year, month, 1);
    int lead = (WeekdayOf(first) - ((firstWeekday % 7 + 7) % 7) + 7) % 7;
    Grid grid;
    DayNumber day = first - lead;
    for (auto& week : grid) {
        for (auto& cell : week) {
            DateTime date = DateOfDay(day);
            cell.day = day;
            cell.dayOfMonth = date.day;
            cell.inMonth = date.month == month && date.year == year;
            cell.bold = std::binary_search(entryDays.begin(), entryDays.end(), day);
            cell.current = day == currentDay;
            cell.today = day == today;
            ++day;
        }
    }
    return grid;
}

std::vector<DayNumber> MonthCalendar::BoldDays(const std::vector<DayNumber>& entryDays,
                                               DayNumber firstDay) {
    DateTime start = DateOfDay(firstDay);
    int firstMonth = start.year * 12 + start.month - 1;
    std::vector<DayNumber> bold;
    auto from = std::lower_bound(entryDays.begin(), entryDays.end(), firstDay);
    const long long lastDay = static_cast<long long>(firstDay) + 90;
    for (auto it = from; it != entryDays.end() && *it <= lastDay; ++it) {
        DateTime date = DateOfDay(*it);
        int monthIndex = date.year * 12 + date.month - 1;
        if (monthIndex - firstMonth < 3) bold.push_back(*it);
    }
    return bold;
}

void MonthCalendar::StepMonth(int& year, int& month, int step) {
    long long index = static_cast<long long>(year) * 12 + (month - 1) + step;
    index = std::clamp(index, 1900LL * 12, 9999LL * 12 + 11);
    year = static_cast<int>(index / 12);
    month = static_cast<int>(index % 12) + 1;
}

bool MonthCalendar::IsSelectable(int year, int month, int day) {
    if (!IsValid(DateTime{year, month, day, 0, 0, 0})) return false;
    DayNumber n = DayNumberOf(year, month, day);
    return n >= kFirstJournalDay && n <= kLastJournalDay;
}

}  // namespace pondrel
