#include "platform/DateTime.h"

namespace pondrel {

// Howard Hinnant's days_from_civil algorithm.
int64_t DaysFromCivil(int year, int month, int day) {
    int64_t y = year;
    int64_t m = month;
    // Normalise the month first so that month values outside 1..12 still give a date.
    y += (m - 1) >= 0 ? (m - 1) / 12 : -((12 - m) / 12);
    m = ((m - 1) % 12 + 12) % 12 + 1;
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + 1 - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 + (int64_t{day} - 1);
}

void CivilFromDays(int64_t days, int& year, int& month, int& day) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t doe = days - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t y = yoe + era * 400;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(y + (month <= 2));
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

int DayOfYear(const DateTime& t) {
    return static_cast<int>(DaysFromCivil(t.year, t.month, t.day) - DaysFromCivil(t.year, 1, 1)) +
           1;
}

int DayOfWeek(int year, int month, int day) {
    int64_t d = DaysFromCivil(year, month, day);  // 1 January 1970 was a Thursday
    return static_cast<int>(((d % 7) + 7 + 4) % 7);
}

bool IsValid(const DateTime& t) {
    return t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= DaysInMonth(t.year, t.month) &&
           t.hour >= 0 && t.hour < 24 && t.minute >= 0 && t.minute < 60 && t.second >= 0 &&
           t.second < 60;
}

int64_t ToSeconds(const DateTime& t) {
    return DaysFromCivil(t.year, t.month, t.day) * 86400 + int64_t{t.hour} * 3600 +
           int64_t{t.minute} * 60 + t.second;
}

DateTime FromSeconds(int64_t seconds) {
    int64_t days = seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
    int64_t rest = seconds - days * 86400;
    DateTime t;
    CivilFromDays(days, t.year, t.month, t.day);
    t.hour = static_cast<int>(rest / 3600);
    t.minute = static_cast<int>((rest / 60) % 60);
    t.second = static_cast<int>(rest % 60);
    return t;
}

}  // namespace pondrel
