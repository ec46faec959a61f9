#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "documents/SummaryInputs.h"
#include "journal/Ages.h"

namespace pondrel {

class Clock;

// The summaries' sources as the program has them: the long age of the identity rules and the
// treatment and action lists of the journal's tables, built for the record's own dates. The
// treatments and actions read from a journal are kept with the journal's size and hash, so a
// summary built again (another day of the all-patients page) reads only journals that changed.
class RecordSummarySources final : public SummarySources {
public:
    // `words` and `clock` must outlive the sources; the clock gives the device's date and time.
    RecordSummarySources(const JournalWords& words, AgeWords ageWords, DateOrder order,
                         Clock& clock)
        : m_words(words), m_ageWords(std::move(ageWords)), m_order(order), m_clock(clock) {}

    // The age on `day`: at the present time of day, so that today's age is the age now.
    std::u16string LongAge(const PatientRecord& record, DayNumber day) const override;
    SummaryLists RunningLists(const PatientRecord& record) const override;
    SummaryLists DayLists(const PatientRecord& record, DayNumber day) const override;

private:
    struct Courses {
        size_t size = 0;
        uint64_t hash = 0;
        std::vector<TreatmentCourse> treatments;
        std::vector<TreatmentCourse> actions;
    };
    SummaryLists Lists(const PatientRecord& record, std::optional<DayNumber> day) const;
    const Courses& CoursesOf(const PatientRecord& record) const;

    const JournalWords& m_words;
    AgeWords m_ageWords;
    DateOrder m_order;
    Clock& m_clock;
    mutable std::unordered_map<const PatientRecord*, Courses> m_courses;
};

}  // namespace pondrel
