#pragma once

#include <functional>

#include "records/WorkingFolders.h"
#include "sync/PatientFiles.h"

namespace pondrel {

class ActivePatients;
class Clock;
class DeviceFileSystem;
class LocationList;
class PatientSet;
struct PatientRecord;

// The server file operations on the active patient set: the open patients' files in the active
// folder, the form kept in step through the hooks.
class ActivePatientFiles final : public PatientFiles {
public:
    // How many replaced versions of one patient the backup folder keeps.
    static constexpr size_t kKeptReplacedVersions = 3;

    struct Hooks {
        std::function<void()> commitForm;   // the form writes its typing into the records
        std::function<void()> releaseForm;  // the form lets go of the records
        std::function<void()> refreshForm;  // the form shows the current record again
    };

    // Everything must outlive this object.
    ActivePatientFiles(ActivePatients& active, PatientSet& patients, LocationList& locations,
                       DeviceFileSystem& files, WorkingFolders folders, Clock& clock,
                       Hooks hooks = {});
    ~ActivePatientFiles() override;
    ActivePatientFiles(const ActivePatientFiles&) = delete;
    ActivePatientFiles& operator=(const ActivePatientFiles&) = delete;

    void SaveAll() override;
    std::vector<std::u16string> OpenFileNames() override;
    bool SaveBeforeSending(std::u16string_view fileName) override;
    std::optional<std::u16string> ReadFileText(std::u16string_view fileName) override;
    ReceivedFile StoreReceivedFile(std::u16string_view fileName, std::u16string_view text) override;
    void SetAccess(std::u16string_view fileName, std::u16string_view mode) override;
    bool MoveToArchive(std::u16string_view fileName) override;
    bool DeleteFile(std::u16string_view fileName) override;
    bool FilesHeld() override;
    void SetReleasedHandler(std::function<void()> released) override;

    // The name the backup folder gives a version replaced at `stamp` ("2006-03-07 09.05.00").
    static std::u16string ReplacedName(std::u16string_view fileName, std::u16string_view stamp);

private:
    PatientRecord* OpenRecord(std::u16string_view fileName);
    bool SaveRecord(PatientRecord& record);
    bool KeepReplacedVersion(std::u16string_view fileName);
    // Takes the patient of `fileName` out of the set (the set keeps at least one record).
    void Close(PatientRecord& record);

    ActivePatients& m_active;
    PatientSet& m_patients;
    LocationList& m_locations;
    DeviceFileSystem& m_files;
    Clock& m_clock;
    Hooks m_hooks;
    WorkingFolders m_folders;
    int m_releaseListener = 0;  // the session's, in the active set's listeners
};

}  // namespace pondrel
