#pragma once

// Day arithmetic and day texts of the journal editor, on top of records/DayNumber.h.

#include <string>
#include <vector>

#include "records/DayNumber.h"

namespace pondrel {

struct JournalWords;
struct SubfolderDates;

// The day of a date-time's calendar date (its time of day ignored, exact before 2000 too).
DayNumber CalendarDayOf(const DateTime& t);
// 0 = Sunday .. 6 = Saturday.
int WeekdayOf(DayNumber day);
// The day at noon, the time the program gives to dates it makes up.
DateTime NoonOf(DayNumber day);
// The date of `day` with the time of day of `time`.
DateTime WithTimeOf(DayNumber day, const DateTime& time);

// Last two digits of the year, always two characters ("06").
std::u16string TwoDigitYear(int year);
// "3 Mar 06": day of month, short month name, two-digit year.
std::u16string ShortDayText(DayNumber day, const JournalWords& words);
// "Monday 13 March 2006": long weekday name, day of month, long month name, four-digit year.
std::u16string LongDayText(DayNumber day, const JournalWords& words);
// "13.3.06" when the date order is day first, "3.13.06" otherwise.
std::u16string DateStamp(DayNumber day, DateOrder order);

// The last day of a subfolder: today, or the exit day once an exit date is set.
DayNumber LastDayOf(const SubfolderDates& dates, DayNumber today);
// The first day of a subfolder: the admission day of a hospitalisation, the history start day
// of an ambulatory subfolder.
DayNumber FirstDayOf(const SubfolderDates& dates);

// The day list shows at most this many days of a hospitalisation, the last ones (about 55 years).
inline constexpr int kMaxDayRows = 20000;
// The days of the day list: every day from the admission day to the last day for a
// hospitalisation (the last kMaxDayRows), the entry days from the history start day for an
// ambulatory subfolder. `entryDays` ascending.
std::vector<DayNumber> ShownDayList(const SubfolderDates& dates,
                                    const std::vector<DayNumber>& entryDays, DayNumber today);

// The number of a hospital day counted from the admission day as day 1; there is no day 0,
// so the day before admission is -1.
int HospitalDayIndex(DayNumber day, DayNumber admissionDay);
// "D3 - Mo 15 Mar 06" for a hospitalisation, "Mo 15 Mar 06" otherwise.
std::u16string DateLabelText(DayNumber day, DayNumber admissionDay, bool hospitalisation,
                             const JournalWords& words);
// A row of the day list of a hospitalisation: "D" + " " + the row number padded to three
// characters + "- " or two blanks + the long day text.
std::u16string HospitalDayRow(int row, bool hasEntries, DayNumber day, const JournalWords& words);

}  // namespace pondrel
