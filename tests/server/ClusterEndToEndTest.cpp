// Two real pondrel-servers on one PostgreSQL database (a private cluster started by the tests;
// skipped, saying why, where PostgreSQL is not installed), with handhelds and scripted clients
// on each: mail with its reports and receipts, chat, release requests, force-unlock notices and
// the online-user list reach the users of the other server while they are connected; a user who
// logs in at both keeps the newer connection; the users of a server that dies leave the lists.

#include <gtest/gtest.h>

#include <memory>

#include "ClientFrames.h"
#include "PostgresCluster.h"
#include "RawClient.h"
#include "ServerProcess.h"
#include "TempFolder.h"
#include "WardClient.h"
#include "platform/Text.h"
#include "sync/FileExchange.h"
#include "sync/MailBoxes.h"

namespace pondrel {
namespace {

using test::Login;
using test::UploadFrame;

using test::RawClient;
using test::WardClient;
using H = ActiveFileRow;
constexpr std::u16string_view kFile = u"Doe_John_1950.pdr";

class ClusterEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        cluster = test::PostgresCluster::Shared(why);
        if (!cluster) GTEST_SKIP() << "no PostgreSQL: " << why;
        address = cluster->NewDatabase();
        first = std::make_unique<test::ServerProcess>(PONDREL_SERVER_PATH, address,
                                                      (temp / "first.log").string());
        second = std::make_unique<test::ServerProcess>(PONDREL_SERVER_PATH, address,
                                                       (temp / "second.log").string());
        ASSERT_TRUE(first->AddUser("Anna", "111111"));
        ASSERT_TRUE(first->AddUser("Bruno", "222222"));
        ASSERT_TRUE(first->AddUser("Carla", "333333"));
        // A short keep-alive: a dead server's users leave the lists within it.
        const std::vector<std::string> options = {"--keep-alive", "4"};
        ASSERT_TRUE(first->Start(0, options)) << first->Log();
        ASSERT_TRUE(second->Start(0, options)) << second->Log();
    }
    WardClient& Client(std::u16string user, std::u16string password, test::ServerProcess& at) {
        clients.push_back(
            std::make_unique<WardClient>(waker, std::move(user), std::move(password), at.Port()));
        return *clients.back();
    }
    bool Pump(const std::function<bool()>& done, int ms = 15'000) {
        std::vector<WardClient*> all;
        for (auto& client : clients) all.push_back(client.get());
        return test::PumpAll(waker, all, done, ms);
    }
    bool Online(WardClient& client) {
        client.connection.Connect();
        return Pump([&] { return client.connection.Online(); });
    }
    static bool Lists(const WardClient& client, std::u16string_view user) {
        for (const std::u16string& name : client.connection.OnlineUsers()) {
            if (name == user) return true;
        }
        return false;
    }
    std::string Logs() const { return "first:\n" + first->Log() + "second:\n" + second->Log(); }

    test::TempFolder temp{"pondrel-cluster"};
    test::PostgresCluster* cluster = nullptr;
    std::string address;
    std::unique_ptr<test::ServerProcess> first;
    std::unique_ptr<test::ServerProcess> second;
    test::Waker waker;
    std::vector<std::unique_ptr<WardClient>> clients;
};

