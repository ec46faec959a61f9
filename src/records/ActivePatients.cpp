#include "records/ActivePatients.h"

#include <algorithm>

#include "platform/DeviceFileSystem.h"
#include "platform/Text.h"
#include "platform/Timers.h"
#include "platform/UserMessages.h"
#include "records/LocationList.h"
#include "records/PatientSet.h"

namespace pondrel {

namespace {

// Marks the set busy for the life of the scope.
class BusyScope {
public:
    explicit BusyScope(int& busy) : m_busy(busy) { ++m_busy; }
    ~BusyScope() { --m_busy; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    int& m_busy;
};

// The first character of a text (a surrogate pair counts as one).
std::u16string FirstLetter(const std::u16string& text) {
    if (text.empty()) return {};
    size_t length = (text[0] >= 0xD800 && text[0] <= 0xDBFF && text.size() > 1) ? 2 : 1;
    return text.substr(0, length);
}

bool IsWritten(SaveOutcome outcome) {
    return outcome == SaveOutcome::Written || outcome == SaveOutcome::WrittenTooBig;
}

// The record passed the checks of its name and was to be written.
bool IsToBeWritten(SaveOutcome outcome) {
    return IsWritten(outcome) || outcome == SaveOutcome::CannotCreate ||
           outcome == SaveOutcome::RefusedTooBig;
}

}  // namespace

ActivePatients::ActivePatients(DeviceFileSystem& files, UserMessages& messages, Timers& timers,
                               WorkingFolders folders, PatientSet& patients,
                               LocationList& locations, ActivePatientsHooks hooks)
    : m_files(files),
      m_messages(messages),
      m_timers(timers),
      m_folders(std::move(folders)),
      m_patients(patients),
      m_locations(locations),
      m_hooks(std::move(hooks)),
      m_writer(files, messages, PatientFolders::Of(m_folders)),
      m_reader(files, messages, m_folders, patients, locations) {}

void ActivePatients::EmptySet() {
    if (m_hooks.releaseForm) m_hooks.releaseForm();
    m_patients.RemoveAll();
    m_locations.ResetCounters();
}

bool ActivePatients::LoadActivePatients() {
    BusyScope busy(m_busy);
    bool more = false;
    std::vector<std::u16string> names;
    Error error;
    if (!m_files.ListFiles(WorkingFolders::kActivePatients, u"*.pdr", names,
                           static_cast<size_t>(kMaxFiles), &more, &error)) {
        m_messages.ShowBox(u"The folder <" + std::u16string(WorkingFolders::kActivePatients) +
                               u"> can not be read, so no patient has been loaded.\r\n(" +
                               FromUtf8(error.message) +
                               u")\r\nThe patients already open stay as they are. Check the "
                               u"folder, then use \"Open all\" to load the patients.",
                           u"File load failure", BoxButtons::Ok, BoxIcon::Error);
        if (m_patients.Count() == 0) m_patients.AddNew();
        if (m_hooks.refreshForm) m_hooks.refreshForm();
        return false;
    }
    m_listedCount = static_cast<int>(names.size());
    if (more) {
        m_messages.ShowBox(
            u"There is more than 1000 patients into the <<PD_ActivePatients>> directory. Contact "
            u"Omblane is you need more patients in this directory. Only the first 1000 patients "
            u"have been loaded !",
            u"File load limitation", BoxButtons::Ok, BoxIcon::Error);
    }

    EmptySet();
    for (const std::u16string& name : names) m_reader.ReadPatientFile(name);
    // A damaged first file leaves an empty placeholder record behind; it holds nothing and
    // goes once real patients were loaded after it.
    for (int i = m_patients.Count() - 1; i >= 0 && m_patients.Count() >= 2; --i) {
        if (m_patients.At(i)->inUse == 0) m_patients.RemoveAt(i);
    }
    if (m_patients.Count() == 0) m_patients.AddNew();
    SelectAfterLoad();
    if (m_hooks.refreshForm) m_hooks.refreshForm();

    if (m_listedCount > kWarnFiles) {
        m_messages.ShowBox(
            Format(u"The number of active files should not exceed 70 on the PocketPC or the "
                   u"system will be slowed down.\r\nYou already have %d files.\r\nArchivate the "
                   u"files that you don't use currently.",
                   {m_listedCount}),
            Format(u"Active files: %d", {m_listedCount}));
    }
    return true;
}

void ActivePatients::SelectAfterLoad() {
    int index = -1;
    if (!m_rememberedName.empty()) {
        for (int i = 0; i < m_patients.Count(); ++i) {
            const PatientRecord* record = m_patients.At(i);
            if (record->Field(2) + u"|" + record->Field(3) == m_rememberedName) {
                index = i;
                m_rememberedPosition = i + 1;
                break;
            }
        }
        // Used once: a later reload selects by position again.
        m_rememberedName.clear();
    }
    if (index < 0) {
        index = (m_rememberedPosition >= 1 && m_rememberedPosition <= m_patients.Count())
                    ? m_rememberedPosition - 1
                    : 0;
    }
    m_patients.SetCurrent(index);
}

bool ActivePatients::SaveAll(QuietLevel quiet, SaveMode mode) {
    BusyScope busy(m_busy);
    if (m_hooks.commitForm) m_hooks.commitForm();
    SaveState state;
    state.quiet = quiet;
    state.backupMode = mode == SaveMode::Backup;
    m_outcomes.assign(static_cast<size_t>(m_patients.Count()), SaveOutcome::NotInUse);
    for (int i = 0; i < m_patients.Count(); ++i) {
        m_outcomes[static_cast<size_t>(i)] =
            m_writer.SavePatient(*m_patients.At(i), i, mode, state);
    }
    m_lastSavedCount = state.savedCount;
    m_lastSaveFailed = state.error;

    // A record whose file could not be created was to be saved: the pass ends with the error
    // notice, not as if there had been nothing to save.
    const bool anyToWrite = std::any_of(m_outcomes.begin(), m_outcomes.end(), IsToBeWritten);
    if (quiet == QuietLevel::Messages) {
        if (!anyToWrite) {
            m_messages.ShowNotice(u"Nothing was saved !", 3000, true);
        } else if (!state.error) {
            m_messages.ShowNotice(u"Save successfull", 2000);
        } else {
            m_messages.ShowNotice(u"End Save  \r\n (there was an error)", 4000, true);
        }
    } else if (quiet == QuietLevel::Automatic) {
        // An automatic save that fails says so each time, without a box: the doctor must know
        // that the patients are no longer saved by themselves.
        if (state.error) {
            m_messages.ShowNotice(
                state.backupMode ? u"Backup failed !\r\n(a patient could not be copied)"
                                 : u"Automatic save failed !\r\n(a patient could not be saved)",
                4000, true);
        } else if (state.savedCount > 0 && !state.backupMode) {
            m_messages.ShowNotice(u"Quick Save", 1000);
        }
    }
    return !state.error;
}

void ActivePatients::OpenAll() {
    BusyScope busy(m_busy);
    BoxAnswer answer =
        m_messages.ShowBox(u"Do you want to save all active patients files before open all ?",
                           u"Save all before", BoxButtons::YesNoCancel, BoxIcon::Question);
    if (answer == BoxAnswer::No) {
        LoadActivePatients();
    } else if (answer == BoxAnswer::Yes) {
        if (SaveAll(QuietLevel::Messages)) LoadActivePatients();
    }
}

void ActivePatients::CloseAll() {
    BusyScope busy(m_busy);
    BoxAnswer answer = m_messages.ShowBox(
        u"Do you want to save the files of all active patients before you close all ?",
        u"Close all", BoxButtons::YesNoCancel, BoxIcon::Question);
    if (answer == BoxAnswer::Cancel) return;
    if (answer == BoxAnswer::Yes && !SaveAll(QuietLevel::Messages)) {
        if (m_messages.ShowBox(
                u"An error occurs while saving. Do you want to close without saving ?",
                u"Close without saving all?", BoxButtons::OkCancel,
                BoxIcon::Question) == BoxAnswer::Cancel) {
            return;
        }
    }
    EmptySet();
    m_patients.AddNew();
    if (m_hooks.refreshForm) m_hooks.refreshForm();
}

bool ActivePatients::CloseOne() {
    BusyScope busy(m_busy);
    PatientRecord* current = m_patients.Current();
    if (!current) return false;
    for (int n = 2; n <= 6; ++n) {
        if (current->Field(n).empty()) {
            m_messages.ShowNotice(u"No patient name", 1000, true);
            return false;
        }
    }
    if (m_messages.ShowBox(u"Do you really want to save, close and archive " + current->Field(2) +
                               u" " + FirstLetter(current->Field(3)) + u" " + current->Field(6),
                           u"Close patient : yes or no ?", BoxButtons::YesNo,
                           BoxIcon::Information) != BoxAnswer::Yes) {
        return false;
    }

    const bool error = !SaveAll(QuietLevel::Messages);
    const int index = m_patients.IndexOf(current);
    // Archiving the file of a patient whose latest changes could not be written would lose
    // them: the patient stays open until it can be saved.
    if (index < 0 || static_cast<size_t>(index) >= m_outcomes.size() ||
        !IsWritten(m_outcomes[static_cast<size_t>(index)])) {
        m_messages.ShowBox(u"The patient " + current->Field(2) + u" " + current->Field(3) + u" " +
                               current->Field(6) +
                               u" could not be saved, so the file has not been closed nor "
                               u"archived.\r\nCorrect the problem and close the patient again.",
                           u"Close patient", BoxButtons::Ok, BoxIcon::Error);
        return false;
    }
    // The file just written: named after the patient as saved now.
    const std::u16string name = PatientFileName(*current);
    if (!ArchiveFile(name)) return false;

    m_locations.UncountPatient(current->location);
    if (m_hooks.releaseForm) m_hooks.releaseForm();
    if (m_patients.Count() >= 2) {
        m_patients.RemoveAt(index);
    } else {
        m_patients.RemoveAll();
        m_patients.AddNew();
    }
    m_messages.ShowNotice(u"The file has been saved, closed and archived", 5000);
    // After a save error the other records may hold changes that are not on disk yet: they
    // stay as they are instead of being read again from their files.
    if (!error) {
        LoadActivePatients();
    } else if (m_hooks.refreshForm) {
        m_hooks.refreshForm();
    }
    return true;
}

bool ActivePatients::MoveToArchive(const std::u16string& name, std::u16string* failure) {
    const std::u16string active = WorkingFolders::ActiveFile(name);
    const std::u16string archive = JoinPath(WorkingFolders::kArchives, name);
    const std::u16string archives(WorkingFolders::kArchives);
    if (!m_files.FolderExists(archives)) m_files.CreateFolder(archives);

    Error error;
    bool archived = false;
    bool copiedOnly = false;
    if (m_files.FileExists(archive)) {
        // An older archive of the same name is replaced only by a complete copy (the copy
        // replaces it in one step); the active file goes once the copy is there.
        if (m_files.CopyFile(active, archive, &error)) {
            archived = m_files.DeleteFile(active, &error);
            copiedOnly = !archived;
        }
    } else {
        archived = m_files.MoveFile(active, archive, &error);
    }
    if (!archived) {
        if (failure) {
            const std::u16string where = std::u16string(WorkingFolders::kArchives) + u"\\" + name;
            *failure = copiedOnly
                           ? u"The file <" + name + u"> has been copied to <" + where +
                                 u"> but could not be removed from the "
                                 u"<PD_ActivePatients> folder."
                           : u"The file <" + name + u"> could not be moved to <" + where + u">.";
            if (!error.message.empty()) *failure += u"\r\n(" + FromUtf8(error.message) + u")";
        }
        return false;
    }
    const std::u16string copy = JoinPath(m_folders.Backup(), name);
    if (m_files.FileExists(copy)) m_files.DeleteFile(copy);
    return true;
}

bool ActivePatients::ArchiveFile(const std::u16string& name) {
    std::u16string failure;
    if (MoveToArchive(name, &failure)) return true;
    // The failure's own reason (if any) comes last, after what it means for the patient.
    size_t reason = failure.find(u"\r\n(");
    std::u16string text = failure.substr(0, reason);
    text += u"\r\nThe patient has been saved and stays open in the active patients folder.";
    if (reason != std::u16string::npos) text += failure.substr(reason);
    m_messages.ShowBox(text, u"Close patient", BoxButtons::Ok, BoxIcon::Error);
    return false;
}

bool ActivePatients::SaveOnExit(bool formExists) {
    BusyScope busy(m_busy);
    if (m_hooks.savePreferences) m_hooks.savePreferences();
    if (!SaveAll(QuietLevel::Messages)) {
        std::u16string text =
            formExists
                ? u"There was a patient save failure while exit (probably an open patient with an "
                  u"incomplete name or date of birth). Do you want to exit without saving all ?"
                : u"There was a save failure while exit. Do you want to exit without saving all ?";
        if (m_messages.ShowBox(text, u"Exit without saving all?", BoxButtons::OkCancel,
                               BoxIcon::Question) == BoxAnswer::Cancel) {
            return false;
        }
    }
    StopTimers();
    return true;
}

void ActivePatients::StartTimers() {
    StartAutoSaveTimer();
    m_timers.Start(TimerId::Backup, kTickMs, [this] { OnBackupTick(); });
}

void ActivePatients::StopTimers() {
    m_timers.Stop(TimerId::AutoSave);
    m_timers.Stop(TimerId::Backup);
}

void ActivePatients::StartAutoSaveTimer() {
    if (m_autoSaveInterval <= 0 || !m_windowActive) {
        m_timers.Stop(TimerId::AutoSave);
    } else if (!m_timers.IsRunning(TimerId::AutoSave)) {
        // A running timer keeps its phase: restarting it on every activation (each message
        // box deactivates the window) could keep it from ever ticking.
        m_timers.Start(TimerId::AutoSave, kTickMs, [this] { OnAutoSaveTick(); });
    }
}

void ActivePatients::SetAutoSaveInterval(int minutes) {
    m_autoSaveInterval = std::clamp(minutes, 0, kMaxAutoSaveMinutes);
    StartAutoSaveTimer();
}

void ActivePatients::OnWindowActivated() {
    m_windowActive = true;
    StartAutoSaveTimer();
}

void ActivePatients::OnWindowDeactivated() {
    m_windowActive = false;
    m_timers.Stop(TimerId::AutoSave);
}

void ActivePatients::ReleaseFiles() {
    if (m_held == 0 || --m_held > 0) return;
    // A copy: a listener may remove itself or another.
    const auto listeners = m_releaseListeners;
    for (const auto& [number, listener] : listeners) {
        if (listener) listener();
    }
}

int ActivePatients::AddReleaseListener(std::function<void()> listener) {
    m_releaseListeners.emplace_back(++m_lastListener, std::move(listener));
    return m_lastListener;
}

void ActivePatients::RemoveReleaseListener(int number) {
    std::erase_if(m_releaseListeners,
                  [number](const auto& entry) { return entry.first == number; });
}

void ActivePatients::OnAutoSaveTick() {
    ++m_autoSaveTicks;
    if (m_autoSaveInterval <= 0 || m_autoSaveTicks < m_autoSaveInterval) return;
    // A tick inside a running command (its message box runs an event loop) tries again at the
    // next tick; a save during a transfer is skipped for a whole interval.
    if (Busy()) return;
    if (m_pendingTransfers == 0) SaveAll(QuietLevel::Automatic, SaveMode::Normal);
    m_autoSaveTicks = 0;
}

void ActivePatients::OnBackupTick() {
    ++m_backupTicks;
    if (m_backupTicks < kBackupPeriodMinutes) return;
    if (m_pendingTransfers > 0 || Busy()) {
        m_backupTicks = kBackupPeriodMinutes - 2;  // tried again two minutes later
        return;
    }
    const std::u16string backup = m_folders.Backup();
    if (!m_files.FolderExists(backup)) m_files.CreateFolder(backup);
    SaveAll(QuietLevel::Automatic, SaveMode::Backup);
    m_backupTicks = 0;
}

}  // namespace pondrel
