#include "records/FilesManager.h"

#include "platform/DeviceFileSystem.h"
#include "platform/Text.h"
#include "platform/UserMessages.h"
#include "records/ActivePatients.h"
#include "records/ItemEncoding.h"
#include "records/PatientSet.h"
#include "records/PatientFileFormat.h"
#include "records/PatientFileParser.h"
#include "records/Version300Conversion.h"

namespace pondrel {

namespace {

const std::u16string kDuplicateText =
    u"There is already a file that has the same name. You have to merge these two files or "
    u"rename one of them.";
const std::u16string kNoPatientText = u"No patient selected. Select a patient before.";
const std::u16string kWriteFailureText = u"Activation failure !";

}  // namespace

bool SaveBeforeFilesManager(ActivePatients& active, PatientSet& patients, UserMessages& messages,
                            bool* saved) {
    if (saved) *saved = false;
    active.SetRememberedPosition(patients.CurrentNumber());
    const PatientRecord* current = patients.Current();
    const bool unnamed = !current || (current->Field(2).empty() && current->Field(3).empty() &&
                                      current->Field(6).empty());
    if (patients.Count() < 2 && unnamed) return true;
    if (saved) *saved = true;
    if (!active.SaveAll(QuietLevel::Messages)) {
        messages.ShowBox(u"An error occurs while saving before opening the archive window. You "
                         u"have to save all your active patients or close them without an error "
                         u"to open the archive dialiog.",
                         u"Archive dialog can't be open", BoxButtons::Ok, BoxIcon::None);
        return false;
    }
    return true;
}

std::u16string HeldFileText(bool archiving) {
    return archiving ? u"This file stands on the server. Lock it on your computer before archiving."
                     : u"This file stands on the server. Lock it on your computer before "
                       u"changing it.";
}

FilesManager::FilesManager(DeviceFileSystem& files, UserMessages& messages,
                           WorkingFolders folders)
    : m_files(files), m_messages(messages), m_folders(std::move(folders)) {}

std::u16string FilesManager::ActivePath(std::u16string_view name) const {
    return JoinPath(WorkingFolders::kActivePatients, name);
}
std::u16string FilesManager::ArchivePath(std::u16string_view name) const {
    return JoinPath(WorkingFolders::kArchives, name);
}
std::u16string FilesManager::BackupPath(std::u16string_view name) const {
    return JoinPath(m_folders.Backup(), name);
}

void FilesManager::ListFolders() {
    ListFolder(m_files, WorkingFolders::kActivePatients, m_active);
    ListFolder(m_files, WorkingFolders::kArchives, m_archived);
    if (m_activeRow >= static_cast<int>(m_active.size())) m_activeRow = -1;
    if (m_archivedRow >= static_cast<int>(m_archived.size())) m_archivedRow = -1;
}

int FilesManager::RowOf(List list, std::u16string_view displayName) const {
    const auto& entries = Entries(list);
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].displayName == displayName) return static_cast<int>(i);
    }
    return -1;
}

int FilesManager::CurrentStay() const {
    for (size_t i = 0; i < m_stays.size(); ++i) {
        if (m_stays[i].current) return static_cast<int>(i);
    }
    return -1;
}

bool FilesManager::ReadText(const std::u16string& path, std::u16string& text, FileAsRead& read) {
    read = ReadForEditing(m_files, path, kMaxPatientFileBytes);
    if (!read.bytes || !read.complete) {
        m_messages.ShowBox(u"The file " + path + u" can not be opened. Be sure that it is present.",
                           u"File load failure 1", BoxButtons::Ok, BoxIcon::Error);
        return false;
    }
    text = DecodeItemText(*read.bytes);
    if (IsVersion300(text)) {
        std::u16string converted;
        if (!ConvertVersion300(text, converted, nullptr)) {
            m_messages.ShowBox(u"The record < " + path + u" > can not be opened !",
                               u"File load failure 4", BoxButtons::Ok, BoxIcon::Warning);
            return false;
        }
        text = std::move(converted);
    }
    if (PatientFileVersion(text) > kNewestReadableVersion) {
        m_messages.ShowBox(u"The file " + path +
                               u" can not be loaded because it's converted in a more recent "
                               u"version !",
                           u"File load failure", BoxButtons::Ok, BoxIcon::Error);
        return false;
    }
    return true;
}

