#include <gtest/gtest.h>

#include <filesystem>

#include "TempFolder.h"
#include "platform/Text.h"
#include "server/Passwords.h"
#include "server/SqliteStore.h"

namespace pondrel::server {
namespace {

class SqliteStoreTest : public ::testing::Test {
protected:
    SqliteStoreTest() { Reopen(); }
    void Reopen() {
        store.reset();
        std::string error;
        store = SqliteStore::Open((temp / "store.db").string(), error);
        ASSERT_TRUE(store) << error;
    }

    test::TempFolder temp{"pondrel-store"};
    std::unique_ptr<SqliteStore> store;
    Stamp when{u"7.3.2006", u"09:05:00", "2006-03-07 09:05:00"};
};

TEST_F(SqliteStoreTest, UploadsComeOnlyFromTheHolderOrForANewFile) {
    // A new file stays with the user who sent it.
    EXPECT_EQ(store->Upload(u"Anna", u"Doe_John_1950", u"v1", when), StoreResult::Ok);
    EXPECT_EQ(store->ActiveFiles(),
              (std::vector<FileEntry>{{u"Doe_John_1950", u"Anna", u"7.3.2006", u"09:05:00"}}));
    // Somebody else's stale copy is refused, never written over the newer text.
    EXPECT_EQ(store->Upload(u"Bruno", u"doe_john_1950", u"stale", when), StoreResult::Refused);
    EXPECT_EQ(store->FileText(u"Doe_John_1950"), u"v1");
    Stamp later{u"8.3.2006", u"10:00:00", "2006-03-08 10:00:00"};
    EXPECT_EQ(store->Upload(u"Anna", u"Doe_John_1950", u"v2", later), StoreResult::Ok);
    EXPECT_EQ(store->ActiveFile(u"Doe_John_1950")->date, u"8.3.2006");
    // Free: nobody may upload before locking.
    EXPECT_EQ(store->Unlock(u"Anna", u"Doe_John_1950", when), StoreResult::Ok);
    EXPECT_EQ(store->Upload(u"Anna", u"Doe_John_1950", u"v3", when), StoreResult::Refused);
    EXPECT_EQ(store->FileText(u"Doe_John_1950"), u"v2");
    // Any 16-bit unit survives, a lone surrogate too.
    std::u16string odd = u"a\u00A2\uFFFF";
    odd += static_cast<char16_t>(0xD800);
    EXPECT_EQ(store->Upload(u"Anna", u"Odd_One_1990", odd, when), StoreResult::Ok);
    EXPECT_EQ(store->FileText(u"Odd_One_1990"), odd);
}

TEST_F(SqliteStoreTest, LocksArchiveAndActivate) {
    store->Upload(u"Anna", u"Doe_John_1950", u"text", when);
    EXPECT_EQ(store->Lock(u"Bruno", u"Doe_John_1950", when), StoreResult::Refused);
    EXPECT_EQ(store->Unlock(u"Bruno", u"Doe_John_1950", when), StoreResult::Refused);
    EXPECT_EQ(store->Archive(u"Bruno", u"Doe_John_1950", when), StoreResult::Refused);
    EXPECT_EQ(store->Lock(u"Anna", u"Doe_John_1950", when), StoreResult::Ok);  // already hers
    EXPECT_EQ(store->ForceUnlock(u"Bruno", u"Doe_John_1950", when), StoreResult::Ok);
    EXPECT_EQ(store->ForceUnlock(u"Bruno", u"Doe_John_1950", when), StoreResult::Refused);
    EXPECT_EQ(store->Lock(u"Bruno", u"Doe_John_1950", when), StoreResult::Ok);
    EXPECT_EQ(store->ActiveFile(u"Doe_John_1950")->holder, u"Bruno");
    EXPECT_EQ(store->Archive(u"Bruno", u"Doe_John_1950", when), StoreResult::Ok);
    EXPECT_TRUE(store->ActiveFiles().empty());
    EXPECT_EQ(store->ArchivedFiles(), (std::vector<std::u16string>{u"Doe_John_1950"}));
    EXPECT_FALSE(store->FileText(u"Doe_John_1950"));
    EXPECT_EQ(store->Lock(u"Bruno", u"Doe_John_1950", when), StoreResult::Refused);
    EXPECT_EQ(store->Upload(u"Bruno", u"Doe_John_1950", u"x", when), StoreResult::Refused);
    EXPECT_EQ(store->Activate(u"Anna", u"Doe_John_1950", when), StoreResult::Ok);
    EXPECT_EQ(store->ActiveFile(u"Doe_John_1950")->holder, u"");
    EXPECT_EQ(store->Lock(u"Anna", u"Nobody_1900", when), StoreResult::Refused);
    EXPECT_EQ(store->Delete(u"Anna", u"Doe_John_1950", when), StoreResult::Ok);
    EXPECT_TRUE(store->ActiveFiles().empty());
}

TEST_F(SqliteStoreTest, EveryChangeLeavesOneAuditRowThatSurvivesAReopen) {
    store->Upload(u"Anna", u"Doe_John_1950", u"abc", when);
    store->Unlock(u"Anna", u"Doe_John_1950", when);
    store->Lock(u"Bruno", u"Doe_John_1950", when);
    store->Upload(u"Bruno", u"Doe_John_1950", u"new", when);     // he holds it now
    store->Upload(u"Anna", u"Doe_John_1950", u"refused", when);  // refused: no row
    store->ForceUnlock(u"Anna", u"Doe_John_1950", when);
    store->Archive(u"Anna", u"Doe_John_1950", when);
    store->Activate(u"Anna", u"Doe_John_1950", when);
    store->Delete(u"Anna", u"Doe_John_1950", when);
    store->Upload(u"Anna", u"Other_One_1960", u"x", when);
    Reopen();
    std::vector<AuditRow> rows = store->Audit(u"doe_john_1950", "");
    std::vector<std::string> actions;
    for (const AuditRow& row : rows) actions.push_back(ToUtf8(row.user) + " " + row.action);
    EXPECT_EQ(actions, (std::vector<std::string>{"Anna upload", "Anna lock", "Anna unlock",
                                                 "Bruno lock", "Bruno upload", "Anna force unlock",
                                                 "Anna archive", "Anna activate", "Anna delete"}));
    // SHA-256 of "abc" as UTF-16LE.
    EXPECT_EQ(rows[0].size, 3);
    EXPECT_EQ(rows[0].sha256, "13e228567e8249fce53337f25d7970de3bd68ab2653424c7b8f9fd05e33caedf");
    EXPECT_TRUE(rows[1].sha256.empty());
    EXPECT_EQ(rows[5].detail, u"Bruno");  // whose lock was forced
    EXPECT_EQ(store->Audit(u"", "").size(), 11u);
    EXPECT_EQ(store->Audit(u"", "2006-03-08").size(), 0u);
    EXPECT_EQ(store->Audit(u"", "2006-03-07").size(), 11u);
}

TEST_F(SqliteStoreTest, ADeletedFileTakesItsTextAlong) {
    store->Upload(u"Anna", u"Doe_John_1950", u"old text", when);
    EXPECT_EQ(store->Delete(u"Anna", u"DOE_JOHN_1950", when), StoreResult::Ok);
    EXPECT_FALSE(store->FileText(u"Doe_John_1950"));
    // Sent again, it is a new file of whoever sends it first.
    EXPECT_EQ(store->Upload(u"Bruno", u"Doe_John_1950", u"new text", when), StoreResult::Ok);
    EXPECT_EQ(store->FileText(u"doe_john_1950"), u"new text");
    EXPECT_EQ(store->ActiveFile(u"Doe_John_1950")->holder, u"Bruno");
    EXPECT_EQ(store->IntegrityCheck(), "ok");
}

// A store written by the server before the texts had a table of their own: its files, texts,
// locks, archive, accounts, mail and audit trail are all there after the move, and it works on.
TEST_F(SqliteStoreTest, AStoreOfTheEarlierLayoutIsMovedWhole) {
    store.reset();
    std::filesystem::path path = temp / "earlier.db";
    std::filesystem::copy_file(
        std::filesystem::path(PONDREL_TEST_DATA_DIR) / "server" / "StoreOfSchemaVersion2.db", path);
    std::string error;
    store = SqliteStore::Open(path.string(), error);
    ASSERT_TRUE(store) << error;
    EXPECT_EQ(store->IntegrityCheck(), "ok");
    EXPECT_EQ(store->ActiveFiles(),
              (std::vector<FileEntry>{{u"Doe_John_1950", u"Anna", u"7.3.2006", u"09:05:00"},
                                      {u"Odd_One_1990", u"", u"7.3.2006", u"09:05:00"}}));
    EXPECT_EQ(store->ArchivedFiles(), (std::vector<std::u16string>{u"Old_Case_1930"}));
    std::u16string expected;
    for (int i = 0; expected.size() < 30000; ++i) {
        expected += u"Jour " + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) +
                    u" \u00E9tat stable\u00A2";
    }
    EXPECT_EQ(store->FileText(u"Doe_John_1950"), expected);
    std::u16string odd = u"a\u00A2\uFFFF";
    odd += static_cast<char16_t>(0xD800);
    EXPECT_EQ(store->FileText(u"Odd_One_1990"), odd);
    EXPECT_EQ(store->Users(), (std::vector<std::u16string>{u"Anna", u"Bruno"}));
    ASSERT_EQ(store->UndeliveredMail(u"Carla").size(), 1u);
    EXPECT_EQ(store->UndeliveredMail(u"Carla")[0].frame, u"first\u00A7");
    ASSERT_EQ(store->WaitingNotes(u"Anna").size(), 1u);
    EXPECT_EQ(store->WaitingNotes(u"Anna")[0].frame, u"#R!#x");
    std::vector<AuditRow> rows = store->Audit(u"", "");
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].action, "upload");
    EXPECT_EQ(rows[0].size, static_cast<int64_t>(expected.size()));

    // The rules hold on the moved files, and the archived text comes back with its file.
    EXPECT_EQ(store->Upload(u"Bruno", u"Doe_John_1950", u"stale", when), StoreResult::Refused);
    EXPECT_EQ(store->Upload(u"Anna", u"Doe_John_1950", u"v2", when), StoreResult::Ok);
    EXPECT_EQ(store->FileText(u"Doe_John_1950"), u"v2");
    EXPECT_EQ(store->Activate(u"Anna", u"Old_Case_1930", when), StoreResult::Ok);
    EXPECT_EQ(store->FileText(u"Old_Case_1930"), u"archived text");
    // Opened again, nothing is moved twice.
    store.reset();
    store = SqliteStore::Open(path.string(), error);
    ASSERT_TRUE(store) << error;
    EXPECT_EQ(store->FileText(u"Doe_John_1950"), u"v2");
    EXPECT_EQ(store->ActiveFiles().size(), 3u);
    EXPECT_EQ(store->IntegrityCheck(), "ok");
}

