// Synchronisation figures: the frame codec against a plain conversion of the same bytes, and real
// pondrel-servers on loopback (one, or several on one PostgreSQL database) with many clients made
// of the program's own synchronisation code (log-ins per second, round trip of a file list, a
// list change seen through another server, the servers' memory), then the same clients each
// locking, uploading (a 50 KB patient), unlocking and listing in a loop, against the same bytes
// sent over a raw loopback connection and against the store's own limit; and one client's log-in,
// plain and over TLS.
//
//     sync_bench [CLIENTS] [SECONDS]                 (defaults 200 and 10; SQLite)
//     sync_bench CLIENTS SECONDS --postgresql        (a private PostgreSQL cluster, one server)
//     sync_bench CLIENTS SECONDS --instances 2 --postgresql   (two servers on one private cluster)
//     sync_bench ... --one-address                   (every client from 127.0.0.1)
//     PONDREL_BENCH_STORE=postgresql://... sync_bench ...   (the servers on that empty database)
//     PONDREL_BENCH_SERVER=/path/to/pondrel-server sync_bench ...   (another server's build)
//     sync_bench --tls                               (log-in, plain and over TLS)

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <signal.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "PostgresCluster.h"
#include "ServerProcess.h"
#include "SyncClient.h"
#include "TempFolder.h"
#include "TestCertificate.h"
#include "platform/Text.h"
#include "server/Passwords.h"
#include "server/PgConnection.h"
#include "server/ServerCommands.h"
#include "server/PostgresStore.h"
#include "server/SqliteStore.h"
#include "sync/FrameSplitter.h"
#include "sync/PosixSocket.h"
#include "sync/WireCodec.h"

namespace {

using namespace pondrel;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

// A received stream of frames like the server sends: lists, chat, a patient file.
std::string SampleStream(size_t bytes) {
    std::u16string text;
    while (text.size() * 2 < bytes) {
        text += u"#N!#Doe_John_1950\u00A2Anna\u00A27.3.2006\u00A209:05:00\u00A2#F|";
        text += u"#A!#<Bruno> : la temp\u00E9rature est \u00E0 38,5 \u00B0C#F|";
        text += u"\u00A2File\u00A2" + std::u16string(4000, u'x') +
                u"\u00A7Code\u00A74000\u00A2a.pdr#F|";
    }
    return EncodeWire(text);
}

void CodecFigures() {
    const std::string bytes = SampleStream(64u << 20);
    const size_t chunk = 65536;
    // Plain: the same bytes turned into UTF-16 units in the same receives, nothing else.
    auto start = Clock::now();
    std::u16string plain(bytes.size() / 2, u'\0');
    for (size_t at = 0; at < bytes.size(); at += chunk) {
        size_t end = std::min(bytes.size(), at + chunk);
        for (size_t i = at; i + 1 < end; i += 2) {
            plain[i / 2] = static_cast<char16_t>((static_cast<unsigned char>(bytes[i]) << 8) |
                                                 static_cast<unsigned char>(bytes[i + 1]));
        }
    }
    double plainSeconds = Seconds(start);
    // The program's way: decoded receive by receive, frames cut out with the carry-over.
    start = Clock::now();
    WireDecoder decoder;
    FrameSplitter splitter;
    size_t frames = 0;
    std::u16string text;
    for (size_t at = 0; at < bytes.size(); at += chunk) {
        text.clear();
        decoder.Feed(std::string_view(bytes).substr(at, chunk), text);
        splitter.Append(text);
        while (auto frame = splitter.Next()) ++frames;
    }
    double codecSeconds = Seconds(start);
    start = Clock::now();
    std::string encoded = EncodeWire(plain);
    double encodeSeconds = Seconds(start);
    double mb = static_cast<double>(bytes.size()) / (1 << 20);
    std::printf("codec: %.0f MiB, %zu frames\n", mb, frames);
    std::printf("  plain UTF-16 conversion   %8.0f MiB/s\n", mb / plainSeconds);
    std::printf("  decode + cut into frames  %8.0f MiB/s (%.0f %% of plain)\n", mb / codecSeconds,
                100 * plainSeconds / codecSeconds);
    std::printf("  encode                    %8.0f MiB/s\n", mb / encodeSeconds);
    if (encoded.size() != bytes.size()) std::printf("  encode size differs!\n");
}

constexpr size_t kPatientChars = 25'000;  // a 50 KB patient file

long MemoryKiB(pid_t pid, const char* field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + std::strlen(field));
    }
    return -1;
}

// CPU seconds (user and system) the process used so far.
double CpuSeconds(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    size_t close = line.rfind(')');  // the command name may hold spaces
    if (close == std::string::npos) return 0;
    std::istringstream fields(line.substr(close + 2));
    std::string field;
    double ticks = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14 || i == 15) ticks += std::atof(field.c_str());  // utime, stime
    }
    return ticks / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

// The machine's load average over the last minute: other work on it slows every figure.
std::string LoadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string one;
    in >> one;
    return one.empty() ? "?" : one;
}

// CPU seconds (user and system) this program used so far: its clients' share of the machine.
double OwnCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// What a bench client's pages would be told, counted rather than written down: a thousand
// clients each keeping every list of users online they were sent would hold gigabytes.
class BenchListener final : public SyncListener {
public:
    void OnOnlineUsers(const std::vector<std::u16string>& users) override {
        ++userLists;
        userNames += users.size();
    }
    void OnUploadResult(std::u16string_view payload) override {
        ++uploads;
        if (!payload.starts_with(u"O")) ++refusedUploads;
        uploadSeen = true;
    }
    void OnActiveList(std::u16string_view payload) override {
        ++activeLists;
        if (uploadSeen) listAfterUpload = true;
        if (!watch.empty()) watchSeen = payload.find(watch) != std::u16string_view::npos;
    }

    size_t userLists = 0;
    size_t userNames = 0;
    size_t uploads = 0;
    size_t refusedUploads = 0;
    size_t activeLists = 0;
    // Cleared by the bench at the start of a cycle: an upload's answer came, then a list.
    bool uploadSeen = false;
    bool listAfterUpload = false;
    // Whether the last active list held this text.
    std::u16string watch;
    bool watchSeen = false;
};

