#include <gtest/gtest.h>

#include <memory>

#include "ServerProcess.h"
#include "SyncClient.h"
#include "TempFolder.h"
#include "server/ServerCommands.h"
#include "server/SqliteStore.h"

namespace pondrel {
namespace {

using test::SyncClient;

// A real pondrel-server on a free loopback port with three users, and clients made of the
// program's synchronisation code.
class EndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.AddUser("Anna", "111111"));
        ASSERT_TRUE(server.AddUser("Bruno", "222222"));
        ASSERT_TRUE(server.AddUser("Carla", "333333"));
    }
    void StartServer(const std::vector<std::string>& extra = {}) {
        ASSERT_TRUE(server.Start(0, extra)) << server.Log();
    }
    SyncClient& Client(std::u16string user, std::u16string password) {
        clients.push_back(std::make_unique<SyncClient>(waker, std::move(user), std::move(password),
                                                       server.Port()));
        return *clients.back();
    }
    bool Pump(const std::function<bool()>& done, int ms = 10'000) {
        std::vector<SyncClient*> all;
        for (auto& client : clients) all.push_back(client.get());
        return test::PumpAll(waker, all, done, ms);
    }
    bool LogIn(SyncClient& client) {
        client.connection.Connect();
        return Pump([&] { return client.connection.Online(); });
    }

    test::TempFolder temp{"pondrel-e2e"};
    std::string data = (temp / "data").string();
    test::ServerProcess server{PONDREL_SERVER_PATH, data};
    test::Waker waker;
    std::vector<std::unique_ptr<SyncClient>> clients;
};

TEST_F(EndToEndTest, LogInWrongPasswordAndWhoIsOnline) {
    StartServer();
    SyncClient& anna = Client(u"Anna", u"111111");
    ASSERT_TRUE(LogIn(anna)) << server.Log();
    EXPECT_EQ(anna.connection.OnlineUsers(), (std::vector<std::u16string>{u"Anna"}));

    SyncClient& intruder = Client(u"Bruno", u"999999");
    intruder.connection.Connect();
    ASSERT_TRUE(Pump([&] {
        return intruder.HasNotice(u"Password not accepted by the server. Connection aborted.");
    }));
    ASSERT_TRUE(Pump([&] { return intruder.connection.View().connectText == u"Connect"; }));
    EXPECT_FALSE(intruder.connection.Online());
    EXPECT_EQ(intruder.connection.ReconnectAttempts(), -1);  // not tried again

    SyncClient& bruno = Client(u"Bruno", u"222222");
    ASSERT_TRUE(LogIn(bruno));
    ASSERT_TRUE(Pump([&] { return anna.connection.OnlineUsers().size() == 2; }));
    EXPECT_EQ(anna.connection.OnlineUsers(), (std::vector<std::u16string>{u"Anna", u"Bruno"}));
    bruno.connection.CloseByUser();
    ASSERT_TRUE(Pump([&] { return anna.connection.OnlineUsers().size() == 1; }));

    std::string log = server.Log();
    EXPECT_NE(log.find("refused log-in for Bruno"), std::string::npos) << log;
    EXPECT_EQ(log.find("999999"), std::string::npos);  // never a password in the log
    EXPECT_NE(log.find("logged out"), std::string::npos) << log;
}

