#pragma once

// The checks of the identity fields: the birth year as it is typed, the birth date, and the
// identity (names and birth year) no two active patients may share.

#include <string>
#include <string_view>

namespace pondrel {

class PatientSet;
struct PatientRecord;

// The year field (6 or 124) after a change, typed in `currentYear`: only its first 4 characters
// are kept; a two-digit year other than 18, 19 and 20 gets its century ("19" when it is greater
// than the last two digits of the current year, else "20"); a year after the current one, or
// from 1000 to 1869, becomes empty. Shorter numbers (typing in progress) are kept.
std::u16string CheckedYear(std::u16string_view year, int currentYear);

enum class DatePart { Day, Month, Year };

// Whether the birth date typed so far may stand, after a change of its `changed` part: false
// when all three parts are filled in and the date does not exist, or the changed part is a
// day above 31 or a month above 12. A year of fewer than four digits is still being typed: only
// the day and the month are checked then (29 February stands).
bool BirthDateMayStand(std::u16string_view day, std::u16string_view month, std::u16string_view year,
                       DatePart changed);

// The identity of a patient as its file name will hold it: last name, first name (trailing
// spaces removed, as in the file name) and birth year, joined and compared ignoring case, since
// the file system matches names that way. Empty when all three are empty.
std::u16string IdentityKey(std::u16string_view lastName, std::u16string_view firstName,
                           std::u16string_view birthYear);

// Whether another record of the set than `record` has the identity of these three texts.
bool IsIdentityTaken(const PatientSet& patients, const PatientRecord& record,
                     std::u16string_view lastName, std::u16string_view firstName,
                     std::u16string_view birthYear);

}  // namespace pondrel