// The clients whose workers have something for their user-interface side: the bench's loop turns
// only those (and every client now and then, for its timers), not all of them at each wake.
class ReadyList {
public:
    explicit ReadyList(size_t clients) : m_marked(clients, 0) {}
    void Wake(size_t index) {
        {
            std::lock_guard lock(m_mutex);
            if (m_marked[index]) return;
            m_marked[index] = 1;
            m_ready.push_back(index);
        }
        m_changed.notify_one();
    }
    // Waits at most `ms` for a client to be woken; `woken` gets the clients woken since the last
    // call.
    void Take(int ms, std::vector<size_t>& woken) {
        woken.clear();
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, std::chrono::milliseconds(ms), [this] { return !m_ready.empty(); });
        woken.swap(m_ready);
        for (size_t index : woken) m_marked[index] = 0;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<size_t> m_ready;
    std::vector<char> m_marked;
};

// The program's TCP socket (the same calls as PosixSocket) from a loopback address of its own
// (127.1.x.y): each bench client comes from its own address, as each handheld of a ward does, so
// the server's limits per address apply to one client each. Without it every client would come
// from 127.0.0.1 and share that address's few waiting checks, as handhelds behind one router do.
class OwnAddressSocket final : public Socket {
public:
    explicit OwnAddressSocket(in_addr source)
        : m_source(source), m_wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}
    ~OwnAddressSocket() override {
        Close();
        if (m_wake >= 0) ::close(m_wake);
    }
    OwnAddressSocket(const OwnAddressSocket&) = delete;
    OwnAddressSocket& operator=(const OwnAddressSocket&) = delete;

    SocketError Connect(const std::string& host, uint16_t port) override {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(port);
        if (m_wake < 0 || ::inet_pton(AF_INET, host.c_str(), &to.sin_addr) != 1) {
            return SocketError::Failed;
        }
        int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0) return SocketError::Failed;
        m_fd = fd;
        sockaddr_in from{};
        from.sin_family = AF_INET;
        from.sin_addr = m_source;
        SocketError result = SocketError::None;
        int err = 0;
        if (::bind(fd, reinterpret_cast<sockaddr*>(&from), sizeof from) != 0) {
            err = errno;
        } else if (::connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
            err = errno;
            if (err == EINPROGRESS) {
                if (!Wait(POLLOUT, PosixSocket::kConnectTimeoutMs, result)) {
                    Close();
                    return result;
                }
                socklen_t length = sizeof err;
                if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &length) != 0) err = errno;
            }
        }
        if (err != 0) {
            Close();
            return err == ECONNREFUSED ? SocketError::Refused : SocketError::Failed;
        }
        int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        return SocketError::None;
    }
    SocketError Receive(char* buffer, size_t capacity, size_t& received) override {
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
            return errno == ECONNRESET ? SocketError::Reset : SocketError::Failed;
        }
    }
    SocketError Send(std::string_view bytes, size_t& sent) override {
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
            return errno == ECONNRESET || errno == EPIPE ? SocketError::Reset
                                                          : SocketError::Failed;
        }
    }
    void Shutdown() override {
        uint64_t one = 1;
        if (m_wake >= 0) [[maybe_unused]] ssize_t n = ::write(m_wake, &one, sizeof one);
    }
    bool Close() override {
        if (m_fd < 0) return true;
        int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    bool Wait(short events, int timeoutMs, SocketError& error) {
        pollfd fds[2] = {{m_fd, events, 0}, {m_wake, POLLIN, 0}};
        for (;;) {
            int n = ::poll(fds, 2, timeoutMs);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                error = SocketError::Failed;
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
            return true;
        }
    }

    in_addr m_source;
    int m_fd = -1;
    int m_wake = -1;
};

class OwnAddressSockets final : public SocketFactory {
public:
    // Client `index` comes from 127.1.x.y; with `shared`, from 127.0.0.1 like every other.
    OwnAddressSockets(size_t index, bool shared) {
        uint32_t address = shared ? 0x7F000001u
                                  : 0x7F010000u | static_cast<uint32_t>((index / 250) << 8) |
                                        static_cast<uint32_t>(1 + index % 250);
        m_source.s_addr = htonl(address);
    }
    std::unique_ptr<Socket> Create() override {
        return std::make_unique<OwnAddressSocket>(m_source);
    }
    std::u16string HostName() override { return u"bench"; }

private:
    in_addr m_source{};
};

// A client made of the program's own synchronisation code (the connection with its two workers
// on a real socket), as test::SyncClient, telling the bench's loop when it has something.
class BenchClient final : public ConnectionHost {
public:
    BenchClient(ReadyList& ready, size_t index, std::u16string user, int port, bool oneAddress)
        : sockets(index, oneAddress), m_ready(ready), m_index(index) {
        connection.SetListener(&listener);
        connection.SetSettings(WirelessSettings{std::move(user), u"123456", 0, u"127.0.0.1", port},
                               NetworkOptions{});
    }
    ~BenchClient() override { connection.Shutdown(); }
    BenchClient(const BenchClient&) = delete;
    BenchClient& operator=(const BenchClient&) = delete;

    void WakeUserInterface() override { m_ready.Wake(m_index); }
    // Its place among the clients the loop turns (when those that never came online are left).
    void SetIndex(size_t index) { m_index = index; }
    // One turn of the client's user-interface thread.
    void Step() {
        connection.OnWorkerMessages();
        timers.RunDue();
    }

    OwnAddressSockets sockets;
    test::LoopTimers timers;
    SystemClock clock;
    test::ScriptedMessages messages;
    BenchListener listener;
    Connection connection{sockets, timers, clock, messages, *this};

private:
    ReadyList& m_ready;
    std::atomic<size_t> m_index;
};

// The bench's user-interface thread for all its clients.
class ClientLoop {
public:
    static constexpr int kTimerSweepMs = 20;

    explicit ClientLoop(size_t clients) : ready(clients) {}

