// Two and three handhelds of a ward (the program's record and synchronisation code, no Qt)
// against a real pondrel-server: locks, release requests, imports, a refused stale upload, mail
// to a user who is offline with its reports, chat.

#include <gtest/gtest.h>

#include <memory>

#include "ServerProcess.h"
#include "TempFolder.h"
#include "WardClient.h"
#include "server/ServerCommands.h"
#include "server/SqliteStore.h"
#include "sync/FileExchange.h"
#include "sync/MailBoxes.h"

namespace pondrel {
namespace {

using test::WardClient;
using H = ActiveFileRow;
constexpr std::u16string_view kFile = u"Doe_John_1950.pdr";

class WardEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.AddUser("Anna", "111111"));
        ASSERT_TRUE(server.AddUser("Bruno", "222222"));
        ASSERT_TRUE(server.AddUser("Carla", "333333"));
        ASSERT_TRUE(server.Start()) << server.Log();
    }
    WardClient& Client(std::u16string user, std::u16string password) {
        clients.push_back(std::make_unique<WardClient>(waker, std::move(user), std::move(password),
                                                       server.Port()));
        return *clients.back();
    }
    bool Pump(const std::function<bool()>& done, int ms = 10'000) {
        std::vector<WardClient*> all;
        for (auto& client : clients) all.push_back(client.get());
        return test::PumpAll(waker, all, done, ms);
    }
    bool Online(WardClient& client) {
        client.connection.Connect();
        return Pump([&] { return client.connection.Online(); });
    }
    // The row of the file in the client's handheld list shows this holder and state, once no
    // operation is under way.
    bool Shows(WardClient& client, std::u16string_view holder, std::u16string_view state) {
        return Pump([&] {
            const ActiveFileRow* row = client.Row(kFile);
            return row && !client.session.Files().OperationUnderWay() &&
                   row->columns[H::kCurrentUser] == holder && row->columns[H::kState] == state;
        });
    }
    std::u16string Status(WardClient& client) {
        PatientRecord* record = client.Open(kFile);
        return record ? record->Field(WardClient::kStatusField) : u"<not open>";
    }
    static std::string Trace(WardClient& client) {
        std::string text;
        for (const auto& n : client.messages.notices) text += "notice: " + ToUtf8(n.text) + "\n";
        for (const auto& b : client.messages.boxes) text += "box: " + ToUtf8(b.text) + "\n";
        for (const auto& r : client.session.Files().Server()) {
            text += "server row: " + ToUtf8(r.columns[1]) + " " + ToUtf8(r.columns[2]) + " " +
                    ToUtf8(r.imported) + "\n";
        }
        text += "patients: " + std::to_string(client.patients.Count()) + "\n";
        return text;
    }
    std::optional<std::u16string> StoredText() {
        std::string path;
        std::string error;
        server::PrepareDataFolder(data, path);
        auto store = server::SqliteStore::Open(path, error);
        return store ? store->FileText(u"Doe_John_1950") : std::nullopt;
    }

    test::TempFolder temp{"pondrel-ward"};
    std::string data = (temp / "data").string();
    test::ServerProcess server{PONDREL_SERVER_PATH, data};
    test::Waker waker;
    std::vector<std::unique_ptr<WardClient>> clients;
};

