// The rules every store keeps, run against SQLite and against a real PostgreSQL (a private
// cluster started by the tests; skipped, saying why, where PostgreSQL is not installed).

#include <gtest/gtest.h>

#include <thread>

#include "PostgresCluster.h"
#include "TempFolder.h"
#include "platform/Text.h"
#include "server/Passwords.h"
#include "server/PostgresStore.h"
#include "server/SqliteStore.h"

namespace pondrel::server {
namespace {

enum class Kind { Sqlite, Postgres };

class StoreContractTest : public ::testing::TestWithParam<Kind> {
protected:
    void SetUp() override {
        if (GetParam() == Kind::Postgres) {
            std::string why;
            cluster = test::PostgresCluster::Shared(why);
            if (!cluster) GTEST_SKIP() << "no PostgreSQL: " << why;
            address = cluster->NewDatabase();
        }
        Reopen();
    }
    std::unique_ptr<ServerStore> Open(std::string& error) {
        if (GetParam() == Kind::Postgres) return PostgresStore::Open(address, error);
        return SqliteStore::Open((temp / "store.db").string(), error);
    }
    void Reopen() {
        store.reset();
        std::string error;
        store = Open(error);
        ASSERT_TRUE(store) << error;
    }

    test::TempFolder temp{"pondrel-contract"};
    test::PostgresCluster* cluster = nullptr;
    std::string address;
    std::unique_ptr<ServerStore> store;
    Stamp when{u"7.3.2006", u"09:05:00", "2006-03-07 09:05:00"};
};

TEST_P(StoreContractTest, UploadsComeOnlyFromTheHolderOrForANewFile) {
    EXPECT_EQ(store->Upload(u"Anna", u"Doe_John_1950", u"v1", when), StoreResult::Ok);
    EXPECT_EQ(store->ActiveFiles(),
              (std::vector<FileEntry>{{u"Doe_John_1950", u"Anna", u"7.3.2006", u"09:05:00"}}));
    // Names differing in case are one file: a stale copy is refused, never written over.
    EXPECT_EQ(store->Upload(u"Bruno", u"doe_john_1950", u"stale", when), StoreResult::Refused);
    EXPECT_EQ(store->FileText(u"DOE_JOHN_1950"), u"v1");
    Stamp later{u"8.3.2006", u"10:00:00", "2006-03-08 10:00:00"};
    EXPECT_EQ(store->Upload(u"Anna", u"doe_john_1950", u"v2", later), StoreResult::Ok);
    EXPECT_EQ(store->ActiveFile(u"Doe_John_1950")->date, u"8.3.2006");
    EXPECT_EQ(store->ActiveFile(u"doe_JOHN_1950")->name, u"Doe_John_1950");  // as first sent
    EXPECT_EQ(store->Unlock(u"Anna", u"Doe_John_1950", when), StoreResult::Ok);
    EXPECT_EQ(store->Upload(u"Anna", u"Doe_John_1950", u"v3", when), StoreResult::Refused);
    EXPECT_EQ(store->FileText(u"Doe_John_1950"), u"v2");
    // Any 16-bit unit survives, a lone surrogate too; and a text of a few hundred kilobytes.
    std::u16string odd = u"a\u00A2\uFFFF";
    odd += static_cast<char16_t>(0xD800);
    odd += std::u16string(200'000, u'\u00E9');
    EXPECT_EQ(store->Upload(u"Anna", u"Odd_One_1990", odd, when), StoreResult::Ok);
    EXPECT_EQ(store->FileText(u"Odd_One_1990"), odd);
    // Sorted by name whatever the case.
    store->Upload(u"Anna", u"bauer_Eva_1970", u"x", when);
    std::vector<FileEntry> files = store->ActiveFiles();
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0].name, u"bauer_Eva_1970");
    EXPECT_EQ(files[2].name, u"Odd_One_1990");
}

TEST_P(StoreContractTest, LocksArchiveAndActivate) {
    store->Upload(u"Anna", u"Doe_John_1950", u"text", when);
    EXPECT_EQ(store->Lock(u"Bruno", u"Doe_John_1950", when), StoreResult::Refused);
    EXPECT_EQ(store->Unlock(u"Bruno", u"Doe_John_1950", when), StoreResult::Refused);
    EXPECT_EQ(store->Archive(u"Bruno", u"Doe_John_1950", when), StoreResult::Refused);
    EXPECT_EQ(store->Lock(u"Anna", u"Doe_John_1950", when), StoreResult::Ok);  // already hers
    EXPECT_EQ(store->ForceUnlock(u"Bruno", u"Doe_John_1950", when), StoreResult::Ok);
    EXPECT_EQ(store->ForceUnlock(u"Bruno", u"Doe_John_1950", when), StoreResult::Refused);
    EXPECT_EQ(store->Lock(u"Bruno", u"doe_john_1950", when), StoreResult::Ok);
    EXPECT_EQ(store->ActiveFile(u"Doe_John_1950")->holder, u"Bruno");
    EXPECT_EQ(store->Archive(u"Bruno", u"Doe_John_1950", when), StoreResult::Ok);
    EXPECT_TRUE(store->ActiveFiles().empty());
    EXPECT_EQ(store->ArchivedFiles(), (std::vector<std::u16string>{u"Doe_John_1950"}));
    EXPECT_FALSE(store->FileText(u"Doe_John_1950"));
    EXPECT_EQ(store->Lock(u"Bruno", u"Doe_John_1950", when), StoreResult::Refused);
    EXPECT_EQ(store->Upload(u"Bruno", u"Doe_John_1950", u"x", when), StoreResult::Refused);
    EXPECT_EQ(store->Activate(u"Anna", u"Doe_John_1950", when), StoreResult::Ok);
    EXPECT_EQ(store->Activate(u"Anna", u"Doe_John_1950", when), StoreResult::Refused);
    EXPECT_EQ(store->ActiveFile(u"Doe_John_1950")->holder, u"");
    EXPECT_EQ(store->FileText(u"Doe_John_1950"), u"text");  // back with its file
    EXPECT_EQ(store->Lock(u"Anna", u"Nobody_1900", when), StoreResult::Refused);
    EXPECT_EQ(store->Delete(u"Anna", u"DOE_JOHN_1950", when), StoreResult::Ok);
    EXPECT_TRUE(store->ActiveFiles().empty());
    EXPECT_FALSE(store->FileText(u"Doe_John_1950"));
    EXPECT_EQ(store->Delete(u"Anna", u"Doe_John_1950", when), StoreResult::Refused);
    // Sent again, it is a new file of whoever sends it first.
    EXPECT_EQ(store->Upload(u"Bruno", u"Doe_John_1950", u"new text", when), StoreResult::Ok);
    EXPECT_EQ(store->ActiveFile(u"Doe_John_1950")->holder, u"Bruno");
}

TEST_P(StoreContractTest, EveryChangeLeavesOneAuditRowThatSurvivesAReopen) {
    store->Upload(u"Anna", u"Doe_John_1950", u"abc", when);
    store->Unlock(u"Anna", u"Doe_John_1950", when);
    store->Lock(u"Bruno", u"Doe_John_1950", when);
    store->Upload(u"Bruno", u"Doe_John_1950", u"new", when);
    store->Upload(u"Anna", u"Doe_John_1950", u"refused", when);  // refused: no row
    store->ForceUnlock(u"Anna", u"Doe_John_1950", when);
    store->Archive(u"Anna", u"Doe_John_1950", when);
    store->Activate(u"Anna", u"Doe_John_1950", when);
    EXPECT_EQ(store->ImportFile(u"Carla", u"Doe_John_1950", when), u"new");
    EXPECT_FALSE(store->ImportFile(u"Carla", u"Nobody_1950", when));
    store->Delete(u"Anna", u"Doe_John_1950", when);
    store->Upload(u"Anna", u"Other_One_1960", u"x", when);
    Reopen();
    std::vector<AuditRow> rows = store->Audit(u"doe_john_1950", "");
    std::vector<std::string> actions;
    for (const AuditRow& row : rows) actions.push_back(ToUtf8(row.user) + " " + row.action);
    EXPECT_EQ(actions,
              (std::vector<std::string>{"Anna upload", "Anna lock", "Anna unlock", "Bruno lock",
                                        "Bruno upload", "Anna force unlock", "Anna archive",
                                        "Anna activate", "Carla import", "Anna delete"}));
    ASSERT_EQ(rows.size(), 10u);
    // SHA-256 of "abc" as UTF-16LE.
    EXPECT_EQ(rows[0].size, 3);
    EXPECT_EQ(rows[0].sha256, "13e228567e8249fce53337f25d7970de3bd68ab2653424c7b8f9fd05e33caedf");
    EXPECT_TRUE(rows[1].sha256.empty());
    EXPECT_EQ(rows[5].detail, u"Bruno");  // whose lock was forced
    EXPECT_EQ(rows[0].at, "2006-03-07 09:05:00");
    EXPECT_EQ(store->Audit(u"", "").size(), 12u);
    EXPECT_EQ(store->Audit(u"", "2006-03-08").size(), 0u);
    EXPECT_EQ(store->Audit(u"", "2006-03-07").size(), 12u);
}

TEST_P(StoreContractTest, AccountsAndAdministrationChanges) {
    ASSERT_TRUE(StartPasswords());
    int64_t changes = store->AdminChanges();
    EXPECT_GE(changes, 0);
    auto hash = HashPassword(u"123456");
    ASSERT_TRUE(hash);
    EXPECT_TRUE(store->SetUser(u"Anna", *hash));
    EXPECT_TRUE(store->SetUser(u"Bruno", "other"));
    EXPECT_TRUE(VerifyPassword(*store->PasswordHash(u"Anna"), u"123456"));
    EXPECT_EQ(store->Users(), (std::vector<std::u16string>{u"Anna", u"Bruno"}));
    EXPECT_EQ(store->RemoveUser(u"Carla"), StoreResult::Refused);
    EXPECT_EQ(store->RemoveUser(u"Bruno"), StoreResult::Ok);
    EXPECT_FALSE(store->PasswordHash(u"Bruno"));
    store->Upload(u"Anna", u"Doe_John_1950", u"text", when);
    EXPECT_EQ(store->AdminChanges(), changes + 3);  // the users' own changes do not count
    EXPECT_EQ(store->Delete(u"admin:root", u"Doe_John_1950", when), StoreResult::Ok);
    EXPECT_EQ(store->AdminChanges(), changes + 4);
    store->Upload(u"Anna", u"A_B_1950", u"x", when);
    store->Upload(u"Bruno", u"C_D_1950", u"x", when);
    store->Archive(u"Bruno", u"C_D_1950", when);
    EXPECT_EQ(store->ActiveFileCount(), 1);
    EXPECT_EQ(store->ActiveFilesCreatedBy(u"Anna"), 1);
    EXPECT_EQ(store->ActiveFilesCreatedBy(u"Bruno"), 0);
}

TEST_P(StoreContractTest, MailIsKeptUntilReadAndNotesUntilConfirmed) {
    EXPECT_EQ(store->KeepMail(u"Carla", u"Anna", u"6|120", u"first\u00A7", when), StoreResult::Ok);
    EXPECT_EQ(store->KeepMail(u"Carla", u"Anna", u"6|120", u"again", when), StoreResult::Refused);
    EXPECT_EQ(store->KeepMail(u"Carla", u"Bruno", u"6|120", u"same code", when), StoreResult::Ok);
    store->KeepMail(u"Dino", u"Anna", u"6|120", u"other", when);
    store->KeepMail(u"Carla", u"Bruno", u"3|71", u"second", when);
    Reopen();
    EXPECT_EQ(store->UndeliveredCount(u"Carla"), 3);
    EXPECT_TRUE(store->IsUndelivered(u"Carla", u"Bruno", u"3|71"));
    std::vector<QueuedMail> first = store->UndeliveredMail(u"Carla", 0, 1);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].frame, u"first\u00A7");
    std::vector<QueuedMail> rest = store->UndeliveredMail(u"Carla", first[0].id);
    ASSERT_EQ(rest.size(), 2u);
    EXPECT_EQ(rest[0].sender, u"Bruno");
    EXPECT_EQ(rest[1].frame, u"second");
    // Of two senders' mails with one code, the older is acknowledged first.
    EXPECT_EQ(store->MarkDelivered(u"Carla", u"6|120", u"7.3.2006-10:00:00"), u"Anna");
    EXPECT_EQ(store->MarkDelivered(u"Carla", u"6|120", u"7.3.2006-10:00:01"), u"Bruno");
    EXPECT_FALSE(store->MarkDelivered(u"Carla", u"6|120", u"again"));
    EXPECT_FALSE(store->IsUndelivered(u"Carla", u"Anna", u"6|120"));
    EXPECT_EQ(store->UndeliveredCount(u"Carla"), 1);
    EXPECT_FALSE(store->TakeDelivered(u"Carla", u"3|71"));  // not delivered yet
    auto read = store->TakeDelivered(u"Carla", u"6|120");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->sender, u"Anna");
    EXPECT_EQ(read->reception, u"7.3.2006-10:00:00");
    EXPECT_EQ(store->TakeDelivered(u"Carla", u"6|120")->sender, u"Bruno");
    EXPECT_FALSE(store->TakeDelivered(u"Carla", u"6|120"));

    EXPECT_TRUE(store->QueueNote(u"Anna", u"6|120", u"#C!#O\u00A66|120[d-t]/", when));
    EXPECT_TRUE(store->QueueNote(u"Anna", u"", u"#R!#x", when));
    EXPECT_TRUE(store->QueueNote(u"Anna", u"", u"#R!#y", when));
    std::vector<WaitingNote> notes = store->WaitingNotes(u"Anna");
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[0].frame, u"#C!#O\u00A66|120[d-t]/");
    EXPECT_TRUE(store->ForgetReport(u"Anna", u"6|120"));
    EXPECT_TRUE(store->ForgetReport(u"Anna", u""));  // receipts have no code to confirm
    ASSERT_EQ(store->WaitingNotes(u"Anna").size(), 2u);
    EXPECT_TRUE(store->ForgetNotes(u"Anna", notes[1].id));
    ASSERT_EQ(store->WaitingNotes(u"Anna").size(), 1u);
    EXPECT_EQ(store->WaitingNotes(u"Anna")[0].frame, u"#R!#y");
    EXPECT_TRUE(store->WaitingNotes(u"Bruno").empty());
}