    // Turns the clients that have something (and every client every kTimerSweepMs) until `done`
    // holds, or for `ms`; `after` runs after each client's turn, `each` once per round. False
    // when `done` never held.
    bool Run(const std::vector<BenchClient*>& clients, int ms, const std::function<bool()>& done,
             const std::function<void(size_t)>& after = {},
             const std::function<void()>& each = {}) {
        auto end = Clock::now() + std::chrono::milliseconds(ms);
        for (;;) {
            auto now = Clock::now();
            if (now >= m_nextLook) {
                m_nextLook = now + std::chrono::seconds(1);
                CheckMemory();
            }
            if (now >= m_nextSweep) {
                m_nextSweep = now + std::chrono::milliseconds(kTimerSweepMs);
                for (size_t i = 0; i < clients.size(); ++i) {
                    clients[i]->Step();
                    if (after) after(i);
                }
            }
            if (each) each();
            if (done && done()) return true;
            if (Clock::now() >= end) return !done;
            ready.Take(2, m_woken);
            for (size_t index : m_woken) {
                if (index < clients.size()) {
                    clients[index]->Step();
                    if (after) after(index);
                }
            }
        }
    }

    ReadyList ready;

private:
    void CheckMemory();

    Clock::time_point m_nextSweep;
    Clock::time_point m_nextLook;
    std::vector<size_t> m_woken;
};

// The servers under test, one or several on one store.
class Servers {
public:
    void Add(std::unique_ptr<test::ServerProcess> server) { m_list.push_back(std::move(server)); }
    size_t Count() const { return m_list.size(); }
    test::ServerProcess& At(size_t i) { return *m_list[i]; }
    // Each on the port it had (0 at first: a free one).
    bool Start(const std::vector<std::string>& extra) {
        for (auto& server : m_list) {
            if (!server->Start(server->Port(), extra)) {
                std::fprintf(stderr, "a server did not start:\n%s", server->Log().c_str());
                return false;
            }
        }
        return true;
    }
    void Stop() {
        for (auto& server : m_list) server->Stop();
    }
    double Cpu() const {
        double sum = 0;
        for (const auto& server : m_list) sum += CpuSeconds(server->Pid());
        return sum;
    }
    // The sum of a /proc status field over the servers (VmRSS:, VmHWM:).
    long Memory(const char* field) const {
        long sum = 0;
        for (const auto& server : m_list) sum += MemoryKiB(server->Pid(), field);
        return sum;
    }
    // Log-ins refused so far because too many checks waited (from this address, or in all):
    // their clients tried again.
    size_t Refusals() const {
        size_t count = 0;
        for (const auto& server : m_list) {
            std::string log = server->Log();
            const std::string needle = "refused: too many log-ins waiting";
            for (size_t at = log.find(needle); at != std::string::npos;
                 at = log.find(needle, at + needle.size())) {
                ++count;
            }
        }
        return count;
    }
    std::string Each(const char* field) const {
        std::string text;
        for (const auto& server : m_list) {
            text += (text.empty() ? "" : " + ") + std::to_string(MemoryKiB(server->Pid(), field));
        }
        return text;
    }

private:
    std::vector<std::unique_ptr<test::ServerProcess>> m_list;
};

// Interrupted (Ctrl-C, a time-out): the servers and the private PostgreSQL cluster must not stay
// behind. The signal only wakes a thread of its own, which kills them and ends the program.
struct Leftovers {
    std::mutex mutex;
    Servers* servers = nullptr;
    test::PostgresCluster* cluster = nullptr;
    std::string folder;  // the bench's temporary folder
    int pipe[2] = {-1, -1};
};
Leftovers g_leftovers;

void OnInterrupt(int) {
    char byte = 1;
    [[maybe_unused]] ssize_t written = ::write(g_leftovers.pipe[1], &byte, 1);
}

// Kills the servers and the private cluster, removes the folders, and ends the program.
[[noreturn]] void Abandon(const char* why, int status) {
    std::lock_guard lock(g_leftovers.mutex);
    if (g_leftovers.servers) {
        for (size_t i = 0; i < g_leftovers.servers->Count(); ++i) g_leftovers.servers->At(i).Kill();
    }
    std::error_code ec;
    if (g_leftovers.cluster) {
        g_leftovers.cluster->Stop();
        std::filesystem::remove_all(g_leftovers.cluster->Folder(), ec);
    }
    if (!g_leftovers.folder.empty()) std::filesystem::remove_all(g_leftovers.folder, ec);
    std::fprintf(stderr, "%s: servers and cluster stopped, folders removed\n", why);
    std::fflush(stdout);
    ::_exit(status);
}

// Clients that cannot keep up with what they are sent hold it in their receive buffers (up to
// the program's limit per connection, megabytes each): past this the bench stops rather than take
// the memory of a shared machine.
constexpr long kMaxClientsMiB = 4096;

void ClientLoop::CheckMemory() {
    long mib = MemoryKiB(::getpid(), "VmRSS:") / 1024;
    if (mib <= kMaxClientsMiB) return;
    std::printf("STOPPED: the clients hold %ld MiB (at most %ld), received text they could not "
                "handle yet; load %s\n",
                mib, kMaxClientsMiB, LoadAverage().c_str());
    Abandon("the clients' memory", 3);
}

void CleanUpWhenInterrupted(const test::TempFolder& temp) {
    g_leftovers.folder = temp.Path().string();
    if (::pipe(g_leftovers.pipe) != 0) return;
    std::thread([] {
        char byte = 0;
        if (::read(g_leftovers.pipe[0], &byte, 1) != 1) return;
        Abandon("interrupted", 130);
    }).detach();
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
}

size_t UserListsReceived(const std::vector<BenchClient*>& all, size_t& names);

