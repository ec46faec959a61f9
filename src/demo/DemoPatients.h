#pragma once

// Fictional patients for demonstrations, tests and benchmarks: invented names, varied ages and
// both sexes, vital signs and history in the form fields, a problem journal over the days of
// the stay, and for some patients earlier stays kept as further subfolders.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DateTime.h"
#include "records/PatientRecord.h"

namespace pondrel {

class DeviceFileSystem;

inline constexpr uint64_t kDefaultDemoSeed = 20060313;
inline constexpr int kMaxDemoPatients = 10000;

struct DemoOptions {
    int patients = 20;  // 0..kMaxDemoPatients
    uint64_t seed = kDefaultDemoSeed;
    DateTime today = {2026, 3, 2, 8, 0, 0};  // the last day of the journals
};

// The records of the demo patients, in use, each with a distinct file name. The same options
// always give the same records.
std::vector<PatientRecord> MakeDemoPatients(const DemoOptions& options);

struct DemoWriteResult {
    int written = 0;
    std::vector<std::u16string> skipped;  // names of files that existed already (left alone)
    std::vector<std::u16string> failed;   // names of files that could not be written
};

// Writes the demo patients into `activeFolder` (a device path) with the patient file writer.
// An existing file of the same name is never replaced.
DemoWriteResult WriteDemoPatients(DeviceFileSystem& files, std::u16string_view activeFolder,
                                  const DemoOptions& options);

}  // namespace pondrel
