#pragma once

#include "records/PatientSet.h"

namespace pondrel {

class Clock;

// The document of the program: owns the set of loaded patient folders for the life of the
// program. The main frame creates it; the main form reaches the records through it.
class CCorvaneDoc {
public:
    // `clock` must outlive the document.
    explicit CCorvaneDoc(Clock& clock) : m_patients(clock) {}
    CCorvaneDoc(const CCorvaneDoc&) = delete;
    CCorvaneDoc& operator=(const CCorvaneDoc&) = delete;

    PatientSet& Patients() { return m_patients; }
    const PatientSet& Patients() const { return m_patients; }

private:
    PatientSet m_patients;
};

}  // namespace pondrel
