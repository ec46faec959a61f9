#include <gtest/gtest.h>

#include <sys/wait.h>

#include <chrono>
#include <random>
#include <thread>

#include "ServerProcess.h"
#include "SyncClient.h"
#include "TempFolder.h"
#include "server/Passwords.h"
#include "server/ServerCommands.h"
#include "server/SqliteStore.h"

namespace pondrel {
namespace {

// The server is killed (SIGKILL) at random moments while its data changes; after every restart
// the store is consistent and serves again.
class CrashTest : public ::testing::Test {
protected:
    test::TempFolder temp{"pondrel-crash"};
    std::string data = (temp / "data").string();
    test::ServerProcess server{PONDREL_SERVER_PATH, data};
    test::Waker waker;
    std::mt19937 random{20060307};

    std::unique_ptr<server::SqliteStore> OpenStore() {
        std::string path;
        std::string error;
        EXPECT_TRUE(server::PrepareDataFolder(data, path));
        auto store = server::SqliteStore::Open(path, error);
        EXPECT_TRUE(store) << error;
        return store;
    }
};

TEST_F(CrashTest, KilledWhileUsersLogInAndChangePasswordsTheStoreStaysWhole) {
    ASSERT_TRUE(server.AddUser("Anna", "111111"));
    ASSERT_TRUE(server.AddUser("Bruno", "222222"));
    ASSERT_TRUE(server::StartPasswords());
    for (int round = 0; round < 4; ++round) {
        ASSERT_TRUE(server.Start()) << server.Log();
        test::SyncClient anna(waker, u"Anna", u"111111", server.Port());
        anna.connection.Connect();
        // Meanwhile an administrator changes Bruno's password, again and again.
        std::string password = std::to_string(300000 + round);
        std::thread admin([&] { server.AddUser("Bruno", password); });
        std::this_thread::sleep_for(std::chrono::milliseconds(random() % 250));
        server.Kill();
        admin.join();
        anna.connection.Shutdown();

        auto store = OpenStore();
        ASSERT_TRUE(store);
        EXPECT_EQ(store->IntegrityCheck(), "ok") << "round " << round;
        EXPECT_EQ(store->Users(), (std::vector<std::u16string>{u"Anna", u"Bruno"}));
        EXPECT_TRUE(server::VerifyPassword(*store->PasswordHash(u"Anna"), u"111111"));
        // Bruno's password is the new one or the last one, never a torn hash.
        std::string hash = *store->PasswordHash(u"Bruno");
        EXPECT_EQ(hash.rfind("$argon2id$", 0), 0u) << hash;
    }
    // And it serves after the last crash.
    ASSERT_TRUE(server.Start()) << server.Log();
    test::SyncClient anna(waker, u"Anna", u"111111", server.Port());
    anna.connection.Connect();
    EXPECT_TRUE(test::PumpAll(waker, std::vector<test::SyncClient*>{&anna},
                              [&] { return anna.connection.Online(); }));
}

}  // namespace
}  // namespace pondrel
