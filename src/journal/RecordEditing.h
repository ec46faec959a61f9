#pragma once

#include <string>

#include "journal/EditedRecord.h"

namespace pondrel {

struct PatientRecord;

// The dates of the record's current subfolder.
SubfolderDates DatesOf(const PatientRecord& record);

// The open patient's PatientRecord as the journal editor sees it: the problemJournal member,
// the dates of the current subfolder, the lock state ("R" is read only) and the form fields.
// Everything the editor stores lands in the record at once, so the next save writes it.
class RecordEditing final : public EditedRecord {
public:
    // `record` must outlive the adapter; the set owns it (PatientSet keeps a record's address
    // while the record stays in the set).
    explicit RecordEditing(PatientRecord& record) : m_record(record) {}
    RecordEditing(const RecordEditing&) = delete;
    RecordEditing& operator=(const RecordEditing&) = delete;

    std::u16string JournalText() const override;
    void StoreJournal(const std::u16string& text) override;
    SubfolderDates Dates() const override;
    void StoreDates(const SubfolderDates& dates) override;
    bool IsReadOnly() const override;
    std::u16string Field(int number) const override;
    size_t MaxJournalLength() const override;

    PatientRecord& Record() const { return m_record; }

private:
    PatientRecord& m_record;
};

}  // namespace pondrel
