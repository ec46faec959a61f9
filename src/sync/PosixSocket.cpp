#include "sync/PosixSocket.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/Text.h"

namespace pondrel {

namespace {

SocketError ErrorOf(int err) {
    switch (err) {
        case ECONNREFUSED:
            return SocketError::Refused;
        case ECONNRESET:
        case EPIPE:
            return SocketError::Reset;
        case EBADF:
        case ENOTSOCK:
            return SocketError::NotSocket;
        default:
            return SocketError::Failed;
    }
}

}  // namespace

PosixSocket::PosixSocket() : m_wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

PosixSocket::~PosixSocket() {
    Close();
    if (m_wake >= 0) ::close(m_wake);
}

bool PosixSocket::Wait(short events, int timeoutMs, SocketError& error) {
    pollfd fds[2] = {{m_fd, events, 0}, {m_wake, POLLIN, 0}};
    for (;;) {
        int n = ::poll(fds, 2, timeoutMs);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error = ErrorOf(errno);
            return false;
        }
        if (n == 0) {
            error = SocketError::Failed;  // time-out
            return false;
        }
        if (fds[1].revents) {
            error = SocketError::Cancelled;
            return false;
        }
        if (fds[0].revents & POLLNVAL) {
            error = SocketError::NotSocket;
            return false;
        }
        return true;  // ready, or an error that the next call reports
    }
}

SocketError PosixSocket::Connect(const std::string& host, uint16_t port) {
    if (m_wake < 0) return SocketError::Failed;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 || !found) {
        return SocketError::Failed;
    }
    SocketError result = SocketError::Failed;
    for (addrinfo* a = found; a; a = a->ai_next) {
        int fd =
            ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) continue;
        m_fd = fd;
        int err = 0;
        if (::connect(fd, a->ai_addr, a->ai_addrlen) != 0) {
            err = errno;
            if (err == EINPROGRESS) {
                if (!Wait(POLLOUT, kConnectTimeoutMs, result)) {
                    Close();
                    if (result == SocketError::Cancelled) break;
                    continue;
                }
                socklen_t length = sizeof err;
                if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &length) != 0) err = errno;
            }
        }
        if (err == 0) {
            int one = 1;
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
            result = SocketError::None;
            break;
        }
        result = ErrorOf(err);
        Close();
    }
    ::freeaddrinfo(found);
    return result;
}

SocketError PosixSocket::Receive(char* buffer, size_t capacity, size_t& received) {
    received = 0;
    for (;;) {
        SocketError error = SocketError::None;
        if (!Wait(POLLIN, -1, error)) return error;
        ssize_t n = ::recv(m_fd, buffer, capacity, 0);
        if (n > 0) {
            received = static_cast<size_t>(n);
            return SocketError::None;
        }
        if (n == 0) return SocketError::Closed;
        if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) continue;
        return ErrorOf(errno);
    }
}

SocketError PosixSocket::Send(std::string_view bytes, size_t& sent) {
    sent = 0;
    for (;;) {
        SocketError error = SocketError::None;
        if (!Wait(POLLOUT, -1, error)) return error;
        ssize_t n = ::send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n >= 0) {
            sent = static_cast<size_t>(n);
            return SocketError::None;
        }
        if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) continue;
        return ErrorOf(errno);
    }
}

void PosixSocket::Shutdown() {
    if (m_wake >= 0) {
        uint64_t one = 1;
        [[maybe_unused]] ssize_t n = ::write(m_wake, &one, sizeof one);
    }
}

bool PosixSocket::Close() {
    if (m_fd < 0) return true;
    int fd = m_fd;
    m_fd = -1;
    return ::close(fd) == 0;
}

std::u16string PosixSocketFactory::HostName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return u"pondrel";
    return FromUtf8(name);
}

}  // namespace pondrel
