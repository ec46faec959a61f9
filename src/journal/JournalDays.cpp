#include "journal/JournalDays.h"

#include <algorithm>

#include "journal/JournalWords.h"
#include "journal/SubfolderDates.h"
#include "platform/Text.h"

namespace pondrel {

DayNumber CalendarDayOf(const DateTime& t) {
    return DayNumberOf(t.year, t.month, t.day);
}

int WeekdayOf(DayNumber day) {
    // 1 January 2000 was a Saturday.
    long long w = (static_cast<long long>(day) + 6) % 7;
    return static_cast<int>(w < 0 ? w + 7 : w);
}

DateTime NoonOf(DayNumber day) {
    DateTime t = DateOfDay(day);
    t.hour = 12;
    return t;
}

DateTime WithTimeOf(DayNumber day, const DateTime& time) {
    DateTime t = DateOfDay(day);
    t.hour = time.hour;
    t.minute = time.minute;
    t.second = time.second;
    return t;
}

std::u16string TwoDigitYear(int year) {
    int yy = year % 100;
    if (yy < 0) yy += 100;
    std::u16string out;
    out += static_cast<char16_t>(u'0' + yy / 10);
    out += static_cast<char16_t>(u'0' + yy % 10);
    return out;
}

std::u16string ShortDayText(DayNumber day, const JournalWords& words) {
    DateTime t = DateOfDay(day);
    return ToText(t.day) + u" " + words.shortMonths[static_cast<size_t>(t.month - 1)] + u" " +
           TwoDigitYear(t.year);
}

std::u16string LongDayText(DayNumber day, const JournalWords& words) {
    DateTime t = DateOfDay(day);
    return words.weekdays[static_cast<size_t>(WeekdayOf(day))] + u" " + ToText(t.day) + u" " +
           words.months[static_cast<size_t>(t.month - 1)] + u" " + ToText(t.year);
}

std::u16string DateStamp(DayNumber day, DateOrder order) {
    DateTime t = DateOfDay(day);
    if (order == DateOrder::DayMonthYear) {
        return ToText(t.day) + u"." + ToText(t.month) + u"." + TwoDigitYear(t.year);
    }
    return ToText(t.month) + u"." + ToText(t.day) + u"." + TwoDigitYear(t.year);
}

DayNumber LastDayOf(const SubfolderDates& dates, DayNumber today) {
    return dates.exitDateSet == 1 ? CalendarDayOf(dates.exit) : today;
}

DayNumber FirstDayOf(const SubfolderDates& dates) {
    return dates.IsAmbulatory() ? dates.historyStartDay : dates.admissionDay;
}

std::vector<DayNumber> ShownDayList(const SubfolderDates& dates,
                                    const std::vector<DayNumber>& entryDays, DayNumber today) {
    std::vector<DayNumber> days;
    if (dates.IsAmbulatory()) {
        for (DayNumber day : entryDays) {
            if (day >= dates.historyStartDay) days.push_back(day);
        }
        return days;
    }
    long long last = LastDayOf(dates, today);
    long long first = std::max<long long>(dates.admissionDay, last - kMaxDayRows + 1);
    for (long long day = first; day <= last; ++day) days.push_back(static_cast<DayNumber>(day));
    return days;
}

int HospitalDayIndex(DayNumber day, DayNumber admissionDay) {
    long long n = static_cast<long long>(day) - admissionDay + 1;
    if (n < 1) --n;
    return static_cast<int>(n);
}

std::u16string DateLabelText(DayNumber day, DayNumber admissionDay, bool hospitalisation,
                             const JournalWords& words) {
    DateTime t = DateOfDay(day);
    std::u16string weekday = words.weekdays[static_cast<size_t>(WeekdayOf(day))].substr(0, 2);
    std::u16string text = weekday + u" " + ToText(t.day) + u" " +
                          words.shortMonths[static_cast<size_t>(t.month - 1)] + u" " +
                          TwoDigitYear(t.year);
    if (!hospitalisation) return text;
    return words.dayLetter + ToText(HospitalDayIndex(day, admissionDay)) + u" - " + text;
}

std::u16string HospitalDayRow(int row, bool hasEntries, DayNumber day, const JournalWords& words) {
    std::u16string number = (ToText(row) + u"   ").substr(0, 3);
    return words.dayLetter + u" " + number + (hasEntries ? u"- " : u"  ") + LongDayText(day, words);
}

}  // namespace pondrel
