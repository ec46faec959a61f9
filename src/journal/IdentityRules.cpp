#include "journal/IdentityRules.h"

#include <algorithm>

#include "platform/DateTime.h"
#include "platform/Text.h"
#include "records/PatientRecord.h"
#include "records/PatientSet.h"

namespace pondrel {

namespace {

constexpr size_t kYearLength = 4;
constexpr int kOldestYear = 1870;

bool AllDigits(std::u16string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

}  // namespace

std::u16string CheckedYear(std::u16string_view year, int currentYear) {
    std::u16string kept(year.substr(0, kYearLength));
    if (kept.size() == 2 && AllDigits(kept)) {
        const int twoDigits = ParseInt(kept);
        if (twoDigits != 18 && twoDigits != 19 && twoDigits != 20) {
            kept.insert(0, twoDigits > currentYear % 100 ? u"19" : u"20");
        }
    }
    const int value = ParseInt(kept);
    if (value > currentYear || (value > 999 && value < kOldestYear)) kept.clear();
    return kept;
}

bool BirthDateMayStand(std::u16string_view day, std::u16string_view month, std::u16string_view year,
                       DatePart changed) {
    const int d = ParseInt(day);
    const int m = ParseInt(month);
    if (changed == DatePart::Day && d > 31) return false;
    if (changed == DatePart::Month && m > 12) return false;
    if (day.empty() || month.empty() || year.empty()) return true;
    int y = ParseInt(year);
    // While the year is being typed any leap year will do.
    if (year.size() < kYearLength) y = 2000;
    return y >= 1 && m >= 1 && m <= 12 && d >= 1 && d <= DaysInMonth(y, m);
}

std::u16string IdentityKey(std::u16string_view lastName, std::u16string_view firstName,
                           std::u16string_view birthYear) {
    return FoldCase(TrimRightSpaces(lastName) + TrimRightSpaces(firstName) +
                    std::u16string(birthYear));
}

bool IsIdentityTaken(const PatientSet& patients, const PatientRecord& record,
                     std::u16string_view lastName, std::u16string_view firstName,
                     std::u16string_view birthYear) {
    const std::u16string key = IdentityKey(lastName, firstName, birthYear);
    if (key.empty()) return false;
    for (int i = 0; i < patients.Count(); ++i) {
        const PatientRecord* other = patients.At(i);
        if (other == &record) continue;
        if (IdentityKey(other->Field(2), other->Field(3), other->Field(6)) == key) return true;
    }
    return false;
}

}  // namespace pondrel
