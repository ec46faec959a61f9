#include "ui/SyncPages.h"

#include <QObject>

#include "mainform/MainFormController.h"
#include "platform/Platform.h"
#include "platform/ui/QtText.h"
#include "records/ActivePatients.h"
#include "sync/ui/CConnectButtons.h"
#include "sync/ui/CConnectionIndicators.h"
#include "sync/ui/CMailManagerPage.h"
#include "sync/ui/CSendPage.h"
#include "sync/ui/CServerPage.h"
#include "sync/ui/CWirelessSettingsDlg.h"
#include "ui/CCommandBar.h"
#include "ui/CCorvaneView.h"

namespace pondrel {

namespace {
constexpr int kNewFriendMs = 3000;
constexpr int kQuickSave = 1;  // the automatic save: no box, only its short notice
}  // namespace

SyncPages::SyncPages(CCorvaneView& view, Platform& platform)
    : m_view(view),
      m_platform(platform),
      m_connection(m_sockets, platform.timers, platform.clock, platform.messages, *this),
      m_context(std::make_unique<QObject>()) {
    m_connection.SetListener(this);
    m_sendPage = new CSendPage("Send");
    m_mailPage = new CMailManagerPage("Mail manager");
    m_serverPage = new CServerPage("Server");
    view.InstallPage(kSendPage, m_sendPage);
    view.InstallPage(kMailPage, m_mailPage);
    view.InstallPage(kServerPage, m_serverPage);
    for (CConnectButtons* buttons : {m_mailPage->Buttons(), m_serverPage->Buttons()}) {
        buttons->SetHandlers([this] { m_connection.Connect(); },
                             [this] { m_connection.CloseByUser(); });
    }
    ConnectionViewChanged();
}

SyncPages::~SyncPages() {
    m_connection.SetListener(nullptr);
    m_connection.Shutdown();
}

void SyncPages::ApplyPreferences(const Preferences& preferences) {
    m_connection.SetSettings(preferences.wireless, preferences.network);
    m_friends.SetText(preferences.friends, preferences.wireless.userName);
    ShowFriends();
    if (m_mailPage) m_mailPage->SetUserName(ToQString(preferences.wireless.userName));
}

void SyncPages::StartAtProgramStart() {
    m_connection.StartAtProgramStart();
}

void SyncPages::ApplyOutcome(const PreferencesOutcome& outcome, const Preferences& preferences) {
    m_connection.ApplySettings(preferences.wireless, preferences.network,
                               outcome.wirelessAccepted && outcome.wirelessChanged,
                               outcome.advancedAccepted);
    if (m_mailPage) m_mailPage->SetUserName(ToQString(preferences.wireless.userName));
}

std::pair<QString, CPreferencesDlg::SettingsDialogue> SyncPages::WirelessDialogue() {
    auto open = [this](PreferencesEdit& edit, QWidget* parent) {
        CWirelessSettingsDlg dialog(edit, m_platform.messages, m_connection.ServerTimeoutSeconds(),
                                    parent);
        dialog.exec();
    };
    return {QStringLiteral("wirelessSettingsButton"), open};
}

void SyncPages::AttachCommandBar(CCommandBar* bar) {
    m_commandBar = bar;
    ConnectionViewChanged();
}

void SyncPages::SetShowingDialog(bool showing) {
    if (m_commandBar) m_commandBar->Indicators()->SetSuspended(showing);
}

void SyncPages::WakeUserInterface() {
    // On a worker's thread: one queued call at a time is enough to take every message.
    if (m_wakePending.exchange(true)) return;
    QMetaObject::invokeMethod(
        m_context.get(),
        [this] {
            m_wakePending = false;
            m_connection.OnWorkerMessages();
        },
        Qt::QueuedConnection);
}

void SyncPages::ConnectionViewChanged() {
    const ConnectionView& shown = m_connection.View();
    if (m_mailPage) m_mailPage->Buttons()->Show(shown);
    if (m_serverPage) m_serverPage->Buttons()->Show(shown);
    if (m_commandBar) m_commandBar->Indicators()->Show(shown);
}

void SyncPages::OnConnectCommand() {
    // The open patients are saved before their files are exchanged.
    if (m_view.Controller().PatientsLoaded()) m_view.Active().SaveAll(kQuickSave);
}

void SyncPages::OnConnectionStarted() {
    if (m_sendPage) m_sendPage->ClearChat();
}

void SyncPages::OnOnlineUsers(const std::vector<std::u16string>& users) {
    const std::u16string& own = m_connection.Wireless().userName;
    for (const std::u16string& name : m_friends.UpdateOnline(users, own)) {
        m_platform.messages.ShowNotice(u"New network friend added: " + name, kNewFriendMs);
    }
    m_view.GetPreferences().friends = m_friends.Text();
    ShowFriends();
    if (m_serverPage) {
        QString text = users.empty() ? QString("Offline") : QString("Online : ");
        for (size_t i = 0; i < users.size(); ++i) {
            text += (i ? ", " : "") + ToQString(users[i]);
        }
        m_serverPage->SetOnlineUsers(text);
    }
}

void SyncPages::ShowFriends() {
    if (m_sendPage) m_sendPage->ShowFriends(m_friends);
}

}  // namespace pondrel