// Every client connects; one whose program gave up (its log-in was refused while too many checks
// waited, in all or from its address) connects again, as its user would. Every ten seconds a line
// tells how far it got. False when some are not online within three minutes.
bool ConnectAll(const std::vector<BenchClient*>& all, ClientLoop& loop, const Servers& servers) {
    for (auto* client : all) client->connection.Connect();
    auto start = Clock::now();
    auto lastLook = start;
    auto lastLine = start;
    double serverCpu = servers.Cpu();
    double ownCpu = OwnCpuSeconds();
    loop.Run(all, 180'000, [&] {
        // A look at every client ten times a second, not at each wake.
        if (Seconds(lastLook) < 0.1) return false;
        lastLook = Clock::now();
        bool done = true;
        size_t online = 0;
        for (auto* c : all) {
            if (c->connection.Online()) {
                ++online;
                continue;
            }
            done = false;
            if (!c->connection.Wanted()) c->connection.Connect();
        }
        if (!done && Seconds(lastLine) >= 10) {
            lastLine = Clock::now();
            size_t names = 0;
            size_t lists = UserListsReceived(all, names);
            std::printf(
                "    %zu online after %.0f s (server CPU %.1f s, the clients' %.1f s and %ld MiB; "
                "%zu lists of users received so far, %zu names; load %s)\n",
                online, Seconds(start), servers.Cpu() - serverCpu, OwnCpuSeconds() - ownCpu,
                MemoryKiB(::getpid(), "VmRSS:") / 1024, lists, names, LoadAverage().c_str());
            std::fflush(stdout);
        }
        return done;
    });
    size_t online = static_cast<size_t>(std::count_if(
        all.begin(), all.end(), [](auto* c) { return c->connection.Online(); }));
    if (online < all.size()) std::fprintf(stderr, "%zu of %zu online\n", online, all.size());
    return online == all.size();
}

// Every client leaves and connects again (as after a network cut, or once the server is back):
// seconds until all are online again, or a negative value when some never came back.
double ReconnectAll(const std::vector<BenchClient*>& all, ClientLoop& loop, const Servers& servers,
                    bool leaveFirst) {
    if (leaveFirst) {
        for (auto* client : all) client->connection.CloseByUser();
        loop.Run(all, 10'000, [&] {
            return std::none_of(all.begin(), all.end(),
                                [](auto* c) { return c->connection.Online(); });
        });
    }
    auto start = Clock::now();
    return ConnectAll(all, loop, servers) ? Seconds(start) : -1;
}

size_t UserListsReceived(const std::vector<BenchClient*>& all, size_t& names) {
    size_t lists = 0;
    names = 0;
    for (auto* client : all) {
        lists += client->listener.userLists;
        names += client->listener.userNames;
    }
    return lists;
}

// The store's own limit: the same 50 KB texts written as transactions straight into the same
// store, without the network and the protocol, for `seconds`. Uploads per second.
double StoreUploadsPerSecond(const std::string& data, int users, double seconds) {
    std::string path;
    std::string error;
    std::unique_ptr<server::ServerStore> store;
    if (data.rfind("postgresql://", 0) == 0) {
        store = server::PostgresStore::Open(data, error);
    } else if (server::PrepareDataFolder(data, path)) {
        store = server::SqliteStore::Open(path, error);
    }
    if (!store) return 0;
    server::Stamp when{u"7.3.2006", u"09:05:00", "2006-03-07 09:05:00"};
    size_t count = 0;
    auto start = Clock::now();
    while (Seconds(start) < seconds) {
        // Spread over the users: each stays far below his audit rows per hour.
        int user = static_cast<int>(count % static_cast<size_t>(users));
        std::u16string text = u"v" + ToText(static_cast<long long>(count)) + u":" +
                              std::u16string(kPatientChars, u'p');
        // Files of their own, which each user holds from his first upload on.
        if (store->Upload(u"User" + ToText(user), u"Limit_" + ToText(user) + u"_1950", text,
                          when) != server::StoreResult::Ok) {
            std::fprintf(stderr, "the store refused a direct upload\n");
            return 0;
        }
        ++count;
    }
    return static_cast<double>(count) / Seconds(start);
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    size_t at = static_cast<size_t>(p * static_cast<double>(values.size() - 1));
    return values[at];
}

std::u16string UploadFrame(const std::u16string& name, int version) {
    std::u16string text = u"v" + ToText(version) + u":" + std::u16string(kPatientChars, u'p');
    return u"\u00A2File\u00A2" + text + u"\u00A7Code\u00A7\u00A6" +
           ToText(static_cast<long long>(6 + text.size())) + u"|" + ToText(version % 1000) +
           u"\u00A2" + name + u"\u00A2Synch\u00A2";
}

// The bytes of `frames` copies of `frame` over a plain loopback connection: MiB/s.
double RawLoopbackMiBs(const std::string& frame, size_t frames) {
    int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener, 1) != 0 ||
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(listener);
        return 0;
    }
    std::thread sink([listener] {
        int peer = ::accept(listener, nullptr, nullptr);
        std::vector<char> buffer(1 << 16);
        while (::recv(peer, buffer.data(), buffer.size(), 0) > 0) {
        }
        ::close(peer);
    });
    int sender = ::socket(AF_INET, SOCK_STREAM, 0);
    ::connect(sender, reinterpret_cast<sockaddr*>(&address), sizeof address);
    auto start = Clock::now();
    for (size_t i = 0; i < frames; ++i) {
        for (size_t at = 0; at < frame.size();) {
            ssize_t n = ::send(sender, frame.data() + at, frame.size() - at, MSG_NOSIGNAL);
            if (n <= 0) break;
            at += static_cast<size_t>(n);
        }
    }
    ::shutdown(sender, SHUT_WR);
    sink.join();
    double seconds = Seconds(start);
    ::close(sender);
    ::close(listener);
    return static_cast<double>(frame.size() * frames) / (1 << 20) / seconds;
}

// When the slowest round trips are far from the median: when they began (by tenths of a second
// from the start), which tells a pause of the server or of the clients at one moment from a
// general slowness.
void SlowTrips(const std::vector<std::pair<Clock::time_point, double>>& trips,
               Clock::time_point begin, double percentile99) {
    if (percentile99 < 50) return;
    std::map<long, int> tenths;
    for (const auto& [when, ms] : trips) {
        if (ms < percentile99 / 2) continue;
        ++tenths[static_cast<long>(10 * std::chrono::duration<double>(when - begin).count())];
    }
    std::string text;
    int shown = 0;
    for (const auto& [tenth, count] : tenths) {
        if (++shown > 12) {
            text += " ...";
            break;
        }
        char item[48];
        std::snprintf(item, sizeof item, " %.1f s (%d)", static_cast<double>(tenth) / 10, count);
        text += item;
    }
    std::printf("    the trips over %.0f ms began at:%s\n", percentile99 / 2, text.c_str());
}