TEST_F(SqliteStoreTest, AccountsAndWaitingMail) {
    ASSERT_TRUE(StartPasswords());
    auto hash = HashPassword(u"123456");
    ASSERT_TRUE(hash);
    EXPECT_EQ(hash->find("123456"), std::string::npos);
    EXPECT_TRUE(store->SetUser(u"Anna", *hash));
    EXPECT_TRUE(VerifyPassword(*store->PasswordHash(u"Anna"), u"123456"));
    EXPECT_FALSE(VerifyPassword(*store->PasswordHash(u"Anna"), u"123457"));
    EXPECT_EQ(store->RemoveUser(u"Bruno"), StoreResult::Refused);
    EXPECT_EQ(store->Users(), (std::vector<std::u16string>{u"Anna"}));
    EXPECT_EQ(store->RemoveUser(u"Anna"), StoreResult::Ok);
    EXPECT_FALSE(store->PasswordHash(u"Anna"));

    // A mail is kept once, sent again until acknowledged, then kept for its read receipt.
    EXPECT_EQ(store->KeepMail(u"Carla", u"Anna", u"6|120", u"first\u00A7", when), StoreResult::Ok);
    EXPECT_EQ(store->KeepMail(u"Carla", u"Anna", u"6|120", u"again", when), StoreResult::Refused);
    store->KeepMail(u"Dino", u"Anna", u"6|120", u"other", when);
    store->KeepMail(u"Carla", u"Bruno", u"3|71", u"second", when);
    Reopen();
    std::vector<QueuedMail> waiting = store->UndeliveredMail(u"Carla");
    ASSERT_EQ(waiting.size(), 2u);
    EXPECT_EQ(waiting[0].frame, u"first\u00A7");
    EXPECT_EQ(waiting[1].sender, u"Bruno");
    EXPECT_EQ(store->MarkDelivered(u"Carla", u"6|120", u"7.3.2006-10:00:00"), u"Anna");
    EXPECT_FALSE(store->MarkDelivered(u"Carla", u"6|120", u"again"));  // once
    EXPECT_EQ(store->UndeliveredMail(u"Carla").size(), 1u);
    EXPECT_FALSE(store->TakeDelivered(u"Carla", u"3|71"));  // not delivered yet
    auto read = store->TakeDelivered(u"Carla", u"6|120");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->sender, u"Anna");
    EXPECT_EQ(read->reception, u"7.3.2006-10:00:00");
    EXPECT_FALSE(store->TakeDelivered(u"Carla", u"6|120"));
    // Notes wait for their user until his program confirmed them: a report by its code, all
    // of them up to one that was sent.
    store->QueueNote(u"Anna", u"6|120", u"#C!#O\u00A66|120[7.3.2006-10:00:00]/", when);
    store->QueueNote(u"Anna", u"", u"#R!#x", when);
    store->QueueNote(u"Anna", u"", u"#R!#y", when);
    std::vector<WaitingNote> notes = store->WaitingNotes(u"Anna");
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[0].frame, u"#C!#O\u00A66|120[7.3.2006-10:00:00]/");
    EXPECT_EQ(store->WaitingNotes(u"Anna").size(), 3u);  // read twice: still there
    EXPECT_TRUE(store->ForgetReport(u"Anna", u"6|120"));
    EXPECT_TRUE(store->ForgetReport(u"Anna", u""));  // receipts have no code to confirm
    ASSERT_EQ(store->WaitingNotes(u"Anna").size(), 2u);
    EXPECT_TRUE(store->ForgetNotes(u"Anna", notes[1].id));
    ASSERT_EQ(store->WaitingNotes(u"Anna").size(), 1u);
    EXPECT_EQ(store->WaitingNotes(u"Anna")[0].frame, u"#R!#y");
    EXPECT_EQ(store->IntegrityCheck(), "ok");
}

