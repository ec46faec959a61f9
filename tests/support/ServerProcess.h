#pragma once

// A real pondrel-server started by a test on a free loopback port, stopped (or killed) by it.

#include <sys/types.h>

#include <string>
#include <string_view>
#include <vector>

namespace pondrel::test {

class ServerProcess {
public:
    // The executable and the data folder; extra arguments go after "serve --data DIR". A
    // "postgresql://" address in place of the folder is passed as "--store ADDRESS"; the server's
    // log then goes to `logPath`.
    ServerProcess(std::string executable, std::string dataFolder, std::string logPath = {});
    ~ServerProcess();  // stops the server if it still runs
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    // Starts the server and waits for its "listening on ADDR:PORT"; port 0 picks a free port.
    bool Start(int port = 0, const std::vector<std::string>& extra = {});
    void Kill();  // SIGKILL, as a crash
    bool Stop();  // SIGTERM; true when it ended by itself with status 0
    bool Running() const { return m_pid > 0; }

    int Port() const { return m_port; }
    pid_t Pid() const { return m_pid; }
    // What the server wrote to standard error so far.
    std::string Log() const;
    // Runs "pondrel-server user add NAME --data DIR" with the password on standard input.
    bool AddUser(const std::string& name, const std::string& password) const;

private:
    const char* StoreOption() const;

    std::string m_executable;
    std::string m_data;
    std::string m_logPath;
    pid_t m_pid = -1;
    int m_port = 0;
};

// A plain TCP connection to the server on 127.0.0.1, for clients that misbehave on purpose.
int ConnectRaw(int port);                            // the socket, -1 when it cannot connect
bool SendRaw(int socket, std::u16string_view text);  // as the wire carries it
bool SendRawBytes(int socket, std::string_view bytes);
// Everything received until the server closes the connection or `ms` pass; closes the socket.
std::u16string ReceiveRawUntilClosed(int socket, int ms);

}  // namespace pondrel::test
