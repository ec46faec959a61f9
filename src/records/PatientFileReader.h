#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "records/DayNumber.h"
#include "records/PatientFileParser.h"
#include "records/WorkingFolders.h"

namespace pondrel {

class DeviceFileSystem;
class LocationList;
class PatientSet;
class UserMessages;

// Reads patient files of the active patients folder into the set, as the program does: with the
// location filter and its counters, the conversion of version 3.00 files written back to disk,
// and the damaged-file dialogue that offers the backup copy. Every reference must outlive the
// reader.
class PatientFileReader {
public:
    PatientFileReader(DeviceFileSystem& files, UserMessages& messages, WorkingFolders folders,
                      PatientSet& patients, LocationList& locations);

    // Reads `name` (a file name without folder). On success the new record is appended to the
    // set, becomes current, and true is returned. Otherwise the set is as before (a damaged
    // record that would be the only one stays, emptied and not in use); the reason was shown.
    // A patient left out by the location filter is counted but not loaded (false, no message).
    bool ReadPatientFile(std::u16string_view name);

    // The order of the dates the reader shows (the date-order setting); day first until set.
    void SetDateOrder(DateOrder order) { m_dateOrder = order; }

    // The name of the last file whose text was read, and its location item.
    const std::u16string& LastFileName() const { return m_lastFileName; }
    const std::u16string& LastLocation() const { return m_lastLocation; }

private:
    bool Read(std::u16string_view name, int attempt);
    // Writes a converted version 3.00 text back; false (reason shown) when it is not to be
    // loaded.
    bool WriteConversion(std::u16string_view name, const std::u16string& converted);
    // `counted`: the location the damaged file was counted at, if any.
    bool HandleDamagedFile(std::u16string_view name, DamageCode damage, int attempt,
                           const std::optional<std::u16string>& counted);
    std::u16string ActivePath(std::u16string_view name) const;

    DeviceFileSystem& m_files;
    UserMessages& m_messages;
    WorkingFolders m_folders;
    PatientSet& m_patients;
    LocationList& m_locations;
    DateOrder m_dateOrder = DateOrder::DayMonthYear;
    std::u16string m_lastFileName;
    std::u16string m_lastLocation;
};

}  // namespace pondrel
