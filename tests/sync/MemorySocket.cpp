#include "MemorySocket.h"

#include <chrono>
#include <cstring>

#include "sync/WireCodec.h"
#include "sync/WireFormat.h"

namespace pondrel::test {

void ScriptedPeer::SendBytes(std::string bytes) {
    {
        std::lock_guard lock(m_mutex);
        m_toProgram.push_back(std::move(bytes));
    }
    m_changed.notify_all();
}

void ScriptedPeer::SendText(std::u16string_view text) {
    SendBytes(EncodeWire(text));
}

void ScriptedPeer::SendFrame(std::u16string_view frame) {
    std::u16string text(frame);
    text += kFrameEnd;
    SendText(text);
}

void ScriptedPeer::Close() {
    {
        std::lock_guard lock(m_mutex);
        m_closed = true;
    }
    m_changed.notify_all();
}

void ScriptedPeer::Reset() {
    {
        std::lock_guard lock(m_mutex);
        m_reset = true;
    }
    m_changed.notify_all();
}

std::u16string ScriptedPeer::SentText() {
    std::lock_guard lock(m_mutex);
    WireDecoder decoder;
    return decoder.Feed(m_fromProgram);
}

bool ScriptedPeer::WaitForSent(std::u16string_view what, int ms) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(ms), [&] {
        WireDecoder decoder;
        return decoder.Feed(m_fromProgram).find(what) != std::u16string::npos;
    });
}

bool ScriptedPeer::WaitForShutdown(int ms) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(ms), [&] { return m_shutdown; });
}

SocketError MemorySocket::Connect(const std::string& toHost, uint16_t toPort) {
    std::lock_guard lock(m_peer->m_mutex);
    m_peer->host = toHost;
    m_peer->port = toPort;
    if (m_peer->m_shutdown) return SocketError::Cancelled;
    return m_peer->connectResult;
}

SocketError MemorySocket::Receive(char* buffer, size_t capacity, size_t& received) {
    received = 0;
    std::unique_lock lock(m_peer->m_mutex);
    m_peer->m_changed.wait(lock, [&] {
        return !m_peer->m_toProgram.empty() || m_peer->m_closed || m_peer->m_reset ||
               m_peer->m_shutdown;
    });
    if (m_peer->m_shutdown) return SocketError::Cancelled;
    if (!m_peer->m_toProgram.empty()) {
        std::string& chunk = m_peer->m_toProgram.front();
        received = std::min(capacity, chunk.size());
        std::memcpy(buffer, chunk.data(), received);
        chunk.erase(0, received);
        if (chunk.empty()) m_peer->m_toProgram.pop_front();
        return SocketError::None;
    }
    return m_peer->m_reset ? SocketError::Reset : SocketError::Closed;
}

SocketError MemorySocket::Send(std::string_view bytes, size_t& sent) {
    sent = 0;
    {
        std::lock_guard lock(m_peer->m_mutex);
        if (m_peer->m_shutdown) return SocketError::Cancelled;
        if (m_peer->m_reset || m_peer->m_closed) return SocketError::Reset;
        sent = m_peer->sendChunk ? std::min(bytes.size(), m_peer->sendChunk) : bytes.size();
        m_peer->m_fromProgram.append(bytes.substr(0, sent));
    }
    m_peer->m_changed.notify_all();
    return SocketError::None;
}

void MemorySocket::Shutdown() {
    {
        std::lock_guard lock(m_peer->m_mutex);
        m_peer->m_shutdown = true;
    }
    m_peer->m_changed.notify_all();
}

bool MemorySocket::Close() {
    Shutdown();
    return true;
}

std::unique_ptr<Socket> MemorySocketFactory::Create() {
    std::shared_ptr<ScriptedPeer> peer = Peer(Created());
    std::lock_guard lock(m_mutex);
    ++m_created;
    return std::make_unique<MemorySocket>(peer);
}

std::shared_ptr<ScriptedPeer> MemorySocketFactory::Peer(size_t n) {
    std::lock_guard lock(m_mutex);
    while (m_peers.size() <= n) m_peers.push_back(std::make_shared<ScriptedPeer>());
    return m_peers[n];
}

size_t MemorySocketFactory::Created() {
    std::lock_guard lock(m_mutex);
    return m_created;
}

}  // namespace pondrel::test
