#pragma once

#include <string>
#include <vector>

#include "platform/DateTime.h"
#include "records/FilesHold.h"
#include "records/FolderFiles.h"
#include "records/WorkingFolders.h"

namespace pondrel {

class DeviceFileSystem;
class UserMessages;

// The files manager without its window: the two folder lists, the file selected in one of
// them with its stays, and every operation of the dialogue on the files themselves. Every
// operation acts on the real file names of the lists (never on names rebuilt from what a list
// shows), refuses to change a file another user holds on the server, reads a version 3.00 file
// into the current layout before changing it, and writes a file only while it still holds what
// was read (FilesHold.h). Messages go to `messages`; true means the operation was done.
class FilesManager {
public:
    enum class List { Active, Archived };

    FilesManager(DeviceFileSystem& files, UserMessages& messages, WorkingFolders folders);

    // Lists both folders again (the selection is left to the caller).
    void ListFolders();
    const std::vector<FolderEntry>& Entries(List list) const {
        return list == List::Active ? m_active : m_archived;
    }
    // The row of `list` showing `displayName`, or -1.
    int RowOf(List list, std::u16string_view displayName) const;

    // Selects a row of a list (-1: none) and reads its file; the other list loses its
    // selection. False when the file could not be read (the selection then shows nothing).
    bool Select(List list, int row);
    List LastList() const { return m_lastList; }
    int SelectedRow(List list) const {
        return list == List::Active ? m_activeRow : m_archivedRow;
    }
    const std::u16string& SelectedText() const { return m_text; }
    const std::vector<Stay>& Stays() const { return m_stays; }
    // The index of the current stay, or -1.
    int CurrentStay() const;

    // "->": the selected active file into the archive (its backup copy deleted).
    bool Archive();
    // "<-": the selected archived file into the active folder.
    bool Activate();
    // "E": stay `index` of the selected active file becomes current.
    bool ChooseStay(int index);
    // "New copy" / "New blank" from stay `index`, of type "Hosp" or "Ambu" (after the
    // dialogue's questions).
    bool NewStay(int index, std::u16string_view type, bool blank, const DateTime& now);
    // "Delete subfolder", after the question.
    bool DeleteStay(int index);
    // "Delete folder", after both questions: the selected active file and its backup copy.
    bool DeleteFolder();
    // The merge of active row `activeRow` into archived row `archivedRow` (after the question):
    // MergeFiles on their real file names, then the lists again.
    bool Merge(int activeRow, int archivedRow);
    // The merge of the patient file at `sourcePath` into the one at `destinationPath`: the
    // destination is written whole first, then the source and its backup copy at `backupPath`
    // ("" for none) are deleted. `summary` gets "problems=N days=M".
    bool MergeFiles(const std::u16string& sourcePath, const std::u16string& destinationPath,
                    const std::u16string& backupPath, std::u16string* summary = nullptr);

    // The message boxes shared with the dialogue.
    void RefuseHeld(bool archiving);

    std::u16string ActivePath(std::u16string_view name) const;
    std::u16string ArchivePath(std::u16string_view name) const;
    std::u16string BackupPath(std::u16string_view name) const;

    // Reads a patient file for a change: the text (converted in memory when it is of version
    // 3.00) and what the file held. False with a box when it cannot be read or is damaged.
    bool ReadText(const std::u16string& path, std::u16string& text, FileAsRead& read);

private:
    // Writes the changed text of the selected file; then reads it again.
    bool WriteSelected(const std::u16string& text);
    void ShowChangeFailure(TextChange change, const std::u16string& caption);
    bool SelectedActiveFile(std::u16string* name);

    DeviceFileSystem& m_files;
    UserMessages& m_messages;
    WorkingFolders m_folders;
    std::vector<FolderEntry> m_active;
    std::vector<FolderEntry> m_archived;
    int m_activeRow = -1;
    int m_archivedRow = -1;
    List m_lastList = List::Active;
    std::u16string m_text;
    FileAsRead m_read;
    std::vector<Stay> m_stays;
};

class ActivePatients;
class PatientSet;

// Before the files manager opens: remembers the position of the current record and, unless the
// set holds only one unnamed record, saves every record. False (box shown) when a record could
// not be saved: the dialogue must not open. `saved` tells whether the save ran.
bool SaveBeforeFilesManager(ActivePatients& active, PatientSet& patients, UserMessages& messages,
                            bool* saved = nullptr);

// The box of a file another user holds on the server, before the change named by `archiving`.
std::u16string HeldFileText(bool archiving);

}  // namespace pondrel
