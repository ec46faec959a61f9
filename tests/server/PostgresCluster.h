#pragma once

// A private PostgreSQL cluster for the tests: made in a temporary folder by initdb, served on a
// free loopback port, stopped and removed when the test program ends. PostgreSQL refuses to run
// as root: when the tests do, the cluster belongs to the user "nobody" and runs as him.

#include <memory>
#include <string>

namespace pondrel::test {

class PostgresCluster {
public:
    // The cluster shared by the tests of this program, started at first use; null, with `why`
    // saying why, when it cannot run here.
    static PostgresCluster* Shared(std::string& why);
    ~PostgresCluster();
    PostgresCluster(const PostgresCluster&) = delete;
    PostgresCluster& operator=(const PostgresCluster&) = delete;

    // A new, empty database: its "postgresql://" address.
    std::string NewDatabase();
    std::string Address(const std::string& database) const;
    // Stops the server (as a crash would: immediately) and starts it again on the same port.
    bool Stop();
    bool Start();
    // Every commit on disk before it is answered, as with PostgreSQL's own defaults (for the
    // benchmarks); the tests' cluster skips that. Applies from the next Start.
    void SetDurable(bool durable) { m_durable = durable; }
    // Runs one SQL command as the cluster's owner in `database`.
    bool Exec(const std::string& database, const std::string& sql);
    // The temporary folder that holds the cluster.
    const std::string& Folder() const { return m_folder; }

private:
    PostgresCluster() = default;
    bool Create(std::string& why);
    // Runs a command of the PostgreSQL programs as the cluster's owner; true on status 0.
    bool Run(const std::string& command) const;

    std::string m_bin;
    std::string m_folder;
    std::string m_asOwner;  // "runuser -u nobody -- " when run as root
    int m_port = 0;
    int m_databases = 0;
    bool m_running = false;
    bool m_durable = false;
};

}  // namespace pondrel::test
