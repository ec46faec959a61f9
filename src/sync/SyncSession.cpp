#include "sync/SyncSession.h"

#include "sync/Connection.h"
#include "sync/PatientFiles.h"

namespace pondrel {

SyncSession::SyncSession(Preferences& preferences, Connection& connection, PatientFiles& patients,
                         Clock& clock, Timers& timers, UserMessages& messages)
    : m_prefs(preferences),
      m_connection(connection),
      m_patients(patients),
      m_codes(clock),
      m_files(preferences, connection, patients, m_friends, m_codes, timers, messages),
      m_mail(preferences, connection, m_friends, m_codes, clock, timers, messages) {
    ApplyPreferences();
    m_patients.SetReleasedHandler([this] { RunWaiting(); });
    m_connection.SetListener(this);
}

SyncSession::~SyncSession() {
    m_connection.SetListener(nullptr);
    m_patients.SetReleasedHandler({});
}

void SyncSession::WhenFilesFree(std::function<void()> event) {
    if (m_waiting.empty() && !m_patients.FilesHeld()) {
        event();
        return;
    }
    m_waiting.push_back(std::move(event));
}

void SyncSession::RunWaiting() {
    while (!m_waiting.empty() && !m_patients.FilesHeld()) {
        std::function<void()> event = std::move(m_waiting.front());
        m_waiting.pop_front();
        event();
    }
}

void SyncSession::ApplyPreferences() {
    m_friends.SetText(m_prefs.friends, m_prefs.wireless.userName);
}

void SyncSession::SetChangedHandler(std::function<void()> changed) {
    m_changed = changed;
    m_files.SetChangedHandler(changed);
    m_mail.SetChangedHandler(changed);
}

void SyncSession::OnConnectCommand() {
    WhenFilesFree([this] {
        m_patients.SaveAll();
        m_files.OnConnectCommand();
    });
}

void SyncSession::OnConnectionStarted() {
    m_mail.OnConnectionStarted();
}

void SyncSession::OnWentOnline() {
    m_mail.OnWentOnline();
    WhenFilesFree([this] {
        m_files.OnWentOnline();
        if (m_changed) m_changed();
    });
}

void SyncSession::OnDisconnected() {
    WhenFilesFree([this] { m_files.OnDisconnected(); });
}

void SyncSession::OnOnlineUsers(const std::vector<std::u16string>& users) {
    m_mail.OnOnlineUsers(users);
    WhenFilesFree([this] { m_files.RefreshLockStates(); });
}

void SyncSession::OnSynchAll() {
    WhenFilesFree([this] { m_files.SynchAll(); });
}

void SyncSession::OnDeliveryReports(std::u16string_view payload) {
    m_mail.OnDeliveryReports(payload);
}

void SyncSession::OnReadReceipt(std::u16string_view payload) {
    m_mail.OnReadReceipt(payload);
}

void SyncSession::OnChatLine(std::u16string_view line) {
    m_mail.OnChatLine(line);
}

void SyncSession::OnMailReceived(const ReceivedMail& mail) {
    m_mail.OnMailReceived(mail);
}

void SyncSession::OnUploadResult(std::u16string_view payload) {
    WhenFilesFree([this, copy = std::u16string(payload)] { m_files.OnUploadResult(copy); });
}

void SyncSession::OnActiveList(std::u16string_view payload) {
    WhenFilesFree([this, copy = std::u16string(payload)] { m_files.OnActiveList(copy); });
}

void SyncSession::OnArchiveList(std::u16string_view payload) {
    WhenFilesFree([this, copy = std::u16string(payload)] { m_files.OnArchiveList(copy); });
}

void SyncSession::OnReleaseRequest(std::u16string_view fileWithoutExtension) {
    WhenFilesFree(
        [this, copy = std::u16string(fileWithoutExtension)] { m_files.OnReleaseRequest(copy); });
}

void SyncSession::OnImportBatchEnd() {
    WhenFilesFree([this] { m_files.OnImportBatchEnd(); });
}

void SyncSession::OnFileReceived(std::u16string_view fileName, std::u16string_view text) {
    WhenFilesFree([this, name = std::u16string(fileName), copy = std::u16string(text)] {
        m_files.OnFileReceived(name, copy);
    });
}

void SyncSession::OnFileAltered(std::u16string_view fileName) {
    WhenFilesFree([this, copy = std::u16string(fileName)] { m_files.OnFileAltered(copy); });
}

void SyncSession::OnBatchEnd() {
    // The pages show what is known now; what waits refreshes them when it runs.
    if (m_changed) m_changed();
}

}  // namespace pondrel
