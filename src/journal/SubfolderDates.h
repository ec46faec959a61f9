#pragma once

#include <string>

#include "platform/DateTime.h"
#include "records/DayNumber.h"

namespace pondrel {

inline constexpr std::u16string_view kHospitalisation = u"Hosp";
inline constexpr std::u16string_view kAmbulatory = u"Ambu";

// The members of a PatientRecord that hold the dates of its current subfolder, as the day
// logic of the journal editor reads and changes them.
struct SubfolderDates {
    std::u16string subfolderType = std::u16string(kHospitalisation);  // "Hosp" or "Ambu"
    DateTime admission;
    DayNumber admissionDay = 0;
    DateTime exit;
    int exitDateSet = 0;
    DayNumber historyStartDay = 0;
    std::u16string historyPeriod;

    // Anything but "Ambu" is shown as a hospitalisation.
    bool IsAmbulatory() const { return subfolderType == kAmbulatory; }

    friend bool operator==(const SubfolderDates&, const SubfolderDates&) = default;
};

}  // namespace pondrel
