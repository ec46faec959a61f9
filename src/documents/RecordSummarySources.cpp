#include "documents/RecordSummarySources.h"

#include "journal/JournalDays.h"
#include "journal/RecordEditing.h"
#include "platform/Clock.h"

namespace pondrel {

std::u16string RecordSummarySources::LongAge(const PatientRecord& record, DayNumber day) const {
    return pondrel::LongAge(record, WithTimeOf(day, m_clock.Now()), m_ageWords);
}

SummaryLists RecordSummarySources::Lists(const PatientRecord& record,
                                         std::optional<DayNumber> day) const {
    TreatmentInputs inputs{record.problemJournal,
                           TreatmentDays::Of(DatesOf(record), CalendarDayOf(m_clock.Now()), day),
                           m_order};
    TreatmentLists treatments = BuildTreatmentLists(TreatmentKind::Treatments, inputs, m_words);
    TreatmentLists actions = BuildTreatmentLists(TreatmentKind::Actions, inputs, m_words);
    SummaryLists lists;
    if (day) {
        lists.treatments = std::move(treatments.currentDay);
        lists.actions = std::move(actions.currentDay);
    } else {
        lists.treatments = std::move(treatments.running);
        lists.actions = std::move(actions.running);
    }
    return lists;
}

SummaryLists RecordSummarySources::RunningLists(const PatientRecord& record) const {
    return Lists(record, std::nullopt);
}

SummaryLists RecordSummarySources::DayLists(const PatientRecord& record, DayNumber day) const {
    return Lists(record, day);
}

}  // namespace pondrel