INSTANTIATE_TEST_SUITE_P(Stores, StoreContractTest, ::testing::Values(Kind::Sqlite, Kind::Postgres),
                         [](const ::testing::TestParamInfo<Kind>& param) {
                             return param.param == Kind::Sqlite ? "Sqlite" : "Postgres";
                         });

// --- PostgreSQL only: several servers on one database, a lost database --------------------------

class PostgresStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        cluster = test::PostgresCluster::Shared(why);
        if (!cluster) GTEST_SKIP() << "no PostgreSQL: " << why;
        address = cluster->NewDatabase();
        std::string error;
        store = PostgresStore::Open(address, error);
        ASSERT_TRUE(store) << error;
    }

    test::PostgresCluster* cluster = nullptr;
    std::string address;
    std::unique_ptr<PostgresStore> store;
    Stamp when{u"7.3.2006", u"09:05:00", "2006-03-07 09:05:00"};
};

// Two servers share the database: a lock taken through one is honoured by the other, and a new
// file sent through both at once belongs to one of them only.
TEST_F(PostgresStoreTest, TwoStoresOnOneDatabaseHonourEachOthersLocks) {
    std::string error;
    auto other = PostgresStore::Open(address, error);
    ASSERT_TRUE(other) << error;
    EXPECT_EQ(store->Upload(u"Anna", u"Doe_John_1950", u"v1", when), StoreResult::Ok);
    EXPECT_EQ(other->Upload(u"Bruno", u"Doe_John_1950", u"stale", when), StoreResult::Refused);
    EXPECT_EQ(other->Lock(u"Bruno", u"Doe_John_1950", when), StoreResult::Refused);
    EXPECT_EQ(store->Unlock(u"Anna", u"Doe_John_1950", when), StoreResult::Ok);
    EXPECT_EQ(other->Lock(u"Bruno", u"Doe_John_1950", when), StoreResult::Ok);
    EXPECT_EQ(store->Lock(u"Anna", u"Doe_John_1950", when), StoreResult::Refused);
    EXPECT_EQ(other->Upload(u"Bruno", u"Doe_John_1950", u"v2", when), StoreResult::Ok);
    EXPECT_EQ(store->FileText(u"Doe_John_1950"), u"v2");
    // Each is told of the other's changes (on their commit), not of its own.
    bool told = false;
    for (int wait = 0; wait < 100 && !told; ++wait) {
        told = store->ChangedElsewhere();
        if (!told) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_TRUE(told);
    EXPECT_FALSE(store->ChangedElsewhere());
    store->Unlock(u"Anna", u"Nobody_1950", when);  // refused: nothing to tell
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(other->ChangedElsewhere());  // the changes made through the first store
    EXPECT_FALSE(other->ChangedElsewhere());

    // Many rounds of two users racing for one new file each: exactly one wins every time, and
    // the winner's text is the one stored.
    for (int round = 0; round < 20; ++round) {
        std::u16string name = u"Race_" + ToText(round) + u"_1950";
        StoreResult first = StoreResult::Failed;
        StoreResult second = StoreResult::Failed;
        std::thread a([&] { first = store->Upload(u"Anna", name, u"anna", when); });
        std::thread b([&] { second = other->Upload(u"Bruno", name, u"bruno", when); });
        a.join();
        b.join();
        ASSERT_NE(first == StoreResult::Ok, second == StoreResult::Ok) << round;
        EXPECT_TRUE(first == StoreResult::Refused || second == StoreResult::Refused);
        EXPECT_EQ(store->FileText(name), first == StoreResult::Ok ? u"anna" : u"bruno");
        EXPECT_EQ(store->ActiveFile(name)->holder, first == StoreResult::Ok ? u"Anna" : u"Bruno");
    }
    EXPECT_EQ(store->Audit(u"Race_3_1950", "").size(), 2u);  // the winner's upload and lock
}

// The database's server process ends (a restart, an administrator): the next request opens the
// connection again and works.
TEST_F(PostgresStoreTest, AConnectionEndedByTheDatabaseIsOpenedAgain) {
    EXPECT_EQ(store->Upload(u"Anna", u"Doe_John_1950", u"v1", when), StoreResult::Ok);
    int pid = store->Connection().BackendPid();
    ASSERT_TRUE(
        cluster->Exec("postgres", "SELECT pg_terminate_backend(" + std::to_string(pid) + ")"));
    EXPECT_EQ(store->Upload(u"Anna", u"Doe_John_1950", u"v2", when), StoreResult::Ok);
    EXPECT_EQ(store->Connection().Reconnects(), 1);
    pid = store->Connection().BackendPid();
    ASSERT_TRUE(
        cluster->Exec("postgres", "SELECT pg_terminate_backend(" + std::to_string(pid) + ")"));
    EXPECT_EQ(store->FileText(u"Doe_John_1950"), u"v2");
    EXPECT_EQ(store->Audit(u"", "").size(), 3u);
}

// The database is gone for a while: changes fail (the client is told, nothing half stored), and
// once it is back the store works on without a restart of the server.
TEST_F(PostgresStoreTest, ChangesFailWhileTheDatabaseIsDownAndWorkWhenItIsBack) {
    EXPECT_EQ(store->Upload(u"Anna", u"Doe_John_1950", u"v1", when), StoreResult::Ok);
    ASSERT_TRUE(cluster->Stop());
    EXPECT_EQ(store->Upload(u"Anna", u"Doe_John_1950", u"lost", when), StoreResult::Failed);
    EXPECT_EQ(store->Lock(u"Anna", u"Doe_John_1950", when), StoreResult::Failed);
    EXPECT_FALSE(store->FileText(u"Doe_John_1950"));
    EXPECT_TRUE(store->ActiveFiles().empty());
    ASSERT_TRUE(cluster->Start());
    // Attempts to reach the database are spaced by two seconds.
    std::this_thread::sleep_for(std::chrono::milliseconds(2100));
    EXPECT_EQ(store->FileText(u"Doe_John_1950"), u"v1");
    EXPECT_EQ(store->Upload(u"Anna", u"Doe_John_1950", u"v2", when), StoreResult::Ok);
    EXPECT_EQ(store->FileText(u"Doe_John_1950"), u"v2");
    std::vector<AuditRow> rows = store->Audit(u"", "");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2].size, 2);
}

