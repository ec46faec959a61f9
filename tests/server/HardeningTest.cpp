// A real pondrel-server against hostile or unlucky peers on loopback: log-in floods, silent
// sockets, mail floods, forged chat lines, lost reports, accounts changed while online.
// Every loop is bounded in count and in time.

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include "RawClient.h"
#include "ServerProcess.h"
#include "SyncClient.h"
#include "TempFolder.h"
#include "platform/Text.h"
#include "server/LoginThrottle.h"
#include "server/ServerCommands.h"
#include "server/SqliteStore.h"
#include "sync/WireNames.h"

namespace pondrel {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using test::RawClient;

std::u16string Identification(std::u16string_view user, std::u16string_view password) {
    return u"#I!#bedside|" + std::u16string(user) + u"|" + std::u16string(password) + u"|#F|";
}

std::u16string Mail(std::u16string_view text, std::u16string_view code,
                    std::u16string_view recipient) {
    return std::u16string(text) + u"\u00A77.3.2006-10:00:00\u00A6" + std::u16string(code) +
           u"\u00A2" + std::u16string(recipient) + u"\u00A2#F|";
}

std::u16string Upload(std::u16string_view name, std::u16string_view text,
                      std::u16string code = {}) {
    if (code.empty()) code = ToText(static_cast<long long>(6 + text.size())) + u"|4217";
    return u"\u00A2File\u00A2" + std::u16string(text) + u"\u00A7Code\u00A7\u00A6" + code +
           u"\u00A2" + std::u16string(name) + u"\u00A2Synch\u00A2#F|";
}

// The server's CPU time so far and its peak memory.
double CpuSeconds(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(in, line);
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string skip;
    for (int i = 0; i < 11; ++i) fields >> skip;
    long utime = 0;
    long stime = 0;
    fields >> utime >> stime;
    return static_cast<double>(utime + stime) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

long PeakKilobytes(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    }
    return -1;
}

class HardeningTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.AddUser("Anna", "111111"));
        ASSERT_TRUE(server.AddUser("Bruno", "222222"));
        ASSERT_TRUE(server.AddUser("Carla", "333333"));
    }
    // Listening on both loopback addresses: ::1 plays the attacker's address.
    void StartServer(std::vector<std::string> extra = {}) {
        extra.insert(extra.end(), {"--listen", "::"});
        ASSERT_TRUE(server.Start(0, extra)) << server.Log();
    }
    std::unique_ptr<RawClient> LogIn(std::u16string_view user, std::u16string_view password) {
        auto client = std::make_unique<RawClient>(server.Port());
        client->Send(Identification(user, password));
        EXPECT_TRUE(client->WaitFor(u"#S!#")) << ToUtf8(user) << "\n" << server.Log();
        return client;
    }
    std::unique_ptr<server::SqliteStore> OpenStore() {
        std::string path;
        std::string error;
        if (!server::PrepareDataFolder(data, path)) return nullptr;
        return server::SqliteStore::Open(path, error);
    }
    int Command(const std::string& args, const std::string& input = {}) {
        std::string line =
            std::string(PONDREL_SERVER_PATH) + " " + args + " --data " + data + " >/dev/null 2>&1";
        if (!input.empty()) line = "printf '" + input + "\\n' | " + line;
        return std::system(line.c_str());
    }

    test::TempFolder temp{"pondrel-hard"};
    std::string data = (temp / "data").string();
    test::ServerProcess server{PONDREL_SERVER_PATH, data};
    server::Stamp when{u"7.3.2006", u"09:05:00", "2006-03-07 09:05:00"};
};