// Anna on one server and Bruno on the other see each other online, mail each other while both
// are connected (the mail, its delivery report and its read receipt each arrive at once, not at
// the next log-in), and chat.
TEST_F(ClusterEndToEndTest, MailReportsReceiptsAndChatReachTheOtherServer) {
    WardClient& anna = Client(u"Anna", u"111111", *first);
    WardClient& bruno = Client(u"Bruno", u"222222", *second);
    ASSERT_TRUE(Online(anna));
    ASSERT_TRUE(Online(bruno));
    ASSERT_TRUE(Pump([&] { return Lists(anna, u"Bruno") && Lists(bruno, u"Anna"); })) << Logs();
    EXPECT_TRUE(anna.session.Friends().IsOnline(u"Bruno"));
    EXPECT_TRUE(anna.HasNotice(u"New network friend added: Bruno"));

    anna.CheckFriend(u"Bruno");
    ASSERT_TRUE(anna.session.Mail().SendMail(u"Bed 4 needs a look\r\nbefore noon"));
    ASSERT_TRUE(Pump([&] { return !bruno.session.Mail().Rows(MailBox::Inbox).empty(); })) << Logs();
    const MailRow& got = bruno.session.Mail().Rows(MailBox::Inbox)[0];
    EXPECT_EQ(got.columns[MailRow::kPeer], u"Anna");
    EXPECT_EQ(got.columns[MailRow::kMessage], u"Bed 4 needs a look\r\nbefore noon");
    ASSERT_TRUE(Pump([&] {
        const auto& sent = anna.session.Mail().Rows(MailBox::SentItems);
        return !sent.empty() && sent[0].columns[MailRow::kState] == u"Recipient get the mail";
    })) << Logs();
    ASSERT_TRUE(bruno.session.Mail().Open(MailBox::Inbox, 0));
    ASSERT_TRUE(Pump([&] {
        return anna.session.Mail().Rows(MailBox::SentItems)[0].columns[MailRow::kState] ==
               u"Message read by the recipient";
    })) << Logs();

    // And back: Bruno answers; both stay connected throughout.
    bruno.CheckFriend(u"Anna");
    ASSERT_TRUE(bruno.session.Mail().SendMail(u"On my way"));
    ASSERT_TRUE(Pump([&] { return !anna.session.Mail().Rows(MailBox::Inbox).empty(); })) << Logs();
    EXPECT_EQ(anna.session.Mail().Rows(MailBox::Inbox)[0].columns[MailRow::kMessage], u"On my way");

    ASSERT_TRUE(anna.session.Mail().SendChat(u"Ward round at ten"));
    ASSERT_TRUE(Pump([&] {
        return bruno.session.Mail().ChatText().find(u"<Anna> : Ward round at ten") !=
               std::u16string::npos;
    })) << Logs();
    ASSERT_TRUE(bruno.session.Mail().SendChat(u"Fine"));
    ASSERT_TRUE(Pump([&] {
        return anna.session.Mail().ChatText().find(u"<Bruno> : Fine") != std::u16string::npos;
    })) << Logs();
    EXPECT_TRUE(anna.connection.Online());
    EXPECT_TRUE(bruno.connection.Online());
}

// Anna holds a file through one server; Bruno, on the other, sees her online as its holder and
// asks for it: her program gets the release request, sends her work and lets the file go.
TEST_F(ClusterEndToEndTest, AReleaseRequestReachesTheHolderOnTheOtherServer) {
    WardClient& anna = Client(u"Anna", u"111111", *first);
    WardClient& bruno = Client(u"Bruno", u"222222", *second);
    anna.AddPatient(u"Doe", u"John", u"1950", u"v1 by Anna");
    ASSERT_TRUE(Online(anna));
    ASSERT_TRUE(Online(bruno));
    anna.session.Files().SynchOne(anna.HandheldRow(kFile));
    ASSERT_TRUE(Pump([&] {
        const ActiveFileRow* row = anna.Row(kFile);
        return row && !anna.session.Files().OperationUnderWay() &&
               row->columns[H::kCurrentUser] == u"Anna";
    })) << Logs();

    ASSERT_TRUE(Pump([&] { return !bruno.session.Files().Server().empty(); })) << Logs();
    bruno.session.Files().ImportAll();
    ASSERT_TRUE(Pump([&] {
        const ActiveFileRow* row = bruno.Row(kFile);
        return row && !bruno.session.Files().OperationUnderWay() && row->icon == kIconHeldOnline;
    })) << Logs();

    anna.Open(kFile)->SetField(WardClient::kStatusField, u"v2 by Anna");
    bruno.session.Files().UnlockButton(bruno.HandheldRow(kFile));
    EXPECT_TRUE(bruno.HasNotice(u"Retriving file from Anna"));
    ASSERT_TRUE(Pump([&] {
        return anna.HasNotice(u"The file Doe John 1950 has been unlocked by another user");
    })) << Logs();
    ASSERT_TRUE(Pump([&] {
        const ActiveFileRow* row = bruno.Row(kFile);
        return row && !bruno.session.Files().OperationUnderWay() &&
               row->columns[H::kCurrentUser].empty();
    })) << Logs();
    bruno.session.Files().SynchOne(bruno.HandheldRow(kFile));
    ASSERT_TRUE(Pump([&] {
        PatientRecord* record = bruno.Open(kFile);
        return record && record->Field(WardClient::kStatusField) == u"v2 by Anna";
    })) << Logs();
}

