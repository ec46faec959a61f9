#pragma once

// An in-memory connection for the workers, with the server's end scripted by the test: what the
// program sent can be read back, bytes to the program are delivered one chunk per receive, and
// the server can refuse, close, reset or never answer.

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "sync/Socket.h"

namespace pondrel::test {

// The server's end of one connection.
class ScriptedPeer {
public:
    // Raw bytes, delivered by one receive call each.
    void SendBytes(std::string bytes);
    // Text encoded for the wire, in one receive.
    void SendText(std::u16string_view text);
    // Each frame with its end, in one receive.
    void SendFrame(std::u16string_view frame);
    void Close();  // the program's next receive reports an orderly close
    void Reset();  // its next receive and send report a reset

    // Everything the program sent so far, decoded.
    std::u16string SentText();
    // Waits until the program sent text containing `what`; false after `ms`.
    bool WaitForSent(std::u16string_view what, int ms = 5000);
    // Waits until the program's side released the socket (Shutdown or Close).
    bool WaitForShutdown(int ms = 5000);

    // How the connect call ends.
    SocketError connectResult = SocketError::None;
    // Bytes accepted by each send call (odd on purpose in some tests); 0 = all.
    size_t sendChunk = 0;
    // Where the program connected to.
    std::string host;
    uint16_t port = 0;

private:
    friend class MemorySocket;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::string> m_toProgram;
    std::string m_fromProgram;
    bool m_closed = false;
    bool m_reset = false;
    bool m_shutdown = false;
};

class MemorySocket final : public Socket {
public:
    explicit MemorySocket(std::shared_ptr<ScriptedPeer> peer) : m_peer(std::move(peer)) {}
    SocketError Connect(const std::string& host, uint16_t port) override;
    SocketError Receive(char* buffer, size_t capacity, size_t& received) override;
    SocketError Send(std::string_view bytes, size_t& sent) override;
    void Shutdown() override;
    bool Close() override;

private:
    std::shared_ptr<ScriptedPeer> m_peer;
};

// Makes one scripted peer per connection; a test may prepare the next peers before they are
// used (e.g. one that refuses).
class MemorySocketFactory final : public SocketFactory {
public:
    std::unique_ptr<Socket> Create() override;
    std::u16string HostName() override { return hostName; }

    // The peer of the n-th connection (0 = first), made on demand.
    std::shared_ptr<ScriptedPeer> Peer(size_t n);
    size_t Created();

    std::u16string hostName = u"bedside-1";

private:
    std::mutex m_mutex;
    std::vector<std::shared_ptr<ScriptedPeer>> m_peers;
    size_t m_created = 0;
};

}  // namespace pondrel::test