// Eight guessers at once get only a few guesses checked, while the user still logs in from his
// own device; the password never reaches the log, nor an unknown name.
TEST_F(HardeningTest, GuessersAreSlowedAndTheUserStillLogsIn) {
    StartServer();
    LogIn(u"Bruno", u"222222")->Send(u"#L!##F|");  // his device is known from now on
    struct Guesser {
        std::unique_ptr<RawClient> client;
    };
    std::vector<Guesser> guessers(8);
    int checked = 0;
    int attempts = 0;
    auto end = Clock::now() + milliseconds(4000);
    while (Clock::now() < end && attempts < 400) {
        for (Guesser& g : guessers) {
            if (g.client && !g.client->Closed()) {
                g.client->Read(1);
                continue;
            }
            if (g.client) {
                // A refusal without the throttle's notice was a real check of the password.
                if (g.client->Count(u"#P!#") > 0 && g.client->Count(u"Too many") == 0) ++checked;
            }
            g.client = std::make_unique<RawClient>(server.Port(), true);
            g.client->Send(Identification(u"Bruno", ToText(100000 + attempts)));
            ++attempts;
        }
    }
    guessers.clear();
    // Without slowing, eight guessers got about 40 checks a second.
    EXPECT_LE(checked, 14) << attempts << " attempts";
    EXPECT_GE(checked, 3);
    auto bruno = LogIn(u"Bruno", u"222222");
    EXPECT_FALSE(bruno->Closed());

    RawClient slip(server.Port());
    slip.Send(u"#I!#Anna|111111|#F|");  // the host name left out: the password in its place
    EXPECT_TRUE(slip.WaitFor(u"#P!#"));
    slip.WaitClosed(2000);
    std::string log = server.Log();
    EXPECT_EQ(log.find("111111"), std::string::npos) << log;
    EXPECT_NE(log.find("refused log-in for an unknown user"), std::string::npos) << log;
    EXPECT_EQ(log.find("100003"), std::string::npos);
}

TEST(LoginThrottleTest, SlotsGrowPerUserAndAddressAndAnAddressIsLockedOut) {
    server::LoginThrottle throttle;
    auto now = Clock::now();
    auto deadline = [&] { return now + std::chrono::seconds(13); };
    for (int i = 0; i < 3; ++i) {
        auto d = throttle.Admit(u"Bruno", "10.0.0.9", now, deadline());
        EXPECT_FALSE(d.refused);
        EXPECT_EQ(d.start, now);  // the first failures cost nothing
        throttle.Failed(u"Bruno", "10.0.0.9", now);
    }
    throttle.Failed(u"Bruno", "10.0.0.9", now);
    // Now the next try of Bruno waits, from this address and from another one...
    EXPECT_GT(throttle.Admit(u"Bruno", "10.0.0.7", now, deadline()).start, now);
    // ...but not from the address he logged in from before, nor for another user elsewhere.
    throttle.Succeeded(u"Bruno", "10.0.0.2");
    EXPECT_EQ(throttle.Admit(u"Bruno", "10.0.0.2", now, deadline()).start, now);
    EXPECT_EQ(throttle.Admit(u"Carla", "10.0.0.3", now, deadline()).start, now);
    // Parallel tries share the slots, spaced more with every failure: beyond the deadline they
    // are refused outright.
    for (int i = 0; i < 4; ++i) throttle.Failed(u"Bruno", "10.0.0.9", now);
    int refused = 0;
    for (int i = 0; i < 50; ++i) {
        refused += throttle.Admit(u"Bruno", "10.0.0.8", now, deadline()).refused;
    }
    EXPECT_GT(refused, 40);
    // Failures from one address, whatever the user, lock it out for a while.
    bool locked = false;
    for (int i = 0; i < server::LoginThrottle::kLockOutFailures && !locked; ++i) {
        locked = throttle.Failed(u"User" + ToText(i), "10.0.0.66", now);
    }
    EXPECT_TRUE(locked);
    EXPECT_TRUE(throttle.Admit(u"Anna", "10.0.0.66", now, deadline()).lockedOut);
    now += server::LoginThrottle::kLockOut + std::chrono::seconds(1);
    EXPECT_FALSE(throttle.Admit(u"Anna", "10.0.0.66", now, deadline()).refused);
}

// A thousand connections that identify themselves and leave cost the server next to nothing:
// a real log-in is answered at once.
TEST_F(HardeningTest, IdentificationFloodDoesNotHoldUpARealLogIn) {
    StartServer();
    auto end = Clock::now() + milliseconds(8000);
    for (int i = 0; i < 1000 && Clock::now() < end; ++i) {
        RawClient flood(server.Port(), true);
        flood.Send(Identification(u"Nobody" + ToText(i % 7), u"123456"));
    }
    auto start = Clock::now();
    auto anna = LogIn(u"Anna", u"111111");
    EXPECT_FALSE(anna->Closed());
    // Before, the checks of the thousand ran first: 16 s.
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
}