// Every client locks its own patient, uploads it, unlocks it and asks for the list, again as
// soon as the list after its upload came back.
double FileOperationFigures(const std::vector<BenchClient*>& all, ClientLoop& loop, int seconds,
                            Servers& servers) {
    struct State {
        Clock::time_point asked;
        bool waiting = false;
        int version = 0;
    };
    std::vector<State> states(all.size());
    std::vector<double> trips;
    size_t uploadBytes = 0;
    size_t refusedBefore = 0;
    for (auto* client : all) refusedBefore += client->listener.refusedUploads;
    auto name = [](size_t i) {
        return u"Bench_" + ToText(static_cast<long long>(i)) + u"_1950.pdr";
    };
    bool running = true;
    auto start = [&](size_t i) {
        State& state = states[i];
        std::u16string file = name(i);
        std::u16string upload = UploadFrame(file, ++state.version);
        uploadBytes += 2 * (upload.size() + 3);
        all[i]->listener.uploadSeen = false;
        all[i]->listener.listAfterUpload = false;
        state.asked = Clock::now();
        state.waiting = true;
        all[i]->connection.QueueFrame(u"#Q!#L\u00A2" + file);
        all[i]->connection.QueueFrame(upload);
        all[i]->connection.QueueFrame(u"#Q!#U\u00A2" + file);
        all[i]->connection.QueueFrame(u"#W!#");
    };
    auto collect = [&](size_t i) {
        State& state = states[i];
        if (state.waiting && all[i]->listener.listAfterUpload) {
            trips.push_back(1000 * Seconds(state.asked));
            state.waiting = false;
        }
        if (running && !state.waiting) start(i);
    };
    for (size_t i = 0; i < all.size(); ++i) start(i);
    auto begin = Clock::now();
    size_t bytesAtStart = uploadBytes;
    double serverCpuAtStart = servers.Cpu();
    double ownCpuAtStart = OwnCpuSeconds();
    loop.Run(all, seconds * 1000, [&] { return Seconds(begin) >= seconds; }, collect);
    running = false;
    double elapsed = Seconds(begin);
    double serverCpu = servers.Cpu() - serverCpuAtStart;
    double ownCpu = OwnCpuSeconds() - ownCpuAtStart;
    size_t refused = 0;
    for (auto* client : all) refused += client->listener.refusedUploads;
    refused -= refusedBefore;
    double mibs = static_cast<double>(uploadBytes - bytesAtStart) / (1 << 20) / elapsed;
    std::string frame = EncodeWire(UploadFrame(name(0), 1) + u"#F|");
    double raw = RawLoopbackMiBs(frame, 2000);
    std::printf(
        "  file operations: %zu lock/upload/unlock/list cycles in %.0f s (%.0f/s, %zu uploads "
        "refused)\n",
        trips.size(), elapsed, static_cast<double>(trips.size()) / elapsed, refused);
    std::printf("    cycle median %.1f ms, 99th percentile %.1f ms\n", Percentile(trips, 0.5),
                Percentile(trips, 0.99));
    // Less sensitive to other load on the machine than the rates.
    std::printf("    server CPU %.0f %% of one core, %.2f ms per cycle; the clients' CPU %.0f %%\n",
                100 * serverCpu / elapsed,
                trips.empty() ? 0.0 : 1000 * serverCpu / static_cast<double>(trips.size()),
                100 * ownCpu / elapsed);
    std::printf(
        "    uploads %.1f MiB/s; the same frames over a raw loopback connection %.0f MiB/s "
        "(%.1f %%)\n",
        mibs, raw, 100 * mibs / raw);
    // Let the cycles under way end: their files are free again.
    loop.Run(all, 10'000, [&] {
        return std::none_of(states.begin(), states.end(), [](const State& s) { return s.waiting; });
    }, [&](size_t i) {
        if (states[i].waiting && all[i]->listener.listAfterUpload) states[i].waiting = false;
    });
    return static_cast<double>(trips.size()) / elapsed;
}

// A list change seen by other clients: the first client locks a file (and unlocks it, in turn),
// and the time until a client of the same server, and one of another server, sees the change in
// its list of active files (sent after a change without being asked for).
void ListChangeFigures(const std::vector<BenchClient*>& all, ClientLoop& loop,
                       const std::vector<size_t>& serverOf, size_t instances) {
    if (all.size() < 2) return;
    BenchClient* locker = all[0];
    BenchClient* same = nullptr;
    BenchClient* other = nullptr;
    for (size_t i = 1; i < all.size(); ++i) {
        if (!same && serverOf[i] == serverOf[0]) same = all[i];
        if (!other && serverOf[i] != serverOf[0]) other = all[i];
    }
    // The file of the first client's file operations, free again after them.
    const std::u16string file = u"Bench_0_1950.pdr";
    const std::u16string watch =
        u"Bench_0_1950\u00A2" + locker->connection.Wireless().userName + u"\u00A2";
    std::vector<BenchClient*> watchers;
    for (BenchClient* watcher : {same, other}) {
        if (!watcher) continue;
        watcher->listener.watch = watch;
        watcher->listener.watchSeen = false;
        watchers.push_back(watcher);
    }
    std::vector<double> sameTimes;
    std::vector<double> otherTimes;
    const int rounds = 10;
    for (int round = 0; round < rounds; ++round) {
        bool lock = round % 2 == 0;
        // Not in step with the servers' own beats.
        loop.Run(all, 300 + 37 * round, {});
        locker->connection.QueueFrame(std::u16string(lock ? u"#Q!#L\u00A2" : u"#Q!#U\u00A2") +
                                      file);
        auto asked = Clock::now();
        double sameMs = -1;
        double otherMs = -1;
        loop.Run(all, 10'000, [&] {
            if (same && sameMs < 0 && same->listener.watchSeen == lock) {
                sameMs = 1000 * Seconds(asked);
            }
            if (other && otherMs < 0 && other->listener.watchSeen == lock) {
                otherMs = 1000 * Seconds(asked);
            }
            return (!same || sameMs >= 0) && (!other || otherMs >= 0);
        });
        if (sameMs >= 0) sameTimes.push_back(sameMs);
        if (otherMs >= 0) otherTimes.push_back(otherMs);
    }
    for (BenchClient* watcher : watchers) watcher->listener.watch.clear();
    if (same) {
        std::printf(
            "  a lock or unlock seen in the list of a client of the same server: median %.0f ms, "
            "slowest %.0f ms (%zu of %d)\n",
            Percentile(sameTimes, 0.5), Percentile(sameTimes, 1.0), sameTimes.size(), rounds);
    }
    if (other) {
        std::printf(
            "  a lock or unlock seen in the list of a client of another server: median %.0f ms, "
            "slowest %.0f ms (%zu of %d)\n",
            Percentile(otherTimes, 0.5), Percentile(otherTimes, 1.0), otherTimes.size(), rounds);
    } else if (instances > 1) {
        std::printf("  no client online at another server: no figure across servers\n");
    }
}

