#pragma once

// The connection to the synchronisation server, on the user-interface thread: Connect, the log-in,
// Disconnect and its teardown, the reconnection window, the server time-out, the resume from
// standby, the periodic synchronisation tick, the lights and the Connect / Close buttons. The
// bytes move on the two workers of a ConnectionLink; frames are handled by the FrameDispatcher.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "settings/Preferences.h"
#include "sync/ConnectionView.h"
#include "sync/FrameDispatcher.h"
#include "sync/FrameSplitter.h"

namespace pondrel {

class Clock;
class ConnectionLink;
class LinkMailbox;
class SocketFactory;
class Timers;
class UserMessages;

// The main form's side.
class ConnectionHost {
public:
    virtual ~ConnectionHost() = default;
    // Called on a worker thread: OnWorkerMessages must run soon on the user-interface thread.
    virtual void WakeUserInterface() = 0;
    // The lights, the bar or the buttons changed.
    virtual void ConnectionViewChanged() {}
};

class Connection final : private FrameActions {
public:
    static constexpr int kDefaultServerTimeout = 25;  // seconds
    static constexpr int kLoginWaitMs = 3000;
    static constexpr int kWindowSeconds = 30;
    static constexpr int kWindowAttempts = 20;
    static constexpr int kMinAttemptGapMs = 1000;  // between two attempts of a window
    static constexpr int kTeardownMs = 100;
    static constexpr int kStandbySeconds = 7;
    static constexpr size_t kMaxHostNameChars = 24;

    // Every reference must outlive the connection.
    Connection(SocketFactory& sockets, Timers& timers, Clock& clock, UserMessages& messages,
               ConnectionHost& host);
    ~Connection() override;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // The pages that handle files, mail and chat; null for none. Must outlive the connection or
    // be replaced before it goes.
    void SetListener(SyncListener* listener);
    void SetSettings(const WirelessSettings& wireless, const NetworkOptions& network);
    // Program start: the standby watch, the periodic tick, and Connect when the option is set.
    void StartAtProgramStart();
    // After the preferences dialogue: new wireless settings end the connection (the user
    // connects again with them); the advanced options restart or stop the periodic tick.
    void ApplySettings(const WirelessSettings& wireless, const NetworkOptions& network,
                       bool wirelessChanged, bool advancedAccepted);

    // Commands.
    void Connect();
    void CloseByUser();
    void Disconnect();
    // Queues one frame (its end is added here). False, with a notice, when the text is empty,
    // no connection is wanted, or the text holds a frame end.
    bool QueueFrame(std::u16string_view frame) override;

    // The workers' messages, on the user-interface thread.
    void OnWorkerMessages();
    // Cuts received text into frames and handles them (public for tests).
    void DispatchText(std::u16string_view text);

    // Unread mail makes the mail light blink.
    void SetUnreadMail(bool unread);
    // Program exit: stops the timers and the workers; no notice, nothing left running.
    void Shutdown();

    const ConnectionView& View() const { return m_view; }
    bool Wanted() const { return m_wanted; }
    bool Online() const { return m_online; }
    // A TCP connection is up (the identification may still be waiting for its answer).
    bool HasSocket() const;
    int ServerTimeoutSeconds() const { return m_serverTimeout; }
    int ReconnectSeconds() const { return m_reconnectSeconds; }
    int ReconnectAttempts() const { return m_reconnectAttempts; }
    const std::vector<std::u16string>& OnlineUsers() const { return m_onlineUsers; }
    const WirelessSettings& Wireless() const { return m_wireless; }
    const NetworkOptions& Network() const { return m_network; }

private:
    // FrameActions
    void EndConnection() override;
    void OnlineUsersReceived(std::vector<std::u16string> users) override;
    void KeepAliveReceived() override;
    void ServerTimeoutReceived(int seconds) override;
    void Notice(const std::u16string& text, int milliseconds, bool warning) override;

    bool StartConnection();
    void AfterStart();
    void ReconnectNow();
    void GoOnline();
    void Teardown();
    void RetireLink();
    void HandleLinkEnd(int event);
    void OpenWindow(bool afterLoss);
    void CloseWindow();
    bool WindowOpen() const { return m_reconnectSeconds >= 0 || m_reconnectAttempts >= 0; }
    void ArmServerTimeout(int milliseconds);
    void OnServerTimeout();
    void OnReconnectTick();
    void OnStandbyWatch();
    void OnSyncTick();
    void StartSyncTick();
    void StartAnimation();
    void StopAnimation();
    void SetConnectButtons(std::u16string text, bool enabled);
    void Blink(const Rgb (&colours)[2]);
    void UpdateBar();
    void ViewChanged();
    SyncListener& Listener() { return *m_listener; }

    SocketFactory& m_sockets;
    Timers& m_timers;
    Clock& m_clock;
    UserMessages& m_messages;
    ConnectionHost& m_host;
    SyncListener m_noListener;
    SyncListener* m_listener = &m_noListener;
    FrameDispatcher m_dispatcher;
    FrameSplitter m_carryOver;
    // A frame or an overlong text ended this connection: whatever else it sent is not read.
    bool m_textEnded = false;

    WirelessSettings m_wireless;
    NetworkOptions m_network;

    std::shared_ptr<LinkMailbox> m_mailbox;
    std::unique_ptr<ConnectionLink> m_link;
    std::vector<std::unique_ptr<ConnectionLink>> m_retired;  // stopped, still ending
    uint64_t m_linkCount = 0;

    bool m_wanted = false;
    bool m_online = false;
    int m_reconnectSeconds = -1;
    int m_reconnectAttempts = -1;
    bool m_reconnecting = false;  // a window was opened for this connection attempt
    bool m_refusalReported = false;
    bool m_windowAfterLoss = false;  // opened because an established connection was lost
    bool m_synchAtThisConnection = false;
    int m_serverTimeout = kDefaultServerTimeout;
    uint64_t m_lastActivity = 0;
    uint64_t m_lastAttempt = 0;
    int m_syncMinutes = 0;
    int m_animationStep = 0;
    int m_lightPhase = 0;
    int m_mailPhase = 0;
    bool m_unreadMail = false;
    std::vector<std::u16string> m_onlineUsers;
    ConnectionView m_view;
};

}  // namespace pondrel
