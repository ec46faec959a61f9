#pragma once

// The limits of one server, per connection and in all.

#include <cstddef>
#include <string>

#include "sync/WireFormat.h"

namespace pondrel::server {

struct ServerOptions {
    std::string listenAddress = "0.0.0.0";
    int port = 4000;
    // Told to every client as it connects ("#O!#"): how long it waits for data before it counts
    // the server as lost. The keep-alive request goes out more often than that.
    int serverTimeoutSeconds = 25;
    int keepAliveSeconds = 10;
    // A client that sends nothing for this long (it answers every keep-alive) is disconnected.
    int idleSeconds = 60;
    // A connection must identify itself within this time.
    int loginSeconds = 15;
    size_t maxFrameChars = kMaxFrameChars;
    size_t maxLoginFrameChars = 1024;
    // Frames received while the password is being checked, kept for after the log-in: past
    // maxHeldChars the connection stops reading until the check ends.
    size_t maxHeldFrames = 1000;
    size_t maxHeldChars = 4096;
    // Bytes waiting to be sent to a client that does not read them.
    size_t maxPendingWriteBytes = 32u << 20;
    // Connections in all and from one address. When full, the oldest connection that has not
    // logged in (of that address, or of all) makes room for the new one.
    size_t maxConnections = 1000;
    size_t maxConnectionsPerAddress = 100;
    int verifyThreads = 2;
    // Password checks waiting or running for one address: a ward behind one address logs in a
    // few at a time (the others try again), a flood from one address cannot fill the queue. Raise
    // it where many handhelds reach the server through one address (a NAT).
    size_t maxChecksPerAddress = 16;
    // Connections (and threads) that run the changes of a PostgreSQL store, so that the commits
    // of different clients overlap; 0 runs them on the network thread's own connection. A SQLite
    // store runs its changes on the network thread (one writer at a time in any case).
    int storeConnections = 4;
    // With both (PEM files), every connection is TLS 1.2 or later; plain ones are refused.
    std::string tlsCertificateFile;
    std::string tlsKeyFile;
};

// An instance of a shared store that has not told it is alive for this long counts as dead: its
// users leave the online list of the others within the keep-alive time.
inline int ClusterDeadSeconds(const ServerOptions& options) {
    return options.keepAliveSeconds > 4 ? options.keepAliveSeconds - 2 : 2;
}

}  // namespace pondrel::server