bool FilesManager::Select(List list, int row) {
    const auto& entries = Entries(list);
    if (row < 0 || row >= static_cast<int>(entries.size())) row = -1;
    m_lastList = list;
    m_activeRow = list == List::Active ? row : -1;
    m_archivedRow = list == List::Archived ? row : -1;
    m_text.clear();
    m_stays.clear();
    m_read = {};
    if (row < 0) return true;
    const std::u16string& name = entries[static_cast<size_t>(row)].fileName;
    const std::u16string path = list == List::Active ? ActivePath(name) : ArchivePath(name);
    std::u16string text;
    if (!ReadText(path, text, m_read)) return false;
    m_text = std::move(text);
    m_stays = ListStays(m_text);
    return true;
}

void FilesManager::RefuseHeld(bool archiving) {
    m_messages.ShowBox(HeldFileText(archiving), u"Unlocked file", BoxButtons::Ok, BoxIcon::None);
}

bool FilesManager::SelectedActiveFile(std::u16string* name) {
    if (m_text.empty()) {
        m_messages.ShowBox(kNoPatientText, u"Nothing selected", BoxButtons::Ok, BoxIcon::None);
        return false;
    }
    if (m_lastList != List::Active || m_activeRow < 0) {
        m_messages.ShowBox(u"Select before a patient in the active or archive list",
                           u"Select a patient", BoxButtons::Ok, BoxIcon::None);
        return false;
    }
    if (HeldByAnotherUser(m_text)) {
        RefuseHeld(false);
        return false;
    }
    if (name) *name = m_active[static_cast<size_t>(m_activeRow)].fileName;
    return true;
}

bool FilesManager::WriteSelected(const std::u16string& text) {
    if (!FitsPatientFileLimit(text.size()) || text.size() >= kTooBigTextLength) {
        ShowChangeFailure(TextChange::TooBig, u"Save failure");
        return false;
    }
    const CheckedWrite written =
        WriteIfUnchanged(m_files, m_messages, m_read, EncodeItemText(text));
    if (written == CheckedWrite::Failed) {
        m_messages.ShowBox(kWriteFailureText, u"Save failure", BoxButtons::Ok, BoxIcon::Error);
    }
    // Read again: what the file holds now is what the lists show.
    Select(List::Active, m_activeRow);
    return written == CheckedWrite::Written;
}

void FilesManager::ShowChangeFailure(TextChange change, const std::u16string& caption) {
    switch (change) {
        case TextChange::Done:
            return;
        case TextChange::TooBig:
            m_messages.ShowBox(u"The patient's file would be too big to be opened again: nothing "
                               u"was changed. Shorten the texts of this patient first.",
                               u"Patient's file too big", BoxButtons::Ok, BoxIcon::Error);
            return;
        case TextChange::TooManyProblems:
            m_messages.ShowBox(u"The two folders hold more than 100 different problems together: "
                               u"nothing was merged. Join or delete problems of one of them "
                               u"first.",
                               u"Merging failure", BoxButtons::Ok, BoxIcon::Error);
            return;
        default:
            m_messages.ShowBox(u"The patient's folder seems to be empty or not valid. The "
                               u"operation is canceled.",
                               caption, BoxButtons::Ok, BoxIcon::Error);
            return;
    }
}

bool FilesManager::Archive() {
    if (m_activeRow < 0 || m_lastList != List::Active) {
        m_messages.ShowBox(u"No active patient selected. Select an active patient first.",
                           u"Nothing selected", BoxButtons::Ok, BoxIcon::Error);
        return false;
    }
    if (HeldByAnotherUser(m_text)) {
        RefuseHeld(true);
        return false;
    }
    const FolderEntry entry = m_active[static_cast<size_t>(m_activeRow)];
    if (RowOf(List::Archived, entry.displayName) >= 0 ||
        m_files.FileExists(ArchivePath(entry.fileName))) {
        m_messages.ShowBox(kDuplicateText, u"Duplication found", BoxButtons::Ok, BoxIcon::None);
        return false;
    }
    if (!StillAsRead(m_files, m_read)) {
        TellFileChanged(m_messages, m_read.path);
        Select(List::Active, m_activeRow);
        return false;
    }
    Error error;
    if (!m_files.MoveFile(ActivePath(entry.fileName), ArchivePath(entry.fileName), &error)) {
        m_messages.ShowBox(u"The file <" + entry.fileName + u"> could not be moved into the archive.",
                           u"Archive failure", BoxButtons::Ok, BoxIcon::Error);
        return false;
    }
    const std::u16string backup = BackupPath(entry.fileName);
    if (m_files.FileExists(backup)) m_files.DeleteFile(backup);
    const int old = m_activeRow;
    ListFolders();
    int row = old - 1;
    if (row > static_cast<int>(m_active.size()) - 1) row = static_cast<int>(m_active.size()) - 1;
    if (row < 0) row = m_active.empty() ? -1 : 0;
    Select(List::Active, row);
    return true;
}

