#pragma once

// What the connection tells the server page and the mail page: the moments of the connection's
// life that change their buttons and lists, and the frames that carry files, lists, mail and
// chat. Every method runs on the user-interface thread; the default does nothing.

#include <string>
#include <string_view>
#include <vector>

namespace pondrel {

// A mail frame as received: the text, when it was sent, its message code and its sender.
struct ReceivedMail {
    std::u16string text;
    std::u16string sentDate;
    std::u16string sentTime;
    std::u16string code;
    std::u16string sender;
    bool lengthMatches = false;  // the code's length part equals the text's length
};

class SyncListener {
public:
    virtual ~SyncListener() = default;

    // The Connect command, before the workers start: open patients are saved quietly, the
    // handheld list is rebuilt, no reply is pending.
    virtual void OnConnectCommand() {}
    // The workers started and the identification is queued (the chat area is cleared).
    virtual void OnConnectionStarted() {}
    // The server accepted the log-in: buttons and lists take their online look, waiting mail
    // and read receipts are sent.
    virtual void OnWentOnline() {}
    // The connection ends: file buttons off, lists in their offline look.
    virtual void OnDisconnected() {}
    // The users now online (empty when the connection ended).
    virtual void OnOnlineUsers(const std::vector<std::u16string>& /*users*/) {}
    // Synchronise every file (at connection when the option is set, or on the periodic tick).
    virtual void OnSynchAll() {}

    virtual void OnDeliveryReports(std::u16string_view /*payload*/) {}
    virtual void OnReadReceipt(std::u16string_view /*payload*/) {}
    virtual void OnChatLine(std::u16string_view /*line*/) {}
    virtual void OnMailReceived(const ReceivedMail& /*mail*/) {}
    virtual void OnUploadResult(std::u16string_view /*payload*/) {}
    virtual void OnActiveList(std::u16string_view /*payload*/) {}
    virtual void OnArchiveList(std::u16string_view /*payload*/) {}
    virtual void OnReleaseRequest(std::u16string_view /*fileWithoutExtension*/) {}
    virtual void OnImportBatchEnd() {}
    // A patient-file frame whose length field matched its text.
    virtual void OnFileReceived(std::u16string_view /*fileName*/, std::u16string_view /*text*/) {}
    // A patient-file frame whose length did not match: nothing is stored.
    virtual void OnFileAltered(std::u16string_view /*fileName*/) {}
    // The frames of one receive were handled: the screen fields are refreshed.
    virtual void OnBatchEnd() {}
};

}  // namespace pondrel
