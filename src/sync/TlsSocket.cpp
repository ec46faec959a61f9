#include "sync/TlsSocket.h"

#include <arpa/inet.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <time.h>

#include <cerrno>

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

namespace pondrel {

namespace {

bool IsAddress(const std::string& host) {
    unsigned char buffer[16];
    return ::inet_pton(AF_INET, host.c_str(), buffer) == 1 ||
           ::inet_pton(AF_INET6, host.c_str(), buffer) == 1;
}

// The library writes to the socket with write(): a peer that has gone would raise SIGPIPE and
// end the program. The signal is held for this thread during a call and dropped after it.
class NoBrokenPipeSignal {
public:
    NoBrokenPipeSignal() {
        sigemptyset(&m_pipe);
        sigaddset(&m_pipe, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        m_wasPending = sigismember(&pending, SIGPIPE) == 1;
        m_blocked = pthread_sigmask(SIG_BLOCK, &m_pipe, &m_old) == 0;
    }
    ~NoBrokenPipeSignal() {
        if (!m_blocked) return;
        if (!m_wasPending) {
            sigset_t pending;
            sigpending(&pending);
            if (sigismember(&pending, SIGPIPE) == 1) {
                timespec none{0, 0};
                sigtimedwait(&m_pipe, nullptr, &none);
            }
        }
        pthread_sigmask(SIG_SETMASK, &m_old, nullptr);
    }
    NoBrokenPipeSignal(const NoBrokenPipeSignal&) = delete;
    NoBrokenPipeSignal& operator=(const NoBrokenPipeSignal&) = delete;

private:
    sigset_t m_pipe;
    sigset_t m_old;
    bool m_wasPending = false;
    bool m_blocked = false;
};

}  // namespace

std::unique_ptr<Socket> PosixSocketFactory::CreateEncrypted(const std::string& certificateFile) {
    return std::make_unique<TlsSocket>(certificateFile);
}

TlsSocket::TlsSocket(std::string certificateFile) : m_certificateFile(std::move(certificateFile)) {}

TlsSocket::~TlsSocket() {
    Close();
}

SocketError TlsSocket::Prepare(const std::string& host) {
    m_context = SSL_CTX_new(TLS_client_method());
    if (!m_context) return SocketError::Failed;
    SSL_CTX_set_min_proto_version(m_context, TLS1_2_VERSION);
    SSL_CTX_set_options(m_context, SSL_OP_NO_RENEGOTIATION);
    SSL_CTX_set_mode(m_context,
                     SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
    SSL_CTX_set_verify(m_context, SSL_VERIFY_PEER, nullptr);
    if (m_certificateFile.empty()) {
        if (SSL_CTX_set_default_verify_paths(m_context) != 1) return SocketError::Failed;
    } else {
        if (SSL_CTX_load_verify_locations(m_context, m_certificateFile.c_str(), nullptr) != 1) {
            return SocketError::CertificateFile;
        }
        // The chosen certificate is trusted as it is, even when it is the server's own.
        X509_VERIFY_PARAM_set_flags(SSL_CTX_get0_param(m_context), X509_V_FLAG_PARTIAL_CHAIN);
    }
    m_ssl = SSL_new(m_context);
    if (!m_ssl) return SocketError::Failed;
    X509_VERIFY_PARAM* param = SSL_get0_param(m_ssl);
    if (IsAddress(host)) {
        if (X509_VERIFY_PARAM_set1_ip_asc(param, host.c_str()) != 1) return SocketError::Failed;
    } else {
        X509_VERIFY_PARAM_set_hostflags(param, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
        if (SSL_set1_host(m_ssl, host.c_str()) != 1) return SocketError::Failed;
        SSL_ctrl(m_ssl, SSL_CTRL_SET_TLSEXT_HOSTNAME, TLSEXT_NAMETYPE_host_name,
                 const_cast<char*>(host.c_str()));
    }
    if (SSL_set_fd(m_ssl, m_tcp.Descriptor()) != 1) return SocketError::Failed;
    return SocketError::None;
}

bool TlsSocket::WaitAfter(int code, int timeoutMs, SocketError& error) {
    if (code == SSL_ERROR_WANT_READ) return m_tcp.Wait(POLLIN, timeoutMs, error);
    if (code == SSL_ERROR_WANT_WRITE) return m_tcp.Wait(POLLOUT, timeoutMs, error);
    if (code == SSL_ERROR_ZERO_RETURN) {
        error = SocketError::Closed;
    } else if (code == SSL_ERROR_SYSCALL) {
        error = errno == 0 ? SocketError::Closed : SocketError::Reset;
    } else {
        error = SocketError::Reset;
    }
    return false;
}

SocketError TlsSocket::Handshake() {
    for (;;) {
        int result = 0;
        int code = SSL_ERROR_NONE;
        {
            std::lock_guard lock(m_mutex);
            NoBrokenPipeSignal noSignal;
            ERR_clear_error();
            result = SSL_connect(m_ssl);
            if (result <= 0) code = SSL_get_error(m_ssl, result);
        }
        if (result == 1) return SocketError::None;
        if (code == SSL_ERROR_WANT_READ || code == SSL_ERROR_WANT_WRITE) {
            SocketError error = SocketError::None;
            if (m_tcp.Wait(code == SSL_ERROR_WANT_READ ? POLLIN : POLLOUT,
                           PosixSocket::kConnectTimeoutMs, error)) {
                continue;
            }
            return error == SocketError::Cancelled ? error : SocketError::NotEncrypted;
        }
        long verify = SSL_get_verify_result(m_ssl);
        if (verify == X509_V_ERR_CERT_HAS_EXPIRED || verify == X509_V_ERR_CERT_NOT_YET_VALID) {
            return SocketError::CertificateExpired;
        }
        if (verify != X509_V_OK) return SocketError::CertificateRefused;
        // Anything else that breaks the handshake: a server that does not speak TLS (it sends
        // its plain frames or closes), or one that offers nothing acceptable.
        return SocketError::NotEncrypted;
    }
}

SocketError TlsSocket::Connect(const std::string& host, uint16_t port) {
    SocketError error = m_tcp.Connect(host, port);
    if (error != SocketError::None) return error;
    error = Prepare(host);
    if (error == SocketError::None) error = Handshake();
    if (error != SocketError::None) Close();
    return error;
}

SocketError TlsSocket::Transfer(const std::function<int(SSL*, size_t&)>& call, size_t& done) {
    done = 0;
    for (;;) {
        int code = SSL_ERROR_NONE;
        {
            std::lock_guard lock(m_mutex);
            NoBrokenPipeSignal noSignal;
            ERR_clear_error();
            size_t moved = 0;
            const int result = call(m_ssl, moved);
            if (result == 1) {
                done = moved;
                return SocketError::None;
            }
            code = SSL_get_error(m_ssl, result);
        }
        SocketError error = SocketError::None;
        if (!WaitAfter(code, -1, error)) return error;
    }
}

SocketError TlsSocket::Receive(char* buffer, size_t capacity, size_t& received) {
    received = 0;
    if (!m_ssl) return SocketError::NotSocket;
    return Transfer(
        [buffer, capacity](SSL* ssl, size_t& read) {
            return SSL_read_ex(ssl, buffer, capacity, &read);
        },
        received);
}

SocketError TlsSocket::Send(std::string_view bytes, size_t& sent) {
    sent = 0;
    if (!m_ssl) return SocketError::NotSocket;
    if (bytes.empty()) return SocketError::None;
    return Transfer(
        [bytes](SSL* ssl, size_t& written) {
            return SSL_write_ex(ssl, bytes.data(), bytes.size(), &written);
        },
        sent);
}

void TlsSocket::Shutdown() {
    m_tcp.Shutdown();
}

bool TlsSocket::Close() {
    // Only once no worker uses the socket: the TLS state goes with the descriptor.
    if (m_ssl) {
        SSL_free(m_ssl);
        m_ssl = nullptr;
    }
    if (m_context) {
        SSL_CTX_free(m_context);
        m_context = nullptr;
    }
    return m_tcp.Close();
}

}  // namespace pondrel