// Two senders may pick the same code for one recipient: both mails are kept, acknowledged and
// read one after the other. The backlog comes in pieces, and counts.
TEST_F(SqliteStoreTest, MailOfTwoSendersWithOneCode) {
    EXPECT_EQ(store->KeepMail(u"Carla", u"Anna", u"3|55", u"abc", when), StoreResult::Ok);
    EXPECT_EQ(store->KeepMail(u"Carla", u"Bruno", u"3|55", u"xyz", when), StoreResult::Ok);
    EXPECT_EQ(store->KeepMail(u"Carla", u"Bruno", u"3|55", u"xyz", when), StoreResult::Refused);
    EXPECT_EQ(store->UndeliveredCount(u"Carla"), 2);
    EXPECT_TRUE(store->IsUndelivered(u"Carla", u"Bruno", u"3|55"));
    std::vector<QueuedMail> first = store->UndeliveredMail(u"Carla", 0, 1);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].sender, u"Anna");
    std::vector<QueuedMail> rest = store->UndeliveredMail(u"Carla", first[0].id, 10);
    ASSERT_EQ(rest.size(), 1u);
    EXPECT_EQ(rest[0].sender, u"Bruno");
    EXPECT_EQ(store->MarkDelivered(u"Carla", u"3|55", u"d-t"), u"Anna");
    EXPECT_EQ(store->MarkDelivered(u"Carla", u"3|55", u"d-t"), u"Bruno");
    EXPECT_EQ(store->UndeliveredCount(u"Carla"), 0);
    EXPECT_EQ(store->TakeDelivered(u"Carla", u"3|55")->sender, u"Anna");
    EXPECT_EQ(store->TakeDelivered(u"Carla", u"3|55")->sender, u"Bruno");
}

