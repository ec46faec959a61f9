#include "PostgresCluster.h"

#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "server/PgConnection.h"

namespace pondrel::test {

namespace {

std::string BinFolder() {
    const char* given = std::getenv("PONDREL_PG_BIN");
    return given && *given ? given : "/usr/lib/postgresql/15/bin";
}

int FreePort() {
    int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (probe >= 0 && ::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port = ntohs(address.sin_port);
    }
    if (probe >= 0) ::close(probe);
    return port;
}

}  // namespace

PostgresCluster* PostgresCluster::Shared(std::string& why) {
    static std::string failure;
    static std::unique_ptr<PostgresCluster> cluster = [] {
        std::unique_ptr<PostgresCluster> made(new PostgresCluster());
        if (!made->Create(failure)) made.reset();
        return made;
    }();
    why = failure;
    return cluster.get();
}

bool PostgresCluster::Create(std::string& why) {
    namespace fs = std::filesystem;
    m_bin = BinFolder();
    std::error_code ec;
    if (!fs::exists(fs::path(m_bin) / "initdb", ec) ||
        !fs::exists(fs::path(m_bin) / "pg_ctl", ec)) {
        why = "PostgreSQL is not installed here (no initdb and pg_ctl in " + m_bin +
              "; scripts/install-deps.sh installs the package postgresql, PONDREL_PG_BIN names "
              "another folder)";
        return false;
    }
    char pattern[] = "/tmp/pondrel-pg-XXXXXX";
    if (!::mkdtemp(pattern)) {
        why = "cannot make a temporary folder for the cluster";
        return false;
    }
    m_folder = pattern;
    if (::geteuid() == 0) {
        const passwd* nobody = ::getpwnam("nobody");
        if (!nobody || ::chown(m_folder.c_str(), nobody->pw_uid, nobody->pw_gid) != 0) {
            why = "running as root, and the folder cannot be given to the user nobody";
            return false;
        }
        m_asOwner = "runuser -u nobody -- ";
    }
    m_port = FreePort();
    if (!Run("initdb -D data -U pondrel -A trust -E UTF8 --locale=C --no-sync > initdb.log 2>&1")) {
        why = "initdb failed (see " + m_folder + "/initdb.log)";
        return false;
    }
    if (!Start()) {
        why = "the PostgreSQL server did not start (see " + m_folder + "/server.log)";
        return false;
    }
    return true;
}

PostgresCluster::~PostgresCluster() {
    if (m_running) Stop();
    if (!m_folder.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(m_folder, ec);
    }
}

bool PostgresCluster::Run(const std::string& command) const {
    std::string line = "cd '" + m_folder + "' && " + m_asOwner + m_bin + "/" + command;
    return std::system(line.c_str()) == 0;
}

bool PostgresCluster::Start() {
    // Local socket in the folder too; no sync to disk unless durable (a test cluster: a crash of
    // its processes loses nothing, a power failure would); few connections.
    m_running = Run("pg_ctl -D data -l server.log -w -t 60 -o \"-p " + std::to_string(m_port) +
                    " -k " + m_folder + " -c listen_addresses=127.0.0.1 " +
                    (m_durable ? "" : "-c fsync=off -c full_page_writes=off ") +
                    "-c max_connections=60\" start > /dev/null 2>&1");
    return m_running;
}

bool PostgresCluster::Stop() {
    m_running = false;
    return Run("pg_ctl -D data -m immediate -w stop > /dev/null 2>&1");
}

std::string PostgresCluster::Address(const std::string& database) const {
    return "postgresql://pondrel@127.0.0.1:" + std::to_string(m_port) + "/" + database;
}

bool PostgresCluster::Exec(const std::string& database, const std::string& sql) {
    std::string error;
    auto connection = server::PgConnection::Open(Address(database), error);
    return connection && connection->Exec(sql);
}

std::string PostgresCluster::NewDatabase() {
    std::string name = "pondrel_test_" + std::to_string(++m_databases);
    Exec("postgres", "CREATE DATABASE " + name);
    return Address(name);
}

}  // namespace pondrel::test