// The server to measure: this build's, or another one named by PONDREL_BENCH_SERVER (to compare
// two versions with the same clients).
std::string ServerPath() {
    const char* given = std::getenv("PONDREL_BENCH_SERVER");
    return given && *given ? given : PONDREL_SERVER_PATH;
}

// Where the store lives: a folder (SQLite), or a PostgreSQL address given or of a private
// cluster started here.
struct StoreChoice {
    std::string data;
    bool postgres = false;
    test::PostgresCluster* cluster = nullptr;  // when started here
};

bool ChooseStore(bool wantPostgres, size_t instances, const test::TempFolder& temp,
                 StoreChoice& choice) {
    const char* given = std::getenv("PONDREL_BENCH_STORE");
    std::string address = given ? given : "";
    if (!address.empty() && address.rfind("postgresql://", 0) != 0) {
        std::fprintf(stderr, "PONDREL_BENCH_STORE must be a postgresql:// address\n");
        return false;
    }
    if (instances > 1 && address.empty() && !wantPostgres) {
        std::fprintf(stderr,
                     "several servers share one PostgreSQL database; SQLite serves one server "
                     "only. Add --postgresql (a private cluster started here) or set "
                     "PONDREL_BENCH_STORE=postgresql://...\n");
        return false;
    }
    if (!address.empty()) {
        choice.data = address;
        choice.postgres = true;
        return true;
    }
    if (!wantPostgres) {
        choice.data = (temp / "data").string();
        return true;
    }
    std::string why;
    choice.cluster = test::PostgresCluster::Shared(why);
    if (!choice.cluster) {
        std::fprintf(stderr, "no PostgreSQL: %s\n", why.c_str());
        return false;
    }
    {
        std::lock_guard lock(g_leftovers.mutex);
        g_leftovers.cluster = choice.cluster;
    }
    // The test cluster writes nothing to disk; the figures are taken as a hospital would run it,
    // every commit on disk before it is answered.
    choice.cluster->SetDurable(true);
    if (!choice.cluster->Stop() || !choice.cluster->Start()) {
        std::fprintf(stderr, "the private cluster did not start again with fsync on\n");
        return false;
    }
    choice.data = choice.cluster->NewDatabase();
    choice.postgres = true;
    std::string error;
    std::string fsync = "?";
    if (auto connection = server::PgConnection::Open(choice.data, error)) {
        server::PgResult shown = connection->Run("SHOW fsync");
        if (shown.Ok() && shown.Rows() == 1) fsync = shown.Text(0, 0);
    }
    std::printf("store: a private PostgreSQL cluster (fsync %s), %s\n", fsync.c_str(),
                choice.data.c_str());
    return true;
}

std::unique_ptr<server::ServerStore> OpenStore(const std::string& data, std::string& error) {
    std::string path;
    if (data.rfind("postgresql://", 0) == 0) return server::PostgresStore::Open(data, error);
    if (server::PrepareDataFolder(data, path)) return server::SqliteStore::Open(path, error);
    return nullptr;
}