bool FilesManager::Activate() {
    if (m_archivedRow < 0 || m_lastList != List::Archived) {
        m_messages.ShowBox(u"No archived patient selected. Select an archived patient before.",
                           u"Nothing selected", BoxButtons::Ok, BoxIcon::None);
        return false;
    }
    const FolderEntry entry = m_archived[static_cast<size_t>(m_archivedRow)];
    if (RowOf(List::Active, entry.displayName) >= 0 ||
        m_files.FileExists(ActivePath(entry.fileName))) {
        m_messages.ShowBox(kDuplicateText, u"Duplication found", BoxButtons::Ok, BoxIcon::None);
        return false;
    }
    if (!m_files.MoveFile(ArchivePath(entry.fileName), ActivePath(entry.fileName))) {
        m_messages.ShowBox(u"The file <" + entry.fileName + u"> could not be moved into the active "
                                                            u"folder.",
                           u"Activation failure", BoxButtons::Ok, BoxIcon::Error);
        return false;
    }
    const int old = m_archivedRow;
    ListFolders();
    int row = old - 1;
    if (row > static_cast<int>(m_archived.size()) - 1) row = static_cast<int>(m_archived.size()) - 1;
    if (row < 0) row = m_archived.empty() ? -1 : 0;
    Select(List::Archived, row);
    return true;
}

bool FilesManager::ChooseStay(int index) {
    if (index < 0 || index >= static_cast<int>(m_stays.size())) return false;
    if (!SelectedActiveFile(nullptr)) return false;
    std::u16string text = m_text;
    if (ChooseStayText(text, static_cast<size_t>(index)) != TextChange::Done) return false;
    return WriteSelected(text);
}

bool FilesManager::NewStay(int index, std::u16string_view type, bool blank, const DateTime& now) {
    const std::u16string caption = blank ? u"New blank hospitalization" : u"New Copy";
    if (!SelectedActiveFile(nullptr)) return false;
    if (index < 0 || index >= static_cast<int>(m_stays.size())) {
        m_messages.ShowBox(u"Select before the subfolder that will be used as a template for the "
                           u"new hospitalization.",
                           caption, BoxButtons::Ok, BoxIcon::None);
        return false;
    }
    std::u16string text = m_text;
    const TextChange change = NewStayText(text, static_cast<size_t>(index), type, blank, now);
    if (change == TextChange::NoStay || change == TextChange::NoForm ||
        change == TextChange::NoHeader) {
        const std::u16string failure =
            change == TextChange::NoStay   ? u"New hospitalization failure"
            : change == TextChange::NoForm ? u"New hospitalization failure 1"
                                           : u"New hospitalization failure 2";
        m_messages.ShowBox(u"New hospitalization not created. The patient's folder seems to be "
                           u"empty and not valid. You have to create a new patient folder",
                           failure, BoxButtons::Ok, BoxIcon::Error);
        return false;
    }
    if (change != TextChange::Done) {
        ShowChangeFailure(change, caption);
        return false;
    }
    return WriteSelected(text);
}

bool FilesManager::DeleteStay(int index) {
    if (!SelectedActiveFile(nullptr)) return false;
    if (index < 0 || index >= static_cast<int>(m_stays.size())) {
        m_messages.ShowBox(u"Select before the subfolder you want to delete",
                           u"Select a subfolder", BoxButtons::Ok, BoxIcon::None);
        return false;
    }
    if (m_stays.size() == 1) {
        m_messages.ShowBox(u"Delete all the patient's folder instead of the last subfolder",
                           u"Last subfolder !", BoxButtons::Ok, BoxIcon::None);
        return false;
    }
    std::u16string text = m_text;
    const TextChange change = DeleteStayText(text, static_cast<size_t>(index));
    if (change != TextChange::Done) {
        const std::u16string code = change == TextChange::NoStay ? u"854" : u"856";
        m_messages.ShowBox(u"Error " + code + u". The operation is canceled.", u"Error",
                           BoxButtons::Ok, BoxIcon::None);
        return false;
    }
    return WriteSelected(text);
}

