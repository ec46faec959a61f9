#pragma once

#include "sync/Socket.h"

namespace pondrel {

// A TCP socket of the host. Every blocking call waits in poll() together with an event that
// Shutdown raises, so a worker never stays blocked once the connection is being closed.
class PosixSocket final : public Socket {
public:
    static constexpr int kConnectTimeoutMs = 10'000;

    PosixSocket();
    ~PosixSocket() override;
    PosixSocket(const PosixSocket&) = delete;
    PosixSocket& operator=(const PosixSocket&) = delete;

    SocketError Connect(const std::string& host, uint16_t port) override;
    SocketError Receive(char* buffer, size_t capacity, size_t& received) override;
    SocketError Send(std::string_view bytes, size_t& sent) override;
    void Shutdown() override;
    bool Close() override;

    // Waits until the socket is ready for `events` or Shutdown is called; false on Shutdown,
    // time-out (-1: none) or failure (`error` tells which).
    bool Wait(short events, int timeoutMs, SocketError& error);
    // The connected, non-blocking descriptor; -1 when none.
    int Descriptor() const { return m_fd; }

private:

    int m_fd = -1;
    int m_wake = -1;  // eventfd raised by Shutdown
};

class PosixSocketFactory final : public SocketFactory {
public:
    std::unique_ptr<Socket> Create() override { return std::make_unique<PosixSocket>(); }
    std::unique_ptr<Socket> CreateEncrypted(const std::string& certificateFile) override;
    std::u16string HostName() override;
};

}  // namespace pondrel