// Connections that send much while their password is checked are read no further: the server
// keeps a few kilobytes each.
TEST_F(HardeningTest, FramesSentBeforeTheLogInAreNotHeldInBulk) {
    StartServer();
    std::u16string frames = Identification(u"Nobody", u"123456");
    std::u16string chat = u"#A!#" + std::u16string(1000, u'x') + u"#F|";
    for (int i = 0; i < 1000; ++i) frames += chat;
    {
        // The password checks' own memory first (19 MiB each, a few at once).
        std::vector<std::unique_ptr<RawClient>> warm;
        for (int i = 0; i < 8; ++i) {
            warm.push_back(std::make_unique<RawClient>(server.Port(), i % 2 == 1));
            warm.back()->Send(Identification(u"Nobody", u"123456"));
        }
        for (auto& w : warm) w->WaitClosed(5000);
    }
    long before = PeakKilobytes(server.Pid());
    std::vector<std::unique_ptr<RawClient>> clients;
    for (int i = 0; i < 12; ++i) {
        clients.push_back(std::make_unique<RawClient>(server.Port(), i % 2 == 1));
        ::fcntl(clients.back()->Fd(), F_SETFL, O_NONBLOCK);
    }
    // Each pushes its 2 MB as far as the server reads them.
    std::string bytes;
    for (char16_t c : frames) {
        bytes += static_cast<char>(c >> 8);
        bytes += static_cast<char>(c & 0xFF);
    }
    std::vector<size_t> sent(clients.size(), 0);
    auto end = Clock::now() + milliseconds(3000);
    while (Clock::now() < end) {
        for (size_t i = 0; i < clients.size(); ++i) {
            if (sent[i] >= bytes.size()) continue;
            ssize_t n = ::send(clients[i]->Fd(), bytes.data() + sent[i], bytes.size() - sent[i],
                               MSG_NOSIGNAL);
            if (n > 0) sent[i] += static_cast<size_t>(n);
        }
        std::this_thread::sleep_for(milliseconds(5));
    }
    long after = PeakKilobytes(server.Pid());
    // Before, each held up to 2 MB: 24 MB for the twelve.
    EXPECT_LT(after - before, 8 * 1024) << before << " kB before, " << after << " kB after";
}

// Silent sockets from one address cannot take every connection: the oldest that did not log in
// makes room.
TEST_F(HardeningTest, SilentSocketsCannotKeepEveryoneOut) {
    StartServer({"--max-connections", "20", "--max-per-address", "10"});
    std::vector<std::unique_ptr<RawClient>> silent;
    for (int i = 0; i < 25; ++i) silent.push_back(std::make_unique<RawClient>(server.Port(), true));
    for (auto& s : silent) s->Read(5);
    auto anna = LogIn(u"Anna", u"111111");
    EXPECT_FALSE(anna->Closed());
    EXPECT_NE(server.Log().find("dropped: the oldest connection not logged in of its address"),
              std::string::npos);
    // The newest silent ones are still there; the oldest are gone.
    EXPECT_TRUE(silent.front()->WaitClosed(2000));
    EXPECT_FALSE(silent.back()->WaitClosed(200));
}

