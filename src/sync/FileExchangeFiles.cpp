// The files of the server page as the user acts on them: import, delete, archive and activate,
// the archive view and the clearing of the server's list.

#include "platform/Text.h"
#include "platform/UserMessages.h"
#include "sync/FileExchange.h"
#include "sync/FrameKind.h"
#include "sync/PatientFiles.h"
#include "sync/WireFormat.h"
#include "sync/WireNames.h"

namespace pondrel {

namespace {
using H = ActiveFileRow;
using S = ServerFileRow;
}  // namespace

// --- Import -----------------------------------------------------------------------------------

void FileExchange::ImportOne(int serverRow) {
    m_silent = m_refreshDeferred = false;
    if (!Wanted()) {
        Notice(std::u16string(kNoConnection), 2000, true);
        return;
    }
    if (serverRow < 0 || static_cast<size_t>(serverRow) >= Server().size()) {
        Notice(u"You need first to select the file you wish to import", 2000, true);
        return;
    }
    const ServerFileRow& row = Server()[static_cast<size_t>(serverRow)];
    if (row.imported == u"Yes") {
        Notice(u"Patient's file already on your PDA. Use \"Synch\" to synchronize it", 3000, true);
        return;
    }
    if (row.columns[S::kCurrentUser] == Own() &&
        m_messages.ShowBox(u"Patient's file already locked on your computer. Import again from "
                           u"the server ?",
                           u"Import again ?", BoxButtons::OkCancel) != BoxAnswer::Ok) {
        Notice(u"Cancel importing", 3000);
        return;
    }
    // One reply expected: no end-of-batch tally for it.
    m_single = true;
    m_repliesPending = 1;
    m_requested.insert(FoldCase(row.columns[S::kFileName]));
    Queue(CodeFrame(u'T', row.columns[S::kFileName]));
    Notice(u"Import...", 5000);
    Changed();
}

void FileExchange::ImportAll() {
    m_refreshDeferred = true;
    if (!Wanted()) return;
    int count = 0;
    for (const ServerFileRow& row : Server()) {
        if (row.imported == u"Yes" || row.columns[S::kCurrentUser] == Own()) continue;
        m_requested.insert(FoldCase(row.columns[S::kFileName]));
        Queue(CodeFrame(u'T', row.columns[S::kFileName]));
        ++count;
    }
    if (count == 0) return;
    Queue(CodeFrame(u'X', u"1"));
    // The tally waits for every file asked for.
    m_single = false;
    m_repliesPending = std::max(m_repliesPending, 0) + count;
    Notice(Format(u"Importing %d files...", {count}), 2000);
    Changed();
}

// --- Delete, archive, activate, clear ---------------------------------------------------------

void FileExchange::DeleteHandheldFile(int row) {
    if (row < 0 || static_cast<size_t>(row) >= Handheld().size()) {
        Notice(u"You need first to select the file you wish to delete", 2000, true);
        return;
    }
    const ActiveFileRow entry = Handheld()[static_cast<size_t>(row)];
    const auto& c = entry.columns;
    if (c[H::kCurrentUser] == Own()) {
        Notice(u"This locked file used by yourself can not be deleted.", 3000, true);
        return;
    }
    if (c[H::kState].empty()) {
        Notice(
            u"This file used by yourself can not be deleted here because it has never been "
            u"synchronized with the server.",
            5000, true);
        return;
    }
    if (!m_patients.DeleteFile(c[H::kFileName])) {
        Notice(u"The file " + c[H::kFileName] + u" could not be deleted", 3000, true);
        return;
    }
    if (int server = ServerRowOfPatient(c[H::kPatient]); server >= 0) {
        m_prefs.serverFiles[static_cast<size_t>(server)].imported = u"No";
    }
    m_prefs.activeFiles.erase(m_prefs.activeFiles.begin() + row);
    if (c[H::kCode].empty()) {
        Notice(u"File deleted", 700);
    } else {
        Notice(u"File deleted from your PDA but still present on your server", 3500);
    }
    Changed();
}

void FileExchange::ArchiveHandheldFile(int row) {
    // The server no longer lists the file (archived or removed there): it goes to the archive
    // folder, where Quick load finds it again; it is never deleted.
    const ActiveFileRow entry = Handheld()[static_cast<size_t>(row)];
    if (!m_patients.MoveToArchive(entry.columns[H::kFileName])) return;
    m_prefs.activeFiles.erase(m_prefs.activeFiles.begin() + row);
    Notice(u"The server has no more the file " + entry.columns[H::kPatient] +
               u": it was moved into the archive folder",
           3000);
}

void FileExchange::ArchiveServerFile(int serverRow) {
    if (!Wanted()) {
        Notice(std::u16string(kNoConnection), 2000, true);
        return;
    }
    if (serverRow < 0 || static_cast<size_t>(serverRow) >= Server().size()) {
        Notice(u"You need first to select the file you wish to archivate", 2000, true);
        return;
    }
    Queue(CodeFrame(u'H', Server()[static_cast<size_t>(serverRow)].columns[S::kFileName]));
    Queue(CodeFrame(u'W'));
}

bool FileExchange::ActivateArchivedFile(int archiveRow) {
    if (!Wanted()) {
        Notice(std::u16string(kNoConnection), 2000, true);
        return false;
    }
    // The waiting row names no file: choosing it is choosing none.
    if (archiveRow < 0 || static_cast<size_t>(archiveRow) >= m_archive.size() ||
        m_archive[static_cast<size_t>(archiveRow)].entry.empty()) {
        Notice(u"You need first to select the file you wish to activate", 2000, true);
        return false;
    }
    Queue(CodeFrame(u'G', m_archive[static_cast<size_t>(archiveRow)].entry));
    Queue(CodeFrame(u'W'));
    return true;
}

void FileExchange::ShowArchive() {
    m_archive = {ArchiveRow{u"Wait the archivated files list from the server...", u""}};
    if (Wanted()) Queue(CodeFrame(u'E'));
    Changed();
}

void FileExchange::ClearList() {
    if (m_messages.ShowBox(u"Do you really want to clear the server information ?\r\n\r\nNothing "
                           u"is deleted. Just the synchronization state with the server is "
                           u"initialized.",
                           u"Clear server information ?", BoxButtons::OkCancel,
                           BoxIcon::Information) != BoxAnswer::Ok) {
        Notice(u"Cancel", 2000);
        return;
    }
    m_prefs.serverFiles.clear();
    RefreshLockStates();
    Notice(u"Server information cleared", 2000);
}

}  // namespace pondrel