int ServerFigures(int clientCount, int seconds, size_t instances, bool wantPostgres,
                  bool oneAddress) {
    test::TempFolder temp("pondrel-bench");
    CleanUpWhenInterrupted(temp);
    StoreChoice store;
    if (!ChooseStore(wantPostgres, instances, temp, store)) return 2;
    CodecFigures();
    {
        std::string error;
        std::unique_ptr<server::ServerStore> direct = OpenStore(store.data, error);
        if (!direct || !server::StartPasswords()) {
            std::fprintf(stderr, "cannot open the store: %s\n", error.c_str());
            return 1;
        }
        // A hash of his own for each user (a salt of its own), made on every core: users
        // sharing one hash would be answered from the remembered log-ins after the first.
        std::vector<std::string> hashes(static_cast<size_t>(clientCount));
        std::vector<std::thread> hashers;
        unsigned threads = std::max(1u, std::thread::hardware_concurrency());
        for (unsigned t = 0; t < threads; ++t) {
            hashers.emplace_back([&, t] {
                for (size_t i = t; i < hashes.size(); i += threads) {
                    hashes[i] = server::HashPassword(u"123456").value_or("");
                }
            });
        }
        for (std::thread& hasher : hashers) hasher.join();
        for (int i = 0; i < clientCount; ++i) {
            direct->SetUser(u"User" + ToText(i), hashes[static_cast<size_t>(i)]);
        }
        server::Stamp when{u"7.3.2006", u"09:05:00", "2006-03-07 09:05:00"};
        for (int i = 0; i < 50; ++i) {
            direct->Upload(u"User0", u"Patient_" + ToText(i) + u"_1950",
                           std::u16string(20000, 'x'), when);
        }
    }
    Servers servers;
    for (size_t i = 0; i < instances; ++i) {
        servers.Add(std::make_unique<test::ServerProcess>(
            ServerPath(), store.data,
            (temp / ("server" + std::to_string(i + 1) + ".log")).string()));
    }
    {
        std::lock_guard lock(g_leftovers.mutex);
        g_leftovers.servers = &servers;
    }
    // All clients come from 127.0.0.1; room for them and for those told to try again.
    const std::vector<std::string> options = {"--max-per-address", "100000", "--max-connections",
                                              std::to_string(2 * clientCount + 100)};
    if (!servers.Start(options)) return 1;
    if (ServerPath() != PONDREL_SERVER_PATH) std::printf("server: %s\n", ServerPath().c_str());
    long idleKiB = servers.Memory("VmRSS:");
    std::printf("%zu server%s on %s; %d clients, split evenly between them, %s\n", instances,
                instances > 1 ? "s" : "", store.postgres ? "PostgreSQL" : "SQLite", clientCount,
                oneAddress ? "all from 127.0.0.1" : "each from an address of its own");
    ClientLoop loop(static_cast<size_t>(clientCount));
    std::vector<std::unique_ptr<BenchClient>> clients;
    std::vector<BenchClient*> all;
    std::vector<size_t> serverOf;
    for (int i = 0; i < clientCount; ++i) {
        size_t server = static_cast<size_t>(i) % instances;
        clients.push_back(std::make_unique<BenchClient>(loop.ready, static_cast<size_t>(i),
                                                        u"User" + ToText(i),
                                                        servers.At(server).Port(), oneAddress));
        all.push_back(clients.back().get());
        serverOf.push_back(server);
    }
    double ownCpuBefore = OwnCpuSeconds();
    auto start = Clock::now();
    bool online = ConnectAll(all, loop, servers);
    double loginSeconds = Seconds(start);
    if (!online) {
        // A machine too loaded to log everybody in: the figures go on with those online.
        std::vector<BenchClient*> in;
        std::vector<size_t> inServer;
        for (size_t i = 0; i < all.size(); ++i) {
            if (all[i]->connection.Online()) {
                all[i]->SetIndex(in.size());
                in.push_back(all[i]);
                inServer.push_back(serverOf[i]);
            } else {
                all[i]->connection.CloseByUser();
            }
        }
        std::printf("NOT every client came online in time: the figures below are for %zu\n",
                    in.size());
        all = std::move(in);
        serverOf = std::move(inServer);
        if (all.empty()) return 1;
        clientCount = static_cast<int>(all.size());
    }
    size_t names = 0;
    size_t lists = UserListsReceived(all, names);
    std::printf("load average %s; server CPU so far %.1f s, the clients' %.1f s\n",
                LoadAverage().c_str(), servers.Cpu(), OwnCpuSeconds() - ownCpuBefore);
    std::printf("server: %d clients online in %.2f s: %.0f log-ins/s (each an Argon2id check)\n",
                clientCount, loginSeconds, clientCount / loginSeconds);
    size_t refusals = servers.Refusals();
    std::printf(
        "  %zu log-ins refused while too many checks waited (tried again); the clients received "
        "%zu lists of users online meanwhile (%zu names)\n",
        refusals, lists, names);
    // Idle: every client online, nothing asked yet.
    loop.Run(all, 1000, {});
    long onlineKiB = servers.Memory("VmRSS:");
    std::printf(
        "  server memory with every client online and idle: %ld KiB (%s), %.0f KiB per client\n",
        onlineKiB, servers.Each("VmRSS:").c_str(),
        static_cast<double>(onlineKiB - idleKiB) / clientCount);
    double cpuBefore = servers.Cpu();
    ownCpuBefore = OwnCpuSeconds();
    double cut = ReconnectAll(all, loop, servers, true);
    std::printf(
        "  after a network cut: %d clients online again in %.2f s (server CPU %.2f s, the "
        "clients' %.2f s; log-ins remembered, no Argon2id check)\n",
        clientCount, cut, servers.Cpu() - cpuBefore, OwnCpuSeconds() - ownCpuBefore);

    // Held: every client asks for the list once a second (staggered), as a busy ward would.
    std::vector<double> trips;
    std::vector<size_t> seen(all.size());
    std::vector<Clock::time_point> asked(all.size());
    std::vector<bool> waiting(all.size());
    auto ask = [&](size_t i) {
        seen[i] = all[i]->listener.activeLists;
        asked[i] = Clock::now();
        waiting[i] = true;
        all[i]->connection.QueueFrame(u"#W!#");
    };
    std::vector<std::pair<Clock::time_point, double>> began;  // of each round trip of the held
    bool held = true;
    auto collect = [&](size_t i) {
        if (waiting[i] && all[i]->listener.activeLists > seen[i]) {
            trips.push_back(1000 * Seconds(asked[i]));
            if (held) began.emplace_back(asked[i], trips.back());
            waiting[i] = false;
        }
    };
    auto begin = Clock::now();
    std::vector<Clock::time_point> next(all.size());
    for (size_t i = 0; i < all.size(); ++i) {
        next[i] = begin + std::chrono::microseconds(1'000'000 * i / all.size());
    }
    size_t due = 0;  // the clients in the order of their turns
    double serverCpuAtStart = servers.Cpu();
    ownCpuBefore = OwnCpuSeconds();
    loop.Run(all, seconds * 1000, [&] { return Seconds(begin) >= seconds; }, collect, [&] {
        auto now = Clock::now();
        for (size_t n = 0; n < all.size(); ++n, due = (due + 1) % all.size()) {
            if (next[due] > now) break;
            if (!waiting[due]) ask(due);
            next[due] += std::chrono::seconds(1);
        }
    });
    std::printf("  held: %zu list round trips in %d s, each client once a second, 50 files each\n",
                trips.size(), seconds);
    std::printf(
        "    round trip median %.2f ms, 99th percentile %.2f ms, max %.2f ms (server CPU %.0f %%, "
        "the clients' %.0f %%)\n",
        Percentile(trips, 0.5), Percentile(trips, 0.99), Percentile(trips, 1.0),
        100 * (servers.Cpu() - serverCpuAtStart) / seconds,
        100 * (OwnCpuSeconds() - ownCpuBefore) / seconds);
    SlowTrips(began, begin, Percentile(trips, 0.99));
    held = false;

    // Saturated: every client asks again as soon as it has the answer.
    loop.Run(all, 10'000,
             [&] { return std::none_of(waiting.begin(), waiting.end(), [](bool w) { return w; }); },
             collect);
    trips.clear();
    for (size_t i = 0; i < all.size(); ++i) ask(i);
    begin = Clock::now();
    int saturated = std::max(1, seconds / 2);
    serverCpuAtStart = servers.Cpu();
    ownCpuBefore = OwnCpuSeconds();
    loop.Run(all, saturated * 1000, [&] { return Seconds(begin) >= saturated; }, [&](size_t i) {
        collect(i);
        if (!waiting[i]) ask(i);
    });
    std::printf(
        "  saturated: %zu list round trips in %d s (%.0f/s); round trip median %.2f ms, "
        "99th percentile %.2f ms (server CPU %.0f %%, the clients' %.0f %%)\n",
        trips.size(), saturated, static_cast<double>(trips.size()) / saturated,
        Percentile(trips, 0.5), Percentile(trips, 0.99),
        100 * (servers.Cpu() - serverCpuAtStart) / saturated,
        100 * (OwnCpuSeconds() - ownCpuBefore) / saturated);
    loop.Run(all, 10'000,
             [&] { return std::none_of(waiting.begin(), waiting.end(), [](bool w) { return w; }); },
             collect);
    double cycles = FileOperationFigures(all, loop, seconds, servers);
    // Idle again: what the file operations needed should have gone back.
    loop.Run(all, 6000, {});
    long peakKiB = servers.Memory("VmHWM:");
    long nowKiB = servers.Memory("VmRSS:");
    std::printf(
        "  server memory: %ld KiB before the clients, %ld KiB idle after the file operations "
        "(%s; %.0f KiB per client), %ld KiB at most (%s)\n",
        idleKiB, nowKiB, servers.Each("VmRSS:").c_str(),
        static_cast<double>(nowKiB - idleKiB) / clientCount, peakKiB,
        servers.Each("VmHWM:").c_str());
    std::printf("  load average %s; server CPU in all %.1f s; the clients' memory at most %ld KiB\n",
                LoadAverage().c_str(), servers.Cpu(), MemoryKiB(::getpid(), "VmHWM:"));
    ListChangeFigures(all, loop, serverOf, instances);

    // A restart: nothing remembered, every log-in an Argon2id check.
    for (auto* client : all) client->connection.CloseByUser();
    loop.Run(all, 500, {});
    servers.Stop();
    if (!servers.Start(options)) return 1;
    ownCpuBefore = OwnCpuSeconds();
    size_t refusedBefore = servers.Refusals();  // the logs go on after a restart
    double restart = ReconnectAll(all, loop, servers, false);
    std::printf(
        "  after a server restart: %d clients online again in %.2f s (server CPU %.1f s, the "
        "clients' %.1f s; %zu log-ins refused and tried again)\n",
        clientCount, restart, servers.Cpu(), OwnCpuSeconds() - ownCpuBefore,
        servers.Refusals() - refusedBefore);
    clients.clear();
    all.clear();
    servers.Stop();

    double limit = StoreUploadsPerSecond(store.data, clientCount, std::max(2, seconds / 2));
    std::printf(
        "  the store's own limit: %.0f uploads/s of the same texts written straight into it; "
        "through the server%s %.0f lock/upload/unlock/list cycles/s (%.0f %% of it)\n",
        limit, instances > 1 ? "s" : "", cycles, limit > 0 ? 100 * cycles / limit : 0.0);
    std::printf("load average %s\n", LoadAverage().c_str());
    return 0;
}