// Out of file descriptors, the server waits instead of spinning, and says so once.
TEST_F(HardeningTest, AcceptBacksOffWhenOutOfFileDescriptors) {
    rlimit saved{};
    ::getrlimit(RLIMIT_NOFILE, &saved);
    rlimit low = saved;
    low.rlim_cur = 24;  // inherited by the server: a handful of connections
    ::setrlimit(RLIMIT_NOFILE, &low);
    server.Start(0, {"--listen", "127.0.0.1"});
    ::setrlimit(RLIMIT_NOFILE, &saved);
    ASSERT_TRUE(server.Running()) << server.Log();
    std::vector<std::unique_ptr<RawClient>> clients;
    for (int i = 0; i < 30; ++i) clients.push_back(std::make_unique<RawClient>(server.Port()));
    std::this_thread::sleep_for(milliseconds(300));
    double cpu = CpuSeconds(server.Pid());
    std::this_thread::sleep_for(milliseconds(1000));
    EXPECT_LT(CpuSeconds(server.Pid()) - cpu, 0.3);  // it spun at full speed before
    std::string log = server.Log();
    size_t first = log.find("cannot accept connections");
    ASSERT_NE(first, std::string::npos) << log;
    EXPECT_EQ(log.find("cannot accept connections", first + 1), std::string::npos);
    // Once connections leave, the others are served again.
    clients.clear();
    auto anna = LogIn(u"Anna", u"111111");
    EXPECT_FALSE(anna->Closed());
}

