// The age texts: calendar age with gestation and hour of birth, short and long ages.

#include <gtest/gtest.h>

#include "TestPlatform.h"
#include "journal/Ages.h"
#include "records/PatientRecord.h"

namespace pondrel {
namespace {

using test::U8;

const AgeWords kWords;  // days, months, years, weeks, "D"

std::string Calendar(std::u16string_view d, std::u16string_view m, std::u16string_view y,
                     std::u16string_view gestation, std::u16string_view hour, DateTime now) {
    return U8(CalendarAge(d, m, y, gestation, hour, now, kWords));
}

PatientRecord Born(std::u16string_view d, std::u16string_view m, std::u16string_view y,
                   std::u16string_view gestation = u"") {
    PatientRecord r;
    r.SetField(4, std::u16string(d));
    r.SetField(5, std::u16string(m));
    r.SetField(6, std::u16string(y));
    r.SetField(203, std::u16string(gestation));
    return r;
}

TEST(AgesTest, APretermBabyShowsItsGestationDayOfLifeAndCorrectedAge) {
    // Born at 34 weeks and 3 days on 1 March 2006.
    EXPECT_EQ(Calendar(u"1", u"3", u"2006", u"34 3", u"", {2006, 3, 1, 10, 0, 0}),
              "(34w 3/7) D1 = 34w 3/7");
    EXPECT_EQ(Calendar(u"1", u"3", u"2006", u"34 3", u"", {2006, 3, 13, 9, 41, 7}),
              "(34w 3/7) D13 = 36w 1/7");
    // Term (40 weeks corrected) on day 40, then days after term.
    EXPECT_EQ(Calendar(u"1", u"3", u"2006", u"34+3", u"", {2006, 4, 9, 8, 0, 0}),
              "(34w 3/7) D40 = 1m 8d = T+ 0d");
    EXPECT_EQ(Calendar(u"1", u"3", u"2006", u"34 weeks 3 days", u"", {2006, 4, 15, 8, 0, 0}),
              "(34w 3/7) D46 = 1m 14d = T+ 6d");
    // Before 07:00 the day of life has not turned yet.
    EXPECT_EQ(Calendar(u"1", u"3", u"2006", u"34 3", u"", {2006, 3, 13, 6, 30, 0}),
              "(34w 3/7) D12 = 36w 0/7");
}

TEST(AgesTest, TermBirthsAndTheHourOfBirth) {
    EXPECT_EQ(Calendar(u"10", u"3", u"2006", u"", u"", {2006, 3, 13, 9, 41, 7}), "D4");
    // Gestation 37 weeks or more is a term birth; a gestation text still shows.
    EXPECT_EQ(Calendar(u"10", u"3", u"2006", u"39", u"", {2006, 3, 13, 9, 41, 7}), "(39w 0/7) D4");
    // Born at 8 pm: the first day of life starts the next morning at 07:00, and the child is on
    // its first day from its birth on.
    EXPECT_EQ(Calendar(u"13", u"3", u"2006", u"", u"8 pm", {2006, 3, 13, 21, 0, 0}), "D1");
    EXPECT_EQ(Calendar(u"13", u"3", u"2006", u"", u"20", {2006, 3, 14, 8, 0, 0}), "D1");
    EXPECT_EQ(Calendar(u"13", u"3", u"2006", u"", u"20", {2006, 3, 15, 7, 30, 0}), "D2");
    EXPECT_EQ(Calendar(u"13", u"3", u"2006", u"", u"5", {2006, 3, 13, 6, 0, 0}), "D1");
    // An impossible hour is taken as noon; huge numbers do not overflow.
    EXPECT_EQ(Calendar(u"13", u"3", u"2006", u"", u"99 pm", {2006, 3, 13, 21, 0, 0}), "D1");
    EXPECT_EQ(Calendar(u"10", u"3", u"2006", u"99999999999999999999 5", u"99999999999999999",
                       {2006, 3, 13, 9, 0, 0}),
              "(40w 0/7) D4");
}

TEST(AgesTest, OlderPatientsGetCalendarYearsMonthsAndDays) {
    const DateTime now{2006, 3, 13, 9, 41, 7};
    EXPECT_EQ(Calendar(u"20", u"1", u"1961", u"", u"", now), "45 years, 1 months, 21 days");
    const PatientRecord adult = Born(u"20", u"1", u"1961");
    EXPECT_EQ(U8(ShortAge(adult, now, kWords)), "45y+1m");
    EXPECT_EQ(U8(LongAge(adult, now, kWords)), "45 years , 1 months , 21 days");
    // Between one and two years the day of life carries the calendar age.
    EXPECT_EQ(Calendar(u"1", u"1", u"2005", u"", u"", now), "D437 = 1y 2m 12d");
    // An empty day or month counts as 1.
    EXPECT_EQ(U8(ShortAge(Born(u"", u"", u"1961"), now, kWords)), "45y+2m");
}

TEST(AgesTest, ShortAndLongAgesAreTrueCalendarDifferences) {
    // A newborn of the day has an age, and days are not late around a birthday.
    EXPECT_EQ(U8(ShortAge(Born(u"13", u"3", u"2006"), {2006, 3, 13, 9, 0, 0}, kWords)),
              "0m+0d (0w+0d)");
    EXPECT_EQ(U8(ShortAge(Born(u"13", u"3", u"1960"), {2006, 3, 13, 9, 0, 0}, kWords)), "46y+0m");
    EXPECT_EQ(U8(LongAge(Born(u"1", u"1", u"2006"), {2006, 3, 13, 9, 0, 0}, kWords)),
              "2 months , 12 days  ( 10 w + 1 d )");
    // The turn of the year borrows December of the year before.
    EXPECT_EQ(U8(ShortAge(Born(u"15", u"12", u"2005"), {2006, 1, 10, 9, 0, 0}, kWords)),
              "0m+26d (3w+5d)");
    EXPECT_EQ(U8(ShortAge(Born(u"31", u"12", u"2005"), {2006, 1, 1, 0, 0, 0}, kWords)),
              "0m+1d (0w+1d)");
    // 29 February birthdays: the day before and the day after the first birthday.
    EXPECT_EQ(U8(ShortAge(Born(u"29", u"2", u"2004"), {2005, 2, 28, 9, 0, 0}, kWords)),
              "11m+30d (52w+1d)");
    EXPECT_EQ(U8(LongAge(Born(u"29", u"2", u"2004"), {2005, 3, 1, 9, 0, 0}, kWords)),
              "1 years , 0 months , 1 days");
    // A month's end borrowed from a shorter month.
    EXPECT_EQ(U8(ShortAge(Born(u"31", u"1", u"2006"), {2006, 3, 1, 9, 0, 0}, kWords)),
              "1m+1d (4w+1d)");
    // With a gestation and under two years, the calendar age instead.
    EXPECT_EQ(U8(ShortAge(Born(u"1", u"3", u"2006", u"34 3"), {2006, 3, 13, 9, 0, 0}, kWords)),
              "(34w 3/7) D13 = 36w 1/7");
}

TEST(AgesTest, NoAgeForADateThatIsNotValid) {
    const DateTime now{2006, 3, 13, 9, 41, 7};
    for (const PatientRecord& r :
         {Born(u"31", u"4", u"1990"), Born(u"1", u"1", u""), Born(u"14", u"3", u"2006"),
          Born(u"29", u"2", u"2005"), Born(u"1", u"13", u"1990"), Born(u"1", u"1", u"1880"),
          Born(u"1", u"1", u"99999999999")}) {
        EXPECT_EQ(ShortAge(r, now, kWords), u"")
            << U8(r.Field(4) + u"." + r.Field(5) + u"." + r.Field(6));
        EXPECT_EQ(LongAge(r, now, kWords), u"");
        if (r.Field(6) != u"1880") {
            EXPECT_EQ(IdentityAge(r, now, kWords), u"");
        }
    }
    // The identity page has no upper limit.
    EXPECT_EQ(U8(IdentityAge(Born(u"1", u"1", u"1880"), now, kWords)),
              "126 years, 2 months, 12 days");
}

TEST(AgesTest, WordsComeFromTheLabelsAndBirthDatesFromTheOrder) {
    AgeWords french{u"jours", u"mois", u"Ans", u"semaines", u"J"};
    EXPECT_EQ(U8(CalendarAge(u"20", u"1", u"1961", u"", u"", {2006, 3, 13, 9, 0, 0}, french)),
              "45 ans, 1 mois, 21 jours");
    EXPECT_EQ(U8(CalendarAge(u"1", u"3", u"2006", u"34 3", u"", {2006, 3, 13, 9, 0, 0}, french)),
              "(34s 3/7) J13 = 36s 1/7");
    EXPECT_EQ(U8(BirthDateText(u"3", u"12", u"1950", DateOrder::DayMonthYear)), "3.12.1950");
    EXPECT_EQ(U8(BirthDateText(u"3", u"12", u"1950", DateOrder::MonthDayYear)), "12.3.1950");
    EXPECT_EQ(U8(BirthDateText(u"", u"", u"1950", DateOrder::DayMonthYear)), "1950");
    EXPECT_EQ(U8(BirthDateText(u"3", u"", u"1950", DateOrder::DayMonthYear)), "3.1950");
}

}  // namespace
}  // namespace pondrel
