#include "journal/Ages.h"

#include <algorithm>

#include "labels/Labels.h"
#include "platform/Text.h"
#include "records/PatientRecord.h"

namespace pondrel {

namespace {

constexpr long long kNumberLimit = 1'000'000'000;
constexpr int kHoursPerDay = 24;
constexpr int kDayStartHour = 7;  // the day of life turns at 07:00
constexpr int kLateBirthHour = 18;
constexpr int kOldestAge = 120;

// The numbers of a text, in order: every run of digits, saturated far below int's limits.
std::vector<long long> NumbersIn(std::u16string_view text) {
    std::vector<long long> numbers;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] < u'0' || text[i] > u'9') {
            ++i;
            continue;
        }
        long long value = 0;
        while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
            value = std::min(kNumberLimit, value * 10 + (text[i] - u'0'));
            ++i;
        }
        numbers.push_back(value);
    }
    return numbers;
}

// A field of the birth date: empty counts as `empty`, anything else as the C library's atoi.
std::optional<long long> DatePart(std::u16string_view text, int empty) {
    if (text.empty()) return empty;
    return ParseInt(text);
}

std::u16string FirstLetter(const std::u16string& word) {
    return word.empty() ? std::u16string() : word.substr(0, 1);
}

std::u16string Lower(std::u16string_view text) {
    return FoldCase(text);
}

int64_t DaysOf(const CivilDate& d) {
    return DaysFromCivil(d.year, d.month, d.day);
}

CivilDate DateOfDays(int64_t days) {
    CivilDate d;
    CivilFromDays(days, d.year, d.month, d.day);
    return d;
}

bool Exists(const CivilDate& d) {
    return d.year >= 1 && d.year <= 9999 && d.month >= 1 && d.month <= 12 && d.day >= 1 &&
           d.day <= DaysInMonth(d.year, d.month);
}

// Years, months and days as the identity page writes them: "1y 2m 3d", without zero years, and
// without zero months when there are no years either.
std::u16string SpanParts(const CalendarSpan& span, const AgeWords& words) {
    std::u16string text;
    if (span.years > 0) text += ToText(span.years) + FirstLetter(words.years) + u" ";
    if (span.years > 0 || span.months > 0) {
        text += ToText(span.months) + FirstLetter(words.months) + u" ";
    }
    text += ToText(span.days) + FirstLetter(words.days);
    return text;
}

struct Instant {
    CivilDate date;
    int minutes = 0;  // since midnight
    friend auto operator<=>(const Instant&, const Instant&) = default;
};

int64_t MinutesOf(const Instant& i) {
    return DaysOf(i.date) * 24 * 60 + i.minutes;
}

// The age of the short and long texts: the calendar difference from the birth date to today,
// and the whole days between them. None when there is no age to show.
struct Age {
    CalendarSpan span;
    int64_t days = 0;
};
std::optional<Age> AgeOf(const PatientRecord& record, const DateTime& now) {
    std::optional<CivilDate> birth = BirthDateOf(record.Field(4), record.Field(5), record.Field(6));
    const CivilDate today{now.year, now.month, now.day};
    if (!birth || !Exists(today) || *birth > today) return std::nullopt;
    Age age{CalendarDifference(*birth, today), DaysOf(today) - DaysOf(*birth)};
    if (age.span.years >= kOldestAge) return std::nullopt;
    return age;
}

bool UsesCalendarAge(const PatientRecord& record, const Age& age) {
    return !record.Field(203).empty() && age.span.years <= 1;
}

}  // namespace

AgeWords AgeWords::From(const Labels& labels) {
    AgeWords words;
    // A labels file without age words keeps the English ones.
    auto take = [](std::u16string& word, const std::u16string& label) {
        if (!label.empty()) word = label;
    };
    take(words.days, labels.ageWords[0]);
    take(words.months, labels.ageWords[1]);
    take(words.years, labels.ageWords[2]);
    take(words.weeks, labels.ageWords[3]);
    take(words.dayOfLife, labels.Label(124));
    return words;
}