bool FilesManager::DeleteFolder() {
    std::u16string name;
    if (!SelectedActiveFile(&name)) return false;
    if (!StillAsRead(m_files, m_read)) {
        TellFileChanged(m_messages, m_read.path);
        Select(List::Active, m_activeRow);
        return false;
    }
    if (!m_files.DeleteFile(ActivePath(name))) {
        m_messages.ShowBox(u"The file <" + name + u"> could not be deleted.", u"Delete failure",
                           BoxButtons::Ok, BoxIcon::Error);
        return false;
    }
    const std::u16string backup = BackupPath(name);
    if (m_files.FileExists(backup)) m_files.DeleteFile(backup);
    ListFolders();
    Select(List::Active, -1);
    return true;
}

bool FilesManager::Merge(int activeRow, int archivedRow) {
    if (activeRow < 0 || activeRow >= static_cast<int>(m_active.size())) {
        m_messages.ShowBox(u"First you must select the source folder among the activated folder "
                           u"list. Then you will have to select the destination archived folder "
                           u"that will received the source file for merging.",
                           u"Select activated source", BoxButtons::Ok, BoxIcon::None);
        return false;
    }
    if (archivedRow < 0 || archivedRow >= static_cast<int>(m_archived.size())) {
        m_messages.ShowBox(u"Bad archived folder selected.", u"Selection error", BoxButtons::Ok,
                           BoxIcon::None);
        return false;
    }
    const std::u16string source = m_active[static_cast<size_t>(activeRow)].fileName;
    const std::u16string destination = m_archived[static_cast<size_t>(archivedRow)].fileName;
    const bool merged =
        MergeFiles(ActivePath(source), ArchivePath(destination), BackupPath(source), nullptr);
    ListFolders();
    for (size_t i = 0; i < m_archived.size(); ++i) {
        if (m_archived[i].fileName == destination) Select(List::Archived, static_cast<int>(i));
    }
    if (merged) {
        m_messages.ShowBox(u"Merging successful", u"Merging finish", BoxButtons::Ok, BoxIcon::None);
    }
    return merged;
}

bool FilesManager::MergeFiles(const std::u16string& sourcePath,
                              const std::u16string& destinationPath,
                              const std::u16string& backupPath, std::u16string* summary) {
    if (FoldCase(sourcePath) == FoldCase(destinationPath)) {
        m_messages.ShowBox(u"A folder cannot be merged into itself.", u"Merging failure",
                           BoxButtons::Ok, BoxIcon::Error);
        return false;
    }
    std::u16string source, destination;
    FileAsRead sourceRead, destinationRead;
    if (!ReadText(sourcePath, source, sourceRead)) return false;
    if (!ReadText(destinationPath, destination, destinationRead)) return false;
    if (HeldByAnotherUser(source) || HeldByAnotherUser(destination)) {
        RefuseHeld(false);
        return false;
    }
    if (ListStays(source).empty()) {
        m_messages.ShowBox(u"Merging not created. The active patient's folder seems to be empty or "
                           u"not valid.",
                           u"Merging failure", BoxButtons::Ok, BoxIcon::Error);
        return false;
    }
    std::u16string merged;
    MergeCounts counts;
    const TextChange change = MergeTexts(source, destination, merged, &counts);
    if (change != TextChange::Done) {
        ShowChangeFailure(change, u"Merging failure");
        return false;
    }
    // Nothing is written unless both files are still what was read.
    if (!StillAsRead(m_files, sourceRead)) {
        TellFileChanged(m_messages, sourceRead.path);
        return false;
    }
    const CheckedWrite written =
        WriteIfUnchanged(m_files, m_messages, destinationRead, EncodeItemText(merged));
    if (written != CheckedWrite::Written) {
        if (written == CheckedWrite::Failed) {
            m_messages.ShowBox(u"There was an error while trying to save the merged file.",
                               u"Save failure", BoxButtons::Ok, BoxIcon::Error);
        }
        return false;
    }
    bool removed = m_files.DeleteFile(sourcePath);
    if (removed && !backupPath.empty() && m_files.FileExists(backupPath)) {
        removed = m_files.DeleteFile(backupPath);
    }
    if (!removed) {
        m_messages.ShowBox(u"The merged file was saved, but the file <" + sourcePath +
                               u"> or its backup copy could not be deleted. Delete it before "
                               u"opening the patient again.",
                           u"Merging failure", BoxButtons::Ok, BoxIcon::Error);
        return false;
    }
    if (summary) {
        *summary = u"problems=" + ToText(counts.problems) + u" days=" + ToText(counts.days);
    }
    return true;
}

}  // namespace pondrel
