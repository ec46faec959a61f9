// The server's answers to the file operations of FileExchange.

#include <algorithm>

#include "platform/Text.h"
#include "platform/Timers.h"
#include "platform/UserMessages.h"
#include "sync/Connection.h"
#include "sync/FileExchange.h"
#include "sync/FrameKind.h"
#include "sync/PatientFiles.h"
#include "sync/WireFormat.h"
#include "sync/WireNames.h"

namespace pondrel {

namespace {
using H = ActiveFileRow;
using S = ServerFileRow;

struct ListRecord {
    std::u16string name;
    std::u16string holder;
    std::u16string date;
    std::u16string time;
};

// The records of an active-file list. `damaged` when the list was cut short or held a record
// that is not a patient file: it tells nothing sure. `capped` when it had more records than the
// lists keep: the first ones are shown, but files it may not mention are left alone.
std::vector<ListRecord> ParseActiveList(std::u16string_view payload, size_t maxRecords,
                                        bool& damaged, bool& capped) {
    std::vector<ListRecord> records;
    damaged = capped = false;
    size_t at = 0;
    while (at < payload.size() && payload[at] != kFieldSep) {
        std::u16string_view fields[4];
        bool complete = true;
        for (auto& field : fields) {
            size_t end = payload.find(kFieldSep, at);
            if (end == std::u16string_view::npos) {
                complete = false;
                break;
            }
            field = payload.substr(at, end - at);
            at = end + 1;
        }
        if (!complete) {
            damaged = true;
            break;
        }
        std::u16string name(fields[0]);
        if (!IsPatientFileName(name + u".pdr") || HasReservedInName(fields[1])) {
            damaged = true;
            continue;
        }
        records.push_back({std::move(name), std::u16string(fields[1]), std::u16string(fields[2]),
                           std::u16string(fields[3])});
    }
    if (at < payload.size()) damaged = true;  // something after the last record
    if (records.size() > maxRecords) {
        capped = true;
        records.resize(maxRecords);
    }
    return records;
}

}  // namespace

void FileExchange::OnActiveList(std::u16string_view payload) {
    const bool none = payload.find(kFieldSep) == std::u16string_view::npos;
    bool damaged = false;
    bool capped = false;
    std::vector<ListRecord> records;
    if (!none) records = ParseActiveList(payload, kMaxServerRows, damaged, capped);
    if (damaged) {
        // A cut or forged list tells nothing sure: the last whole list keeps telling who holds
        // which file (a file someone else holds must not turn writable because of it).
        Notice(u"Incomplete list of files from the server: ignored", 2000, true);
    } else {
        m_prefs.serverFiles.clear();
        if (none) Notice(u"There is no actives files on server", 1500, true);
    }
    if (!damaged) {
        for (const ListRecord& record : records) {
            ServerFileRow row;
            auto& c = row.columns;
            c[S::kPatient] = PatientOfFile(record.name + u".pdr");
            c[S::kFileName] = record.name + u".pdr";
            c[S::kCurrentUser] = record.holder;
            c[S::kDateUpdate] = record.date;
            c[S::kTimeUpdate] = record.time;
            row.icon = record.holder.empty()           ? kIconFree
                       : record.holder == Own()        ? kIconMine
                       : IsHolderOnline(record.holder) ? kIconHeldOnline
                                                       : kIconHeldOffline;
            c[S::kState] = record.holder.empty() ? u"Unlocked" : u"Locked";
            row.imported = HandheldRowOfPatient(c[S::kPatient]) >= 0 ? u"Yes" : u"No";
            m_prefs.serverFiles.insert(m_prefs.serverFiles.begin(), std::move(row));
        }
    }
    // A free file the server no longer lists was archived or removed there. Only a whole list
    // tells: a cut, damaged, capped or empty one leaves every handheld file where it is.
    if (!none && !damaged && !capped) {
        for (int row = static_cast<int>(Handheld().size()) - 1; row >= 0; --row) {
            const auto& c = Handheld()[static_cast<size_t>(row)].columns;
            if (c[H::kState] == u"Unlocked" && ServerRowOfPatient(c[H::kPatient]) < 0) {
                ArchiveHandheldFile(row);
            }
        }
    }
    m_silent = m_thenUnlock = m_releasedForAnother = m_thenLock = false;
    m_repliesPending = 0;
    if (m_prefs.network.importAllAtConnection) ImportAll();
    if (m_refreshDeferred) {
        RebuildHandheldList();
    } else {
        RefreshLockStates();
    }
    Changed();
}

void FileExchange::OnArchiveList(std::u16string_view payload) {
    m_archive.clear();
    if (payload.find(kFieldSep) == std::u16string_view::npos) {
        Notice(u"There is no archive files on server", 1500, true);
    } else {
        for (std::u16string& entry : Split(payload, kFieldSep)) {
            if (entry.empty()) continue;
            m_archive.push_back({ReplaceAll(entry, u"_", u" "), entry});
        }
    }
    Changed();
}

void FileExchange::OnUploadResult(std::u16string_view payload) {
    if (payload.size() < 3) return;
    const char16_t result = payload[0];
    std::u16string code(payload.substr(2, payload.find(kItemSep) == std::u16string_view::npos
                                              ? std::u16string_view::npos
                                              : payload.find(kItemSep) - 2));
    auto unlock = std::find_if(m_unlockAfterUpload.begin(), m_unlockAfterUpload.end(),
                               [&](const auto& entry) { return entry.first == code; });
    std::u16string unlockFile;
    if (unlock != m_unlockAfterUpload.end()) {
        unlockFile = unlock->second;
        m_unlockAfterUpload.erase(unlock);
    }
    ActiveFileRow* row = nullptr;
    for (ActiveFileRow& entry : m_prefs.activeFiles) {
        if (!code.empty() && entry.columns[H::kCode] == code) row = &entry;
    }
    if (row) {
        auto& info = row->columns[H::kInfo];
        switch (result) {
            case u'L':
                info = u"Bad transmission. Try again";
                row->icon = kIconBlank;
                if (m_single) Notice(u"Bad transmission. Try again", 4000, true);
                break;
            case u'U':
                info = u"Synchronization forbidden";
                row->icon = kIconFailed;
                if (m_single) Notice(u"Synchronization forbidden", 3000, true);
                break;
            case u'E':
                info = u"Server is not able to save the file.";
                row->icon = kIconCannotSave;
                if (m_single) Notice(u"Server is not able to save the file", 4000, true);
                break;
            case u'O':
                info = u"Ok";
                row->icon = kIconDone;
                if (!unlockFile.empty()) {
                    // Stored on the server: now the lock may go.
                    Queue(CodeFrame(u'Q', u"U" + std::u16string(1, kFieldSep) + unlockFile));
                    Queue(CodeFrame(u'W'));
                    if (m_releasedForAnother) {
                        Notice(u"The file " + m_releasedPatient +
                                   u" has been unlocked by another user",
                               3000);
                    } else if (m_single) {
                        NoticeUnlessSilent(u"Good synchronization then unlocking", 1500);
                    }
                    StartTimer(500);
                } else {
                    if (m_single) NoticeUnlessSilent(u"Good synchronization", 1500);
                    StartTimer(1500);
                }
                break;
            default:
                break;
        }
    }
    if (unlockFile.empty()) {
        StartTimer(1500);
        m_underWay = true;
    }
    if (--m_repliesPending == 0 && !m_single) BatchTally(true);
    Changed();
}

void FileExchange::BatchTally(bool uploads) {
    int bad = 0;
    for (ActiveFileRow& row : m_prefs.activeFiles) {
        auto& info = row.columns[H::kInfo];
        if (info != u"Ok" && !info.empty()) {
            row.icon = kIconFailed;
            info.clear();
            ++bad;
        }
    }
    if (uploads) {
        if (bad > 0) {
            Notice(u"There are " + ToText(bad) + u" bad files transmisssion", 4000, true);
        } else {
            Notice(u"Good transmission for all files", 1500);
        }
        StartTimer(1500);
        return;
    }
    if (bad > 0) {
        NoticeUnlessSilent(u"There are " + ToText(bad) + u" bad files synchronization", 4000, true);
        m_timers.Stop(TimerId::ServerOperation);
    } else {
        NoticeUnlessSilent(u"Good synchronization for all files", 1100);
        StartTimer(1500);
    }
}

void FileExchange::OnFileReceived(std::u16string_view fileName, std::u16string_view text) {
    const std::u16string name(fileName);
    auto requested = m_requested.find(FoldCase(name));
    if (!IsPatientFileName(name) || requested == m_requested.end()) {
        // Only a bare patient file the program asked for is stored.
        Notice(u"Refused a file the program did not ask for: \"" + name.substr(0, 80) + u"\"", 4000,
               true);
        return;
    }
    m_requested.erase(requested);
    const bool lockAfter = m_lockAfterImport.erase(FoldCase(name)) > 0;
    if (m_single) {
        m_underWay = true;
        NoticeUnlessSilent(lockAfter ? u"Good file reception then locking" : u"Good file reception",
                           1500);
        StartTimer(lockAfter ? 500 : 1500);
    }
    switch (m_patients.StoreReceivedFile(name, text)) {
        case ReceivedFile::Stored: {
            if (!m_refreshDeferred) RebuildHandheldList();
            if (int row = HandheldRowOfFile(name); row >= 0) {
                m_prefs.activeFiles[static_cast<size_t>(row)].icon = kIconDone;
                m_prefs.activeFiles[static_cast<size_t>(row)].columns[H::kInfo] = u"Ok";
            }
            if (int server = ServerRowOfFile(name); server >= 0) {
                m_prefs.serverFiles[static_cast<size_t>(server)].imported = u"Yes";
            }
            if (lockAfter) {
                // The copy being edited is the server's own: now it may be locked.
                Queue(CodeFrame(u'Q', u"L" + std::u16string(1, kFieldSep) + name));
                Queue(CodeFrame(u'W'));
            }
            break;
        }
        case ReceivedFile::NotSaved:
            Notice(u"Imported file \"" + name +
                       u"\" not stored: your changes to this patient could not be saved first",
                   4000, true);
            break;
        case ReceivedFile::NotWritten:
            Notice(u"Imported file \"" + name + u"\" save failure !", 4000, true);
            break;
    }
    m_thenLock = false;
    if (--m_repliesPending < 1 && !m_single) BatchTally(false);
    Changed();
}

void FileExchange::OnFileAltered(std::u16string_view fileName) {
    m_requested.erase(FoldCase(fileName));
    m_lockAfterImport.erase(FoldCase(fileName));
    if (m_single && !m_silent) Notice(u"Altered file reception. Try again to import", 4000, true);
    if (--m_repliesPending < 1 && !m_single) BatchTally(false);
    Changed();
}

void FileExchange::OnReleaseRequest(std::u16string_view fileWithoutExtension) {
    int row = HandheldRowOfFile(std::u16string(fileWithoutExtension) + u".pdr");
    // Only a file this user holds is sent and released.
    if (row < 0 || Handheld()[static_cast<size_t>(row)].columns[H::kCurrentUser] != Own()) return;
    m_releasedPatient = ReplaceAll(fileWithoutExtension, u"_", u" ");
    m_single = true;
    m_repliesPending = 1;
    m_presetRow = row;
    m_thenUnlock = true;
    m_releasedForAnother = true;
    UploadOrImport(row);
    Changed();
}

void FileExchange::OnImportBatchEnd() {
    RebuildHandheldList();
    MarkImported();
    Changed();
}

}  // namespace pondrel
