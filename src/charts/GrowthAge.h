#pragma once

// Ages for the growth curves: the birth date of a record, its gestation at birth and the
// corrected age (months from the term date, 40 weeks of gestation).

#include <optional>
#include <string_view>

#include "platform/DateTime.h"

namespace pondrel {

struct PatientRecord;

// Weeks and days of gestation at birth read from field 203 ("32+3", "32 weeks 3 days"): the
// first number is the weeks, the next the days. Below 20 weeks, above 36 weeks or without a
// number the child counts as born at term (40 + 0); days above 6 count as 0.
struct Gestation {
    int weeks = 40;
    int days = 0;
};
Gestation GestationOf(std::u16string_view text);

// The birth date-time: the birth date of fields 4, 5 and 6 (BirthDateOf: month and day 1 when
// their field is empty) at 00:00:01. None when that is not a real date.
std::optional<DateTime> BirthDateTime(const PatientRecord& record);

// Whole days from the birth date-time to `date`, truncated toward zero.
std::optional<long long> DaysSinceBirth(const PatientRecord& record, const DateTime& date);

// The corrected age in months at `date`: 12 months per whole 365 days plus the remaining days
// / 30.5, less the weeks and days born before term. None when the birth date or `date` is not
// a real date.
std::optional<float> CorrectedAge(const PatientRecord& record, const DateTime& date);

// The patient's age at `now` in years of 365 days; none when the birth date is not a real date.
std::optional<double> AgeInYears(const PatientRecord& record, const DateTime& now);

// Children are judged against the curves up to this age in years.
inline constexpr double kGrowthCurveMaxYears = 18.0;

}  // namespace pondrel