// A database made by a newer server is refused, never changed; one of today opens again with
// everything in it.
TEST_F(PostgresStoreTest, SchemaVersions) {
    store->Upload(u"Anna", u"Doe_John_1950", u"v1", when);
    store.reset();
    std::string error;
    store = PostgresStore::Open(address, error);
    ASSERT_TRUE(store) << error;
    EXPECT_EQ(store->FileText(u"Doe_John_1950"), u"v1");
    std::string database = address.substr(address.rfind('/') + 1);
    ASSERT_TRUE(cluster->Exec(database, "UPDATE schema_version SET version = 5"));
    store.reset();
    EXPECT_FALSE(PostgresStore::Open(address, error));
    EXPECT_NE(error.find("newer"), std::string::npos) << error;
    ASSERT_TRUE(cluster->Exec(database, "UPDATE schema_version SET version = 4"));
    store = PostgresStore::Open(address, error);
    ASSERT_TRUE(store) << error;
    EXPECT_EQ(store->FileText(u"Doe_John_1950"), u"v1");
    EXPECT_FALSE(PostgresStore::Open("postgresql://pondrel@127.0.0.1:1/none", error));
    EXPECT_FALSE(error.empty());
}

// One user causes at most kMaxAuditRowsPerHour audit rows in an hour (the SQLite store's own
// test makes them one by one; here the rows of the hour are written at once).
TEST_F(PostgresStoreTest, AuditRowsOfOneUserAreBoundedPerHour) {
    store->Upload(u"Anna", u"Doe_John_1950", u"text", when);  // two rows
    std::string database = address.substr(address.rfind('/') + 1);
    ASSERT_TRUE(
        cluster->Exec(database,
                      "INSERT INTO audit(at, user_name, action, file, file_key, size, sha256) "
                      "SELECT '2006-03-07 08:30:00', 'Anna', 'import', 'Doe_John_1950', "
                      "'doe_john_1950', 4, '' FROM generate_series(3, " +
                          std::to_string(kMaxAuditRowsPerHour) + ")"));
    EXPECT_EQ(store->Audit(u"", "").size(), static_cast<size_t>(kMaxAuditRowsPerHour));
    EXPECT_FALSE(store->ImportFile(u"Anna", u"Doe_John_1950", when));
    EXPECT_EQ(store->Unlock(u"Anna", u"Doe_John_1950", when), StoreResult::Failed);
    EXPECT_EQ(store->ActiveFile(u"Doe_John_1950")->holder, u"Anna");   // nothing half done
    EXPECT_TRUE(store->ImportFile(u"Bruno", u"Doe_John_1950", when));  // another user
    Stamp later{u"7.3.2006", u"10:05:01", "2006-03-07 10:05:01"};
    EXPECT_TRUE(store->ImportFile(u"Anna", u"Doe_John_1950", later));
}

}  // namespace
}  // namespace pondrel::server
