#include "sync/FileExchange.h"

#include "platform/Text.h"
#include "platform/Timers.h"
#include "platform/UserMessages.h"
#include "sync/Connection.h"
#include "sync/FrameKind.h"
#include "sync/FriendsList.h"
#include "sync/MessageCodes.h"
#include "sync/PatientFiles.h"
#include "sync/WireFormat.h"
#include "sync/WireNames.h"

namespace pondrel {

namespace {
using H = ActiveFileRow;
using S = ServerFileRow;
constexpr std::u16string_view kLocked = u"Locked";
constexpr std::u16string_view kUnlocked = u"Unlocked";
}  // namespace

std::u16string PatientOfFile(std::u16string_view fileName) {
    return ReplaceAll(WithoutExtension(fileName), u"_", u" ");
}

FileExchange::FileExchange(Preferences& preferences, Connection& connection, PatientFiles& patients,
                           FriendsList& friends, MessageCodes& codes, Timers& timers,
                           UserMessages& messages)
    : m_prefs(preferences),
      m_connection(connection),
      m_patients(patients),
      m_friends(friends),
      m_codes(codes),
      m_timers(timers),
      m_messages(messages) {}

const std::u16string& FileExchange::Own() const {
    return m_connection.Wireless().userName;
}

bool FileExchange::Wanted() const {
    return m_connection.Wanted();
}

void FileExchange::Notice(const std::u16string& text, int ms, bool warning) {
    m_messages.ShowNotice(text, ms, warning);
}

void FileExchange::NoticeUnlessSilent(const std::u16string& text, int ms, bool warning) {
    if (!m_silent) Notice(text, ms, warning);
}

void FileExchange::Queue(std::u16string_view frame) {
    m_connection.QueueFrame(frame);
}

void FileExchange::StartTimer(int ms) {
    m_timers.Start(TimerId::ServerOperation, ms, [this] { OnOperationTimer(); });
}

void FileExchange::OnOperationTimer() {
    m_timers.Stop(TimerId::ServerOperation);
    m_underWay = false;
    RefreshLockStates();
    m_repliesPending = -1;
    Changed();
}

void FileExchange::TapHandheldList() {
    if (!m_underWay) return;
    m_timers.Stop(TimerId::ServerOperation);
    m_underWay = false;
    RefreshLockStates();
    Changed();
}

void FileExchange::Changed() {
    if (m_changed) m_changed();
}

namespace {

// The first row whose `column` holds `value` (file names ignoring case), or -1.
template <typename Row>
int FindRow(const std::vector<Row>& rows, size_t column, std::u16string_view value,
            bool ignoreCase) {
    for (size_t i = 0; i < rows.size(); ++i) {
        const std::u16string& cell = rows[i].columns[column];
        if (ignoreCase ? EqualsIgnoreCase(cell, value) : cell == value) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace

int FileExchange::HandheldRowOfFile(std::u16string_view fileName) const {
    return FindRow(Handheld(), H::kFileName, fileName, true);
}

int FileExchange::HandheldRowOfPatient(std::u16string_view patient) const {
    return FindRow(Handheld(), H::kPatient, patient, false);
}

int FileExchange::ServerRowOfFile(std::u16string_view fileName) const {
    return FindRow(Server(), S::kFileName, fileName, true);
}

int FileExchange::ServerRowOfPatient(std::u16string_view patient) const {
    return FindRow(Server(), S::kPatient, patient, false);
}

bool FileExchange::IsHolderOnline(std::u16string_view holder) const {
    if (!Wanted()) return false;
    for (const std::u16string& user : m_connection.OnlineUsers()) {
        if (user == holder) return true;
    }
    return false;
}

// --- Lists ------------------------------------------------------------------------------------

void FileExchange::RebuildHandheldList() {
    std::vector<std::u16string> open = m_patients.OpenFileNames();
    auto& rows = m_prefs.activeFiles;
    std::erase_if(rows, [&](const ActiveFileRow& row) {
        for (const auto& name : open) {
            if (EqualsIgnoreCase(name, row.columns[H::kFileName])) return false;
        }
        return true;
    });
    for (const std::u16string& name : open) {
        if (HandheldRowOfFile(name) >= 0) continue;
        ActiveFileRow row;
        row.columns[H::kPatient] = PatientOfFile(name);
        row.columns[H::kFileName] = name;
        // Its lock state at once, from the server list as known: a command on the new row acts
        // on what the server said, not on an empty state.
        ApplyServerState(row);
        rows.insert(rows.begin(), std::move(row));
    }
    m_refreshDeferred = false;
    Changed();
}

void FileExchange::ApplyServerState(ActiveFileRow& row) {
    auto& c = row.columns;
    int server = ServerRowOfPatient(c[H::kPatient]);
    const ServerFileRow* found = server < 0 ? nullptr : &Server()[static_cast<size_t>(server)];
    std::u16string holder = found ? found->columns[S::kCurrentUser] : u"";
    c[H::kDateUpdate] = found ? found->columns[S::kDateUpdate] : u"";
    c[H::kTimeUpdate] = found ? found->columns[S::kTimeUpdate] : u"";
    std::u16string_view mode = u"R";
    if (!found) {
        row.icon = kIconNotOnServer;
        c[H::kState].clear();
        holder = Own();
        mode = u"W";
    } else if (holder.empty()) {
        row.icon = kIconFree;
        c[H::kState] = kUnlocked;
    } else if (holder == Own()) {
        row.icon = kIconMine;
        c[H::kState] = kLocked;
        mode = u"W";
    } else {
        row.icon = IsHolderOnline(holder) ? kIconHeldOnline : kIconHeldOffline;
        c[H::kState] = kLocked;
    }
    c[H::kCurrentUser] = holder;
    m_patients.SetAccess(c[H::kFileName], mode);
}

void FileExchange::RefreshLockStates() {
    if (m_underWay) return;
    for (ActiveFileRow& row : m_prefs.activeFiles) ApplyServerState(row);
    Changed();
}

void FileExchange::MarkImported() {
    for (ServerFileRow& row : m_prefs.serverFiles) {
        row.imported = HandheldRowOfPatient(row.columns[S::kPatient]) >= 0 ? u"Yes" : u"No";
    }
}

// --- Synch ------------------------------------------------------------------------------------

void FileExchange::UploadOrImport(int requested) {
    int row = m_presetRow >= 0 ? m_presetRow : requested;
    m_presetRow = -1;
    if (!Wanted()) {
        NoticeUnlessSilent(std::u16string(kNoConnection), 2000, true);
        --m_repliesPending;
        return;
    }
    if (row < 0 || static_cast<size_t>(row) >= Handheld().size()) {
        if (m_single) {
            NoticeUnlessSilent(u"You need first to select the file you wish to send", 2000, true);
        }
        --m_repliesPending;
        return;
    }
    auto& c = m_prefs.activeFiles[static_cast<size_t>(row)].columns;
    c[H::kInfo] = u"Process...";
    if (c[H::kCurrentUser] != Own() && !c[H::kState].empty()) {
        // Somebody else holds the file, or nobody: the server's copy is the one to have.
        Queue(CodeFrame(u'T', c[H::kFileName]));
        m_requested.insert(FoldCase(c[H::kFileName]));
        if (m_single) NoticeUnlessSilent(u"Synch " + c[H::kPatient] + u"...", 5000);
        if (!m_thenLock) {
            m_underWay = true;
            StartTimer(kOperationMs);
        }
        m_prefs.activeFiles[static_cast<size_t>(row)].icon = kIconBusy;
        m_refreshDeferred = true;
        return;
    }
    Upload(row);
}

void FileExchange::Upload(int row) {
    ActiveFileRow& entry = m_prefs.activeFiles[static_cast<size_t>(row)];
    auto& c = entry.columns;
    if (!m_patients.SaveBeforeSending(c[H::kFileName])) {
        if (m_single) {
            NoticeUnlessSilent(
                u"The patient's file must be saved before synchronization with "
                u"server. This operation can not be done !",
                3000, true);
        }
        --m_repliesPending;
        return;
    }
    if (!m_thenUnlock) {
        m_underWay = true;
        StartTimer(kOperationMs);
    }
    std::optional<std::u16string> text = m_patients.ReadFileText(c[H::kFileName]);
    if (!text) {
        if (m_single)
            m_messages.ShowBox(u"The text file <" + c[H::kFileName] + u"> can not be found", u"");
        --m_repliesPending;
        return;
    }
    if (text->size() > kMaxFileChars) {
        if (m_single) {
            NoticeUnlessSilent(Format(u"Buffer overload with a file of %d bytes (>390'000 bytes)",
                                      {static_cast<long long>(2 * text->size())}),
                               4000, true);
        }
        --m_repliesPending;
        return;
    }
    if (!m_connection.HasSocket()) {
        NoticeUnlessSilent(std::u16string(kNoConnection), 2000, true);
        --m_repliesPending;
        return;
    }
    if (text->empty()) {
        NoticeUnlessSilent(u"No file to send...", 2000, true);
        --m_repliesPending;
        return;
    }
    std::u16string frame(kFileFrameStart);
    frame += *text;
    c[H::kCode] = m_codes.NewCode(frame.size());
    frame += kFileCodeMark;
    frame += kCodeSep;
    frame += c[H::kCode];
    frame += kFieldSep;
    frame += c[H::kFileName];
    frame += u"\u00A2Synch\u00A2";
    if (!m_thenUnlock) StartTimer(kOperationMs);
    entry.icon = kIconBusy;
    if (m_thenUnlock) m_unlockAfterUpload.emplace_back(c[H::kCode], c[H::kFileName]);
    Queue(frame);
}

void FileExchange::SynchOne(int row) {
    if (m_repliesPending >= 1) {
        Notice(u"Wait the end of the previous synch (" + ToText(m_repliesPending) + u" files left)",
               2000, true);
        return;
    }
    m_thenUnlock = m_thenLock = m_releasedForAnother = m_silent = false;
    m_repliesPending = 1;
    m_presetRow = -1;
    m_single = true;
    UploadOrImport(row);
    Queue(CodeFrame(u'W'));
    Changed();
}

void FileExchange::SynchAll() {
    if (m_repliesPending >= 1) {
        Notice(u"Wait the end of the previous synch (" + ToText(m_repliesPending) + u" files left)",
               2000, true);
        return;
    }
    m_thenUnlock = m_thenLock = m_releasedForAnother = m_silent = m_single = false;
    m_repliesPending = static_cast<int>(Handheld().size());
    m_underWay = true;
    for (size_t row = 0; row < Handheld().size(); ++row) {
        m_presetRow = static_cast<int>(row);
        UploadOrImport(static_cast<int>(row));
    }
    if (Wanted()) Queue(CodeFrame(u'W'));
    Changed();
}

// --- Locks ------------------------------------------------------------------------------------

void FileExchange::LockFile(int row) {
    m_thenUnlock = m_releasedForAnother = false;
    if (!Wanted()) {
        NoticeUnlessSilent(std::u16string(kNoConnection), 2000, true);
        return;
    }
    if (row < 0 || static_cast<size_t>(row) >= Handheld().size()) {
        NoticeUnlessSilent(u"You need first to select the file you wish to unlock", 2000, true);
        return;
    }
    const auto& c = Handheld()[static_cast<size_t>(row)].columns;
    if (c[H::kCurrentUser] == Own()) {
        NoticeUnlessSilent(u"This file is already locked by yourself.", 3000, true);
        return;
    }
    if (!c[H::kCurrentUser].empty()) {
        NoticeUnlessSilent(u"This file is already locked by another user.", 3000, true);
        return;
    }
    // Free: the server's copy first, the lock once it is stored (OnFileReceived).
    m_single = true;
    m_repliesPending = 1;
    m_presetRow = row;
    m_thenLock = true;
    m_lockAfterImport.insert(FoldCase(c[H::kFileName]));
    UploadOrImport(row);
}

void FileExchange::UnlockFile(int row) {
    m_thenLock = false;
    if (!Wanted()) {
        NoticeUnlessSilent(std::u16string(kNoConnection), 2000, true);
        return;
    }
    if (row < 0 || static_cast<size_t>(row) >= Handheld().size()) {
        NoticeUnlessSilent(u"You need first to select the file you wish to unlock", 2000, true);
        return;
    }
    const ActiveFileRow& entry = Handheld()[static_cast<size_t>(row)];
    const auto& c = entry.columns;
    const std::u16string holder = c[H::kCurrentUser];
    if (c[H::kState] == kUnlocked || holder.empty()) {
        NoticeUnlessSilent(u"This file is already unlocked.", 3000, true);
        return;
    }
    if (entry.icon == kIconHeldOffline && !m_silent) {
        std::u16string text = u"Do you really want to force unlocking the file " + c[H::kPatient] +
                              u" ?\r\n\r\nAll modification done by " + holder + u" since " +
                              c[H::kDateUpdate] + u" at " + c[H::kTimeUpdate] + u" will be lost.";
        if (m_messages.ShowBox(text, u"Force unlock ?", BoxButtons::OkCancel) == BoxAnswer::Ok) {
            Queue(CodeFrame(u'F', WithoutExtension(c[H::kFileName])));
        } else {
            Notice(u"Cancel", 1000);
        }
        return;
    }
    if (holder == Own()) {
        // Uploaded first; unlocked once the server confirmed the upload (OnUploadResult).
        m_single = true;
        m_repliesPending = 1;
        m_presetRow = row;
        m_thenUnlock = true;
        m_releasedForAnother = false;
        UploadOrImport(row);
        return;
    }
    if (m_friends.IsOnline(holder)) {
        NoticeUnlessSilent(u"Retriving file from " + holder, 3000);
        Queue(CodeFrame(u'U',
                        holder + kFieldSep + std::u16string(WithoutExtension(c[H::kFileName]))));
        m_pendingHolder = holder;
        return;
    }
    NoticeUnlessSilent(u"This file is locked by another user that is not online", 3000, true);
}

void FileExchange::QueueWake() {
    if (m_pendingHolder.empty()) return;
    Queue(CodeFrame(u'Z', u"1a" + std::u16string(1, kFieldSep) + m_pendingHolder));
    m_pendingHolder.clear();
}

void FileExchange::LockButton(int row) {
    m_silent = false;
    LockFile(row);
    if (Wanted()) Queue(CodeFrame(u'W'));
    Changed();
}

void FileExchange::UnlockButton(int row) {
    m_silent = false;
    m_pendingHolder.clear();
    UnlockFile(row);
    if (Wanted()) Queue(CodeFrame(u'W'));
    QueueWake();
    Changed();
}

void FileExchange::LockAll() {
    std::vector<std::u16string> open = m_patients.OpenFileNames();
    if (open.empty()) return;
    Notice(u"Locking all...", 1000);
    m_silent = true;
    for (const std::u16string& name : open) LockFile(HandheldRowOfFile(name));
    m_silent = false;
    if (Wanted()) Queue(CodeFrame(u'W'));
    Changed();
}

void FileExchange::UnlockAll() {
    std::vector<std::u16string> open = m_patients.OpenFileNames();
    if (open.empty()) return;
    Notice(u"Unlocking all...", 1000);
    m_silent = true;
    m_pendingHolder.clear();
    for (const std::u16string& name : open) UnlockFile(HandheldRowOfPatient(PatientOfFile(name)));
    m_silent = false;
    if (Wanted()) Queue(CodeFrame(u'W'));
    QueueWake();
    Changed();
}

void FileExchange::OnConnectCommand() {
    m_repliesPending = -1;
    m_silent = false;
    RebuildHandheldList();
}

void FileExchange::OnWentOnline() {
    Queue(CodeFrame(u'M'));
}

void FileExchange::OnDisconnected() {
    m_requested.clear();
    m_lockAfterImport.clear();
    m_unlockAfterUpload.clear();
    Changed();
}

}  // namespace pondrel
