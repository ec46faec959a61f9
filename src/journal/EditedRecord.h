#pragma once

#include <cstddef>
#include <string>

#include "journal/SubfolderDates.h"

namespace pondrel {

// What the journal editor needs from the open patient's record. The program implements it over
// its PatientRecord; tests over plain values. The editor keeps working copies and writes them
// back through Store... after every commit or date change.
class EditedRecord {
public:
    virtual ~EditedRecord() = default;

    // The record's problemJournal member.
    virtual std::u16string JournalText() const = 0;
    virtual void StoreJournal(const std::u16string& text) = 0;
    virtual SubfolderDates Dates() const = 0;
    virtual void StoreDates(const SubfolderDates& dates) = 0;
    // True when the record's lockState is "R": every edit is refused.
    virtual bool IsReadOnly() const = 0;
    // A form field by number (the editor reads 20, 64 and 79 to 85).
    virtual std::u16string Field(int number) const = 0;
    // The longest journal the record may hold without its file passing the size the program
    // writes without a warning; 0 for no limit.
    virtual size_t MaxJournalLength() const { return 0; }
};

}  // namespace pondrel