std::optional<CivilDate> BirthDateOf(std::u16string_view day, std::u16string_view month,
                                     std::u16string_view year) {
    if (year.empty()) return std::nullopt;
    const auto d = DatePart(day, 1);
    const auto m = DatePart(month, 1);
    const auto y = DatePart(year, 0);
    CivilDate date{static_cast<int>(std::clamp<long long>(*y, -1, 10000)),
                   static_cast<int>(std::clamp<long long>(*m, -1, 13)),
                   static_cast<int>(std::clamp<long long>(*d, -1, 32))};
    if (!Exists(date)) return std::nullopt;
    return date;
}

CalendarSpan CalendarDifference(const CivilDate& from, const CivilDate& to) {
    if (to <= from) return {};
    CalendarSpan span;
    span.years = to.year - from.year;
    if (std::pair(to.month, to.day) < std::pair(from.month, from.day)) --span.years;
    span.months = to.month - from.month;
    if (span.months < 0) span.months += 12;
    if (to.day < from.day) {
        --span.months;
        if (span.months < 0) span.months += 12;
    }
    span.days = to.day - from.day;
    if (span.days < 0) {
        // The same day of the month before `to`, or that month's last day.
        CivilDate before{to.year, to.month - 1, 0};
        if (before.month == 0) {
            before.month = 12;
            --before.year;
        }
        before.day = std::min(from.day, DaysInMonth(before.year, before.month));
        span.days = static_cast<int>(DaysOf(to) - DaysOf(before));
    }
    return span;
}

std::u16string CalendarAge(std::u16string_view day, std::u16string_view month,
                           std::u16string_view year, std::u16string_view gestation,
                           std::u16string_view birthHour, const DateTime& now,
                           const AgeWords& words) {
    // 1. Gestation: weeks 20 to 43 (else term, 40 weeks), days 0 to 6.
    const std::vector<long long> gestationNumbers = NumbersIn(gestation);
    int g = 40;
    int gd = 0;
    if (!gestationNumbers.empty() && gestationNumbers[0] >= 20 && gestationNumbers[0] <= 43) {
        g = static_cast<int>(gestationNumbers[0]);
        if (gestationNumbers.size() > 1 && gestationNumbers[1] <= 6) {
            gd = static_cast<int>(gestationNumbers[1]);
        }
    }
    // 2. Hour of birth, 12 when missing or impossible.
    const std::vector<long long> hourNumbers = NumbersIn(birthHour);
    long long hour = 12;
    if (!hourNumbers.empty()) {
        const bool afternoon = birthHour.find_first_of(u"Pp") != std::u16string_view::npos;
        hour = hourNumbers[0] + (afternoon ? 12 : 0);
        if (hour > kHoursPerDay) hour = 12;
    }
    // 3. Now: from 07:00 on, today at 07:00.
    const CivilDate today{now.year, now.month, now.day};
    if (!Exists(today)) return {};
    const Instant nowInstant{
        today, now.hour >= kDayStartHour ? kDayStartHour * 60 : now.hour * 60 + now.minute};
    // 4. The birth instant: 07:00 of the birth day, or of the next day after 18:00.
    const std::optional<CivilDate> birthDate = BirthDateOf(day, month, year);
    if (!birthDate) return {};
    const Instant birth{hour > kLateBirthHour ? DateOfDays(DaysOf(*birthDate) + 1) : *birthDate,
                        kDayStartHour * 60};
    // 5. Whole days of life. A child born since the last 07:00 is on its first day; one born
    // after today has no age.
    if (*birthDate > today) return {};
    int64_t u = 0;
    CalendarSpan span;
    if (nowInstant >= birth) {
        u = (MinutesOf(nowInstant) - MinutesOf(birth)) / (24 * 60);
        // 7. The calendar age.
        span = CalendarDifference(birth.date, nowInstant.date);
    }
    // 6. Day of life.
    std::u16string dayOfLife = words.dayOfLife + ToText(u + 1);
    if (span.years > 0 || span.months > 0) dayOfLife += u" = " + Lower(SpanParts(span, words));
    // 8. The corrected age of a preterm child.
    const std::u16string weekLetter = FirstLetter(words.weeks);
    const int64_t total = gd + u;
    int64_t w = g + total / 7;
    int64_t r = total % 7;
    if (g > 36) {
        w = 40;
        r = 0;
    }
    std::u16string corrected;
    if (w != 40 || r != 0) {
        corrected = ToText(w) + weekLetter + u" " + ToText(r) + u"/7";
        if (w > 39) {
            const CivilDate term = DateOfDays(DaysOf(birth.date) + 280 - 7 * g - gd);
            corrected = u"T+ " + Lower(SpanParts(CalendarDifference(term, nowInstant.date), words));
        }
    } else if (g <= 36) {
        corrected = u"T+ 0" + FirstLetter(words.days);
    }
    // 9, 10.
    if (span.years >= 2) {
        return Lower(ToText(span.years) + u" " + words.years + u", " + ToText(span.months) + u" " +
                     words.months + u", " + ToText(span.days) + u" " + words.days);
    }
    const std::u16string gestationText =
        u"(" + ToText(g) + weekLetter + u" " + ToText(gd) + u"/7) ";
    if (!corrected.empty()) return gestationText + dayOfLife + u" = " + corrected;
    if (!gestation.empty()) return gestationText + dayOfLife;
    return dayOfLife;
}

