#pragma once

// A scripted client of pondrel-server on a plain socket, to 127.0.0.1 or to ::1 (a second
// address for the server): sends frames as the wire carries them and reads what comes back.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <string_view>

#include "ServerProcess.h"

namespace pondrel::test {

// A scripted client on a plain socket, to 127.0.0.1 or to ::1 (another address for the server).
class RawClient {
public:
    explicit RawClient(int port, bool ipv6 = false) {
        if (!ipv6) {
            m_fd = test::ConnectRaw(port);
            return;
        }
        m_fd = ::socket(AF_INET6, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in6 address{};
        address.sin6_family = AF_INET6;
        address.sin6_port = htons(static_cast<uint16_t>(port));
        address.sin6_addr = in6addr_loopback;
        if (m_fd >= 0 &&
            ::connect(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~RawClient() { Close(); }
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    bool Ok() const { return m_fd >= 0; }
    int Fd() const { return m_fd; }
    void Close() {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = -1;
    }
    bool Send(std::u16string_view frames) { return m_fd >= 0 && test::SendRaw(m_fd, frames); }
    // Reads what is there, waiting at most `ms`; false once the server closed.
    bool Read(int ms) {
        if (m_fd < 0 || m_closed) return false;
        pollfd fd{m_fd, POLLIN, 0};
        if (::poll(&fd, 1, ms) <= 0) return true;
        char buffer[65536];
        ssize_t n = ::recv(m_fd, buffer, sizeof buffer, 0);
        if (n <= 0) {
            m_closed = true;
            return false;
        }
        m_bytes.append(buffer, static_cast<size_t>(n));
        size_t whole = m_bytes.size() & ~size_t{1};
        for (size_t i = 0; i < whole; i += 2) {
            text += static_cast<char16_t>((static_cast<unsigned char>(m_bytes[i]) << 8) |
                                          static_cast<unsigned char>(m_bytes[i + 1]));
        }
        m_bytes.erase(0, whole);
        return true;
    }
    // Reads until the text received holds `what` `times` times; false after `ms` or a close.
    bool WaitFor(std::u16string_view what, int ms = 8000, size_t times = 1) {
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        size_t count = 0;
        size_t from = 0;
        for (;;) {
            for (size_t at = text.find(what, from); at != std::u16string::npos;
                 at = text.find(what, from)) {
                ++count;
                from = at + what.size();
            }
            if (count >= times) return true;
            if (text.size() + 1 > what.size()) from = std::max(from, text.size() + 1 - what.size());
            if (std::chrono::steady_clock::now() >= end || !Read(20)) break;
        }
        return false;
    }
    bool WaitClosed(int ms) {
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (!m_closed && std::chrono::steady_clock::now() < end) Read(20);
        return m_closed;
    }
    size_t Count(std::u16string_view what) const {
        size_t count = 0;
        for (size_t at = text.find(what); at != std::u16string::npos;
             at = text.find(what, at + what.size())) {
            ++count;
        }
        return count;
    }
    bool Closed() const { return m_closed; }

    std::u16string text;

private:
    int m_fd = -1;
    bool m_closed = false;
    std::string m_bytes;
};

}  // namespace pondrel::test
