#pragma once

// A handheld of the ward for end-to-end tests, without Qt: its own device (in memory) with the
// active patients, the program's record code and synchronisation code (connection, file exchange,
// mailboxes) on real sockets to a real pondrel-server. The test thread is its user-interface
// thread: Step runs what arrived and the timers that are due.

#include <string>

#include "LoopTimers.h"
#include "MemoryFileSystem.h"
#include "RecordingListener.h"
#include "SyncClient.h"
#include "platform/Clock.h"
#include "records/ActivePatients.h"
#include "records/LocationList.h"
#include "records/PatientRecord.h"
#include "records/PatientSet.h"
#include "records/WorkingFolders.h"
#include "settings/Preferences.h"
#include "sync/ActivePatientFiles.h"
#include "sync/Connection.h"
#include "sync/PosixSocket.h"
#include "sync/SyncSession.h"

namespace pondrel::test {

class WardClient final : public ConnectionHost {
public:
    WardClient(Waker& waker, std::u16string user, std::u16string password, int port)
        : m_waker(waker) {
        files.AddFolder(WorkingFolders::kActivePatients);
        files.AddFolder(WorkingFolders::kArchives);
        files.AddFolder(folders.Backup());
        prefs.wireless =
            WirelessSettings{std::move(user), std::move(password), 0, u"127.0.0.1", port};
        connection.SetSettings(prefs.wireless, prefs.network);
        session.ApplyPreferences();
    }
    ~WardClient() override { connection.Shutdown(); }

    void WakeUserInterface() override { m_waker.Wake(); }
    void Step() {
        connection.OnWorkerMessages();
        timers.RunDue();
    }

    // A begun patient, written into the active folder; its record stays open.
    PatientRecord& AddPatient(std::u16string last, std::u16string first, std::u16string year,
                              std::u16string status) {
        PatientRecord& r = patients.Count() == 1 && patients.At(0)->inUse == 0 ? *patients.At(0)
                                                                               : patients.AddNew();
        const std::u16string values[] = {last, first, u"1", u"2", year};
        for (int i = 0; i < 5; ++i) {
            r.SetField(2 + i, values[i]);
            r.SetField(120 + i, values[i]);
        }
        r.SetField(kStatusField, status);
        r.inUse = 1;
        r.subfolderType = u"Hosp";
        r.location = u"Ward 7";  // "All department" shows patients that have a location
        active.SaveAll(2);
        return r;
    }
    PatientRecord* Open(std::u16string_view fileName) {
        for (int i = 0; i < patients.Count(); ++i) {
            if (patients.At(i)->fileName == fileName) return patients.At(i);
        }
        return nullptr;
    }
    int HandheldRow(std::u16string_view fileName) const {
        const auto& rows = session.Files().Handheld();
        for (size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].columns[ActiveFileRow::kFileName] == fileName) return static_cast<int>(i);
        }
        return -1;
    }
    const ActiveFileRow* Row(std::u16string_view fileName) const {
        int row = HandheldRow(fileName);
        return row < 0 ? nullptr : &session.Files().Handheld()[static_cast<size_t>(row)];
    }
    bool HasNotice(std::u16string_view text) const {
        for (const auto& notice : messages.notices) {
            if (notice.text == text) return true;
        }
        return false;
    }
    void CheckFriend(std::u16string_view name) {
        const auto& rows = session.Friends().Rows();
        for (size_t i = 0; i < rows.size(); ++i) {
            session.Friends().SetChecked(i, rows[i].name == name);
        }
    }

    static constexpr int kStatusField = 60;

    MemoryFileSystem files;
    LoopTimers timers;
    SystemClock clock;
    ScriptedMessages messages;
    WorkingFolders folders;
    PatientSet patients{clock};
    LocationList locations;
    ActivePatients active{files, messages, timers, folders, patients, locations};
    ActivePatientFiles patientFiles{active, patients, locations, files, folders, clock};
    Preferences prefs;
    PosixSocketFactory sockets;
    Connection connection{sockets, timers, clock, messages, *this};
    SyncSession session{prefs, connection, patientFiles, clock, timers, messages};

private:
    Waker& m_waker;
};

}  // namespace pondrel::test
