#pragma once

// The DAY and PROBLEM arguments of the journal commands.

#include <optional>
#include <string_view>

#include "records/DayNumber.h"

namespace pondrel::tool {

// A day number in decimal (days since 1 January 2000, negative before), within the days a
// journal holds (1 January 1900 to 31 December 9999). Nothing but an optional "-" and digits.
std::optional<DayNumber> ParseDayArgument(std::string_view text);
// A date "YYYY-MM-DD" that exists in the calendar; none otherwise.
std::optional<DateTime> ParseDateArgument(std::string_view text);
// The day of a date "YYYY-MM-DD" within the days a journal holds.
std::optional<DayNumber> ParseDayDateArgument(std::string_view text);
// A 0-based problem number, 0 to 99, in decimal digits.
std::optional<int> ParseProblemArgument(std::string_view text);
// A write to a problem beyond the first free number was refused: says so on stderr, returns 1.
int NoSuchProblem(int problemCount);

}  // namespace pondrel::tool
