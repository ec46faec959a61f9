#include "journal/HistoryPeriod.h"

#include <algorithm>

namespace pondrel {

namespace {

const std::u16string kSeparator = u"-------------------------";

struct FixedPeriod {
    std::u16string_view name;
    int daysBefore;
};

constexpr FixedPeriod kFixedPeriods[] = {
    {u"1 week before", 7},     {u"2 weeks before", 14},    {u"3 weeks before", 21},
    {u"1 month before", 30},   {u"2 months before", 61},   {u"3 months before", 92},
    {u"6 months before", 184}, {u"1 year before", 365},    {u"2 years before", 730},
    {u"5 years before", 1825}, {u"10 years before", 3650}, {u"All", 3650},
};

struct MeetingPeriod {
    std::u16string_view name;
    int meetings;
};

constexpr MeetingPeriod kMeetingPeriods[] = {
    {u"5 meetings before", 5},
    {u"10 meetings before", 10},
    {u"15 meetings before", 15},
    {u"20 meetings before", 20},
};

constexpr int kMeetingFallbackDays = 1095;

}  // namespace

const std::vector<std::u16string>& HistoryPeriod::Names() {
    static const std::vector<std::u16string> kNames = {u"1 week before",
                                                       u"2 weeks before",
                                                       u"3 weeks before",
                                                       u"1 month before",
                                                       u"2 months before",
                                                       u"3 months before",
                                                       u"6 months before",
                                                       u"1 year before",
                                                       u"2 years before",
                                                       u"5 years before",
                                                       u"10 years before",
                                                       kSeparator,
                                                       u"5 meetings before",
                                                       u"10 meetings before",
                                                       u"15 meetings before",
                                                       u"20 meetings before",
                                                       kSeparator,
                                                       u"All hospitalization",
                                                       u"All"};
    return kNames;
}

bool HistoryPeriod::IsSeparator(std::u16string_view name) {
    return name == kSeparator;
}

std::u16string HistoryPeriod::EffectiveName(std::u16string_view name, bool ambulatory) {
    if (!name.empty()) return std::u16string(name);
    return ambulatory ? u"5 meetings before" : u"All hospitalization";
}

DayNumber HistoryPeriod::StartDay(std::u16string_view name, bool ambulatory, DayNumber today,
                                  DayNumber admissionDay, const std::vector<DayNumber>& entryDays,
                                  DayNumber currentDay) {
    std::u16string effective = EffectiveName(name, ambulatory);
    for (const auto& period : kFixedPeriods) {
        if (effective == period.name) return today - period.daysBefore;
    }
    if (effective == u"All hospitalization") return admissionDay;
    int meetings = 5;
    for (const auto& period : kMeetingPeriods) {
        if (effective == period.name) meetings = period.meetings;
    }
    if (entryDays.empty()) return currentDay - kMeetingFallbackDays;
    auto before = static_cast<int>(std::lower_bound(entryDays.begin(), entryDays.end(), today) -
                                   entryDays.begin());
    if (meetings <= before) return entryDays[static_cast<size_t>(before - meetings)];
    return entryDays.front() - kMeetingFallbackDays;
}

}  // namespace pondrel
