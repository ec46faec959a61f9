#include "journal/RecordEditing.h"

#include "journal/ProblemManager.h"
#include "records/PatientRecord.h"

namespace pondrel {

std::u16string RecordEditing::JournalText() const {
    return m_record.problemJournal;
}

void RecordEditing::StoreJournal(const std::u16string& text) {
    m_record.problemJournal = text;
}

SubfolderDates DatesOf(const PatientRecord& record) {
    SubfolderDates dates;
    dates.subfolderType = record.subfolderType;
    dates.admission = record.admission;
    dates.admissionDay = record.admissionDay;
    dates.exit = record.exit;
    dates.exitDateSet = record.exitDateSet;
    dates.historyStartDay = record.historyStartDay;
    dates.historyPeriod = record.historyPeriod;
    return dates;
}

SubfolderDates RecordEditing::Dates() const {
    return DatesOf(m_record);
}

void RecordEditing::StoreDates(const SubfolderDates& dates) {
    m_record.subfolderType = dates.subfolderType;
    m_record.admission = dates.admission;
    m_record.admissionDay = dates.admissionDay;
    m_record.exit = dates.exit;
    m_record.exitDateSet = dates.exitDateSet;
    m_record.historyStartDay = dates.historyStartDay;
    m_record.historyPeriod = dates.historyPeriod;
}

bool RecordEditing::IsReadOnly() const {
    return m_record.lockState == u"R";
}

std::u16string RecordEditing::Field(int number) const {
    return m_record.Field(number);
}

size_t RecordEditing::MaxJournalLength() const {
    return JournalLengthLimit(m_record);
}

}  // namespace pondrel
