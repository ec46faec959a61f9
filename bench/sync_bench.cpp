// Synchronisation figures: the frame codec against a plain conversion of the same bytes, and a
// real pondrel-server on loopback with many clients made of the program's own synchronisation
// code (log-ins per second, round trip of a file list, the server's memory), then the same
// clients each locking, uploading (a 50 KB patient), unlocking and listing in a loop, against
// the same bytes sent over a raw loopback connection; and one client's log-in, plain and over TLS.
//
//     sync_bench [CLIENTS] [SECONDS]      (defaults 200 and 10)
//     sync_bench --tls                     (log-in, plain and over TLS)
//     PONDREL_BENCH_STORE=postgresql://... sync_bench ...   (the server on that empty database)

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "ServerProcess.h"
#include "SyncClient.h"
#include "TempFolder.h"
#include "TestCertificate.h"
#include "platform/Text.h"
#include "server/Passwords.h"
#include "server/ServerCommands.h"
#include "server/PostgresStore.h"
#include "server/SqliteStore.h"
#include "sync/FrameSplitter.h"
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

// Every client connects; one whose program gave up (its log-in was refused while the checks from
// this address were full: all clients come from 127.0.0.1) connects again, as its user would.
// False when some are not online within three minutes.
bool ConnectAll(const std::vector<test::SyncClient*>& all, test::Waker& waker) {
    for (auto* client : all) client->connection.Connect();
    test::PumpAll(
        waker, all,
        [&] {
            bool done = true;
            for (auto* c : all) {
                if (c->connection.Online()) continue;
                done = false;
                if (!c->connection.Wanted()) c->connection.Connect();
            }
            return done;
        },
        180'000);
    size_t online = static_cast<size_t>(std::count_if(
        all.begin(), all.end(), [](auto* c) { return c->connection.Online(); }));
    if (online < all.size()) std::fprintf(stderr, "%zu of %zu online\n", online, all.size());
    return online == all.size();
}

// Every client leaves and connects again (as after a network cut, or once the server is back):
// seconds until all are online again, or a negative value when some never came back.
double ReconnectAll(const std::vector<test::SyncClient*>& all, test::Waker& waker,
                    bool leaveFirst) {
    if (leaveFirst) {
        for (auto* client : all) client->connection.CloseByUser();
        test::PumpAll(
            waker, all,
            [&] {
                return std::none_of(all.begin(), all.end(),
                                    [](auto* c) { return c->connection.Online(); });
            },
            10'000);
    }
    auto start = Clock::now();
    return ConnectAll(all, waker) ? Seconds(start) : -1;
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

// Every client locks its own patient, uploads it, unlocks it and asks for the list, again as
// soon as the list after its upload came back.
double FileOperationFigures(const std::vector<test::SyncClient*>& all, test::Waker& waker,
                            int seconds, pid_t server) {
    struct State {
        Clock::time_point asked;
        bool waiting = false;
        bool uploaded = false;
        int version = 0;
    };
    std::vector<State> states(all.size());
    std::vector<double> trips;
    size_t refused = 0;
    size_t uploadBytes = 0;
    auto name = [](size_t i) {
        return u"Bench_" + ToText(static_cast<long long>(i)) + u"_1950.pdr";
    };
    auto start = [&](size_t i) {
        State& state = states[i];
        std::u16string file = name(i);
        std::u16string upload = UploadFrame(file, ++state.version);
        uploadBytes += 2 * (upload.size() + 3);
        all[i]->listener.calls.clear();
        state.asked = Clock::now();
        state.waiting = true;
        state.uploaded = false;
        all[i]->connection.QueueFrame(u"#Q!#L\u00A2" + file);
        all[i]->connection.QueueFrame(upload);
        all[i]->connection.QueueFrame(u"#Q!#U\u00A2" + file);
        all[i]->connection.QueueFrame(u"#W!#");
    };
    auto collect = [&](size_t i) {
        all[i]->Step();
        State& state = states[i];
        auto& calls = all[i]->listener.calls;
        for (const auto& call : calls) {
            if (call.starts_with(u"Upload:")) {
                state.uploaded = true;
                if (!call.starts_with(u"Upload:O")) ++refused;
            } else if (state.waiting && state.uploaded && call.starts_with(u"Active:")) {
                trips.push_back(1000 * Seconds(state.asked));
                state.waiting = false;
            }
        }
        calls.clear();
    };
    for (size_t i = 0; i < all.size(); ++i) start(i);
    auto begin = Clock::now();
    size_t bytesAtStart = uploadBytes;
    double serverCpuAtStart = CpuSeconds(server);
    while (Seconds(begin) < seconds) {
        for (size_t i = 0; i < all.size(); ++i) {
            collect(i);
            if (!states[i].waiting) start(i);
        }
        waker.Wait(1);
    }
    double elapsed = Seconds(begin);
    double serverCpu = CpuSeconds(server) - serverCpuAtStart;
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
    std::printf("    server CPU %.0f %% of one core, %.2f ms per cycle\n",
                100 * serverCpu / elapsed,
                trips.empty() ? 0.0 : 1000 * serverCpu / static_cast<double>(trips.size()));
    std::printf(
        "    uploads %.1f MiB/s; the same frames over a raw loopback connection %.0f MiB/s "
        "(%.1f %%)\n",
        mibs, raw, 100 * mibs / raw);
    return static_cast<double>(trips.size()) / elapsed;
}

int ServerFigures(int clientCount, int seconds) {
    test::TempFolder temp("pondrel-bench");
    std::string data = (temp / "data").string();
    // PONDREL_BENCH_STORE=postgresql://... measures the server on that (empty) database instead.
    const char* address = std::getenv("PONDREL_BENCH_STORE");
    if (address && *address) data = address;
    {
        std::string path;
        std::string error;
        std::unique_ptr<server::ServerStore> store;
        if (data.rfind("postgresql://", 0) == 0) {
            store = server::PostgresStore::Open(data, error);
        } else if (server::PrepareDataFolder(data, path)) {
            store = server::SqliteStore::Open(path, error);
        }
        if (!store || !server::StartPasswords()) {
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
            store->SetUser(u"User" + ToText(i), hashes[static_cast<size_t>(i)]);
        }
        server::Stamp when{u"7.3.2006", u"09:05:00", "2006-03-07 09:05:00"};
        for (int i = 0; i < 50; ++i) {
            store->Upload(u"User0", u"Patient_" + ToText(i) + u"_1950", std::u16string(20000, 'x'),
                          when);
        }
    }
    test::ServerProcess server(PONDREL_SERVER_PATH, data, (temp / "server.log").string());
    // All clients come from 127.0.0.1, like handhelds behind one NAT.
    if (!server.Start(0, {"--max-per-address", "10000", "--checks-per-address", "200"})) {
        std::fprintf(stderr, "the server did not start:\n%s", server.Log().c_str());
        return 1;
    }
    long idleKiB = MemoryKiB(server.Pid(), "VmRSS:");
    test::Waker waker;
    std::vector<std::unique_ptr<test::SyncClient>> clients;
    std::vector<test::SyncClient*> all;
    for (int i = 0; i < clientCount; ++i) {
        clients.push_back(std::make_unique<test::SyncClient>(waker, u"User" + ToText(i), u"123456",
                                                             server.Port()));
        all.push_back(clients.back().get());
    }
    auto start = Clock::now();
    bool online = ConnectAll(all, waker);
    double loginSeconds = Seconds(start);
    if (!online) {
        // A machine too loaded to log everybody in: the figures go on with those online.
        std::vector<test::SyncClient*> in;
        for (auto* client : all) {
            if (client->connection.Online()) {
                in.push_back(client);
            } else {
                client->connection.CloseByUser();
            }
        }
        std::printf("NOT every client came online in time: the figures below are for %zu\n",
                    in.size());
        all = std::move(in);
        if (all.empty()) return 1;
        clientCount = static_cast<int>(all.size());
    }
    std::printf("load average %s; server CPU so far %.1f s\n", LoadAverage().c_str(),
                CpuSeconds(server.Pid()));
    std::printf("server: %d clients online in %.2f s: %.0f log-ins/s (each an Argon2id check)\n",
                clientCount, loginSeconds, clientCount / loginSeconds);
    // Idle: every client online, nothing asked yet.
    test::PumpAll(waker, all, [] { return false; }, 1000);
    long onlineKiB = MemoryKiB(server.Pid(), "VmRSS:");
    std::printf("  server memory with every client online and idle: %ld KiB, %.0f KiB per client\n",
                onlineKiB, static_cast<double>(onlineKiB - idleKiB) / clientCount);
    double cpuBefore = CpuSeconds(server.Pid());
    double cut = ReconnectAll(all, waker, true);
    std::printf(
        "  after a network cut: %d clients online again in %.2f s (server CPU %.2f s; log-ins "
        "remembered, no Argon2id check)\n",
        clientCount, cut, CpuSeconds(server.Pid()) - cpuBefore);

    // Held: every client asks for the list once a second (staggered), as a busy ward would.
    std::vector<double> trips;
    std::vector<size_t> seen(all.size());
    std::vector<Clock::time_point> asked(all.size());
    std::vector<bool> waiting(all.size());
    auto ask = [&](size_t i) {
        seen[i] = all[i]->listener.calls.size();
        asked[i] = Clock::now();
        waiting[i] = true;
        all[i]->connection.QueueFrame(u"#W!#");
    };
    auto collect = [&](size_t i) {
        all[i]->Step();
        if (waiting[i] && all[i]->listener.calls.size() > seen[i]) {
            trips.push_back(1000 * Seconds(asked[i]));
            all[i]->listener.calls.clear();
            waiting[i] = false;
        }
    };
    auto begin = Clock::now();
    std::vector<Clock::time_point> next(all.size());
    for (size_t i = 0; i < all.size(); ++i) {
        next[i] = begin + std::chrono::microseconds(1'000'000 * i / all.size());
    }
    while (Seconds(begin) < seconds) {
        for (size_t i = 0; i < all.size(); ++i) {
            if (!waiting[i] && Clock::now() >= next[i]) {
                ask(i);
                next[i] += std::chrono::seconds(1);
            }
            collect(i);
        }
        waker.Wait(1);
    }
    std::printf("  held: %zu list round trips in %d s, each client once a second, 50 files each\n",
                trips.size(), seconds);
    std::printf("    round trip median %.2f ms, 99th percentile %.2f ms, max %.2f ms\n",
                Percentile(trips, 0.5), Percentile(trips, 0.99), Percentile(trips, 1.0));

    // Saturated: every client asks again as soon as it has the answer.
    test::PumpAll(
        waker, all,
        [&] { return std::none_of(waiting.begin(), waiting.end(), [](bool w) { return w; }); },
        10'000);
    for (size_t i = 0; i < all.size(); ++i) collect(i);
    trips.clear();
    for (size_t i = 0; i < all.size(); ++i) ask(i);
    begin = Clock::now();
    int saturated = std::max(1, seconds / 2);
    while (Seconds(begin) < saturated) {
        for (size_t i = 0; i < all.size(); ++i) {
            collect(i);
            if (!waiting[i]) ask(i);
        }
        waker.Wait(1);
    }
    std::printf(
        "  saturated: %zu list round trips in %d s (%.0f/s); round trip median %.2f ms, "
        "99th percentile %.2f ms\n",
        trips.size(), saturated, static_cast<double>(trips.size()) / saturated,
        Percentile(trips, 0.5), Percentile(trips, 0.99));
    double cycles = FileOperationFigures(all, waker, seconds, server.Pid());
    // Idle again: what the file operations needed should have gone back.
    test::PumpAll(waker, all, [] { return false; }, 6000);
    long peakKiB = MemoryKiB(server.Pid(), "VmHWM:");
    long nowKiB = MemoryKiB(server.Pid(), "VmRSS:");
    std::printf(
        "  server memory: %ld KiB before the clients, %ld KiB idle after the file operations "
        "(%.0f KiB per client), %ld KiB at most\n",
        idleKiB, nowKiB, static_cast<double>(nowKiB - idleKiB) / clientCount, peakKiB);
    std::printf("  load average %s; server CPU in all %.1f s\n", LoadAverage().c_str(),
                CpuSeconds(server.Pid()));

    // A restart: nothing remembered, every log-in an Argon2id check.
    for (auto* client : all) client->connection.CloseByUser();
    test::PumpAll(waker, all, [] { return false; }, 500);
    int port = server.Port();
    server.Stop();
    if (!server.Start(port, {"--max-per-address", "10000", "--checks-per-address", "200"})) {
        std::fprintf(stderr, "the server did not start again:\n%s", server.Log().c_str());
        return 1;
    }
    double restart = ReconnectAll(all, waker, false);
    std::printf(
        "  after a server restart: %d clients online again in %.2f s (server CPU %.1f s)\n",
        clientCount, restart, CpuSeconds(server.Pid()));
    clients.clear();
    server.Stop();

    double limit = StoreUploadsPerSecond(data, clientCount, std::max(2, seconds / 2));
    std::printf(
        "  the store's own limit: %.0f uploads/s of the same texts written straight into it; "
        "through the server %.0f lock/upload/unlock/list cycles/s (%.0f %% of it)\n",
        limit, cycles, limit > 0 ? 100 * cycles / limit : 0.0);
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
    if (argc > 1 && std::strcmp(argv[1], "--tls") == 0) return TlsFigures(50);
    int clients = argc > 1 ? std::atoi(argv[1]) : 200;
    int seconds = argc > 2 ? std::atoi(argv[2]) : 10;
    CodecFigures();
    return ServerFigures(clients, seconds);
}
