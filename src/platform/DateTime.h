#pragma once

#include <cstdint>

namespace pondrel {

// A calendar date and time of day, as the handheld kept it: local time, whole seconds.
struct DateTime {
    int year = 2000;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;

    friend bool operator==(const DateTime&, const DateTime&) = default;
};

// Days since 1 January 1970 of a proleptic Gregorian date (any month/day values are normalised
// arithmetically, so 31 February is 3 March).
int64_t DaysFromCivil(int year, int month, int day);
// Inverse of DaysFromCivil.
void CivilFromDays(int64_t days, int& year, int& month, int& day);

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
// 1..366
int DayOfYear(const DateTime& t);
// 0 = Sunday .. 6 = Saturday
int DayOfWeek(int year, int month, int day);
// True when the fields form a real date and time of day.
bool IsValid(const DateTime& t);

// Seconds since 1 January 1970 00:00:00 of the date-time taken as a plain calendar value.
int64_t ToSeconds(const DateTime& t);
DateTime FromSeconds(int64_t seconds);

}  // namespace pondrel
