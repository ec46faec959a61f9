#pragma once

// One TCP connection to the server and its two workers: the receive worker connects and then
// receives, the send worker sends what the user-interface thread queued. They share with the
// user-interface thread exactly two texts, the receive buffer and the send queue, each under its
// own lock (never held across a socket call, never together with the other), and tell it what
// happened through the link mailbox. They never touch anything else.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "sync/Socket.h"

namespace pondrel {

// What a worker tells the user-interface thread.
enum class LinkEvent {
    DataReady,      // the receive buffer holds at least one whole frame
    Refused,        // the server refused the TCP connection
    ConnectFailed,  // the connection could not be made (no notice)
    CertificateRefused,  // encrypted: the server's certificate is not trusted
    CertificateExpired,  // encrypted: the server's certificate has expired
    CertificateFile,     // encrypted: the chosen certificate file cannot be read
    NotEncrypted,        // encrypted: the server does not answer in TLS
    SenderMissing,  // the send worker did not start in time
    PeerClosed,     // the server closed the connection
    Reset,          // the connection was reset
    NotSocket,      // sending failed: the socket is no longer usable
    FrameTooLong,   // the server sent more than a frame may hold without its end
    Ended,          // a worker ended while the connection was still wanted
};

struct LinkMessage {
    uint64_t link = 0;  // which connection it is about
    LinkEvent event = LinkEvent::DataReady;
};

// The messages of every link, in the order they were posted. `wake` is called (on the worker's
// thread) after each post, to make the user-interface thread take them.
class LinkMailbox {
public:
    explicit LinkMailbox(std::function<void()> wake) : m_wake(std::move(wake)) {}
    void Post(LinkMessage message);
    std::vector<LinkMessage> TakeAll();

private:
    std::mutex m_mutex;
    std::vector<LinkMessage> m_messages;
    std::function<void()> m_wake;
};

class ConnectionLink {
public:
    static constexpr int kSenderWaitMs = 3000;

    // `mailbox` must outlive the link's workers (it is kept alive by the shared pointer).
    ConnectionLink(uint64_t id, std::unique_ptr<Socket> socket, std::string host, uint16_t port,
                   std::shared_ptr<LinkMailbox> mailbox);
    ~ConnectionLink();  // stops and joins the workers
    ConnectionLink(const ConnectionLink&) = delete;
    ConnectionLink& operator=(const ConnectionLink&) = delete;

    uint64_t Id() const { return m_id; }
    // Starts the receive worker, then the send worker.
    void Start();

    // Appends text to the send queue.
    void Queue(std::u16string_view text);
    // Takes the whole receive buffer.
    std::u16string TakeReceived();
    void ClearQueues();

    // The connection is no longer wanted: the send worker sends what is queued and ends, the
    // workers post nothing more.
    void Unwant();
    bool SocketConnected() const { return m_socketConnected; }
    // Stops both workers: every blocked socket call returns at once.
    void Stop();
    bool Finished() const { return m_receiveDone && m_sendDone; }
    // Waits at most `ms` for both workers to end; true when they did.
    bool WaitFinished(int ms);
    void Join();
    // After Join: releases the socket; false when that failed.
    bool CloseSocket();

private:
    void ReceiveLoop();
    void SendLoop();
    void Post(LinkEvent event);
    void PostEnd(LinkEvent reason);

    const uint64_t m_id;
    std::unique_ptr<Socket> m_socket;
    const std::string m_host;
    const uint16_t m_port;
    std::shared_ptr<LinkMailbox> m_mailbox;

    std::atomic<bool> m_wanted{true};
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_socketConnected{false};
    std::atomic<bool> m_senderReady{false};
    std::atomic<bool> m_receiveDone{false};
    std::atomic<bool> m_sendDone{false};
    std::atomic<bool> m_endPosted{false};

    // Start-up hand-shake between the two workers.
    std::mutex m_startMutex;
    std::condition_variable m_startChanged;

    // The receive buffer.
    std::mutex m_receiveMutex;
    std::condition_variable m_receiveTaken;
    std::u16string m_received;

    // The send queue.
    std::mutex m_sendMutex;
    std::condition_variable m_sendChanged;
    std::u16string m_sendQueue;

    std::jthread m_receiver;
    std::jthread m_sender;
};

}  // namespace pondrel
