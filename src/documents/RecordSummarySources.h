#pragma once

#include <functional>
#include <string>

#include "documents/SummaryInputs.h"

namespace pondrel {

// The summaries' sources as the program has them: the treatment and action lists of the
// journal's tables, built for the record's own dates, and the age text given by `age`.
class RecordSummarySources final : public SummarySources {
public:
    using AgeText = std::function<std::u16string(const PatientRecord& record, DayNumber day)>;

    // `words` must outlive the sources. `today` is the calendar date of the device.
    RecordSummarySources(const JournalWords& words, DateOrder order, DayNumber today, AgeText age)
        : m_words(words), m_order(order), m_today(today), m_age(std::move(age)) {}

    std::u16string LongAge(const PatientRecord& record, DayNumber day) const override;
    SummaryLists RunningLists(const PatientRecord& record) const override;
    SummaryLists DayLists(const PatientRecord& record, DayNumber day) const override;

private:
    SummaryLists Lists(const PatientRecord& record, std::optional<DayNumber> day) const;

    const JournalWords& m_words;
    DateOrder m_order;
    DayNumber m_today;
    AgeText m_age;
};

}  // namespace pondrel
