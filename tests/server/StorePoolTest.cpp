// The changes of a PostgreSQL store on their own connections and threads: real pondrel-servers on
// a private cluster (skipped, saying why, where PostgreSQL is not installed). A row lock held by
// the test stands for a slow commit, so that what waits and what goes on can be seen.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ClientFrames.h"
#include "PostgresCluster.h"
#include "RawClient.h"
#include "ServerProcess.h"
#include "TempFolder.h"
#include "platform/Text.h"
#include "server/PgConnection.h"
#include "server/PostgresStore.h"
#include "server/StoreText.h"

namespace pondrel {
namespace {

using test::Login;
using test::UploadFrame;

using Clock = std::chrono::steady_clock;

// The answer "#D!#" to the upload `text` with `code`, `result` as given.
std::u16string Answer(char16_t result, std::u16string_view text, int code) {
    return u"#D!#" + std::u16string(1, result) + u"\u00A6" +
           ToText(static_cast<long long>(6 + text.size())) + u"|" + ToText(code) + u"/";
}

// A text of its own for each user and version, long enough to be a real patient.
std::u16string Version(int user, int version) {
    return u"U" + ToText(user) + u"v" + ToText(version) + u":" +
           std::u16string(20'000 + 37 * static_cast<size_t>(version), u'a' + (version % 26));
}

class StorePoolTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        cluster = test::PostgresCluster::Shared(why);
        if (!cluster) GTEST_SKIP() << "no PostgreSQL: " << why;
        address = cluster->NewDatabase();
        server = std::make_unique<test::ServerProcess>(PONDREL_SERVER_PATH, address,
                                                       (temp / "server.log").string());
        ASSERT_TRUE(server->AddUser("Anna", "111111"));
        ASSERT_TRUE(server->AddUser("Bruno", "222222"));
    }
    std::unique_ptr<server::PostgresStore> OpenStore() {
        std::string error;
        auto store = server::PostgresStore::Open(address, error);
        EXPECT_TRUE(store) << error;
        return store;
    }
    // A connection of the test's own that holds the row of a file locked, as a long transaction
    // of another server would.
    std::unique_ptr<server::PgConnection> HoldRow(std::u16string_view name) {
        std::string error;
        auto holder = server::PgConnection::Open(address, error);
        EXPECT_TRUE(holder) << error;
        if (!holder) return nullptr;
        EXPECT_TRUE(holder->Begin());
        EXPECT_EQ(holder
                      ->Run("SELECT 1 FROM files WHERE key = $1 FOR UPDATE",
                            {server::PgParam::Text(server::FileKey(name))})
                      .Rows(),
                  1);
        return holder;
    }
    // Waits until a statement of the database waits for a row lock: its process, or 0.
    int WaitingBackend(server::PgConnection& watcher) {
        auto end = Clock::now() + std::chrono::seconds(10);
        while (Clock::now() < end) {
            server::PgResult waiting = watcher.Run(
                "SELECT pid FROM pg_stat_activity WHERE wait_event_type = 'Lock' "
                "AND datname = current_database()");
            if (waiting.Rows() > 0) return static_cast<int>(waiting.Int(0, 0));
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return 0;
    }

    test::TempFolder temp{"pondrel-pool"};
    test::PostgresCluster* cluster = nullptr;
    std::string address;
    std::unique_ptr<test::ServerProcess> server;
};

// Eight clients upload versions of their own files at once through one server: every answer
// comes, in the order each client sent, every text is stored, and the audit trail holds one row
// per upload with the digest of its own text, in order.
TEST_F(StorePoolTest, ManyClientsUploadAtOnceAndEveryTextKeepsItsAuditRow) {
    constexpr int kClients = 8;
    constexpr int kVersions = 5;
    for (int i = 0; i < kClients; ++i) {
        ASSERT_TRUE(server->AddUser("User" + std::to_string(i), "pass" + std::to_string(i)));
    }
    ASSERT_TRUE(server->Start()) << server->Log();
    std::vector<std::unique_ptr<test::RawClient>> clients;
    for (int i = 0; i < kClients; ++i) {
        clients.push_back(std::make_unique<test::RawClient>(server->Port()));
        ASSERT_TRUE(clients.back()->Ok());
        ASSERT_TRUE(clients.back()->Send(Login(u"User" + ToText(i), u"pass" + ToText(i))));
    }
    for (int i = 0; i < kClients; ++i) ASSERT_TRUE(clients[i]->WaitFor(u"#S!#")) << server->Log();
    // Everything sent before any answer is read: the changes of all clients wait together.
    for (int i = 0; i < kClients; ++i) {
        std::u16string frames;
        for (int v = 1; v <= kVersions; ++v) {
            frames += UploadFrame(u"Pool_" + ToText(i) + u"_1950.pdr", Version(i, v), v);
        }
        ASSERT_TRUE(clients[i]->Send(frames));
    }
    for (int i = 0; i < kClients; ++i) {
        test::RawClient& client = *clients[i];
        ASSERT_TRUE(client.WaitFor(Answer(u'O', Version(i, kVersions), kVersions), 20'000))
            << "client " << i << "\n"
            << server->Log();
        size_t last = 0;
        for (int v = 1; v <= kVersions; ++v) {
            size_t at = client.text.find(Answer(u'O', Version(i, v), v));
            ASSERT_NE(at, std::u16string::npos) << "client " << i << " version " << v;
            EXPECT_GT(at, last) << "client " << i << " version " << v << " answered out of order";
            last = at;
        }
    }
    EXPECT_NE(server->Log().find("changes run on 4 store connections"), std::string::npos)
        << server->Log();

    auto store = OpenStore();
    ASSERT_TRUE(store);
    for (int i = 0; i < kClients; ++i) {
        std::u16string stem = u"Pool_" + ToText(i) + u"_1950";
        EXPECT_EQ(store->FileText(stem), Version(i, kVersions)) << i;
        EXPECT_EQ(store->ActiveFile(stem)->holder, u"User" + ToText(i));
        std::vector<server::AuditRow> rows = store->Audit(stem, "");
        ASSERT_EQ(rows.size(), static_cast<size_t>(kVersions + 1)) << i;  // and the first lock
        int version = 0;
        for (const server::AuditRow& row : rows) {
            EXPECT_EQ(row.user, u"User" + ToText(i));
            if (row.action == "lock") {
                EXPECT_EQ(version, 1) << "the lock of a new file comes with its first upload";
                continue;
            }
            ASSERT_EQ(row.action, "upload");
            ++version;
            EXPECT_EQ(row.size, static_cast<int64_t>(Version(i, version).size()));
            EXPECT_EQ(row.sha256, server::Sha256Hex(Version(i, version))) << i << " " << version;
        }
        EXPECT_EQ(version, kVersions);
    }
}

// A server killed while several clients' uploads are under way: every file holds one whole
// version, at least the last one its client was told was stored, and its last audit row is that
// text's.
TEST_F(StorePoolTest, AServerKilledUnderChangesKeepsEveryAnsweredVersion) {
    constexpr int kClients = 4;
    constexpr int kVersions = 30;
    for (int i = 0; i < kClients; ++i) {
        ASSERT_TRUE(server->AddUser("User" + std::to_string(i), "pass" + std::to_string(i)));
    }
    ASSERT_TRUE(server->Start()) << server->Log();
    std::vector<std::unique_ptr<test::RawClient>> clients;
    for (int i = 0; i < kClients; ++i) {
        clients.push_back(std::make_unique<test::RawClient>(server->Port()));
        ASSERT_TRUE(clients.back()->Send(Login(u"User" + ToText(i), u"pass" + ToText(i))));
        ASSERT_TRUE(clients.back()->WaitFor(u"#S!#")) << server->Log();
    }
    for (int i = 0; i < kClients; ++i) {
        std::u16string frames;
        for (int v = 1; v <= kVersions; ++v) {
            frames += UploadFrame(u"Pool_" + ToText(i) + u"_1950.pdr", Version(i, v), v);
        }
        ASSERT_TRUE(clients[i]->Send(frames));
    }
    ASSERT_TRUE(clients[0]->WaitFor(Answer(u'O', Version(0, 3), 3), 20'000)) << server->Log();
    server->Kill();

    auto store = OpenStore();
    ASSERT_TRUE(store);
    int unanswered = 0;
    for (int i = 0; i < kClients; ++i) {
        test::RawClient& client = *clients[i];
        client.WaitClosed(2000);
        unanswered += client.Count(u"#D!#O") < static_cast<size_t>(kVersions);
        int answered = 0;
        for (int v = 1; v <= kVersions; ++v) {
            if (client.text.find(Answer(u'O', Version(i, v), v)) != std::u16string::npos) {
                answered = v;
            }
        }
        std::u16string stem = u"Pool_" + ToText(i) + u"_1950";
        std::optional<std::u16string> text = store->FileText(stem);
        int stored = 0;
        for (int v = 1; v <= kVersions && text; ++v) {
            if (*text == Version(i, v)) stored = v;
        }
        if (answered == 0 && !text) continue;  // nothing of this client was stored yet
        ASSERT_GT(stored, 0) << "client " << i << ": not a whole version";
        EXPECT_GE(stored, answered) << "client " << i << ": a version told stored was lost";
        std::string lastDigest;
        for (const server::AuditRow& row : store->Audit(stem, "")) {
            if (row.action == "upload") lastDigest = row.sha256;
        }
        EXPECT_EQ(lastDigest, server::Sha256Hex(*text)) << i;
    }
    EXPECT_GT(unanswered, 0) << "every change had ended before the server was killed";
}

// While Anna's upload waits for its transaction, her next frames (an unlock, a question to the
// server) wait too and are answered after it, in order; Bruno's upload of another file goes on
// meanwhile.
TEST_F(StorePoolTest, AClientsChangesKeepTheirOrderWhileOthersGoOn) {
    ASSERT_TRUE(server->Start()) << server->Log();
    test::RawClient anna(server->Port());
    test::RawClient bruno(server->Port());
    ASSERT_TRUE(anna.Send(Login(u"Anna", u"111111") + UploadFrame(u"Doe_John_1950.pdr", u"v1", 1)));
    ASSERT_TRUE(anna.WaitFor(Answer(u'O', u"v1", 1))) << server->Log();
    ASSERT_TRUE(bruno.Send(Login(u"Bruno", u"222222")));
    ASSERT_TRUE(bruno.WaitFor(u"#S!#")) << server->Log();

    auto held = HoldRow(u"Doe_John_1950");
    ASSERT_TRUE(held);
    anna.text.clear();
    ASSERT_TRUE(anna.Send(UploadFrame(u"Doe_John_1950.pdr", u"v2", 2) +
                          u"#Q!#U\u00A2Doe_John_1950.pdr#F|#X!##F|"));
    ASSERT_TRUE(bruno.Send(UploadFrame(u"Roe_Jane_1960.pdr", u"b1", 7)));
    EXPECT_TRUE(bruno.WaitFor(Answer(u'O', u"b1", 7))) << server->Log();
    EXPECT_FALSE(anna.WaitFor(u"#X!#1", 400)) << "a later frame went first";
    EXPECT_EQ(anna.text.find(u"#D!#"), std::u16string::npos) << "answered before its commit";

    held->Rollback();
    ASSERT_TRUE(anna.WaitFor(u"#X!#1")) << server->Log();
    size_t stored = anna.text.find(Answer(u'O', u"v2", 2));
    ASSERT_NE(stored, std::u16string::npos);
    EXPECT_LT(stored, anna.text.find(u"#X!#1"));

    auto store = OpenStore();
    ASSERT_TRUE(store);
    EXPECT_EQ(store->FileText(u"Doe_John_1950"), u"v2");
    EXPECT_EQ(store->ActiveFile(u"Doe_John_1950")->holder, u"");
    std::vector<std::string> actions;
    for (const server::AuditRow& row : store->Audit(u"Doe_John_1950", "")) {
        actions.push_back(row.action);
    }
    EXPECT_EQ(actions, (std::vector<std::string>{"upload", "lock", "upload", "unlock"}));
}

// The database ends the connection of a change under way: the client is told the upload failed
// (he keeps his text), nothing of it is stored, and the changes after it are stored again.
TEST_F(StorePoolTest, AConnectionLostUnderAChangeFailsItAndTheNextOnesAreStored) {
    ASSERT_TRUE(server->Start()) << server->Log();
    test::RawClient anna(server->Port());
    ASSERT_TRUE(anna.Send(Login(u"Anna", u"111111") + UploadFrame(u"Doe_John_1950.pdr", u"v1", 1)));
    ASSERT_TRUE(anna.WaitFor(Answer(u'O', u"v1", 1))) << server->Log();

    auto held = HoldRow(u"Doe_John_1950");
    ASSERT_TRUE(held);
    ASSERT_TRUE(anna.Send(UploadFrame(u"Doe_John_1950.pdr", u"v2", 2)));
    std::string error;
    auto watcher = server::PgConnection::Open(address, error);
    ASSERT_TRUE(watcher) << error;
    int waiting = WaitingBackend(*watcher);
    ASSERT_GT(waiting, 0);
    ASSERT_TRUE(watcher->Exec("SELECT pg_terminate_backend(" + std::to_string(waiting) + ")"));
    EXPECT_TRUE(anna.WaitFor(Answer(u'E', u"v2", 2))) << server->Log();
    held->Rollback();

    // More changes than connections: the one that was lost serves again too.
    std::u16string frames;
    for (int code = 3; code <= 10; ++code) {
        frames += UploadFrame(u"Doe_John_1950.pdr", u"v" + ToText(code), code);
    }
    ASSERT_TRUE(anna.Send(frames));
    for (int code = 3; code <= 10; ++code) {
        EXPECT_TRUE(anna.WaitFor(Answer(u'O', u"v" + ToText(code), code))) << server->Log();
    }
    EXPECT_TRUE(server->Running());
    auto store = OpenStore();
    ASSERT_TRUE(store);
    EXPECT_EQ(store->FileText(u"Doe_John_1950"), u"v10");
    for (const server::AuditRow& row : store->Audit(u"Doe_John_1950", "")) {
        EXPECT_NE(row.sha256, server::Sha256Hex(u"v2")) << "the failed upload left a row";
    }
}

// A server stopped while a change waits for the database ends within a few seconds, and the
// change is not half made: the file keeps its text.
TEST_F(StorePoolTest, AServerStoppedUnderAChangeEndsCleanly) {
    ASSERT_TRUE(server->Start()) << server->Log();
    test::RawClient anna(server->Port());
    ASSERT_TRUE(anna.Send(Login(u"Anna", u"111111") + UploadFrame(u"Doe_John_1950.pdr", u"v1", 1)));
    ASSERT_TRUE(anna.WaitFor(Answer(u'O', u"v1", 1))) << server->Log();
    auto held = HoldRow(u"Doe_John_1950");
    ASSERT_TRUE(held);
    ASSERT_TRUE(anna.Send(UploadFrame(u"Doe_John_1950.pdr", u"v2", 2)));
    std::string error;
    auto watcher = server::PgConnection::Open(address, error);
    ASSERT_TRUE(watcher) << error;
    ASSERT_GT(WaitingBackend(*watcher), 0);

    auto start = Clock::now();
    EXPECT_TRUE(server->Stop()) << server->Log();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(15));
    held->Rollback();
    auto store = OpenStore();
    ASSERT_TRUE(store);
    EXPECT_EQ(store->FileText(u"Doe_John_1950"), u"v1");
}

// Two servers on one database, each with its pool: Anna and Bruno ask for the same free file at
// the same moment, round after round; exactly one of them gets it each time, the other is told
// who holds it, and the audit trail never holds two locks in a row.
TEST_F(StorePoolTest, TwoServersWithPoolsGiveAFileToOneOfTwoAtOnce) {
    test::ServerProcess second(PONDREL_SERVER_PATH, address, (temp / "second.log").string());
    ASSERT_TRUE(server->Start()) << server->Log();
    ASSERT_TRUE(second.Start()) << second.Log();
    test::RawClient anna(server->Port());
    test::RawClient bruno(second.Port());
    ASSERT_TRUE(anna.Send(Login(u"Anna", u"111111") + UploadFrame(u"Doe_John_1950.pdr", u"v1", 1) +
                          u"#Q!#U\u00A2Doe_John_1950.pdr#F|#X!##F|"));
    ASSERT_TRUE(anna.WaitFor(u"#X!#1")) << server->Log();
    ASSERT_TRUE(bruno.Send(Login(u"Bruno", u"222222")));
    ASSERT_TRUE(bruno.WaitFor(u"#S!#")) << second.Log();
    const std::u16string lock = u"#Q!#L\u00A2Doe_John_1950.pdr#F|#X!##F|";
    const std::u16string unlock = u"#Q!#U\u00A2Doe_John_1950.pdr#F|#X!##F|";
    auto store = OpenStore();
    ASSERT_TRUE(store);
    for (int round = 0; round < 6; ++round) {
        anna.text.clear();
        bruno.text.clear();
        ASSERT_TRUE(anna.Send(lock));
        ASSERT_TRUE(bruno.Send(lock));
        // Each one's question is answered after his lock ended.
        ASSERT_TRUE(anna.WaitFor(u"#X!#1")) << server->Log();
        ASSERT_TRUE(bruno.WaitFor(u"#X!#1")) << second.Log();
        std::u16string holder = store->ActiveFile(u"Doe_John_1950")->holder;
        ASSERT_TRUE(holder == u"Anna" || holder == u"Bruno") << round;
        test::RawClient& winner = holder == u"Anna" ? anna : bruno;
        test::RawClient& loser = holder == u"Anna" ? bruno : anna;
        EXPECT_EQ(winner.Count(u"Lock refused"), 0u) << round;
        EXPECT_EQ(loser.Count(u"Lock refused: Doe_John_1950 is held by " + holder), 1u) << round;
        winner.text.clear();
        ASSERT_TRUE(winner.Send(unlock));
        ASSERT_TRUE(winner.WaitFor(u"#X!#1"));
    }
    std::string last;
    int locks = 0;
    for (const server::AuditRow& row : store->Audit(u"Doe_John_1950", "")) {
        if (row.action != "lock" && row.action != "unlock") continue;
        EXPECT_NE(row.action, last) << "two " << row.action << "s in a row";
        last = row.action;
        locks += row.action == "lock";
    }
    EXPECT_EQ(locks, 7);  // the new file's, then one per round
}

// The option: 0 runs the changes on the network thread's connection as before; more than the
// bound, or more than one with a SQLite store (one writer at a time), is refused.
TEST_F(StorePoolTest, TheNumberOfConnectionsIsBoundedAndZeroRunsChangesInline) {
    test::ServerProcess sqlite(PONDREL_SERVER_PATH, (temp / "data").string());
    EXPECT_FALSE(sqlite.Start(0, {"--store-connections", "2"}));
    EXPECT_TRUE(sqlite.Start(0, {"--store-connections", "0"})) << sqlite.Log();
    sqlite.Stop();
    EXPECT_FALSE(server->Start(0, {"--store-connections", "17"}));
    ASSERT_TRUE(server->Start(0, {"--store-connections", "0"})) << server->Log();
    test::RawClient anna(server->Port());
    ASSERT_TRUE(anna.Send(Login(u"Anna", u"111111") + UploadFrame(u"Doe_John_1950.pdr", u"v1", 1) +
                          u"#Q!#U\u00A2Doe_John_1950.pdr#F|#X!##F|"));
    ASSERT_TRUE(anna.WaitFor(u"#X!#1")) << server->Log();
    EXPECT_NE(anna.text.find(Answer(u'O', u"v1", 1)), std::u16string::npos);
    EXPECT_EQ(server->Log().find("store connections"), std::string::npos) << server->Log();
    auto store = OpenStore();
    ASSERT_TRUE(store);
    EXPECT_EQ(store->FileText(u"Doe_John_1950"), u"v1");
    EXPECT_EQ(store->ActiveFile(u"Doe_John_1950")->holder, u"");
}

// The changes a server makes through the connections of its pool are its own: they do not make
// it read its lists again as a change through another server does.
TEST_F(StorePoolTest, ChangesThroughTheServersOwnConnectionsAreNotChangesElsewhere) {
    auto store = OpenStore();
    ASSERT_TRUE(store);
    std::string error;
    auto worker = store->OpenWorker(address, error);
    ASSERT_TRUE(worker) << error;
    auto other = OpenStore();
    ASSERT_TRUE(other);
    server::Stamp when{u"7.3.2006", u"09:05:00", "2006-03-07 09:05:00"};
    store->ChangedElsewhere();

    ASSERT_EQ(worker->Upload(u"Anna", u"Doe_John_1950", u"v1", when), server::StoreResult::Ok);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(store->ChangedElsewhere());

    ASSERT_EQ(other->Upload(u"Bruno", u"Roe_Jane_1960", u"b1", when), server::StoreResult::Ok);
    bool seen = false;
    for (auto end = Clock::now() + std::chrono::seconds(5); !seen && Clock::now() < end;) {
        seen = store->ChangedElsewhere();
        if (!seen) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_TRUE(seen);
}

}  // namespace
}  // namespace pondrel