std::u16string IdentityAge(const PatientRecord& record, const DateTime& now,
                           const AgeWords& words) {
    return CalendarAge(record.Field(4), record.Field(5), record.Field(6), record.Field(203),
                       record.Field(204), now, words);
}

std::u16string ShortAge(const PatientRecord& record, const DateTime& now, const AgeWords& words) {
    const std::optional<Age> age = AgeOf(record, now);
    if (!age) return {};
    if (UsesCalendarAge(record, *age)) return IdentityAge(record, now, words);
    const std::u16string a = FirstLetter(words.days);
    const std::u16string b = FirstLetter(words.months);
    if (age->span.years == 0) {
        return ToText(age->span.months) + b + u"+" + ToText(age->span.days) + a + u" (" +
               ToText(age->days / 7) + FirstLetter(words.weeks) + u"+" + ToText(age->days % 7) + a +
               u")";
    }
    return ToText(age->span.years) + FirstLetter(words.years) + u"+" + ToText(age->span.months) + b;
}

std::u16string LongAge(const PatientRecord& record, const DateTime& now, const AgeWords& words) {
    const std::optional<Age> age = AgeOf(record, now);
    if (!age) return {};
    if (UsesCalendarAge(record, *age)) return IdentityAge(record, now, words);
    if (age->span.years == 0) {
        return ToText(age->span.months) + u" " + words.months + u" , " + ToText(age->span.days) +
               u" " + words.days + u"  ( " + ToText(age->days / 7) + u" " +
               FirstLetter(words.weeks) + u" + " + ToText(age->days % 7) + u" " +
               FirstLetter(words.days) + u" )";
    }
    return ToText(age->span.years) + u" " + words.years + u" , " + ToText(age->span.months) + u" " +
           words.months + u" , " + ToText(age->span.days) + u" " + words.days;
}

std::u16string BirthDateText(std::u16string_view day, std::u16string_view month,
                             std::u16string_view year, DateOrder order) {
    std::u16string text = order == DateOrder::DayMonthYear
                              ? std::u16string(day) + u"." + std::u16string(month)
                              : std::u16string(month) + u"." + std::u16string(day);
    text += u".";
    text += year;
    const size_t twice = text.find(u"..");
    if (twice != std::u16string::npos) text.erase(twice, 1);
    while (!text.empty() && text.front() == u'.') text.erase(text.begin());
    while (!text.empty() && text.back() == u'.') text.pop_back();
    return text;
}

}  // namespace pondrel
