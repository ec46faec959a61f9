#pragma once

// The TCP connection to the synchronisation server as the program's workers use it. The real
// one is PosixSocket; tests use an in-memory pair with a scripted server.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace pondrel {

enum class SocketError {
    None,
    Refused,    // the server refused the connection (nobody listens at the port)
    Reset,      // the connection was reset by the peer
    Closed,     // the peer closed the connection in order (a receive of 0 bytes)
    NotSocket,  // the socket is not (or no longer) usable
    Cancelled,  // Shutdown was called
    Failed,     // any other failure (host unknown, network unreachable, time-out...)
    // Encrypted connections only, from Connect: nothing was sent to the server.
    CertificateRefused,  // the server's certificate is not trusted or not for that address
    CertificateExpired,  // the server's certificate has expired (or is not valid yet)
    CertificateFile,     // the certificate file chosen in the settings cannot be read
    NotEncrypted,        // the server does not answer with an encrypted connection
};

// One connection. Connect, Receive and Send block; Shutdown, from any thread, makes every
// blocked or later call return Cancelled at once. The workers use it from two threads: one
// connects and receives, the other sends.
class Socket {
public:
    virtual ~Socket() = default;
    // `host` is a host name or an address.
    virtual SocketError Connect(const std::string& host, uint16_t port) = 0;
    // At least one byte, at most `capacity`; Closed when the peer closed the connection.
    virtual SocketError Receive(char* buffer, size_t capacity, size_t& received) = 0;
    // Sends some of `bytes` (perhaps an odd number of them); `sent` tells how many.
    virtual SocketError Send(std::string_view bytes, size_t& sent) = 0;
    virtual void Shutdown() = 0;
    // Releases the socket once no worker uses it any more; false when that failed.
    virtual bool Close() = 0;
};

class SocketFactory {
public:
    virtual ~SocketFactory() = default;
    virtual std::unique_ptr<Socket> Create() = 0;
    // An encrypted connection whose Connect checks the server's certificate against the
    // system's authorities, or against `certificateFile` (PEM) when it is not empty; null when
    // this factory has none.
    virtual std::unique_ptr<Socket> CreateEncrypted(const std::string& certificateFile) {
        (void)certificateFile;
        return nullptr;
    }
    // This computer's network name.
    virtual std::u16string HostName() = 0;
};

}  // namespace pondrel