TEST_F(EndToEndTest, KeepAliveHoldsAQuietClientAndASilentOneIsDropped) {
    StartServer({"--keep-alive", "1", "--idle", "2"});
    // A client that logs in and then never answers...
    int raw = test::ConnectRaw(server.Port());
    ASSERT_GE(raw, 0);
    test::SendRaw(raw, u"#I!#x|Carla|333333|#F|");
    // ...and one made of the program's code, quiet for longer than the idle time: it answers
    // every keep-alive and stays.
    SyncClient& anna = Client(u"Anna", u"111111");
    ASSERT_TRUE(LogIn(anna));
    EXPECT_EQ(anna.connection.ServerTimeoutSeconds(), 25);  // told by the server at once
    Pump([] { return false; }, 2500);
    EXPECT_TRUE(anna.connection.Online());
    EXPECT_EQ(server.Log().find("Anna: silent"), std::string::npos);
    std::u16string received = test::ReceiveRawUntilClosed(raw, 3000);
    EXPECT_NE(received.find(u"#S!#"), std::u16string::npos);
    EXPECT_NE(received.find(u"#K!#"), std::u16string::npos);
    EXPECT_NE(server.Log().find("silent for 2 s"), std::string::npos) << server.Log();
}

TEST_F(EndToEndTest, ServerKilledAndRestartedTheClientComesBack) {
    StartServer();
    SyncClient& anna = Client(u"Anna", u"111111");
    ASSERT_TRUE(LogIn(anna));
    int port = server.Port();
    server.Kill();
    ASSERT_TRUE(Pump([&] { return !anna.connection.Online(); }));
    EXPECT_GT(anna.connection.ReconnectSeconds(), 0);  // the window is open
    Pump([] { return false; }, 1500);                  // a few refused attempts meanwhile
    ASSERT_TRUE(server.Start(port)) << server.Log();
    ASSERT_TRUE(Pump([&] { return anna.connection.Online(); }, 20'000));
    EXPECT_EQ(anna.connection.ReconnectSeconds(), -1);
}

TEST_F(EndToEndTest, ListsReleaseRequestsAndWakes) {
    {
        std::string error;
        std::string path;
        ASSERT_TRUE(server::PrepareDataFolder(data, path));
        auto store = server::SqliteStore::Open(path, error);
        ASSERT_TRUE(store) << error;
        server::Stamp when{u"7.3.2006", u"09:05:00", "2006-03-07 09:05:00"};
        store->Upload(u"Anna", u"Doe_John_1950", u"text", when);
        store->Upload(u"Anna", u"Roe_Jane_1960", u"text", when);
        store->Unlock(u"Anna", u"Roe_Jane_1960", when);
        store->Upload(u"Anna", u"Old_One_1930", u"text", when);
        store->Archive(u"Anna", u"Old_One_1930", when);
    }
    StartServer();
    SyncClient& anna = Client(u"Anna", u"111111");
    SyncClient& bruno = Client(u"Bruno", u"222222");
    ASSERT_TRUE(LogIn(anna));
    ASSERT_TRUE(LogIn(bruno));
    bruno.connection.QueueFrame(u"#W!#");
    bruno.connection.QueueFrame(u"#E!#");
    ASSERT_TRUE(Pump([&] { return bruno.listener.Has(u"Archive:Old_One_1930\u00A2"); }));
    EXPECT_TRUE(
        bruno.listener.Has(u"Active:Roe_Jane_1960\u00A2\u00A27.3.2006\u00A209:05:00\u00A2"
                           u"Doe_John_1950\u00A2Anna\u00A27.3.2006\u00A209:05:00\u00A2"));

    // Bruno asks Anna, who holds the file, to release it, and wakes her.
    bruno.connection.QueueFrame(u"#U!#Anna\u00A2Doe_John_1950");
    bruno.connection.QueueFrame(u"#Z!#1a\u00A2Anna");
    ASSERT_TRUE(Pump([&] { return anna.listener.Has(u"Release:Doe_John_1950"); }));
    // A request for a file Anna does not hold is not passed on.
    bruno.connection.QueueFrame(u"#U!#Anna\u00A2Roe_Jane_1960");
    ASSERT_TRUE(Pump(
        [&] { return server.Log().find("release request not passed on") != std::string::npos; }));
    Pump([] { return false; }, 200);
    EXPECT_FALSE(anna.listener.Has(u"Release:Roe_Jane_1960"));
}

}  // namespace
}  // namespace pondrel