// A backlog far beyond what may wait for a connection reaches its recipient whole, as he reads
// it; new mail beyond the quota is refused to its sender with a notice.
TEST_F(HardeningTest, AMailBacklogArrivesWholeAndAFloodIsRefused) {
    {
        auto store = OpenStore();
        ASSERT_TRUE(store);
        std::u16string text(2000, u'm');
        for (int i = 0; i < 9000; ++i) {
            std::u16string code = u"2000|" + ToText(i);
            std::u16string frame = Mail(text, code, u"Anna");
            frame.resize(frame.size() - 3);  // kept without its end
            store->KeepMail(u"Bruno", u"Anna", code, frame, when);
        }
    }
    StartServer();
    RawClient bruno(server.Port());
    bruno.Send(Identification(u"Bruno", u"222222"));
    // 36 MB, more than what may wait for one connection (32 MiB).
    EXPECT_TRUE(bruno.WaitFor(u"\u00A2Anna\u00A2#F|", 30'000, 9000)) << bruno.Count(u"#F|");
    EXPECT_EQ(bruno.Count(u"#L!#"), 0u);
    EXPECT_FALSE(bruno.Closed());

    auto anna = LogIn(u"Anna", u"111111");
    anna->Send(Mail(u"hello", u"5|77", u"Bruno") + Mail(u"hello", u"5|78", u"Carla"));
    EXPECT_TRUE(anna->WaitFor(u"#C!#E\u00A65|77/"));
    EXPECT_TRUE(anna->WaitFor(u"Too many mails wait for Bruno"));
    EXPECT_TRUE(anna->WaitFor(u"#C!#S\u00A65|78"));  // Carla's box is not full
}

// A list of thousands of files with long names stays below the frame limit, new files are
// refused beyond the quota, and the administrator deletes a file from the store.
TEST_F(HardeningTest, LongListsStayWholeAndAFileCanBeDeleted) {
    {
        auto store = OpenStore();
        ASSERT_TRUE(store);
        // Names of 195 characters: the whole list would pass the largest frame.
        std::u16string padding(190, u'x');
        for (int i = 0; i < 4600; ++i) {
            store->Upload(u"User" + ToText(i % 4), padding + ToText(10000 + i), u"t", when);
        }
    }
    StartServer();
    test::Waker waker;
    test::SyncClient anna(waker, u"Anna", u"111111", server.Port());
    anna.connection.Connect();
    std::vector<test::SyncClient*> all{&anna};
    ASSERT_TRUE(test::PumpAll(waker, all, [&] { return anna.connection.Online(); }));
    anna.connection.QueueFrame(u"#W!#");
    auto gotList = [&] {
        for (const auto& call : anna.listener.calls) {
            if (call.starts_with(u"Active:")) return true;
        }
        return false;
    };
    ASSERT_TRUE(test::PumpAll(waker, all, gotList)) << server.Log();
    test::PumpAll(
        waker, all, [] { return false; }, 300);
    EXPECT_TRUE(anna.connection.Online());  // before, every client dropped the connection

    auto raw = LogIn(u"Bruno", u"222222");
    raw->Send(Upload(u"New_One_2000.pdr", u"text", u"10|4217"));
    EXPECT_TRUE(raw->WaitFor(u"#D!#E\u00A610|4217/"));
    EXPECT_TRUE(raw->WaitFor(u"The server holds too many active files"));

    std::u16string doomed = std::u16string(190, u'x') + u"14599";
    raw->text.clear();
    EXPECT_EQ(Command("file delete " + ToUtf8(doomed) + ".pdr"), 0);
    EXPECT_NE(Command("file delete Nobody_1900"), 0);
    // The running server notices and sends the new list.
    ASSERT_TRUE(raw->WaitFor(u"#N!#", 5000));
    raw->Read(300);
    EXPECT_EQ(raw->text.find(doomed), std::u16string::npos);
    EXPECT_NE(raw->text.find(std::u16string(190, u'x') + u"14598"), std::u16string::npos);
    auto store = OpenStore();
    std::vector<server::AuditRow> rows = store->Audit(doomed, "");
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.back().action, "delete");
    EXPECT_EQ(rows.back().user.rfind(u"admin:", 0), 0u);
}

// A chat line always carries its sender's name, on one line.
TEST_F(HardeningTest, ChatLinesCannotImpersonate) {
    StartServer();
    auto anna = LogIn(u"Anna", u"111111");
    auto bruno = LogIn(u"Bruno", u"222222");
    anna->Send(u"#A!#<Bruno> : please give 10 mg morphine to bed 4#F|");
    anna->Send(u"#A!#\r\n<Anna> : hello\r\n<Bruno> : forged#F|");
    ASSERT_TRUE(bruno->WaitFor(u"forged"));
    EXPECT_NE(bruno->text.find(u"#A!#<Anna> : <Bruno> : please give"), std::u16string::npos);
    EXPECT_NE(bruno->text.find(u"#A!#\r\n<Anna> : hello  <Bruno> : forged"), std::u16string::npos);
    EXPECT_EQ(bruno->text.find(u"\n<Bruno>"), std::u16string::npos);
}

// Removing a user or changing his password ends his connections.
TEST_F(HardeningTest, ARemovedUserOrANewPasswordEndsTheConnection) {
    StartServer();
    auto anna = LogIn(u"Anna", u"111111");
    auto bruno = LogIn(u"Bruno", u"222222");
    auto carla = LogIn(u"Carla", u"333333");
    EXPECT_EQ(Command("user remove Anna"), 0);
    EXPECT_TRUE(anna->WaitClosed(5000));
    EXPECT_NE(anna->text.find(u"Your account was removed from the server"), std::u16string::npos);
    EXPECT_NE(anna->text.find(u"#L!#"), std::u16string::npos);
    EXPECT_EQ(Command("user add Bruno", "444444"), 0);
    EXPECT_TRUE(bruno->WaitClosed(5000));
    EXPECT_NE(bruno->text.find(u"Your password was changed"), std::u16string::npos);
    EXPECT_FALSE(carla->WaitClosed(300));
    RawClient again(server.Port());
    again.Send(Identification(u"Anna", u"111111"));
    EXPECT_TRUE(again.WaitFor(u"#P!#"));
    LogIn(u"Bruno", u"444444");
}

// An empty upload never wipes a stored file; malformed names are answered, not ignored; an
// import leaves an audit row.
TEST_F(HardeningTest, EmptyUploadsAndBadNamesAreRefusedWithAnAnswer) {
    StartServer();
    auto anna = LogIn(u"Anna", u"111111");
    anna->Send(Upload(u"Doe_John_1950.pdr", u"abc"));
    ASSERT_TRUE(anna->WaitFor(u"#D!#O"));
    anna->Send(Upload(u"Doe_John_1950.pdr", u"", u"6|123"));
    EXPECT_TRUE(anna->WaitFor(u"#D!#E\u00A66|123/"));
    std::u16string lone = u"Doe_";
    lone += static_cast<char16_t>(0xD800);
    anna->Send(Upload(lone + u"_1950.pdr", u"x", u"7|1"));
    EXPECT_TRUE(anna->WaitFor(u"#D!#E\u00A67|1/"));
    anna->Send(Upload(u"Roe_Jane_1960.pdr", u"x", u"7|1a"));  // not digits|digits
    EXPECT_TRUE(anna->WaitFor(u"#D!#L\u00A67|1a/"));

    anna->text.clear();
    anna->Send(u"#T!#bad/name.pdr#F|#Q!#L\u00A2x#F|#H!#a/b#F|#G!#c:d#F|#T!#Doe_John_1950.pdr#F|");
    EXPECT_TRUE(anna->WaitFor(u"#J!#", 5000, 4));
    EXPECT_TRUE(anna->WaitFor(u"\u00A2File\u00A2abc\u00A7Code\u00A73\u00A2Doe_John_1950.pdr"));
    auto store = OpenStore();
    EXPECT_EQ(store->FileText(u"Doe_John_1950"), u"abc");
    EXPECT_EQ(store->Audit(u"Doe_John_1950", "").back().action, "import");
    EXPECT_EQ(store->ActiveFiles().size(), 1u);

    EXPECT_FALSE(IsValidUserName(lone));
    std::u16string pair = u"Anna";
    pair += u"\U0001F600";
    EXPECT_TRUE(IsValidUserName(pair));
    EXPECT_TRUE(IsPatientFileName(u"Doe_\U0001F600.pdr"));
}

// Two senders' mails with the same code both reach their recipient; a code of another form
// is refused at once.
TEST_F(HardeningTest, MailWithOneCodeFromTwoSendersAndBadCodes) {
    StartServer();
    auto anna = LogIn(u"Anna", u"111111");
    auto bruno = LogIn(u"Bruno", u"222222");
    anna->Send(Mail(u"from anna", u"9|5550", u"Carla"));
    bruno->Send(Mail(u"by bruno!", u"9|5550", u"Carla"));
    EXPECT_TRUE(anna->WaitFor(u"#C!#S\u00A69|5550"));
    EXPECT_TRUE(bruno->WaitFor(u"#C!#S\u00A69|5550"));
    anna->Send(Mail(u"odd", u"3|x[1]", u"Carla"));
    EXPECT_TRUE(anna->WaitFor(u"#C!#L\u00A63|x[1]/"));
    auto carla = LogIn(u"Carla", u"333333");
    EXPECT_TRUE(carla->WaitFor(u"by bruno!"));
    EXPECT_NE(carla->text.find(u"from anna"), std::u16string::npos);
    EXPECT_EQ(carla->text.find(u"odd"), std::u16string::npos);
}

// A delivery report kept for an offline sender comes again at each log-in until his program
// confirmed it.
TEST_F(HardeningTest, ReportsWaitUntilTheProgramConfirmsThem) {
    StartServer();
    {
        auto anna = LogIn(u"Anna", u"111111");
        anna->Send(Mail(u"hello", u"5|90", u"Bruno") + u"#L!##F|");
        EXPECT_TRUE(anna->WaitFor(u"#C!#S\u00A65|90"));
    }
    {
        auto bruno = LogIn(u"Bruno", u"222222");
        ASSERT_TRUE(bruno->WaitFor(u"hello"));
        bruno->Send(u"#C!#S\u00A65|90[7.3.2006-10:01:00]/#F|");
        bruno->Send(u"#R!#\u00A65|90\u00A27.3.2006-10:02:00#F|");
        bruno->Read(200);
    }
    for (int round = 0; round < 2; ++round) {
        // Cut right after the log-in: nothing was confirmed.
        auto anna = LogIn(u"Anna", u"111111");
        EXPECT_TRUE(anna->WaitFor(u"#C!#O\u00A65|90[7.3.2006-10:01:00]/")) << round;
        EXPECT_TRUE(anna->WaitFor(u"#R!#\u00A65|90\u00A27.3.2006-10:02:00")) << round;
    }
    {
        auto anna = LogIn(u"Anna", u"111111");
        ASSERT_TRUE(anna->WaitFor(u"#K!#"));
        anna->Send(u"#C!#O\u00A65|90/#F|#Y!##F|");
        anna->Read(300);
    }
    auto anna = LogIn(u"Anna", u"111111");
    anna->Read(300);
    EXPECT_EQ(anna->text.find(u"#C!#O"), std::u16string::npos);
    EXPECT_EQ(anna->text.find(u"#R!#"), std::u16string::npos);
}

}  // namespace
}  // namespace pondrel
