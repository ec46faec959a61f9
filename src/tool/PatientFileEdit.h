#pragma once

// Reading a patient file named by a host path, and the in-place corrections of the tool
// commands that change a record (entry, header).

#include <filesystem>
#include <string>

#include "records/PatientFileWriter.h"
#include "records/PatientRecord.h"

namespace pondrel::tool {

// Reads a patient file the way the tools do (LoadPatientFile: whole or not at all, version 3.00
// converted in memory, no location filter). On failure the reason goes to stderr ("cannot
// open", "too big", "empty", "newer version", "damaged: N") and false is returned.
bool LoadHostPatient(const std::filesystem::path& file, PatientRecord& record);

// A short reason for a save that wrote nothing ("" for the outcomes that wrote the file).
const char* SaveOutcomeReason(SaveOutcome outcome);

// Writes the record into the root folder of `files` by the program's writer (normal mode,
// quiet, no backup folder). On a refusal or failure the reason goes to stderr and false is
// returned.
bool SaveWithProgramWriter(DeviceFileSystem& files, PatientRecord& record);

// One patient file read whole, changed in memory and written back under its own name in its own
// folder by the program's writer (normal mode, quiet, one atomic write).
class PatientFileEdit {
public:
    explicit PatientFileEdit(std::filesystem::path file) : m_file(std::move(file)) {}
    PatientFileEdit(const PatientFileEdit&) = delete;
    PatientFileEdit& operator=(const PatientFileEdit&) = delete;

    // See LoadHostPatient. Nothing can be saved unless this succeeded.
    bool Load();
    PatientRecord& Record() { return m_record; }

    // Writes the record back. Refused, with the reason on stderr and the file untouched, when
    // the file was not loaded, when it is read only here (lock "R": another user holds it),
    // when the patient is not in use, when the file's name is not the one the writer gives the
    // patient (it would be renamed), when the change would make the file too big (195 001
    // characters or more and longer than before) or the file would be too big for the reader
    // to open, or when the writer refuses or fails.
    bool Save();

private:
    std::filesystem::path m_file;
    PatientRecord m_record;
    bool m_loaded = false;
    size_t m_textLengthBefore = 0;
};

}  // namespace pondrel::tool