TEST_F(WardEndToEndTest, LockEditReleaseAndImport) {
    WardClient& anna = Client(u"Anna", u"111111");
    WardClient& bruno = Client(u"Bruno", u"222222");
    anna.AddPatient(u"Doe", u"John", u"1950", u"v1 by Anna");
    ASSERT_TRUE(Online(anna));
    ASSERT_TRUE(Online(bruno));

    // Anna sends the file the server does not know: it stays hers.
    anna.session.Files().SynchOne(anna.HandheldRow(kFile));
    ASSERT_TRUE(Shows(anna, u"Anna", u"Locked"));
    EXPECT_EQ(anna.Open(kFile)->lockState, u"W");

    // Bruno imports it: Anna holds it, his copy is read only.
    ASSERT_TRUE(Pump([&] { return !bruno.session.Files().Server().empty(); }));
    bruno.session.Files().ImportAll();
    ASSERT_TRUE(Pump([&] { return bruno.Open(kFile) != nullptr; })) << Trace(bruno);
    EXPECT_EQ(Status(bruno), u"v1 by Anna");
    ASSERT_TRUE(Shows(bruno, u"Anna", u"Locked"));
    EXPECT_EQ(bruno.Open(kFile)->lockState, u"R");
    EXPECT_EQ(bruno.Row(kFile)->icon, kIconHeldOnline);

    // Anna edits; Bruno asks for the file; Anna's program sends her work and lets it go.
    anna.Open(kFile)->SetField(WardClient::kStatusField, u"v2 by Anna");
    bruno.session.Files().UnlockButton(bruno.HandheldRow(kFile));
    EXPECT_TRUE(bruno.HasNotice(u"Retriving file from Anna"));
    ASSERT_TRUE(Pump([&] {
        return anna.HasNotice(u"The file Doe John 1950 has been unlocked by another user");
    }));
    ASSERT_TRUE(Shows(bruno, u"", u"Unlocked"));

    // Bruno synchronises: the free file comes from the server, with Anna's text.
    bruno.session.Files().SynchOne(bruno.HandheldRow(kFile));
    ASSERT_TRUE(Pump([&] { return Status(bruno) == u"v2 by Anna"; }));
    EXPECT_EQ(StoredText()->find(u"v2 by Anna") != std::u16string::npos, true);
    // And he may lock it now: imported first, locked once stored.
    bruno.session.Files().LockButton(bruno.HandheldRow(kFile));
    ASSERT_TRUE(Shows(bruno, u"Bruno", u"Locked"));
    EXPECT_EQ(bruno.Open(kFile)->lockState, u"W");
    ASSERT_TRUE(Shows(anna, u"Bruno", u"Locked"));
    EXPECT_EQ(anna.Open(kFile)->lockState, u"R");
}

TEST_F(WardEndToEndTest, AStaleUploadIsRefusedAndTheLocalTextKept) {
    WardClient& anna = Client(u"Anna", u"111111");
    WardClient& bruno = Client(u"Bruno", u"222222");
    anna.AddPatient(u"Doe", u"John", u"1950", u"v1 by Anna");
    ASSERT_TRUE(Online(anna));
    ASSERT_TRUE(Online(bruno));
    anna.session.Files().SynchOne(anna.HandheldRow(kFile));
    ASSERT_TRUE(Shows(anna, u"Anna", u"Locked"));
    anna.session.Files().UnlockButton(anna.HandheldRow(kFile));  // sent, then unlocked
    ASSERT_TRUE(Shows(anna, u"", u"Unlocked"));

    // Bruno takes the lock, works, and goes offline.
    ASSERT_TRUE(Pump([&] { return !bruno.session.Files().Server().empty(); }));
    bruno.session.Files().ImportAll();
    ASSERT_TRUE(Pump([&] { return bruno.Open(kFile) && bruno.HandheldRow(kFile) >= 0; }));
    ASSERT_TRUE(Shows(bruno, u"", u"Unlocked")) << Trace(bruno);
    bruno.session.Files().LockButton(bruno.HandheldRow(kFile));
    ASSERT_TRUE(Shows(bruno, u"Bruno", u"Locked")) << Trace(bruno) << server.Log();
    bruno.Open(kFile)->SetField(WardClient::kStatusField, u"Bruno's work");
    bruno.connection.CloseByUser();

    // Anna forces the lock off, takes it and sends a newer text.
    ASSERT_TRUE(Pump([&] { return anna.Row(kFile) && anna.Row(kFile)->icon == kIconHeldOffline; }));
    anna.messages.Queue(BoxAnswer::Ok);
    anna.session.Files().UnlockButton(anna.HandheldRow(kFile));
    EXPECT_EQ(anna.messages.boxes.back().caption, u"Force unlock ?");
    ASSERT_TRUE(Shows(anna, u"", u"Unlocked"));
    anna.session.Files().LockButton(anna.HandheldRow(kFile));
    ASSERT_TRUE(Shows(anna, u"Anna", u"Locked"));
    anna.Open(kFile)->SetField(WardClient::kStatusField, u"v3 by Anna");
    anna.session.Files().SynchOne(anna.HandheldRow(kFile));
    ASSERT_TRUE(Pump([&] { return anna.Row(kFile)->columns[H::kInfo] == u"Ok"; }));

    // Bruno comes back believing he holds the file: his upload is refused, his text stays.
    ASSERT_TRUE(Online(bruno));
    ASSERT_EQ(bruno.Row(kFile)->columns[H::kCurrentUser], u"Bruno");
    bruno.session.Files().SynchOne(bruno.HandheldRow(kFile));
    ASSERT_TRUE(Pump([&] { return bruno.HasNotice(u"Synchronization forbidden"); }));
    EXPECT_EQ(Status(bruno), u"Bruno's work");
    auto local = bruno.patientFiles.ReadFileText(kFile);
    ASSERT_TRUE(local);
    EXPECT_NE(local->find(u"Bruno's work"), std::u16string::npos);
    auto stored = StoredText();
    ASSERT_TRUE(stored);
    EXPECT_NE(stored->find(u"v3 by Anna"), std::u16string::npos);
    EXPECT_EQ(stored->find(u"Bruno's work"), std::u16string::npos);
}

