#pragma once

// What the connection's frames and moments mean to the program: the file exchange, the
// mailboxes, the friends and the chat, over one connection. The Qt pages show it; the
// end-to-end tests use it as it is.

#include <deque>
#include <functional>
#include <memory>

#include "sync/FileExchange.h"
#include "sync/FriendsList.h"
#include "sync/MailBoxes.h"
#include "sync/MessageCodes.h"
#include "sync/SyncListener.h"

namespace pondrel {

class Clock;
class Connection;
class PatientFiles;
class Timers;
class UserMessages;
struct Preferences;

class SyncSession final : public SyncListener {
public:
    // Listens to `connection` from now on (and stops when destroyed). Every reference must
    // outlive the session.
    SyncSession(Preferences& preferences, Connection& connection, PatientFiles& patients,
                Clock& clock, Timers& timers, UserMessages& messages);
    ~SyncSession() override;
    SyncSession(const SyncSession&) = delete;
    SyncSession& operator=(const SyncSession&) = delete;

    FileExchange& Files() { return m_files; }
    const FileExchange& Files() const { return m_files; }
    MailBoxes& Mail() { return m_mail; }
    const MailBoxes& Mail() const { return m_mail; }
    FriendsList& Friends() { return m_friends; }
    const FriendsList& Friends() const { return m_friends; }
    // The preferences were read again: the friends text.
    void ApplyPreferences();
    // Called after anything the pages show changed.
    void SetChangedHandler(std::function<void()> changed);

    // SyncListener
    void OnConnectCommand() override;
    void OnConnectionStarted() override;
    void OnWentOnline() override;
    void OnDisconnected() override;
    void OnOnlineUsers(const std::vector<std::u16string>& users) override;
    void OnSynchAll() override;
    void OnDeliveryReports(std::u16string_view payload) override;
    void OnReadReceipt(std::u16string_view payload) override;
    void OnChatLine(std::u16string_view line) override;
    void OnMailReceived(const ReceivedMail& mail) override;
    void OnUploadResult(std::u16string_view payload) override;
    void OnActiveList(std::u16string_view payload) override;
    void OnArchiveList(std::u16string_view payload) override;
    void OnReleaseRequest(std::u16string_view fileWithoutExtension) override;
    void OnImportBatchEnd() override;
    void OnFileReceived(std::u16string_view fileName, std::u16string_view text) override;
    void OnFileAltered(std::u16string_view fileName) override;
    void OnBatchEnd() override;

private:
    // Runs what the server said about files now, or after what waits before it once the files
    // are no longer held by a dialogue; the order is kept.
    void WhenFilesFree(std::function<void()> event);
    void RunWaiting();

    Preferences& m_prefs;
    Connection& m_connection;
    PatientFiles& m_patients;
    FriendsList m_friends;
    MessageCodes m_codes;
    FileExchange m_files;
    MailBoxes m_mail;
    std::function<void()> m_changed;
    std::deque<std::function<void()>> m_waiting;
};

}  // namespace pondrel
