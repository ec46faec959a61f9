#pragma once

#include <atomic>
#include <memory>

#include <QPointer>

#include "settings/PreferencesExchange.h"
#include "settings/ui/CPreferencesDlg.h"
#include "sync/Connection.h"
#include "sync/FriendsList.h"
#include "sync/PosixSocket.h"
#include "sync/SyncListener.h"

class QObject;

namespace pondrel {

class CCommandBar;
class CCorvaneView;
class CMailManagerPage;
class CSendPage;
class CServerPage;
struct Platform;

// The synchronisation on the main form: the connection to the server (owned here, with its
// workers), pages 31 (Send), 32 (Mail manager) and 33 (Server) with their Connect and Close
// buttons, the lights of the command bar, and the wireless settings of the Preferences dialogue.
// Lives on the user-interface thread; the workers reach it only through a queued call.
class SyncPages final : private ConnectionHost, private SyncListener {
public:
    static constexpr int kSendPage = 31;
    static constexpr int kMailPage = 32;
    static constexpr int kServerPage = 33;

    // Installs the pages in `view`; `view` and `platform` must outlive this object.
    SyncPages(CCorvaneView& view, Platform& platform);
    // Ends the connection and its workers (nothing is left running).
    ~SyncPages() override;
    SyncPages(const SyncPages&) = delete;
    SyncPages& operator=(const SyncPages&) = delete;

    Connection& GetConnection() { return m_connection; }
    const FriendsList& Friends() const { return m_friends; }

    // The preferences were read: settings, friends, user name, page titles.
    void ApplyPreferences(const Preferences& preferences);
    // Start-up: the standby watch, the periodic tick, and Connect when the option is set.
    void StartAtProgramStart();
    // The Preferences dialogue closed.
    void ApplyOutcome(const PreferencesOutcome& outcome, const Preferences& preferences);
    // The "Wireless settings" button of the Preferences dialogue and what it opens.
    std::pair<QString, CPreferencesDlg::SettingsDialogue> WirelessDialogue();
    // The lights are drawn on this bar (null: none).
    void AttachCommandBar(CCommandBar* bar);
    // No lights while a dialogue of the program is open.
    void SetShowingDialog(bool showing);

private:
    // ConnectionHost
    void WakeUserInterface() override;
    void ConnectionViewChanged() override;
    // SyncListener
    void OnConnectCommand() override;
    void OnConnectionStarted() override;
    void OnOnlineUsers(const std::vector<std::u16string>& users) override;

    void ShowFriends();

    CCorvaneView& m_view;
    Platform& m_platform;
    PosixSocketFactory m_sockets;
    Connection m_connection;
    FriendsList m_friends;
    std::unique_ptr<QObject> m_context;  // the user-interface thread's end of the queued calls
    std::atomic<bool> m_wakePending{false};
    QPointer<CSendPage> m_sendPage;
    QPointer<CMailManagerPage> m_mailPage;
    QPointer<CServerPage> m_serverPage;
    QPointer<CCommandBar> m_commandBar;
};

}  // namespace pondrel
