#include "documents/RecordSummarySources.h"

#include "journal/JournalDays.h"
#include "journal/RecordEditing.h"
#include "platform/Clock.h"

namespace pondrel {

std::u16string RecordSummarySources::LongAge(const PatientRecord& record, DayNumber day) const {
    return pondrel::LongAge(record, WithTimeOf(day, m_clock.Now()), m_ageWords);
}

namespace {

// Records seen are kept at most this many; past it the kept courses are dropped and read again.
constexpr size_t kMaxKeptRecords = 20000;

uint64_t HashOf(std::u16string_view text) {
    uint64_t hash = 14695981039346656037ull;
    for (char16_t c : text) hash = (hash ^ c) * 1099511628211ull;
    return hash;
}

}  // namespace

const RecordSummarySources::Courses& RecordSummarySources::CoursesOf(
    const PatientRecord& record) const {
    const std::u16string& journal = record.problemJournal;
    const uint64_t hash = HashOf(journal);
    auto it = m_courses.find(&record);
    if (it != m_courses.end() && it->second.size == journal.size() && it->second.hash == hash) {
        return it->second;
    }
    if (m_courses.size() >= kMaxKeptRecords) m_courses.clear();
    Courses& courses = m_courses[&record];
    courses.size = journal.size();
    courses.hash = hash;
    courses.treatments = TreatmentLines::Read(journal, TreatmentKind::Treatments, m_words);
    courses.actions = TreatmentLines::Read(journal, TreatmentKind::Actions, m_words);
    return courses;
}

SummaryLists RecordSummarySources::Lists(const PatientRecord& record,
                                         std::optional<DayNumber> day) const {
    const TreatmentDays days =
        TreatmentDays::Of(DatesOf(record), CalendarDayOf(m_clock.Now()), day);
    const Courses& courses = CoursesOf(record);
    TreatmentLists treatments = ListsOf(courses.treatments, days, m_words, m_order);
    TreatmentLists actions = ListsOf(courses.actions, days, m_words, m_order);
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
