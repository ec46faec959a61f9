#pragma once

// The "Server : Files exchange" section: the handheld list (the open patients' files and their
// lock state on the server), the server's active and archived files, the operations on them
// (Synch, Synch all, Lock, Unlock, L All, U All, Import one, Import all, Delete, archive,
// activate, Clear list) and the answers of the server. Sets the read-only mode of every open
// patient whose file another user holds. Runs on the user-interface thread.
//
// Unlike the handhelds' first design, a file is unlocked only once the server confirmed its
// upload, locked only once its import is stored, stored only when asked for, and a handheld file
// the server stopped listing is moved into the archive folder (never deleted) and only on a whole,
// well-formed list.

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "settings/Preferences.h"

namespace pondrel {

class Connection;
class FriendsList;
class MessageCodes;
class PatientFiles;
class Timers;
class UserMessages;

// The icons of the file lists.
enum FileIcon : int {
    kIconFree = 0,         // grey closed padlock
    kIconHeldOnline = 1,   // yellow closed padlock
    kIconBusy = 2,         // hourglass
    kIconNotOnServer = 3,  // green open padlock marked N
    kIconBlank = 4,
    kIconDone = 5,         // green disc with arrows
    kIconFailed = 6,       // disc crossed in red
    kIconCannotSave = 7,   // diskette crossed in red
    kIconMine = 8,         // green open padlock
    kIconHeldOffline = 9,  // red closed padlock
};

struct ArchiveRow {
    std::u16string patient;
    std::u16string entry;
    friend bool operator==(const ArchiveRow&, const ArchiveRow&) = default;
};

class FileExchange {
public:
    static constexpr int kOperationMs = 15'000;
    static constexpr size_t kMaxServerRows = kServerFileRows;

    // The handheld and server lists are those of `preferences` (kept between runs). Every
    // reference must outlive the exchange.
    FileExchange(Preferences& preferences, Connection& connection, PatientFiles& patients,
                 FriendsList& friends, MessageCodes& codes, Timers& timers, UserMessages& messages);

    // Called after every change of the lists or of a patient's access mode.
    void SetChangedHandler(std::function<void()> changed) { m_changed = std::move(changed); }

    const std::vector<ActiveFileRow>& Handheld() const { return m_prefs.activeFiles; }
    const std::vector<ServerFileRow>& Server() const { return m_prefs.serverFiles; }
    const std::vector<ArchiveRow>& Archive() const { return m_archive; }
    int RepliesPending() const { return m_repliesPending; }
    bool OperationUnderWay() const { return m_underWay; }

    // Commands; `row` is the selected row of the list concerned, -1 for none.
    void SynchOne(int row);
    void SynchAll();
    void LockButton(int row);
    void UnlockButton(int row);
    void LockAll();
    void UnlockAll();
    void ImportOne(int serverRow);
    void ImportAll();
    void DeleteHandheldFile(int row);
    void ArchiveServerFile(int serverRow);
    // True when the activation was asked for (the page then shows the active files again).
    bool ActivateArchivedFile(int archiveRow);
    // The Archive view was chosen: the archived files are asked for.
    void ShowArchive();
    void ClearList();
    // A tap on the handheld list while an operation is under way ends it.
    void TapHandheldList();

    // The connection's moments.
    void OnConnectCommand();
    // The server accepted the login: its list of files is asked for at once, so that a file
    // another user took meanwhile turns read only before anybody types into it here.
    void OnWentOnline();
    void OnDisconnected();
    void RebuildHandheldList();
    void RefreshLockStates();

    // The server's answers.
    void OnUploadResult(std::u16string_view payload);
    void OnActiveList(std::u16string_view payload);
    void OnArchiveList(std::u16string_view payload);
    void OnFileReceived(std::u16string_view fileName, std::u16string_view text);
    void OnFileAltered(std::u16string_view fileName);
    void OnReleaseRequest(std::u16string_view fileWithoutExtension);
    void OnImportBatchEnd();

private:
    // The notice of a command given while the program is not connected.
    static constexpr std::u16string_view kNoConnection = u"No connection...";
    const std::u16string& Own() const;
    bool Wanted() const;
    void Notice(const std::u16string& text, int ms, bool warning = false);
    void NoticeUnlessSilent(const std::u16string& text, int ms, bool warning = false);
    void Queue(std::u16string_view frame);
    void StartTimer(int ms);
    void OnOperationTimer();
    void Changed();
    int HandheldRowOfFile(std::u16string_view fileName) const;
    int HandheldRowOfPatient(std::u16string_view patient) const;
    int ServerRowOfFile(std::u16string_view fileName) const;
    int ServerRowOfPatient(std::u16string_view patient) const;
    bool IsHolderOnline(std::u16string_view holder) const;
    void MarkImported();
    // The lock columns, icon and access mode of a handheld row from the server list.
    void ApplyServerState(ActiveFileRow& row);

    void UploadOrImport(int row);
    void Upload(int row);
    void LockFile(int row);
    void UnlockFile(int row);
    void QueueWake();
    void BatchTally(bool uploads);
    void ArchiveHandheldFile(int row);

    Preferences& m_prefs;
    Connection& m_connection;
    PatientFiles& m_patients;
    FriendsList& m_friends;
    MessageCodes& m_codes;
    Timers& m_timers;
    UserMessages& m_messages;
    std::function<void()> m_changed;
    std::vector<ArchiveRow> m_archive;

    // Operation state.
    int m_repliesPending = -1;
    bool m_single = false;
    bool m_thenUnlock = false;
    bool m_thenLock = false;
    bool m_releasedForAnother = false;
    bool m_silent = false;
    bool m_underWay = false;
    int m_presetRow = -1;
    bool m_refreshDeferred = false;
    std::u16string m_pendingHolder;
    std::u16string m_releasedPatient;
    // Files asked for with "#T!#" and not received yet: only those are stored.
    std::set<std::u16string> m_requested;
    // Files to lock once their import is stored, and uploads to unlock once confirmed (by code).
    std::set<std::u16string> m_lockAfterImport;
    std::vector<std::pair<std::u16string, std::u16string>> m_unlockAfterUpload;
};

// A file name without its extension, "_" shown as a blank: the Patient column.
std::u16string PatientOfFile(std::u16string_view fileName);

}  // namespace pondrel
