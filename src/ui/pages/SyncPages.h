#pragma once

#include <atomic>
#include <memory>

#include <QPointer>

#include "settings/PreferencesExchange.h"
#include "settings/ui/CPreferencesDlg.h"
#include "records/WorkingFolders.h"
#include "sync/ActivePatientFiles.h"
#include "sync/Connection.h"
#include "sync/PosixSocket.h"
#include "sync/SyncSession.h"
#include "ui/pages/PagePlugin.h"

class QObject;

namespace pondrel {

class CConnectionIndicators;
class PageHost;
class CMailManagerPage;
class CSendPage;
class CServerPage;
class ServerFormPage;
struct Platform;

// The synchronisation on the main form: the connection to the server (owned here, with its
// workers), the session that gives its frames their meaning (file exchange, mail, friends,
// chat) over the active patients, pages 31 (Send), 32 (Mail manager) and 33 (Server), the
// lights of the command bar, the tap on a mail or chat notice, and the wireless settings of the
// Preferences dialogue. Lives on the user-interface thread; the workers reach it only through a
// queued call.
class SyncPages final : public PagePlugin, private ConnectionHost {
public:
    static constexpr int kSendPage = 31;
    static constexpr int kMailPage = 32;
    static constexpr int kServerPage = 33;

    // Installs the pages in `view`; `view`, `platform` and `folders` must outlive this object.
    SyncPages(PageHost& view, Platform& platform, const WorkingFolders& folders);
    // Ends the connection and its workers (nothing is left running).
    ~SyncPages() override;
    SyncPages(const SyncPages&) = delete;
    SyncPages& operator=(const SyncPages&) = delete;

    Connection& GetConnection() { return m_connection; }
    SyncSession& Session() { return *m_session; }
    const FriendsList& Friends() const { return m_session->Friends(); }
    // The pages show the session's lists, friends and chat again.
    void RefreshPages();
    // A tap on the notice line: the mailboxes or the chat, as the notice said; false when the
    // notice was not about mail or chat.
    bool OnNoticeTapped() override;
    // The notice went away by itself: a later tap on another notice leads nowhere.
    void OnNoticeExpired() override;

    // The preferences were read: settings, friends, user name, page titles.
    void ApplyPreferences(const Preferences& preferences) override;
    // Start-up: the standby watch, the periodic tick, and Connect when the option is set.
    void Start() override;
    // The Preferences dialogue closed.
    void ApplyOutcome(const PreferencesOutcome& outcome, const Preferences& preferences) override;
    // The "Wireless settings" button of the Preferences dialogue and what it opens.
    std::pair<QString, CPreferencesDlg::SettingsDialogue> WirelessDialogue();
    void AddPreferencesDialogues(CPreferencesDlg::PluggedDialogues& dialogues) override {
        dialogues.push_back(WirelessDialogue());
    }
    // The lights are drawn on this bar (null: none).
    void AttachIndicators(CConnectionIndicators* indicators) override;
    // No lights while a dialogue of the program is open.
    void SetShowingDialog(bool showing) override;

private:
    // ConnectionHost
    void WakeUserInterface() override;
    void ConnectionViewChanged() override;
    // What the file exchange needs of the form: its typing written into the records, the
    // records let go, the record on screen shown again.
    ActivePatientFiles::Hooks FormHooks();
    void ShowOnlineUsers();

    PageHost& m_view;
    Platform& m_platform;
    PosixSocketFactory m_sockets;
    Connection m_connection;
    ActivePatientFiles m_patientFiles;
    std::unique_ptr<SyncSession> m_session;
    std::unique_ptr<QObject> m_context;  // the user-interface thread's end of the queued calls
    std::atomic<bool> m_wakePending{false};
    QPointer<CSendPage> m_sendPage;
    QPointer<CMailManagerPage> m_mailPage;
    QPointer<CServerPage> m_serverPage;
    QPointer<CConnectionIndicators> m_indicators;
    // Declared after the session: it ends before the file exchange it rebuilds.
    std::unique_ptr<ServerFormPage> m_serverFormPage;
};

}  // namespace pondrel
