#pragma once

#include <string>

#include "platform/DateTime.h"

namespace pondrel {

// Whole days since 1 January 2000 (day 0).
using DayNumber = int;

// The day of a date-time: its calendar day, whatever the time (before 2000 too).
DayNumber DayNumberOf(const DateTime& t);
// The day of a calendar date (exact for every date, before 2000 too).
DayNumber DayNumberOf(int year, int month, int day);
// The calendar date of a day, at midnight.
DateTime DateOfDay(DayNumber day);

enum class DateOrder { DayMonthYear, MonthDayYear };

// "%d.%d.%d" without leading zeros, day first or month first.
std::u16string DisplayDate(int year, int month, int day, DateOrder order = DateOrder::DayMonthYear);
std::u16string DisplayDate(DayNumber day, DateOrder order = DateOrder::DayMonthYear);

// The six numbers of a subfolder date-time, each followed by ",".
std::u16string SubfolderDateTimeText(const DateTime& t);
// Reads the first six comma-separated numbers of a text; missing numbers read as 0.
DateTime ParseSubfolderDateTime(std::u16string_view text);

}  // namespace pondrel