// What the audit trail adds: the lock a first upload takes, the holder a forced unlock took
// the file from, every import; the administration's changes are counted for the server.
TEST_F(SqliteStoreTest, AuditOfImportsImplicitLocksAndForcedUnlocks) {
    int64_t changes = store->AdminChanges();
    store->Upload(u"Anna", u"Doe_John_1950", u"text", when);
    store->ForceUnlock(u"Bruno", u"Doe_John_1950", when);
    EXPECT_EQ(store->ImportFile(u"Carla", u"Doe_John_1950", when), u"text");
    EXPECT_FALSE(store->ImportFile(u"Carla", u"Nobody_1950", when));
    std::vector<AuditRow> rows = store->Audit(u"", "");
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1].action, "lock");
    EXPECT_EQ(rows[1].user, u"Anna");
    EXPECT_EQ(rows[2].action, "force unlock");
    EXPECT_EQ(rows[2].detail, u"Anna");
    EXPECT_EQ(rows[3].action, "import");
    EXPECT_EQ(rows[3].size, 4);
    EXPECT_EQ(store->AdminChanges(), changes);  // the users' own changes do not count
    EXPECT_EQ(store->ActiveFileCount(), 1);
    EXPECT_EQ(store->ActiveFilesCreatedBy(u"Anna"), 1);
    EXPECT_EQ(store->ActiveFilesCreatedBy(u"Bruno"), 0);
    EXPECT_EQ(store->Delete(u"admin:root", u"Doe_John_1950", when), StoreResult::Ok);
    EXPECT_EQ(store->Audit(u"", "").back().action, "delete");
    EXPECT_TRUE(store->SetUser(u"Anna", "hash"));
    EXPECT_EQ(store->RemoveUser(u"Anna"), StoreResult::Ok);
    EXPECT_EQ(store->AdminChanges(), changes + 3);
}

