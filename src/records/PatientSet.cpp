#include "records/PatientSet.h"

#include "platform/Clock.h"

namespace pondrel {

PatientRecord& PatientSet::AddNew() {
    auto record = std::make_unique<PatientRecord>();
    DateTime now = m_clock.Now();
    record->admission = now;
    record->exit = now;
    // The doctor chooses the civility of a new patient; nothing is preset.
    record->sex = kSexNotChosen;
    m_records.push_back(std::move(record));
    m_current = Count() - 1;
    return *m_records.back();
}

PatientRecord* PatientSet::At(int i) const {
    if (i < 0 || i >= Count()) return nullptr;
    return m_records[static_cast<size_t>(i)].get();
}

PatientRecord* PatientSet::SetCurrent(int i) {
    PatientRecord* record = At(i);
    if (record) m_current = i;
    return record;
}

PatientRecord* PatientSet::First() {
    m_current = 0;
    return At(0);
}

PatientRecord* PatientSet::Last() {
    m_current = Count() > 0 ? Count() - 1 : 0;
    return At(m_current);
}

PatientRecord* PatientSet::Next() {
    if (m_current + 1 >= Count()) return &AddNew();
    ++m_current;
    return At(m_current);
}

PatientRecord* PatientSet::Previous() {
    if (m_current > 0) --m_current;
    return At(m_current);
}

PatientRecord* PatientSet::RemoveAt(int i) {
    if (Count() < 2 || i < 0 || i >= Count()) return nullptr;
    m_records.erase(m_records.begin() + i);
    if (i <= m_current && m_current > 0) --m_current;
    return At(m_current);
}

int PatientSet::IndexOf(const PatientRecord* record) const {
    for (int i = 0; i < Count(); ++i) {
        if (m_records[static_cast<size_t>(i)].get() == record) return i;
    }
    return -1;
}

void PatientSet::RemoveAll() {
    m_records.clear();
    m_current = 0;
}

}  // namespace pondrel
