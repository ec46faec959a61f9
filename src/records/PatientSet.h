#pragma once

#include <memory>
#include <vector>

#include "records/PatientRecord.h"

namespace pondrel {

class Clock;

// The loaded patient folders in the order they were added, with a current position. The set
// owns its records: removing one destroys it, and pointers to it become invalid. A pointer to
// any other record stays valid while that record is in the set.
class PatientSet {
public:
    // `clock` gives new records their admission and exit date-time; it must outlive the set.
    explicit PatientSet(Clock& clock) : m_clock(clock) {}
    PatientSet(const PatientSet&) = delete;
    PatientSet& operator=(const PatientSet&) = delete;

    // Appends an empty record (both date-times now) and makes it current.
    PatientRecord& AddNew();
    int Count() const { return static_cast<int>(m_records.size()); }
    // Record i, or none when i is not a position of the set.
    PatientRecord* At(int i) const;
    // Makes record i current and returns it; none (current unchanged) for a bad position.
    PatientRecord* SetCurrent(int i);
    PatientRecord* Current() const { return At(m_current); }
    int CurrentIndex() const { return m_current; }
    int CurrentNumber() const { return m_current + 1; }
    PatientRecord* First();
    PatientRecord* Last();
    // Moves forward; past the end a new empty record is appended.
    PatientRecord* Next();
    PatientRecord* Previous();
    // Only with two records or more: destroys record i and returns the new current record.
    // Removing the current record makes the one before it current (the first one when it was
    // the first); removing another record keeps the current record current.
    PatientRecord* RemoveAt(int i);
    PatientRecord* RemoveCurrent() { return RemoveAt(m_current); }
    int IndexOf(const PatientRecord* record) const;
    void RemoveAll();

private:
    Clock& m_clock;
    std::vector<std::unique_ptr<PatientRecord>> m_records;
    int m_current = 0;
};

}  // namespace pondrel
