#include "sync/ConnectionLink.h"

#include <chrono>
#include <vector>

#include "sync/FrameEndWatch.h"
#include "sync/WireCodec.h"
#include "sync/WireFormat.h"

namespace pondrel {

namespace {
// A receive error other than a reset is retried; this many in a row end the connection.
constexpr int kMaxFailedReceives = 100;
}  // namespace

void LinkMailbox::Post(LinkMessage message) {
    {
        std::lock_guard lock(m_mutex);
        m_messages.push_back(message);
    }
    if (m_wake) m_wake();
}

std::vector<LinkMessage> LinkMailbox::TakeAll() {
    std::lock_guard lock(m_mutex);
    std::vector<LinkMessage> taken;
    taken.swap(m_messages);
    return taken;
}

ConnectionLink::ConnectionLink(uint64_t id, std::unique_ptr<Socket> socket, std::string host,
                               uint16_t port, std::shared_ptr<LinkMailbox> mailbox)
    : m_id(id),
      m_socket(std::move(socket)),
      m_host(std::move(host)),
      m_port(port),
      m_mailbox(std::move(mailbox)) {}

ConnectionLink::~ConnectionLink() {
    Stop();
    Join();
    CloseSocket();
}

void ConnectionLink::Start() {
    m_receiver = std::jthread([this] { ReceiveLoop(); });
    m_sender = std::jthread([this] { SendLoop(); });
}

void ConnectionLink::Queue(std::u16string_view text) {
    {
        std::lock_guard lock(m_sendMutex);
        m_sendQueue.append(text);
    }
    m_sendChanged.notify_one();
}

std::u16string ConnectionLink::TakeReceived() {
    std::u16string taken;
    {
        std::lock_guard lock(m_receiveMutex);
        taken.swap(m_received);
    }
    m_receiveTaken.notify_one();
    return taken;
}

void ConnectionLink::ClearQueues() {
    {
        std::lock_guard lock(m_sendMutex);
        m_sendQueue.clear();
    }
    TakeReceived();
}

void ConnectionLink::Unwant() {
    {
        std::lock_guard lock(m_sendMutex);  // the send worker checks under this lock
        m_wanted = false;
    }
    m_sendChanged.notify_one();
}

void ConnectionLink::Stop() {
    {
        std::lock_guard lockStart(m_startMutex);
        m_stop = true;
    }
    m_wanted = false;
    m_startChanged.notify_all();
    { std::lock_guard lock(m_sendMutex); }
    m_sendChanged.notify_all();
    { std::lock_guard lock(m_receiveMutex); }
    m_receiveTaken.notify_all();
    if (m_socket) m_socket->Shutdown();
}

bool ConnectionLink::WaitFinished(int ms) {
    std::unique_lock lock(m_startMutex);
    return m_startChanged.wait_for(lock, std::chrono::milliseconds(ms),
                                   [this] { return Finished(); });
}

void ConnectionLink::Join() {
    if (m_receiver.joinable()) m_receiver.join();
    if (m_sender.joinable()) m_sender.join();
}

bool ConnectionLink::CloseSocket() {
    if (!m_socket) return true;
    bool closed = m_socket->Close();
    return closed;
}

void ConnectionLink::Post(LinkEvent event) {
    m_mailbox->Post({m_id, event});
}

void ConnectionLink::PostEnd(LinkEvent reason) {
    // Only while the connection is still wanted, and one end per link: the user-interface thread
    // then ends the connection.
    if (!m_wanted || m_stop || m_endPosted.exchange(true)) return;
    if (reason != LinkEvent::Ended) Post(reason);
    Post(LinkEvent::Ended);
}

void ConnectionLink::ReceiveLoop() {
    LinkEvent end = LinkEvent::Ended;
    SocketError error = m_socket->Connect(m_host, m_port);
    if (error != SocketError::None) {
        switch (error) {
            case SocketError::Refused:
                end = LinkEvent::Refused;
                break;
            case SocketError::CertificateRefused:
                end = LinkEvent::CertificateRefused;
                break;
            case SocketError::CertificateExpired:
                end = LinkEvent::CertificateExpired;
                break;
            case SocketError::CertificateFile:
                end = LinkEvent::CertificateFile;
                break;
            case SocketError::NotEncrypted:
                end = LinkEvent::NotEncrypted;
                break;
            default:
                end = LinkEvent::ConnectFailed;
                break;
        }
    } else {
        {
            std::unique_lock lock(m_startMutex);
            m_socketConnected = true;
            m_startChanged.notify_all();
            if (!m_startChanged.wait_for(lock, std::chrono::milliseconds(kSenderWaitMs),
                                         [this] { return m_senderReady || m_stop; })) {
                end = LinkEvent::SenderMissing;
            }
        }
        if (end == LinkEvent::Ended) {
            std::vector<char> buffer(kMaxReceiveBytes);
            WireDecoder decoder;
            FrameEndWatch watch;
            std::u16string text;
            int failed = 0;
            while (!m_stop) {
                size_t received = 0;
                error = m_socket->Receive(buffer.data(), buffer.size(), received);
                if (error == SocketError::Cancelled) break;
                if (error == SocketError::Closed) {
                    end = LinkEvent::PeerClosed;
                    break;
                }
                if (error == SocketError::Reset || error == SocketError::NotSocket) {
                    end = LinkEvent::Reset;
                    break;
                }
                if (error != SocketError::None) {
                    if (++failed >= kMaxFailedReceives) break;
                    continue;
                }
                failed = 0;
                text.clear();
                decoder.Feed(std::string_view(buffer.data(), received), text);
                if (text.empty()) continue;
                size_t ends = watch.Feed(text);
                if (watch.TailLength() > kMaxFrameChars) {
                    end = LinkEvent::FrameTooLong;
                    break;
                }
                {
                    std::lock_guard lock(m_receiveMutex);
                    m_received.append(text);
                }
                if (ends > 0) Post(LinkEvent::DataReady);
                // The user-interface thread is behind: wait until it took the text.
                std::unique_lock lock(m_receiveMutex);
                m_receiveTaken.wait(
                    lock, [this] { return m_received.size() <= kMaxPendingChars || m_stop; });
            }
        }
    }
    {
        std::lock_guard lock(m_startMutex);
        m_receiveDone = true;
        m_startChanged.notify_all();
    }
    PostEnd(end);
}

void ConnectionLink::SendLoop() {
    {
        // The receive worker connects (or fails, and then reports why).
        std::unique_lock lock(m_startMutex);
        m_startChanged.wait(lock, [this] { return m_socketConnected || m_stop || m_receiveDone; });
        if (m_socketConnected && !m_stop) {
            m_senderReady = true;
            m_startChanged.notify_all();
        }
    }
    LinkEvent end = LinkEvent::Ended;
    if (m_senderReady) {
        std::string pending;  // bytes taken from the queue and not sent yet
        for (;;) {
            if (pending.empty()) {
                std::unique_lock lock(m_sendMutex);
                m_sendChanged.wait(lock,
                                   [this] { return !m_sendQueue.empty() || !m_wanted || m_stop; });
                if (m_stop || m_sendQueue.empty()) break;  // stopped, or unwanted and sent
                size_t take = std::min(m_sendQueue.size(), kMaxSendChars);
                AppendWire(std::u16string_view(m_sendQueue).substr(0, take), pending);
                m_sendQueue.erase(0, take);
            }
            size_t sent = 0;
            SocketError error = m_socket->Send(pending, sent);
            if (error == SocketError::Cancelled) break;
            if (error == SocketError::NotSocket) {
                end = LinkEvent::NotSocket;
                break;
            }
            if (error != SocketError::None) {
                end = LinkEvent::Reset;
                break;
            }
            pending.erase(0, sent);
        }
    }
    {
        std::lock_guard lock(m_startMutex);
        m_sendDone = true;
        m_startChanged.notify_all();
    }
    if (m_senderReady) PostEnd(end);
}

}  // namespace pondrel
