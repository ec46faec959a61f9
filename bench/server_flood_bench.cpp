// pondrel-server under floods on loopback (::1 plays the attacker, 127.0.0.1 the ward): guesses
// per second against one user under eight parallel guessers, the delay of a real log-in under
// each flood (guesses, identifications that leave at once, silent sockets, frames sent before
// the log-in) and the server's memory under 300 connections holding frames.
//
//     server_flood_bench [SECONDS]      (default 10: how long the guessers run)

#include <fcntl.h>
#include <sys/socket.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "RawClient.h"
#include "ServerProcess.h"
#include "TempFolder.h"
#include "platform/Text.h"
#include "sync/WireCodec.h"

namespace {

using namespace pondrel;
using Clock = std::chrono::steady_clock;
using test::RawClient;

double Seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

long MemoryKiB(pid_t pid, const char* field) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + std::strlen(field));
    }
    return -1;
}

std::u16string Identification(std::u16string_view user, std::u16string_view password) {
    return u"#I!#bedside|" + std::u16string(user) + u"|" + std::u16string(password) + u"|#F|";
}

// Seconds from connecting to the log-in's answer, or -1 when none came within 30 s.
double LogInDelay(int port, std::u16string_view user, std::u16string_view password) {
    auto start = Clock::now();
    RawClient client(port);
    client.Send(Identification(user, password));
    return client.WaitFor(u"#S!#", 30'000) ? Seconds(start) : -1;
}

class Bench {
public:
    Bench() {
        server.AddUser("Anna", "111111");
        server.AddUser("Bruno", "222222");
    }
    void Start(std::vector<std::string> extra = {}) {
        extra.insert(extra.end(), {"--listen", "::"});
        if (!server.Start(0, extra)) {
            std::fprintf(stderr, "the server did not start\n%s", server.Log().c_str());
            std::exit(1);
        }
    }
    int Port() const { return server.Port(); }

    test::TempFolder temp{"pondrel-flood"};
    test::ServerProcess server{PONDREL_SERVER_PATH, (temp / "data").string()};
};

void GuessFigures(int seconds) {
    Bench bench;
    bench.Start();
    // Bruno logged in once from his device (127.0.0.1).
    std::printf("  log-in with no flood: %.3f s\n", LogInDelay(bench.Port(), u"Bruno", u"222222"));
    std::vector<std::unique_ptr<RawClient>> guessers(8);
    int checked = 0;
    int refusedAtOnce = 0;
    int attempts = 0;
    double trusted = -1;
    double stranger = -1;
    auto start = Clock::now();
    auto end = start + std::chrono::seconds(seconds);
    std::thread probe([&] {
        std::this_thread::sleep_for(std::chrono::seconds(seconds) / 2);
        trusted = LogInDelay(bench.Port(), u"Bruno", u"222222");
    });
    while (Clock::now() < end && attempts < 100'000) {
        for (auto& guesser : guessers) {
            if (guesser && !guesser->Closed()) {
                guesser->Read(1);
                continue;
            }
            if (guesser && guesser->Count(u"#P!#") > 0) {
                (guesser->Count(u"Too many") > 0 ? refusedAtOnce : checked) += 1;
            }
            guesser = std::make_unique<RawClient>(bench.Port(), true);
            guesser->Send(Identification(u"Bruno", ToText(100000 + attempts)));
            ++attempts;
        }
    }
    double elapsed = Seconds(start);
    probe.join();
    guessers.clear();
    std::printf(
        "  8 parallel guessers for %.0f s: %d guesses checked (%.2f a second), %d refused "
        "unchecked, %d connections\n",
        elapsed, checked, checked / elapsed, refusedAtOnce, attempts);
    std::printf("  log-in of the attacked user meanwhile, from his own device: %.3f s\n", trusted);
    stranger = LogInDelay(bench.Port(), u"Anna", u"111111");
    std::printf("  log-in of another user right after: %.3f s\n", stranger);
    bench.server.Stop();
}

void IdentificationFloodFigures() {
    Bench bench;
    bench.Start();
    auto start = Clock::now();
    int sent = 0;
    for (; sent < 1000 && Seconds(start) < 30; ++sent) {
        RawClient flood(bench.Port(), true);
        flood.Send(Identification(u"Nobody" + ToText(sent % 7), u"123456"));
    }
    double flooding = Seconds(start);
    double delay = LogInDelay(bench.Port(), u"Anna", u"111111");
    std::printf(
        "  %d identifications that leave at once (%.2f s to send): a log-in right after "
        "takes %.3f s\n",
        sent, flooding, delay);
    bench.server.Stop();
}

void SilentSocketFigures() {
    Bench bench;
    bench.Start();
    std::vector<std::unique_ptr<RawClient>> silent;
    for (int i = 0; i < 1000; ++i)
        silent.push_back(std::make_unique<RawClient>(bench.Port(), true));
    for (auto& s : silent) s->Read(0);
    double delay = LogInDelay(bench.Port(), u"Anna", u"111111");
    int open = 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    for (auto& s : silent) {
        for (int read = 0; read < 3 && !s->Closed(); ++read) s->Read(0);  // "#O!#", then the end
        open += !s->Closed();
    }
    std::printf("  1000 silent sockets from one address (%d still open): a log-in takes %.3f s\n",
                open, delay);
    bench.server.Stop();
}

void HeldFrameFigures() {
    Bench bench;
    bench.Start({"--max-per-address", "1000"});  // all 300 stay
    long idle = MemoryKiB(bench.server.Pid(), "VmRSS:");
    // Each connection identifies itself (a wrong password, so that its check runs) and sends
    // 2 MB of frames behind it; then 300 connections that keep an unfinished frame before their
    // identification.
    std::u16string frames = Identification(u"Bruno", u"999999");
    std::u16string chat = u"#A!#" + std::u16string(1000, u'x') + u"#F|";
    for (int i = 0; i < 1000; ++i) frames += chat;
    std::string bytes = EncodeWire(frames);
    std::vector<std::unique_ptr<RawClient>> clients;
    for (int i = 0; i < 300; ++i) {
        clients.push_back(std::make_unique<RawClient>(bench.Port(), true));
        ::fcntl(clients.back()->Fd(), F_SETFL, O_NONBLOCK);
    }
    std::vector<size_t> sent(clients.size(), 0);
    auto start = Clock::now();
    while (Seconds(start) < 3) {
        for (size_t i = 0; i < clients.size(); ++i) {
            if (sent[i] >= bytes.size()) continue;
            ssize_t n = ::send(clients[i]->Fd(), bytes.data() + sent[i], bytes.size() - sent[i],
                               MSG_NOSIGNAL);
            if (n > 0) sent[i] += static_cast<size_t>(n);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    long during = MemoryKiB(bench.server.Pid(), "VmRSS:");
    double delay = LogInDelay(bench.Port(), u"Anna", u"111111");
    clients.clear();
    std::vector<std::unique_ptr<RawClient>> partial;
    std::string unfinished = EncodeWire(u"#A!#" + std::u16string(1000, u'y'));
    for (int i = 0; i < 300; ++i) {
        partial.push_back(std::make_unique<RawClient>(bench.Port(), true));
        test::SendRawBytes(partial.back()->Fd(), unfinished);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    long holding = MemoryKiB(bench.server.Pid(), "VmRSS:");
    std::printf(
        "  server memory: %ld KiB idle; %ld KiB under 300 connections pushing 2 MB each "
        "behind an identification (a log-in meanwhile: %.3f s); %ld KiB with 300 "
        "connections holding an unfinished frame; %ld KiB at most\n",
        idle, during, delay, holding, MemoryKiB(bench.server.Pid(), "VmHWM:"));
    bench.server.Stop();
}

}  // namespace

int main(int argc, char** argv) {
    int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    std::printf("pondrel-server under floods (loopback)\n");
    GuessFigures(seconds);
    IdentificationFloodFigures();
    SilentSocketFigures();
    HeldFrameFigures();
    return 0;
}
