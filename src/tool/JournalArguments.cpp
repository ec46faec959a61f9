#include "tool/JournalArguments.h"

#include <cstdio>

#include "journal/JournalFormat.h"

namespace pondrel::tool {

namespace {

// Digits only, at most nine of them (no overflow); none for anything else.
std::optional<long long> ParseDigits(std::string_view text) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

std::optional<DayNumber> ParseDayArgument(std::string_view text) {
    bool negative = !text.empty() && text.front() == '-';
    std::optional<long long> value = ParseDigits(negative ? text.substr(1) : text);
    if (!value) return std::nullopt;
    long long day = negative ? -*value : *value;
    if (day < kFirstJournalDay || day > kLastJournalDay) return std::nullopt;
    return static_cast<DayNumber>(day);
}

std::optional<DateTime> ParseDateArgument(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    auto year = ParseDigits(text.substr(0, 4));
    auto month = ParseDigits(text.substr(5, 2));
    auto day = ParseDigits(text.substr(8, 2));
    if (!year || !month || !day) return std::nullopt;
    DateTime date{
        static_cast<int>(*year), static_cast<int>(*month), static_cast<int>(*day), 0, 0, 0};
    if (!IsValid(date)) return std::nullopt;
    return date;
}

std::optional<DayNumber> ParseDayDateArgument(std::string_view text) {
    auto date = ParseDateArgument(text);
    if (!date) return std::nullopt;
    DayNumber day = DayNumberOf(date->year, date->month, date->day);
    if (day < kFirstJournalDay || day > kLastJournalDay) return std::nullopt;
    return day;
}

std::optional<int> ParseProblemArgument(std::string_view text) {
    std::optional<long long> value = ParseDigits(text);
    if (!value || *value >= kMaxProblems) return std::nullopt;
    return static_cast<int>(*value);
}

int NoSuchProblem(int problemCount) {
    std::fprintf(stderr, "no such problem: the file has %d problems, a new one takes number %d\n",
                 problemCount, problemCount);
    return 1;
}

}  // namespace pondrel::tool
