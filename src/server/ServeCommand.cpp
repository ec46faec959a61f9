// pondrel-server serve: runs the server until SIGTERM or SIGINT.

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <string>

#include <asio/io_context.hpp>
#include <asio/signal_set.hpp>

#include "platform/Text.h"
#include "server/Passwords.h"
#include "server/PostgresBus.h"
#include "server/PostgresStore.h"
#include "server/ServerCommands.h"
#include "server/ServerLog.h"
#include "server/ServerProtocol.h"
#include "server/ServerStore.h"
#include "server/SqliteStore.h"
#include "server/StorePool.h"
#include "server/SyncServer.h"

namespace pondrel::server {

namespace {

// A whole number from `low` to `high` (unchanged when the option is absent).
bool ToSeconds(const std::string& text, int low, int high, int& value) {
    if (text.empty()) return true;
    int parsed = ParseInt(FromUtf8(text));
    if (parsed < low || parsed > high || ToText(parsed) != FromUtf8(text)) return false;
    value = parsed;
    return true;
}

}  // namespace

int ServeCommand(const Arguments& given) {
    Arguments args = given;
    ServerOptions options;
    StoreChoice where;
    std::string port;
    std::string keepAlive;
    std::string idle;
    std::string timeout;
    std::string maxConnections;
    std::string maxPerAddress;
    std::string checksPerAddress;
    std::string storeConnections;
    int connections = static_cast<int>(options.maxConnections);
    int perAddress = static_cast<int>(options.maxConnectionsPerAddress);
    int checks = static_cast<int>(options.maxChecksPerAddress);
    auto durable = std::find(args.begin(), args.end(), "--durable");
    bool syncEveryChange = durable != args.end();
    if (syncEveryChange) args.erase(durable);
    if (!TakeStoreChoice(args, where) || !TakeOption(args, "--listen", options.listenAddress) ||
        !TakeOption(args, "--port", port) || !TakeOption(args, "--keep-alive", keepAlive) ||
        !TakeOption(args, "--idle", idle) || !TakeOption(args, "--timeout", timeout) ||
        !TakeOption(args, "--max-connections", maxConnections) ||
        !TakeOption(args, "--max-per-address", maxPerAddress) ||
        !TakeOption(args, "--checks-per-address", checksPerAddress) ||
        !TakeOption(args, "--store-connections", storeConnections) ||
        !TakeOption(args, "--tls-cert", options.tlsCertificateFile) ||
        !TakeOption(args, "--tls-key", options.tlsKeyFile) ||
        options.tlsCertificateFile.empty() != options.tlsKeyFile.empty() ||
        !ToSeconds(maxConnections, 1, 100'000, connections) ||
        !ToSeconds(maxPerAddress, 1, 100'000, perAddress) ||
        !ToSeconds(checksPerAddress, 1, static_cast<int>(ServerProtocol::kMaxChecksWaiting),
                   checks) ||
        !args.empty() ||
        !ToSeconds(storeConnections, 0, StorePool::kMaxConnections, options.storeConnections) ||
        !ToSeconds(port, 0, 65535, options.port) ||
        !ToSeconds(keepAlive, 1, 3600, options.keepAliveSeconds) ||
        !ToSeconds(idle, 2, 86400, options.idleSeconds) ||
        !ToSeconds(timeout, 5, 600, options.serverTimeoutSeconds)) {
        return 2;
    }
    options.maxConnections = static_cast<size_t>(connections);
    options.maxConnectionsPerAddress = static_cast<size_t>(perAddress);
    options.maxChecksPerAddress = static_cast<size_t>(checks);
    if (options.keepAliveSeconds >= options.serverTimeoutSeconds ||
        options.keepAliveSeconds >= options.idleSeconds) {
        std::fprintf(stderr,
                     "pondrel-server: the keep-alive must be shorter than the time-out "
                     "and the idle time\n");
        return 2;
    }
    if (where.address.empty()) {
        // SQLite has one writer at a time: one connection for the changes, or none (they run on
        // the network thread).
        if (options.storeConnections > 1 && !storeConnections.empty()) {
            std::fprintf(stderr,
                         "pondrel-server: a --data store has one connection for its changes "
                         "(--store-connections 0 or 1)\n");
            return 2;
        }
        options.storeConnections = std::min(options.storeConnections, 1);
    }
    if (syncEveryChange && !where.address.empty()) {
        // PostgreSQL syncs every commit unless its synchronous_commit says otherwise.
        std::fprintf(stderr, "pondrel-server: --durable applies to a --data store only\n");
        return 2;
    }
    auto store = OpenChosenStore(where, syncEveryChange);
    if (!store) return 1;
    if (!StartPasswords()) {
        std::fprintf(stderr, "pondrel-server: libsodium cannot start\n");
        return 1;
    }
    std::signal(SIGPIPE, SIG_IGN);

    ServerLog log;
    asio::io_context io;
    // Several instances may share a PostgreSQL store: they tell each other through it.
    std::unique_ptr<PostgresBus> bus;
    if (!where.address.empty()) {
        std::string error;
        bus = PostgresBus::Open(io, log, where.address, ClusterDeadSeconds(options), error);
        if (!bus) {
            std::fprintf(stderr, "pondrel-server: cannot reach the other instances: %s\n",
                         error.c_str());
            return 1;
        }
    }
    // The changes run on connections of their own, on their own threads: the network thread
    // never waits for a commit.
    std::unique_ptr<StorePool> changes;
    if (where.address.empty() && options.storeConnections > 0) {
        std::string path = DescribeStore(where);
        std::string error;
        auto worker = SqliteStore::Open(path, error, syncEveryChange);
        if (!worker) {
            std::fprintf(stderr, "pondrel-server: cannot open the store %s: %s\n", path.c_str(),
                         error.c_str());
            return 1;
        }
        std::vector<std::unique_ptr<ServerStore>> workers;
        workers.push_back(std::move(worker));
        changes = std::make_unique<StorePool>(io, std::move(workers));
    } else if (options.storeConnections > 0) {
        auto& main = static_cast<PostgresStore&>(*store);
        std::vector<std::unique_ptr<ServerStore>> workers;
        for (int i = 0; i < options.storeConnections; ++i) {
            std::string error;
            auto worker = main.OpenWorker(where.address, error);
            if (!worker) {
                std::fprintf(stderr, "pondrel-server: cannot open the store %s: %s\n",
                             DescribeStore(where).c_str(), error.c_str());
                return 1;
            }
            workers.push_back(std::move(worker));
        }
        changes = std::make_unique<StorePool>(io, std::move(workers));
    }
    SyncServer server(io, *store, log, options);
    if (bus) server.Protocol().SetBus(*bus);
    if (changes) server.Protocol().SetChanges(*changes);
    std::string error;
    if (!server.Listen(error)) {
        std::fprintf(stderr, "pondrel-server: cannot listen on %s port %d: %s\n",
                     options.listenAddress.c_str(), options.port, error.c_str());
        return 1;
    }
    asio::signal_set stop(io, SIGINT, SIGTERM);
    stop.async_wait([&](const asio::error_code& failed, int signal) {
        if (failed) return;
        log.Line(std::string("stopping on signal ") + (signal == SIGTERM ? "TERM" : "INT"));
        server.Stop();
        io.stop();
    });
    auto endpoint = server.Endpoint();
    std::printf("listening on %s:%u\n", endpoint.address().to_string().c_str(),
                static_cast<unsigned>(endpoint.port()));
    std::fflush(stdout);
    log.Line("store " + DescribeStore(where) + ", " + std::to_string(store->Users().size()) +
             " users, " + std::to_string(store->ActiveFiles().size()) + " active files");
    if (changes) {
        log.Line("changes run on " + std::to_string(changes->Size()) + " store connections");
    }
    log.Line(options.tlsCertificateFile.empty()
                 ? std::string("connections are plain (no --tls-cert)")
                 : "connections are encrypted (TLS 1.2 or later), certificate " +
                       options.tlsCertificateFile);
    if (bus) log.Line("server instance " + bus->Instance() + " on a shared store");
    io.run();
    return 0;
}

}  // namespace pondrel::server