// One client logging in again and again (connect, handshake, identification, "#S!#"), on a plain
// server and on a TLS one with a ward certificate: the median and the slowest of `rounds`.
int TlsFigures(int rounds) {
    test::TempFolder temp("pondrel-sync-bench-tls");
    test::CertificateFiles ward;
    if (!test::MakeCertificate(temp.Path(), "ward", "127.0.0.1", 0, 30, ward)) return 1;
    for (bool tls : {false, true}) {
        std::string data = (temp / (tls ? "tls" : "plain")).string();
        test::ServerProcess server(PONDREL_SERVER_PATH, data);
        std::vector<std::string> extra;
        if (tls) extra = {"--tls-cert", ward.certificate.string(), "--tls-key", ward.key.string()};
        if (!server.AddUser("Anna", "123456") || !server.Start(0, extra)) {
            std::fprintf(stderr, "the server did not start:\n%s", server.Log().c_str());
            return 1;
        }
        test::Waker waker;
        test::SyncClient client(waker, u"Anna", u"123456", server.Port());
        WirelessSettings settings = client.connection.Wireless();
        settings.encrypted = tls;
        settings.certificateFile = FromUtf8(ward.certificate.string());
        client.connection.SetSettings(settings, NetworkOptions{});
        std::vector<double> times;
        for (int i = 0; i <= rounds; ++i) {
            auto start = Clock::now();
            client.connection.Connect();
            if (!test::PumpAll(waker, std::vector<test::SyncClient*>{&client},
                               [&] { return client.connection.Online(); }, 10'000)) {
                std::fprintf(stderr, "no log-in\n%s", server.Log().c_str());
                return 1;
            }
            if (i > 0) times.push_back(Seconds(start) * 1000);  // the first checks the hash
            client.connection.CloseByUser();
            test::PumpAll(waker, std::vector<test::SyncClient*>{&client},
                          [&] { return !client.connection.Online(); }, 2000);
        }
        std::printf("log-in of one client %s: median %.2f ms, slowest %.2f ms (%d rounds)\n",
                    tls ? "over TLS" : "plain   ", Percentile(times, 0.5), Percentile(times, 1.0),
                    rounds);
        server.Stop();
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // Line by line into a file too: a long run shows how far it got.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (argc > 1 && std::strcmp(argv[1], "--tls") == 0) return TlsFigures(50);
    std::vector<int> numbers;
    size_t instances = 1;
    bool postgres = false;
    bool oneAddress = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--instances" && i + 1 < argc) {
            instances = static_cast<size_t>(std::max(1, std::atoi(argv[++i])));
        } else if (arg == "--postgresql") {
            postgres = true;
        } else if (arg == "--one-address") {
            oneAddress = true;
        } else if (!arg.empty() && std::isdigit(static_cast<unsigned char>(arg[0]))) {
            numbers.push_back(std::atoi(arg.c_str()));
        } else {
            std::fprintf(stderr,
                         "usage: sync_bench [CLIENTS] [SECONDS] [--postgresql] [--instances N] "
                         "[--one-address]\n"
                         "       sync_bench --tls\n");
            return 2;
        }
    }
    int clients = numbers.size() > 0 ? std::max(1, numbers[0]) : 200;
    int seconds = numbers.size() > 1 ? std::max(1, numbers[1]) : 10;
    return ServerFigures(clients, seconds, instances, postgres, oneAddress);
}
