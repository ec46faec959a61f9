#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "records/PatientFileReader.h"
#include "records/PatientFileWriter.h"
#include "records/WorkingFolders.h"

namespace pondrel {

class DeviceFileSystem;
class LocationList;
class PatientSet;
class Timers;
class UserMessages;

// What the main form plugs into the active set. Every hook may be left empty.
struct ActivePatientsHooks {
    // Writes the form's working copies (open fields, current problem) back into the current
    // record; called at the start of every save-all.
    std::function<void()> commitForm;
    // Shows the current record again after the set was reloaded or emptied.
    std::function<void()> refreshForm;
    // Writes the preferences file; called first when the program closes.
    std::function<void()> savePreferences;
    // Lets the form let go of every record it holds; called right before the set destroys
    // records (read again, a patient closed, all closed), never before the user answered.
    std::function<void()> releaseForm;
};

// The patients the doctor follows: the files of the active patients folder loaded into the set
// (those of the selected location), with saving of the whole set, the auto-save and backup
// timers, and the commands "Save all", "Open all", "Close all" and "Close one". Runs on the
// user-interface thread. Every reference must outlive the object.
class ActivePatients {
public:
    static constexpr int kMaxFiles = 1000;  // files of the active folder loaded at most
    static constexpr int kWarnFiles = 70;   // more files than this slow the handheld
    static constexpr int kBackupPeriodMinutes = 30;
    static constexpr int kTickMs = 60 * 1000;  // both timers tick once a minute
    static constexpr int kMaxAutoSaveMinutes = 10;

    ActivePatients(DeviceFileSystem& files, UserMessages& messages, Timers& timers,
                   WorkingFolders folders, PatientSet& patients, LocationList& locations,
                   ActivePatientsHooks hooks = {});
    ActivePatients(const ActivePatients&) = delete;
    ActivePatients& operator=(const ActivePatients&) = delete;

    // Empties the set and reads the files of the active folder into it (at most 1000, with a
    // message beyond), selects the remembered patient or position, and warns above 70 files.
    // When the folder can not be listed the user is told and nothing is loaded: the set keeps
    // the records it has (one empty record when it had none), so that a folder that could not
    // be read is never shown as an empty ward. True when the folder was listed.
    bool LoadActivePatients();

    // Saves every record of the set into the active folder (or, in backup mode, the backup
    // folder). True when every record was saved or had nothing to save; false when one was
    // refused or could not be written (the error flag). Messages: the writer's boxes and the
    // closing notice for "Save all"; for an automatic save the "Quick Save" notice, or a
    // warning notice that it failed; nothing when silent.
    bool SaveAll(QuietLevel quiet, SaveMode mode = SaveMode::Normal);
    // The error flag of the last save pass.
    bool LastSaveFailed() const { return m_lastSaveFailed; }
    // The outcome for each position of the set during the last save-all.
    const std::vector<SaveOutcome>& LastOutcomes() const { return m_outcomes; }
    int LastSavedCount() const { return m_lastSavedCount; }

    // "Save all", "Open all", "Close all" and "Close one". CloseOne returns true when the
    // patient was archived.
    void SaveAllCommand() { SaveAll(QuietLevel::Messages); }
    void OpenAll();
    void CloseAll();
    bool CloseOne();
    // Closing the main frame: preferences, then every record. False when the user chose to
    // keep the program running after a failed save. `formExists` is false when the frame closes
    // before its form was created. On true the timers are stopped.
    bool SaveOnExit(bool formExists = true);

    // The remembered position (counted from 1; kept in the preferences file) and the patient
    // remembered by field 2 + "|" + field 3 across a change of location.
    void SetRememberedPosition(int position) { m_rememberedPosition = position; }
    int RememberedPosition() const { return m_rememberedPosition; }
    void RememberPatient(std::u16string lastAndFirstName) {
        m_rememberedName = std::move(lastAndFirstName);
    }
    const std::u16string& RememberedPatient() const { return m_rememberedName; }
    // Files listed by the last load (before the location filter).
    int ListedFileCount() const { return m_listedCount; }

    // Patient-file transfers with the server still running; automatic saves and backups wait
    // while there are any.
    void SetPendingTransfers(int count) { m_pendingTransfers = count < 0 ? 0 : count; }
    int PendingTransfers() const { return m_pendingTransfers; }

    // Files held (FilesHold.h): while a dialogue edits files on disk, automatic saves and
    // backups wait (tried again at the next tick) and so do the listeners' writes. Holds nest;
    // when the last one is released the listeners run, in the order they were added.
    void HoldFiles() { ++m_held; }
    void ReleaseFiles();
    bool FilesHeld() const { return m_held > 0; }
    // Returns the listener's number for RemoveReleaseListener (before the listener goes).
    int AddReleaseListener(std::function<void()> listener);
    void RemoveReleaseListener(int number);

    // Timers. StartTimers at start-up: the auto-save timer when its interval is positive, the
    // backup timer always; its first tick is due at once (the platform timer fires the backup
    // timer when it starts), so a backup is taken once the patients are loaded.
    void StartTimers();
    void StopTimers();
    // The auto-save interval in minutes (0 = off; values above 10 count as 10). Setting it
    // (after the general settings closed) starts or stops the auto-save timer.
    void SetAutoSaveInterval(int minutes);
    int AutoSaveInterval() const { return m_autoSaveInterval; }
    // The main window was activated or deactivated: the auto-save timer runs only while the
    // window is active.
    void OnWindowActivated();
    void OnWindowDeactivated();
    // One tick of each timer (one minute).
    void OnAutoSaveTick();
    void OnBackupTick();
    int AutoSaveTickCount() const { return m_autoSaveTicks; }
    int BackupTickCount() const { return m_backupTicks; }

    // Moves a file of the active folder into the archive folder without ever losing a copy (an
    // older archive of the same name is replaced only by a complete copy) and deletes its
    // backup copy. False, with what went wrong in `failure`, while the file is still in the
    // active folder. Used by Close one and by the server file operations.
    bool MoveToArchive(const std::u16string& name, std::u16string* failure = nullptr);

    PatientFileReader& Reader() { return m_reader; }
    PatientFileWriter& Writer() { return m_writer; }

private:
    // True while a command or a save is running or the files are held; a timer tick that falls
    // then (a message box runs its own event loop) is deferred like one during a transfer.
    bool Busy() const { return m_busy > 0 || m_held > 0; }
    void StartAutoSaveTimer();
    void EmptySet();
    void SelectAfterLoad();
    // Moves the file into the archive folder without ever losing a copy; false (message
    // shown) when it is still in the active folder.
    bool ArchiveFile(const std::u16string& name);

    DeviceFileSystem& m_files;
    UserMessages& m_messages;
    Timers& m_timers;
    WorkingFolders m_folders;
    PatientSet& m_patients;
    LocationList& m_locations;
    ActivePatientsHooks m_hooks;
    PatientFileWriter m_writer;
    PatientFileReader m_reader;

    std::vector<SaveOutcome> m_outcomes;
    int m_lastSavedCount = 0;
    bool m_lastSaveFailed = false;
    int m_rememberedPosition = 1;
    std::u16string m_rememberedName;
    int m_listedCount = 0;
    int m_pendingTransfers = 0;
    int m_autoSaveInterval = 0;
    int m_autoSaveTicks = 0;
    int m_backupTicks = 60;  // a backup is due at the first tick
    bool m_windowActive = true;
    int m_busy = 0;
    int m_held = 0;
    std::vector<std::pair<int, std::function<void()>>> m_releaseListeners;
    int m_lastListener = 0;
};

}  // namespace pondrel
