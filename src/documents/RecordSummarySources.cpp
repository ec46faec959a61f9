#include "documents/RecordSummarySources.h"

#include "journal/RecordEditing.h"

namespace pondrel {

std::u16string RecordSummarySources::LongAge(const PatientRecord& record, DayNumber day) const {
    return m_age ? m_age(record, day) : std::u16string();
}

SummaryLists RecordSummarySources::Lists(const PatientRecord& record,
                                         std::optional<DayNumber> day) const {
    TreatmentInputs inputs{record.problemJournal, TreatmentDays::Of(DatesOf(record), m_today, day),
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