// A forced unlock through one server tells the holder connected to the other.
TEST_F(ClusterEndToEndTest, AForcedUnlockIsToldToTheHolderOnTheOtherServer) {
    RawClient anna(first->Port());
    RawClient bruno(second->Port());
    ASSERT_TRUE(anna.Send(Login(u"Anna", u"111111") + UploadFrame(kFile, u"v1", 1)));
    ASSERT_TRUE(anna.WaitFor(u"#D!#O\u00A68|1/")) << Logs();
    ASSERT_TRUE(bruno.Send(Login(u"Bruno", u"222222")));
    ASSERT_TRUE(bruno.WaitFor(u"#S!#Anna|Bruno|#F|", 15'000)) << Logs();
    ASSERT_TRUE(bruno.Send(u"#F!#Doe_John_1950#F|"));
    EXPECT_TRUE(anna.WaitFor(u"#J!#Your lock of Doe_John_1950 was taken off by Bruno", 15'000))
        << Logs();
    // Nothing of it reaches a third user.
    EXPECT_EQ(bruno.text.find(u"Your lock of"), std::u16string::npos);
}

// The same user logs in at the second server: the first connection is told to leave, the new one
// stays, and the others see him once.
TEST_F(ClusterEndToEndTest, ALogInAtAnotherServerReplacesTheEarlierOne) {
    RawClient carla(first->Port());
    ASSERT_TRUE(carla.Send(Login(u"Carla", u"333333")));
    ASSERT_TRUE(carla.WaitFor(u"#S!#Carla|#F|")) << Logs();
    RawClient annaHere(first->Port());
    ASSERT_TRUE(annaHere.Send(Login(u"Anna", u"111111")));
    ASSERT_TRUE(annaHere.WaitFor(u"#S!#Anna|Carla|#F|")) << Logs();

    RawClient annaThere(second->Port());
    ASSERT_TRUE(annaThere.Send(Login(u"Anna", u"111111")));
    ASSERT_TRUE(annaThere.WaitFor(u"#S!#")) << Logs();
    EXPECT_TRUE(annaHere.WaitFor(u"#L!##F|", 15'000)) << Logs();
    EXPECT_TRUE(annaHere.WaitClosed(5000));
    // The new connection is the one that stays, and works.
    ASSERT_TRUE(annaThere.Send(u"#W!##F|"));
    EXPECT_TRUE(annaThere.WaitFor(u"#N!#")) << Logs();
    EXPECT_EQ(annaThere.text.find(u"#L!#"), std::u16string::npos);
    // A new user's list names Anna (online at the other server) once.
    RawClient bruno(first->Port());
    ASSERT_TRUE(bruno.Send(Login(u"Bruno", u"222222")));
    EXPECT_TRUE(bruno.WaitFor(u"#S!#Anna|Bruno|Carla|#F|", 15'000)) << Logs();
}

// One server dies: its users leave the online list of the other within the keep-alive time
// (waited for generously here), and come back when they log in again through the live one.
TEST_F(ClusterEndToEndTest, TheUsersOfADeadServerLeaveTheList) {
    RawClient anna(first->Port());
    RawClient bruno(second->Port());
    ASSERT_TRUE(anna.Send(Login(u"Anna", u"111111")));
    ASSERT_TRUE(anna.WaitFor(u"#S!#")) << Logs();
    ASSERT_TRUE(bruno.Send(Login(u"Bruno", u"222222")));
    ASSERT_TRUE(bruno.WaitFor(u"#S!#Anna|Bruno|#F|", 15'000)) << Logs();
    bruno.text.clear();
    first->Kill();
    EXPECT_TRUE(bruno.WaitFor(u"#S!#Bruno|#F|", 30'000)) << Logs();
    EXPECT_NE(second->Log().find("is silent; its users are offline"), std::string::npos) << Logs();

    bruno.text.clear();
    RawClient annaAgain(second->Port());
    ASSERT_TRUE(annaAgain.Send(Login(u"Anna", u"111111")));
    EXPECT_TRUE(bruno.WaitFor(u"#S!#Anna|Bruno|#F|", 15'000)) << Logs();
}

// A server that stops cleanly takes its users off the list at once; a chat flood from one user
// crosses only up to its budget, and the other server's users stay connected.
// A ward comes back at once on one server (its log-ins are told to the others together): every
// user shows in the list of the other server, and leaves it again when the ward goes.
TEST_F(ClusterEndToEndTest, AWardLoggingInAtOnceShowsWholeAtTheOtherServer) {
    constexpr int kWard = 24;
    std::vector<WardClient*> ward;
    for (int i = 0; i < kWard; ++i) {
        std::string name = "Nurse" + std::to_string(i);
        ASSERT_TRUE(first->AddUser(name, "444444"));
        ward.push_back(&Client(FromUtf8(name), u"444444", *second));
    }
    WardClient& anna = Client(u"Anna", u"111111", *first);
    ASSERT_TRUE(Online(anna));
    for (WardClient* nurse : ward) nurse->connection.Connect();
    auto allListed = [&](bool listed) {
        for (int i = 0; i < kWard; ++i) {
            if (Lists(anna, u"Nurse" + ToText(i)) != listed) return false;
        }
        return true;
    };
    ASSERT_TRUE(Pump([&] { return allListed(true); }, 30'000)) << Logs();
    for (WardClient* nurse : ward) nurse->connection.CloseByUser();
    EXPECT_TRUE(Pump([&] { return allListed(false); })) << Logs();
    EXPECT_TRUE(Lists(anna, u"Anna"));
}

TEST_F(ClusterEndToEndTest, AFloodOfChatDoesNotFloodTheOtherServer) {
    RawClient anna(first->Port());
    RawClient bruno(second->Port());
    ASSERT_TRUE(anna.Send(Login(u"Anna", u"111111")));
    ASSERT_TRUE(bruno.Send(Login(u"Bruno", u"222222")));
    ASSERT_TRUE(bruno.WaitFor(u"#S!#Anna|Bruno|#F|", 15'000)) << Logs();
    ASSERT_TRUE(anna.WaitFor(u"#S!#Anna|Bruno|#F|", 15'000)) << Logs();
    bruno.text.clear();
    // A line far longer than a chat line is cut as on one server.
    ASSERT_TRUE(anna.Send(u"#A!#<Anna> : " + std::u16string(5000, u'x') + u"#F|"));
    ASSERT_TRUE(bruno.WaitFor(u"#A!#<Anna> : " + std::u16string(2000, u'x') + u"#F|")) << Logs();
    std::u16string flood;
    for (int i = 0; i < 400; ++i) flood += u"#A!#<Anna> : line " + ToText(i) + u"#F|";
    ASSERT_TRUE(anna.Send(flood));
    ASSERT_TRUE(anna.Send(u"#W!##F|"));
    ASSERT_TRUE(anna.WaitFor(u"#N!#")) << Logs();  // the whole flood was handled
    ASSERT_TRUE(bruno.WaitFor(u"line 0#F|")) << Logs();
    bruno.WaitFor(u"never", 1500);
    EXPECT_LT(bruno.Count(u"#A!#<Anna> : line "), 400u);
    EXPECT_NE(first->Log().find("not passed to the other servers"), std::string::npos) << Logs();
    ASSERT_TRUE(bruno.Send(u"#W!##F|"));
    EXPECT_TRUE(bruno.WaitFor(u"#N!#")) << Logs();

    bruno.text.clear();
    ASSERT_TRUE(first->Stop());
    EXPECT_TRUE(bruno.WaitFor(u"#S!#Bruno|#F|", 5000)) << Logs();
}

// The database restarts under both servers (as after a crash, which also empties the table of
// sessions): both find it again by themselves, chat crosses again, and the online list of a user
// who logs in afterwards names the users of both; a second log-in still replaces the first.
TEST_F(ClusterEndToEndTest, TheServersFindEachOtherAgainAfterTheDatabaseRestarts) {
    RawClient anna(first->Port());
    RawClient bruno(second->Port());
    ASSERT_TRUE(anna.Send(Login(u"Anna", u"111111")));
    ASSERT_TRUE(bruno.Send(Login(u"Bruno", u"222222")));
    ASSERT_TRUE(anna.WaitFor(u"#S!#Anna|Bruno|#F|", 15'000)) << Logs();
    ASSERT_TRUE(cluster->Stop());
    ASSERT_TRUE(cluster->Start());
    bool crossed = false;
    for (int i = 0; i < 30 && !crossed; ++i) {
        ASSERT_TRUE(anna.Send(u"#A!#<Anna> : are you there " + ToText(i) + u"#F|"));
        crossed = bruno.WaitFor(u"are you there", 1000);
    }
    EXPECT_TRUE(crossed) << Logs();
    EXPECT_FALSE(anna.Closed());
    EXPECT_FALSE(bruno.Closed());
    RawClient carla(second->Port());
    ASSERT_TRUE(carla.Send(Login(u"Carla", u"333333")));
    EXPECT_TRUE(carla.WaitFor(u"#S!#Anna|Bruno|Carla|#F|", 15'000)) << Logs();
    // And a second log-in still replaces the first across the servers.
    RawClient annaThere(second->Port());
    ASSERT_TRUE(annaThere.Send(Login(u"Anna", u"111111")));
    EXPECT_TRUE(anna.WaitFor(u"#L!##F|", 15'000)) << Logs();
    EXPECT_TRUE(anna.WaitClosed(5000));
    EXPECT_FALSE(annaThere.Closed());
}

}  // namespace
}  // namespace pondrel
