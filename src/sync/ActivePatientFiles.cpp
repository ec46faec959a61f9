#include "sync/ActivePatientFiles.h"

#include <algorithm>

#include "platform/Clock.h"
#include "platform/DeviceFileSystem.h"
#include "platform/Text.h"
#include "records/ActivePatients.h"
#include "records/ItemEncoding.h"
#include "records/LocationList.h"
#include "records/PatientFileFormat.h"
#include "records/PatientFileWriter.h"
#include "records/PatientRecord.h"
#include "records/PatientSet.h"
#include "sync/WireNames.h"

namespace pondrel {

ActivePatientFiles::ActivePatientFiles(ActivePatients& active, PatientSet& patients,
                                       LocationList& locations, DeviceFileSystem& files,
                                       WorkingFolders folders, Clock& clock, Hooks hooks)
    : m_active(active),
      m_patients(patients),
      m_locations(locations),
      m_files(files),
      m_clock(clock),
      m_hooks(std::move(hooks)),
      m_folders(std::move(folders)) {}

ActivePatientFiles::~ActivePatientFiles() {
    SetReleasedHandler({});
}

bool ActivePatientFiles::FilesHeld() {
    return m_active.FilesHeld();
}

void ActivePatientFiles::SetReleasedHandler(std::function<void()> released) {
    if (m_releaseListener != 0) m_active.RemoveReleaseListener(m_releaseListener);
    m_releaseListener = released ? m_active.AddReleaseListener(std::move(released)) : 0;
}

PatientRecord* ActivePatientFiles::OpenRecord(std::u16string_view fileName) {
    for (int i = 0; i < m_patients.Count(); ++i) {
        PatientRecord* record = m_patients.At(i);
        if (record && !record->fileName.empty() && EqualsIgnoreCase(record->fileName, fileName)) {
            return record;
        }
    }
    return nullptr;
}

void ActivePatientFiles::SaveAll() {
    // As the automatic save: no box, only its short notice.
    m_active.SaveAll(QuietLevel::Automatic);
}

std::vector<std::u16string> ActivePatientFiles::OpenFileNames() {
    std::vector<std::u16string> names;
    for (int i = 0; i < m_patients.Count(); ++i) {
        const PatientRecord* record = m_patients.At(i);
        if (record && !record->fileName.empty()) names.push_back(record->fileName);
    }
    return names;
}

bool ActivePatientFiles::SaveRecord(PatientRecord& record) {
    SaveState state;
    state.quiet = QuietLevel::Silent;
    SaveOutcome outcome =
        m_active.Writer().SavePatient(record, m_patients.IndexOf(&record), SaveMode::Normal, state);
    return outcome == SaveOutcome::Written || outcome == SaveOutcome::NotInUse;
}

bool ActivePatientFiles::SaveBeforeSending(std::u16string_view fileName) {
    if (m_hooks.commitForm) m_hooks.commitForm();
    PatientRecord* record = OpenRecord(fileName);
    if (!record) return true;  // the file on disk is all there is
    const std::u16string before(fileName);
    // A patient renamed since its last save gets another file: the one asked for is stale.
    return SaveRecord(*record) && EqualsIgnoreCase(record->fileName, before);
}

std::optional<std::u16string> ActivePatientFiles::ReadFileText(std::u16string_view fileName) {
    std::string bytes;
    if (!m_files.ReadFile(WorkingFolders::ActiveFile(fileName), kMaxPatientFileBytes, bytes)) {
        return std::nullopt;
    }
    return DecodeItemText(bytes);
}

std::u16string ActivePatientFiles::ReplacedName(std::u16string_view fileName,
                                                std::u16string_view stamp) {
    return std::u16string(WithoutExtension(fileName)) + u" (replaced " + std::u16string(stamp) +
           u").pdr";
}

bool ActivePatientFiles::KeepReplacedVersion(std::u16string_view fileName) {
    const std::u16string active = WorkingFolders::ActiveFile(fileName);
    if (!m_files.FileExists(active)) return true;  // nothing is replaced
    const std::u16string backup = m_folders.Backup();
    if (!m_files.FolderExists(backup) && !m_files.CreateFolder(backup)) return false;
    DateTime now = m_clock.Now();
    std::u16string stamp = Format(u"%d-", {now.year});
    for (int part : {now.month, now.day}) stamp += (part < 10 ? u"0" : u"") + ToText(part) + u"-";
    stamp.back() = u' ';
    for (int part : {now.hour, now.minute, now.second}) {
        stamp += (part < 10 ? u"0" : u"") + ToText(part) + u".";
    }
    stamp.pop_back();
    if (!m_files.CopyFile(active, JoinPath(backup, ReplacedName(fileName, stamp)))) return false;
    // The oldest versions go beyond the few kept (their names sort by date).
    // A folder that cannot be listed keeps every version.
    std::vector<std::u16string> kept;
    m_files.ListFiles(backup, std::u16string(WithoutExtension(fileName)) + u" (replaced *).pdr",
                      kept);
    while (kept.size() > kKeptReplacedVersions) {
        m_files.DeleteFile(JoinPath(backup, kept.front()));
        kept.erase(kept.begin());
    }
    return true;
}

void ActivePatientFiles::Close(PatientRecord& record) {
    if (m_hooks.releaseForm) m_hooks.releaseForm();
    m_locations.UncountPatient(record.location);
    PatientRecord* current = m_patients.Current();
    if (m_patients.Count() < 2) m_patients.AddNew();
    m_patients.RemoveAt(m_patients.IndexOf(&record));
    if (current != &record) m_patients.SetCurrent(m_patients.IndexOf(current));
}

ReceivedFile ActivePatientFiles::StoreReceivedFile(std::u16string_view fileName,
                                                   std::u16string_view text) {
    if (!IsPatientFileName(fileName)) return ReceivedFile::NotWritten;
    if (m_hooks.commitForm) m_hooks.commitForm();
    PatientRecord* open = OpenRecord(fileName);
    // What the user typed into a patient he may edit is on disk before anything is replaced.
    if (open && open->lockState != u"R" && open->inUse != 0 && !SaveRecord(*open)) {
        return ReceivedFile::NotSaved;
    }
    if (!KeepReplacedVersion(fileName)) return ReceivedFile::NotWritten;
    if (!m_files.WriteFile(WorkingFolders::ActiveFile(fileName), EncodeItemText(text))) {
        return ReceivedFile::NotWritten;
    }
    const bool wasCurrent = open && m_patients.Current() == open;
    PatientRecord* current = m_patients.Current();
    if (open) Close(*open);
    if (m_hooks.releaseForm) m_hooks.releaseForm();
    if (m_active.Reader().ReadPatientFile(fileName) && !wasCurrent && current != open) {
        // The patient on screen stays on screen.
        int index = m_patients.IndexOf(current);
        if (index >= 0) m_patients.SetCurrent(index);
    }
    if (m_hooks.refreshForm) m_hooks.refreshForm();
    return ReceivedFile::Stored;
}

void ActivePatientFiles::SetAccess(std::u16string_view fileName, std::u16string_view mode) {
    PatientRecord* record = OpenRecord(fileName);
    if (!record || record->lockState == mode) return;
    // What was typed into the patient goes into its record while it may still be written.
    if (mode == u"R" && m_hooks.commitForm) m_hooks.commitForm();
    record->lockState = mode;
    // The form shows the new mode at once (the patient box, the read-only windows).
    if (record == m_patients.Current() && m_hooks.refreshForm) m_hooks.refreshForm();
}

bool ActivePatientFiles::MoveToArchive(std::u16string_view fileName) {
    if (m_hooks.commitForm) m_hooks.commitForm();
    PatientRecord* open = OpenRecord(fileName);
    if (open && open->lockState != u"R" && open->inUse != 0 && !SaveRecord(*open)) return false;
    if (!m_active.MoveToArchive(std::u16string(fileName))) return false;
    if (open) Close(*open);
    if (m_hooks.refreshForm) m_hooks.refreshForm();
    return true;
}

bool ActivePatientFiles::DeleteFile(std::u16string_view fileName) {
    if (m_hooks.commitForm) m_hooks.commitForm();
    const std::u16string active = WorkingFolders::ActiveFile(fileName);
    if (m_files.FileExists(active) && !m_files.DeleteFile(active)) return false;
    const std::u16string copy = JoinPath(m_folders.Backup(), fileName);
    if (m_files.FileExists(copy)) m_files.DeleteFile(copy);
    if (PatientRecord* open = OpenRecord(fileName)) Close(*open);
    if (m_hooks.refreshForm) m_hooks.refreshForm();
    return true;
}

}  // namespace pondrel
