#include "ui/pages/SyncPages.h"

#include <QObject>

#include "mainform/MainFormController.h"
#include "platform/Platform.h"
#include "platform/ui/QtText.h"
#include "records/ActivePatients.h"
#include "records/CCorvaneDoc.h"
#include "records/LocationList.h"
#include "settings/Preferences.h"
#include "sync/ui/CConnectButtons.h"
#include "sync/ui/CConnectionIndicators.h"
#include "sync/ui/CMailManagerPage.h"
#include "sync/ui/CSendPage.h"
#include "sync/ui/CServerPage.h"
#include "sync/ui/CWirelessSettingsDlg.h"
#include "ui/pages/PageHost.h"
#include "ui/pages/ServerFormPage.h"

namespace pondrel {

SyncPages::SyncPages(PageHost& view, Platform& platform, const WorkingFolders& folders)
    : m_view(view),
      m_platform(platform),
      m_connection(m_sockets, platform.timers, platform.clock, platform.messages, *this),
      m_patientFiles(view.Controller().Active(), view.Document().Patients(), view.Locations(),
                     platform.files, folders, platform.clock, FormHooks()),
      m_context(std::make_unique<QObject>()) {
    // The session listens to the connection from now on.
    m_session = std::make_unique<SyncSession>(view.GetPreferences(), m_connection, m_patientFiles,
                                              platform.clock, platform.timers, platform.messages);
    m_sendPage = new CSendPage("Send", m_session->Mail(), m_session->Friends());
    m_mailPage = new CMailManagerPage("Mail manager", m_session->Mail());
    m_serverPage = new CServerPage("Server", m_session->Files());
    view.InstallPage(kSendPage, m_sendPage);
    view.InstallPage(kMailPage, m_mailPage);
    view.InstallPage(kServerPage, m_serverPage);
    m_serverFormPage =
        std::make_unique<ServerFormPage>(view.Controller(), kServerPage, m_session->Files());
    for (CConnectButtons* buttons : {m_mailPage->Buttons(), m_serverPage->Buttons()}) {
        buttons->SetHandlers([this] { m_connection.Connect(); },
                             [this] { m_connection.CloseByUser(); });
    }
    // Reply and Forward write into the compose box of the send page.
    m_mailPage->SetComposeHandler([this](const QString& text) {
        m_view.ShowPage(kSendPage);
        if (m_sendPage) m_sendPage->StartMail(text);
    });
    m_session->SetChangedHandler([this] { RefreshPages(); });
    ConnectionViewChanged();
    RefreshPages();
}

SyncPages::~SyncPages() {
    m_connection.SetListener(nullptr);
    m_connection.Shutdown();
}

ActivePatientFiles::Hooks SyncPages::FormHooks() {
    ActivePatientFiles::Hooks hooks;
    hooks.commitForm = [this] { m_view.Controller().CommitAll(); };
    hooks.releaseForm = [this] { m_view.Controller().ReleaseAll(); };
    hooks.refreshForm = [this] {
        m_view.Controller().ShowRecord();
        m_view.Controller().RefreshPatientList();
    };
    return hooks;
}

void SyncPages::ApplyPreferences(const Preferences& preferences) {
    m_connection.SetSettings(preferences.wireless, preferences.network);
    m_session->ApplyPreferences();
    if (m_mailPage) m_mailPage->SetUserName(ToQString(preferences.wireless.userName));
    RefreshPages();
}

void SyncPages::Start() {
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

void SyncPages::AttachIndicators(CConnectionIndicators* indicators) {
    m_indicators = indicators;
    ConnectionViewChanged();
}

void SyncPages::SetShowingDialog(bool showing) {
    if (m_indicators) m_indicators->SetSuspended(showing);
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
    if (m_mailPage) {
        m_mailPage->Buttons()->Show(shown);
        m_mailPage->SetOnline(shown.online);
    }
    if (m_serverPage) {
        m_serverPage->Buttons()->Show(shown);
        m_serverPage->SetOnline(shown.online);
    }
    if (m_sendPage) m_sendPage->SetOnline(shown.online);
    if (m_indicators) m_indicators->Show(shown);
}

void SyncPages::RefreshPages() {
    if (m_sendPage) m_sendPage->Refresh();
    if (m_mailPage) m_mailPage->Refresh();
    if (m_serverPage) m_serverPage->Refresh();
    ShowOnlineUsers();
}

void SyncPages::ShowOnlineUsers() {
    if (!m_serverPage) return;
    if (!m_connection.View().online) {
        m_serverPage->SetOnlineUsers("Offline");
        return;
    }
    // The own user first, then the friends online.
    QString text = "Online : " + ToQString(m_connection.Wireless().userName);
    for (const Friend& f : m_session->Friends().Rows()) {
        if (f.online) text += ", " + ToQString(f.name);
    }
    m_serverPage->SetOnlineUsers(text);
}

void SyncPages::OnNoticeExpired() {
    m_session->Mail().ClearTarget();
}

bool SyncPages::OnNoticeTapped() {
    MailBoxes& mail = m_session->Mail();
    const NoticeTarget target = mail.Target();
    if (target == NoticeTarget::None) return false;
    mail.ClearTarget();
    m_view.HideNotice();
    if (target == NoticeTarget::Mail) {
        m_view.ShowPage(kMailPage);
        if (m_mailPage) m_mailPage->ShowBox(MailBox::Inbox);
    } else {
        m_view.ShowPage(kSendPage);
        if (m_sendPage) m_sendPage->ShowChat();
    }
    return true;
}

}  // namespace pondrel
