#include "records/DayNumber.h"

#include "platform/Text.h"

namespace pondrel {

namespace {
const int64_t kDay0 = DaysFromCivil(2000, 1, 1);
}

DayNumber DayNumberOf(int year, int month, int day) {
    return static_cast<DayNumber>(DaysFromCivil(year, month, day) - kDay0);
}

DayNumber DayNumberOf(const DateTime& t) {
    // The difference to 1 January 2000 00:00:00 in days, truncated toward zero: the same as the
    // calendar day from 2000 on; a time before 2000 counts toward day 0.
    int64_t seconds = ToSeconds(t) - kDay0 * 86400;
    return static_cast<DayNumber>(seconds / 86400);
}

DateTime DateOfDay(DayNumber day) {
    DateTime t;
    CivilFromDays(kDay0 + day, t.year, t.month, t.day);
    return t;
}

std::u16string DisplayDate(int year, int month, int day, DateOrder order) {
    if (order == DateOrder::MonthDayYear) return Format(u"%d.%d.%d", {month, day, year});
    return Format(u"%d.%d.%d", {day, month, year});
}

std::u16string DisplayDate(DayNumber day, DateOrder order) {
    DateTime t = DateOfDay(day);
    return DisplayDate(t.year, t.month, t.day, order);
}

std::u16string SubfolderDateTimeText(const DateTime& t) {
    return Format(u"%d,%d,%d,%d,%d,%d,", {t.year, t.month, t.day, t.hour, t.minute, t.second});
}

DateTime ParseSubfolderDateTime(std::u16string_view text) {
    int numbers[6] = {0, 0, 0, 0, 0, 0};
    size_t pos = 0;
    for (int i = 0; i < 6 && pos <= text.size(); ++i) {
        size_t comma = text.find(u',', pos);
        std::u16string_view part = text.substr(
            pos, comma == std::u16string_view::npos ? std::u16string_view::npos : comma - pos);
        numbers[i] = ParseInt(part);
        if (comma == std::u16string_view::npos) break;
        pos = comma + 1;
    }
    return DateTime{numbers[0], numbers[1], numbers[2], numbers[3], numbers[4], numbers[5]};
}

}  // namespace pondrel
