#include "charts/GrowthAge.h"

#include "journal/Ages.h"
#include "platform/Text.h"
#include "records/PatientRecord.h"

namespace pondrel {

namespace {

constexpr int kBirthDayField = 4;
constexpr int kBirthMonthField = 5;
constexpr int kBirthYearField = 6;
constexpr int kGestationField = 203;
constexpr int kTermWeeks = 40;
constexpr int kTermDays = 7 * kTermWeeks;
constexpr int kFirstPretermWeek = 20;
constexpr int kLastPretermWeek = 36;
constexpr int kSecondsPerDay = 86400;
constexpr int kDaysPerYear = 365;
constexpr float kDaysPerMonth = 30.5f;

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// The whole number starting at text[from]; `end` receives the position after its digits.
int NumberAt(std::u16string_view text, size_t from, size_t& end) {
    end = from;
    while (end < text.size() && IsDigit(text[end])) ++end;
    return ParseInt(text.substr(from, end - from));
}

bool InYearRange(const DateTime& t) {
    return t.year >= 1 && t.year <= 9999 && IsValid(t);
}

}  // namespace

Gestation GestationOf(std::u16string_view text) {
    Gestation gestation;
    size_t first = 0;
    while (first < text.size() && !IsDigit(text[first])) ++first;
    if (first == text.size()) return gestation;
    size_t end = 0;
    int weeks = NumberAt(text, first, end);
    if (weeks < kFirstPretermWeek || weeks > kLastPretermWeek) return gestation;
    gestation.weeks = weeks;
    size_t next = end;
    while (next < text.size() && !IsDigit(text[next])) ++next;
    if (next < text.size()) {
        int days = NumberAt(text, next, end);
        if (days <= 6) gestation.days = days;
    }
    return gestation;
}

std::optional<DateTime> BirthDateTime(const PatientRecord& record) {
    std::optional<CivilDate> date =
        BirthDateOf(record.Field(kBirthDayField), record.Field(kBirthMonthField),
                    record.Field(kBirthYearField));
    if (!date) return std::nullopt;
    return DateTime{date->year, date->month, date->day, 0, 0, 1};
}

std::optional<long long> DaysSinceBirth(const PatientRecord& record, const DateTime& date) {
    std::optional<DateTime> birth = BirthDateTime(record);
    if (!birth || !InYearRange(date)) return std::nullopt;
    return (ToSeconds(date) - ToSeconds(*birth)) / kSecondsPerDay;
}

std::optional<float> CorrectedAge(const PatientRecord& record, const DateTime& date) {
    std::optional<long long> days = DaysSinceBirth(record, date);
    if (!days) return std::nullopt;
    float months = static_cast<float>(12 * (*days / kDaysPerYear)) +
                   static_cast<float>(*days % kDaysPerYear) / kDaysPerMonth;
    Gestation gestation = GestationOf(record.Field(kGestationField));
    int early = kTermDays - 7 * gestation.weeks - gestation.days;
    return months - static_cast<float>(early) / kDaysPerMonth;
}

std::optional<double> AgeInYears(const PatientRecord& record, const DateTime& now) {
    std::optional<long long> days = DaysSinceBirth(record, now);
    if (!days) return std::nullopt;
    return static_cast<double>(*days) / kDaysPerYear;
}

}  // namespace pondrel
