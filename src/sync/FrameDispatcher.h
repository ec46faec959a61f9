#pragma once

// Handles the frames the server sends, one at a time, in the order received: what each code
// means to the connection, the notices, the answers the program owes (keep-alive, wake) and the
// acknowledgements of received mail, collected over a batch and sent at its end. Files, lists,
// mail and chat go on to the listener.

#include <string>
#include <string_view>
#include <vector>

#include "sync/SyncListener.h"

namespace pondrel {

class Clock;

// What frames ask of the connection.
class FrameActions {
public:
    virtual ~FrameActions() = default;
    virtual bool QueueFrame(std::u16string_view frame) = 0;
    // "#L!#" from the server or a refused password: the connection ends, without retrying.
    virtual void EndConnection() = 0;
    // "#S!#": the users online; the first one accepts the log-in.
    virtual void OnlineUsersReceived(std::vector<std::u16string> users) = 0;
    // "#K!#": the server is alive (the answer "#Y!#" is queued by the dispatcher).
    virtual void KeepAliveReceived() = 0;
    // "#O!#": the server's time-out, already brought into range.
    virtual void ServerTimeoutReceived(int seconds) = 0;
    virtual void Notice(const std::u16string& text, int milliseconds, bool warning) = 0;
};

class FrameDispatcher {
public:
    // The server may ask for a time-out in this range (seconds), and a notice of this length.
    static constexpr int kMinServerTimeout = 5;
    static constexpr int kMaxServerTimeout = 600;
    static constexpr int kMinNoticeMs = 300;
    static constexpr int kMaxNoticeMs = 60'000;
    static constexpr size_t kMaxNoticeChars = 500;

    // Every reference must outlive the dispatcher.
    FrameDispatcher(FrameActions& actions, SyncListener& listener, Clock& clock);

    void SetListener(SyncListener& listener) { m_listener = &listener; }

    // A batch is the frames of one hand-over from the receive worker.
    void BeginBatch() { m_acknowledgements.clear(); }
    // False when the frame ended the connection: the rest of the batch is dropped.
    bool HandleFrame(std::u16string_view frame);
    // The acknowledgement items of the mail received in this batch ("" when none).
    const std::u16string& Acknowledgements() const { return m_acknowledgements; }

private:
    bool HandleCode(char16_t code, std::u16string_view payload);
    void HandleNotice(std::u16string_view payload);
    void HandleMail(std::u16string_view frame);
    void HandleFile(std::u16string_view payload);

    FrameActions& m_actions;
    SyncListener* m_listener;
    Clock& m_clock;
    std::u16string m_acknowledgements;
};

// The names of a "#S!#" payload (each followed by "|"), without empty ones.
std::vector<std::u16string> ParseUserList(std::u16string_view payload);

}  // namespace pondrel
