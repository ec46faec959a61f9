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
    m_connection.SetListener(this);
}

SyncSession::~SyncSession() {
    m_connection.SetListener(nullptr);
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
    m_patients.SaveAll();
    m_files.OnConnectCommand();
}

void SyncSession::OnConnectionStarted() {
    m_mail.OnConnectionStarted();
}

void SyncSession::OnWentOnline() {
    m_mail.OnWentOnline();
    m_files.OnWentOnline();
    if (m_changed) m_changed();
}

void SyncSession::OnDisconnected() {
    m_files.OnDisconnected();
}

void SyncSession::OnOnlineUsers(const std::vector<std::u16string>& users) {
    m_mail.OnOnlineUsers(users);
    m_files.RefreshLockStates();
}

void SyncSession::OnSynchAll() {
    m_files.SynchAll();
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
    m_files.OnUploadResult(payload);
}

void SyncSession::OnActiveList(std::u16string_view payload) {
    m_files.OnActiveList(payload);
}

void SyncSession::OnArchiveList(std::u16string_view payload) {
    m_files.OnArchiveList(payload);
}

void SyncSession::OnReleaseRequest(std::u16string_view fileWithoutExtension) {
    m_files.OnReleaseRequest(fileWithoutExtension);
}

void SyncSession::OnImportBatchEnd() {
    m_files.OnImportBatchEnd();
}

void SyncSession::OnFileReceived(std::u16string_view fileName, std::u16string_view text) {
    m_files.OnFileReceived(fileName, text);
}

void SyncSession::OnFileAltered(std::u16string_view fileName) {
    m_files.OnFileAltered(fileName);
}

void SyncSession::OnBatchEnd() {
    if (m_changed) m_changed();
}

}  // namespace pondrel