TEST_F(WardEndToEndTest, MailToAnOfflineUserWithItsReportsAndChat) {
    WardClient& anna = Client(u"Anna", u"111111");
    WardClient& bruno = Client(u"Bruno", u"222222");
    anna.prefs.friends = u"Carla|";
    anna.session.ApplyPreferences();
    ASSERT_TRUE(Online(anna));
    anna.CheckFriend(u"Carla");
    ASSERT_TRUE(anna.session.Mail().SendMail(u"Lunch at noon?\r\nIn the cafeteria"));
    ASSERT_TRUE(Pump([&] {
        const auto& outbox = anna.session.Mail().Rows(MailBox::Outbox);
        return !outbox.empty() &&
               outbox[0].columns[MailRow::kState] == u"Server is waiting client connection";
    }));

    // Carla logs in: the mail comes, Anna is told it was delivered, then read.
    WardClient& carla = Client(u"Carla", u"333333");
    ASSERT_TRUE(Online(carla));
    ASSERT_TRUE(Pump([&] { return !carla.session.Mail().Rows(MailBox::Inbox).empty(); }));
    const MailRow& got = carla.session.Mail().Rows(MailBox::Inbox)[0];
    EXPECT_EQ(got.columns[MailRow::kPeer], u"Anna");
    EXPECT_EQ(got.columns[MailRow::kMessage], u"Lunch at noon?\r\nIn the cafeteria");
    EXPECT_EQ(got.columns[MailRow::kState], u"Closed mail");
    EXPECT_TRUE(carla.session.Mail().Unread());
    ASSERT_TRUE(Pump([&] {
        const auto& sent = anna.session.Mail().Rows(MailBox::SentItems);
        return !sent.empty() && sent[0].columns[MailRow::kState] == u"Recipient get the mail";
    }));
    EXPECT_TRUE(anna.session.Mail().Rows(MailBox::Outbox).empty());
    ASSERT_TRUE(carla.session.Mail().Open(MailBox::Inbox, 0));
    ASSERT_TRUE(Pump([&] {
        const auto& sent = anna.session.Mail().Rows(MailBox::SentItems);
        return sent[0].columns[MailRow::kState] == u"Message read by the recipient";
    }));
    EXPECT_FALSE(
        anna.session.Mail().Rows(MailBox::SentItems)[0].columns[MailRow::kDateRead].empty());

    // Chat between Anna and Bruno.
    ASSERT_TRUE(Online(bruno));
    ASSERT_TRUE(anna.session.Mail().SendChat(u"Ward round at ten"));
    ASSERT_TRUE(Pump([&] {
        return bruno.session.Mail().ChatText().find(u"<Anna> : Ward round at ten") !=
               std::u16string::npos;
    }));
    EXPECT_TRUE(bruno.HasNotice(u"Someone in chat room\r\n(Click here)"));
}

}  // namespace
}  // namespace pondrel
