#include "ServerProcess.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>

extern char** environ;

namespace pondrel::test {

namespace {

// Runs a program with `input` on its standard input and its output discarded; the exit status.
int RunWithInput(const std::vector<std::string>& args, const std::string& input) {
    int in[2];
    if (::pipe(in) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_addclose(&actions, in[1]);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    if (rc != 0) {
        ::close(in[1]);
        return -1;
    }
    [[maybe_unused]] ssize_t written = ::write(in[1], input.data(), input.size());
    ::close(in[1]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

ServerProcess::ServerProcess(std::string executable, std::string dataFolder, std::string logPath)
    : m_executable(std::move(executable)),
      m_data(std::move(dataFolder)),
      m_logPath(logPath.empty() ? m_data + ".log" : std::move(logPath)) {}

const char* ServerProcess::StoreOption() const {
    return m_data.rfind("postgresql://", 0) == 0 ? "--store" : "--data";
}

ServerProcess::~ServerProcess() {
    if (m_pid > 0) Stop();
}

bool ServerProcess::Start(int port, const std::vector<std::string>& extra) {
    int out[2];
    if (::pipe(out) != 0) return false;
    std::vector<std::string> args = {m_executable, "serve",  StoreOption(),
                                     m_data,       "--port", std::to_string(port)};
    // Loopback unless the test names another address ("::" for both 127.0.0.1 and ::1).
    if (std::find(extra.begin(), extra.end(), "--listen") == extra.end()) {
        args.insert(args.end(), {"--listen", "127.0.0.1"});
    }
    args.insert(args.end(), extra.begin(), extra.end());
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, m_logPath.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0600);
    int rc = posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (rc != 0) {
        ::close(out[0]);
        m_pid = -1;
        return false;
    }
    // Read "listening on ADDR:PORT" (at most ten seconds).
    std::string line;
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (line.find('\n') == std::string::npos && std::chrono::steady_clock::now() < end) {
        pollfd fd{out[0], POLLIN, 0};
        if (::poll(&fd, 1, 100) <= 0) continue;
        char buffer[256];
        ssize_t n = ::read(out[0], buffer, sizeof buffer);
        if (n <= 0) break;
        line.append(buffer, static_cast<size_t>(n));
    }
    ::close(out[0]);
    size_t colon = line.rfind(':');
    if (line.rfind("listening on ", 0) != 0 || colon == std::string::npos) {
        Kill();
        return false;
    }
    m_port = std::atoi(line.c_str() + colon + 1);
    return m_port > 0;
}

void ServerProcess::Kill() {
    if (m_pid <= 0) return;
    ::kill(m_pid, SIGKILL);
    int status = 0;
    ::waitpid(m_pid, &status, 0);
    m_pid = -1;
}

bool ServerProcess::Stop() {
    if (m_pid <= 0) return false;
    ::kill(m_pid, SIGTERM);
    int status = 0;
    ::waitpid(m_pid, &status, 0);
    m_pid = -1;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string ServerProcess::Log() const {
    std::ifstream in(m_logPath);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool ServerProcess::AddUser(const std::string& name, const std::string& password) const {
    return RunWithInput({m_executable, "user", "add", name, StoreOption(), m_data},
                        password + "\n") == 0;
}

int ConnectRaw(int port) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool SendRawBytes(int socket, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::send(socket, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

bool SendRaw(int socket, std::u16string_view text) {
    std::string bytes;
    for (char16_t c : text) {
        bytes += static_cast<char>(c >> 8);
        bytes += static_cast<char>(c & 0xFF);
    }
    return SendRawBytes(socket, bytes);
}

std::u16string ReceiveRawUntilClosed(int socket, int ms) {
    std::string bytes;
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        pollfd fd{socket, POLLIN, 0};
        if (::poll(&fd, 1, 50) <= 0) continue;
        char buffer[4096];
        ssize_t n = ::recv(socket, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    ::close(socket);
    std::u16string text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        text += static_cast<char16_t>((static_cast<unsigned char>(bytes[i]) << 8) |
                                      static_cast<unsigned char>(bytes[i + 1]));
    }
    return text;
}

}  // namespace pondrel::test
