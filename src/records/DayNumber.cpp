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
    // The calendar day of the date, whatever the time: one rule with the other day functions,
    // before 2000 too (31.12.1999 at noon is day -1).
    return DayNumberOf(t.year, t.month, t.day);
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
