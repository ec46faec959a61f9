#pragma once

// The age texts of a patient: the calendar age of the identity page (with the gestation and the
// hour of birth of newborns), the short age of the patient list and the long age of the
// summaries, and the birth date as the summaries and the patient list write it.

#include <optional>
#include <string>
#include <string_view>

#include "platform/DateTime.h"
#include "records/DayNumber.h"

namespace pondrel {

struct Labels;
struct PatientRecord;

// The words of the age texts: the four age words of the labels file's date section (days,
// months, years, weeks; their first letters are the short forms) and label 124 ("D"), the
// day-of-life letter. Words the labels file leaves empty keep the English defaults.
struct AgeWords {
    std::u16string days = u"days";
    std::u16string months = u"months";
    std::u16string years = u"years";
    std::u16string weeks = u"weeks";
    std::u16string dayOfLife = u"D";

    static AgeWords From(const Labels& labels);
};

// A calendar date.
struct CivilDate {
    int year = 0;
    int month = 0;
    int day = 0;
    friend auto operator<=>(const CivilDate&, const CivilDate&) = default;
};

// The birth date of the texts of the day, month and year fields: an empty day or month counts
// as 1. None when the year is empty or the date does not exist (years 1 to 9999).
std::optional<CivilDate> BirthDateOf(std::u16string_view day, std::u16string_view month,
                                     std::u16string_view year);

// The calendar difference from `from` to `to` (not before it): whole years, then months, then
// days. A day count that would be negative borrows from the month before `to` (December of the
// year before for January), its day the birthday or the last day of that month when shorter.
struct CalendarSpan {
    int years = 0;
    int months = 0;
    int days = 0;
};
CalendarSpan CalendarDifference(const CivilDate& from, const CivilDate& to);

// The age of the identity page and field 15. The day of life "D" + n counts from 07:00 of the
// birth day (of the day after for a birth after 18:00) to 07:00 today, followed by the calendar
// age once a month is reached; a child of two years or more gets years, months and days in
// full words. A preterm birth (gestation 20 to 36 weeks, "34 3" for 34 weeks and 3 days) shows
// its gestation and its corrected age. Empty when the birth date is not valid or in the future.
std::u16string CalendarAge(std::u16string_view day, std::u16string_view month,
                           std::u16string_view year, std::u16string_view gestation,
                           std::u16string_view birthHour, const DateTime& now,
                           const AgeWords& words);

// CalendarAge of the record's fields 4, 5, 6, 203 and 204.
std::u16string IdentityAge(const PatientRecord& record, const DateTime& now, const AgeWords& words);

// The patient list's age: "2m+3d (9w+4d)" under one year, "45y+1m" after. The long age of
// the summaries: "2 months , 3 days  ( 9 w + 4 d )", "45 years , 1 months , 21 days". Both are
// true calendar differences from the birth date (fields 4, 5, 6) to today; a newborn with a
// gestation (field 203) under two years gets CalendarAge instead. Empty when the birth date is
// not valid, in the future, or 120 years or more ago.
std::u16string ShortAge(const PatientRecord& record, const DateTime& now, const AgeWords& words);
std::u16string LongAge(const PatientRecord& record, const DateTime& now, const AgeWords& words);

// The birth date of the day, month and year texts: d.m.y in the day-first order, m.d.y
// otherwise; ".." becomes "." and dots at either end go, so missing parts vanish.
std::u16string BirthDateText(std::u16string_view day, std::u16string_view month,
                             std::u16string_view year, DateOrder order);

}  // namespace pondrel