// One user causes at most kMaxAuditRowsPerHour audit rows in an hour: beyond, his imports and
// changes are refused, never left out of the trail.
TEST_F(SqliteStoreTest, AuditRowsOfOneUserAreBoundedPerHour) {
    store->Upload(u"Anna", u"Doe_John_1950", u"text", when);  // two rows
    for (int64_t i = 2; i < kMaxAuditRowsPerHour; ++i) {
        ASSERT_TRUE(store->ImportFile(u"Anna", u"Doe_John_1950", when)) << i;
    }
    EXPECT_FALSE(store->ImportFile(u"Anna", u"Doe_John_1950", when));
    EXPECT_EQ(store->Unlock(u"Anna", u"Doe_John_1950", when), StoreResult::Failed);
    EXPECT_TRUE(store->ImportFile(u"Bruno", u"Doe_John_1950", when));  // another user
    Stamp later{u"7.3.2006", u"10:05:01", "2006-03-07 10:05:01"};
    EXPECT_TRUE(store->ImportFile(u"Anna", u"Doe_John_1950", later));
}

// A store of the layout before (mail keyed by recipient and code, no creators, no audit
// details): everything is there after the move and the new rules apply.
TEST_F(SqliteStoreTest, AStoreOfVersion3IsMovedWhole) {
    store.reset();
    std::filesystem::path path = temp / "version3.db";
    std::filesystem::copy_file(
        std::filesystem::path(PONDREL_TEST_DATA_DIR) / "server" / "StoreOfSchemaVersion3.db", path);
    std::string error;
    store = SqliteStore::Open(path.string(), error);
    ASSERT_TRUE(store) << error;
    EXPECT_EQ(store->IntegrityCheck(), "ok");
    EXPECT_EQ(store->ActiveFiles().size(), 2u);
    EXPECT_EQ(store->Users(), (std::vector<std::u16string>{u"Anna", u"Bruno"}));
    ASSERT_EQ(store->UndeliveredMail(u"Carla").size(), 1u);
    QueuedMail kept = store->UndeliveredMail(u"Carla")[0];
    EXPECT_EQ(kept.frame, u"first\u00A7");
    EXPECT_EQ(store->KeepMail(u"Carla", kept.sender, kept.code, u"x", when), StoreResult::Refused);
    EXPECT_EQ(store->KeepMail(u"Carla", u"Someone", kept.code, u"y", when), StoreResult::Ok);
    ASSERT_EQ(store->WaitingNotes(u"Anna").size(), 1u);
    EXPECT_EQ(store->Audit(u"", "").size(), 5u);
    EXPECT_TRUE(store->Audit(u"", "")[0].detail.empty());
    EXPECT_EQ(store->ActiveFilesCreatedBy(u"Anna"), 0);  // not known for the files of before
    EXPECT_EQ(store->Upload(u"Bruno", u"New_One_2000", u"t", when), StoreResult::Ok);
    EXPECT_EQ(store->ActiveFilesCreatedBy(u"Bruno"), 1);
    store.reset();
    store = SqliteStore::Open(path.string(), error);
    ASSERT_TRUE(store) << error;
    EXPECT_EQ(store->UndeliveredMail(u"Carla").size(), 2u);
    EXPECT_EQ(store->IntegrityCheck(), "ok");
}

}  // namespace
}  // namespace pondrel::server
