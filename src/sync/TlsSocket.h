#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "sync/PosixSocket.h"

typedef struct ssl_st SSL;
typedef struct ssl_ctx_st SSL_CTX;

namespace pondrel {

// A TLS connection (1.2 or later) over a PosixSocket. Connect returns only once the handshake
// succeeded and the server's certificate was checked, so nothing the workers queue (the log-in
// first) leaves the computer before that. The receive and send workers share the TLS state under
// one lock that is never held while waiting on the socket.
class TlsSocket final : public Socket {
public:
    // Verified against the system's authorities, or against the certificates of
    // `certificateFile` (a PEM file: an authority or the server's own certificate).
    explicit TlsSocket(std::string certificateFile);
    ~TlsSocket() override;
    TlsSocket(const TlsSocket&) = delete;
    TlsSocket& operator=(const TlsSocket&) = delete;

    SocketError Connect(const std::string& host, uint16_t port) override;
    SocketError Receive(char* buffer, size_t capacity, size_t& received) override;
    SocketError Send(std::string_view bytes, size_t& sent) override;
    void Shutdown() override;
    bool Close() override;

private:
    SocketError Prepare(const std::string& host);
    SocketError Handshake();
    // After a TLS call returned `result` (<= 0): waits as the library asks, or tells the error.
    bool WaitAfter(int code, int timeoutMs, SocketError& error);
    // One read or write: `call` runs under the lock until it succeeds (returns 1 and sets the
    // bytes it moved) or fails; between tries it waits as the library asks, without the lock.
    SocketError Transfer(const std::function<int(SSL*, size_t&)>& call, size_t& done);

    std::string m_certificateFile;
    PosixSocket m_tcp;
    std::mutex m_mutex;  // around every call on m_ssl
    SSL_CTX* m_context = nullptr;
    SSL* m_ssl = nullptr;
};

}  // namespace pondrel
