// The pieces of several instances on one store, without a network: the messages between
// instances and their bounds, the budget of one user, the protocol's use of the bus (what goes
// across, what waits, who is replaced), and log-ins while the database is out of reach.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <utility>

#include "PostgresCluster.h"
#include "RecordingLink.h"
#include "TempFolder.h"
#include "platform/Text.h"
#include "server/ClientLink.h"
#include "server/BusBudget.h"
#include "server/BusMessage.h"
#include "server/InstanceBus.h"
#include "server/PostgresStore.h"
#include "server/ServerLog.h"
#include "server/ServerOptions.h"
#include "server/ServerProtocol.h"
#include "server/SqliteStore.h"

namespace pondrel::server {
namespace {

using Kind = BusMessage::Kind;

TEST(BusMessageTest, EveryKindPassesWhole) {
    BusMessage frame{Kind::Frame, "a1b2"};
    frame.target = "c3d4";
    frame.user = u"Anna M\u00FCller";
    frame.code = u"12|345";
    // Separators of the wire, a space, a lone surrogate: every unit passes.
    frame.frame = u"text \u00A7 \u00A2\u00A6#| end";
    frame.frame += static_cast<char16_t>(0xD800);
    frame.keep = true;
    BusMessage login{Kind::LoggedIn, "a1b2"};
    login.user = u"Bruno";
    login.login = 18'446'744'073'709'551'615ull;
    BusMessage out{Kind::LoggedOut, "a1b2"};
    out.user = u"Bruno";
    BusMessage chat{Kind::Chat, "a1b2"};
    chat.frame = u"#A!#\r\n<Anna> : hello";
    for (const BusMessage& message : {frame, login, out, chat, BusMessage{Kind::Presence, "e5"}}) {
        std::optional<std::string> payload = message.Encode();
        ASSERT_TRUE(payload);
        std::optional<BusMessage> back = BusMessage::Decode(*payload);
        ASSERT_TRUE(back) << *payload;
        EXPECT_EQ(back->kind, message.kind);
        EXPECT_EQ(back->instance, message.instance);
        EXPECT_EQ(back->target, message.target);
        EXPECT_EQ(back->user, message.user);
        EXPECT_EQ(back->code, message.code);
        EXPECT_EQ(back->frame, message.frame);
        EXPECT_EQ(back->keep, message.keep);
        EXPECT_EQ(back->login, message.login);
    }
}

TEST(BusMessageTest, LongFramesAndForeignPayloadsAreRefused) {
    BusMessage chat{Kind::Chat, "a1"};
    // The longest frame of all characters at three bytes in UTF-8 still fits a notification.
    chat.frame = std::u16string(kMaxBusFrameChars, u'\uFFFF');
    std::optional<std::string> payload = chat.Encode();
    ASSERT_TRUE(payload);
    EXPECT_LT(payload->size(), 8000u);
    chat.frame += u'x';
    EXPECT_FALSE(chat.Encode());
    BusMessage bad{Kind::Presence, "Not An Id"};
    EXPECT_FALSE(bad.Encode());

    for (const char* foreign :
         {"", "P", "P a1 extra", "X a1", "T a1 b2 QQ== AA== AA== 2", "T a1 b2 QQ== AA== AA==",
          "C a1 !!!!", "C a1 QQ==",  // one byte: not a whole unit
          "I a1 QQA= -1", "I a1 QQA= 99999999999999999999", "O a1 ", "I A1 QQA= 1"}) {
        EXPECT_FALSE(BusMessage::Decode(foreign)) << foreign;
    }
    // A frame longer than the bound is refused on reading too.
    std::string huge = "C a1 " + std::string(8100, 'A');
    EXPECT_FALSE(BusMessage::Decode(huge));
    std::string longName = "O a1 " + std::string(4 * 140, 'A');  // 210 units
    EXPECT_FALSE(BusMessage::Decode(longName));
}

TEST(BusBudgetTest, ABurstThenTheRateForEachUserApart) {
    BusBudget budget;
    int passed = 0;
    for (int i = 0; i < 200; ++i) passed += budget.Take(u"Anna", 100.0);
    EXPECT_EQ(passed, static_cast<int>(BusBudget::kBurst));
    EXPECT_TRUE(budget.Take(u"Bruno", 100.0));  // one user's flood costs the others nothing
    EXPECT_FALSE(budget.Take(u"Anna", 100.01));
    passed = 0;
    for (int i = 0; i < 100; ++i) passed += budget.Take(u"Anna", 101.0);
    EXPECT_EQ(passed, static_cast<int>(BusBudget::kPerSecond));
    // A clock that goes back gives nothing.
    EXPECT_FALSE(budget.Take(u"Anna", 50.0));
    // Many users: the buckets stay bounded and a new one starts full.
    for (size_t i = 0; i < BusBudget::kMaxUsers + 10; ++i) {
        budget.Take(u"u" + ToText(static_cast<long long>(i)), 200.0);
    }
    EXPECT_TRUE(budget.Take(u"Newcomer", 200.0));
}

// --- The protocol with a bus of its own making --------------------------------------------------

using test::AcceptAll;

// Every link of these tests comes from one address.
struct RecordingLink : test::RecordingLink {
    explicit RecordingLink(uint64_t id) : test::RecordingLink(id, "10.0.0.9") {}
};

class FakeBus final : public InstanceBus {
public:
    struct Sent {
        std::u16string from, user, code, frame;
        bool keep;
    };
    void LoggedIn(const std::u16string& user) override { events.push_back(u"in " + user); }
    void LoggedOut(const std::u16string& user) override { events.push_back(u"out " + user); }
    std::vector<std::u16string> UsersElsewhere() override { return {elsewhere.begin(), elsewhere.end()}; }
    bool OnlineElsewhere(const std::u16string& user) override { return elsewhere.count(user) > 0; }
    bool SendTo(const std::u16string& from, const std::u16string& user, const std::u16string& code,
                const std::u16string& frame, bool keep) override {
        if (!passes || !OnlineElsewhere(user)) return false;
        sent.push_back({from, user, code, frame, keep});
        return true;
    }
    void Chat(const std::u16string& from, const std::u16string& frame) override {
        chats.push_back(from + u" " + frame);
    }
    Listener& Protocol() { return *m_listener; }

    std::set<std::u16string> elsewhere;
    bool passes = true;
    std::vector<Sent> sent;
    std::vector<std::u16string> chats;
    std::vector<std::u16string> events;
};

std::u16string Mail(std::u16string_view text, std::u16string_view code,
                    std::u16string_view recipient) {
    return std::u16string(text) + u"\u00A77.3.2006-10:00:00\u00A6" + std::u16string(code) +
           u"\u00A2" + std::u16string(recipient) + u"\u00A2";
}

class ClusterProtocolTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        store = SqliteStore::Open((temp / "store.db").string(), error);
        ASSERT_TRUE(store) << error;
        for (const char16_t* user : {u"Anna", u"Bruno", u"Carla"}) store->SetUser(user, "hash");
        protocol = std::make_unique<ServerProtocol>(*store, log, options, passwords);
        protocol->SetBus(bus);
        bus.elsewhere = {u"Bruno"};
        protocol->OnOpened(anna);
        protocol->OnFrame(anna, u"#I!#h|Anna|x|");
        ASSERT_EQ(anna.state, ClientLink::State::Online);
    }
    void TearDown() override {
        if (anna.state != ClientLink::State::Closed) protocol->OnClosed(anna, "end");
    }

    test::TempFolder temp{"pondrel-cluster-unit"};
    std::FILE* sink = std::fopen("/dev/null", "w");
    ServerLog log{sink};
    ServerOptions options;
    AcceptAll passwords;
    FakeBus bus;
    std::unique_ptr<SqliteStore> store;
    std::unique_ptr<ServerProtocol> protocol;
    RecordingLink anna{1};
};

TEST_F(ClusterProtocolTest, MailAndNoticesForAUserElsewhereGoThroughTheBus) {
    // The online list names the users of every instance, once and sorted.
    EXPECT_TRUE(anna.Got(u"#S!#Anna|Bruno|"));
    EXPECT_EQ(bus.events, std::vector<std::u16string>{u"in Anna"});

    protocol->OnFrame(anna, Mail(u"hello", u"5|77", u"Bruno"));
    ASSERT_EQ(bus.sent.size(), 1u);
    EXPECT_EQ(bus.sent[0].from, u"Anna");
    EXPECT_EQ(bus.sent[0].user, u"Bruno");
    EXPECT_FALSE(bus.sent[0].keep);  // a mail waits in the store anyway
    EXPECT_EQ(bus.sent[0].frame, Mail(u"hello", u"5|77", u"Anna"));
    EXPECT_FALSE(anna.Got(u"#C!#S"));  // passed on: no "held by the server" report

    // A bus that cannot pass it (too much sent lately): the sender is told the server keeps it.
    bus.passes = false;
    protocol->OnFrame(anna, Mail(u"again", u"5|78", u"Bruno"));
    EXPECT_TRUE(anna.Got(u"#C!#S\u00A65|78[7.3.2006-10:00:00]/"));
    bus.passes = true;

    // Release request and wake for the holder elsewhere.
    ASSERT_EQ(store->Upload(u"Bruno", u"Doe_John_1950", u"text", ServerProtocol::Now()),
              StoreResult::Ok);
    protocol->OnFrame(anna, u"#U!#Bruno\u00A2Doe_John_1950");
    protocol->OnFrame(anna, u"#Z!#1a\u00A2Bruno");
    ASSERT_EQ(bus.sent.size(), 3u);
    EXPECT_EQ(bus.sent[1].frame, u"#V!#Doe_John_1950");
    EXPECT_EQ(bus.sent[2].frame, u"#Z!#1a");
    // Not held by Bruno: no release request at all.
    protocol->OnFrame(anna, u"#U!#Carla\u00A2Doe_John_1950");
    EXPECT_EQ(bus.sent.size(), 3u);
    // A forced unlock tells the holder where he is.
    protocol->OnFrame(anna, u"#F!#Doe_John_1950");
    ASSERT_EQ(bus.sent.size(), 4u);
    EXPECT_EQ(bus.sent[3].frame,
              u"#J!#Your lock of Doe_John_1950 was taken off by Anna\u00A23000\u00A21\u00A2");

    protocol->OnFrame(anna, u"#A!#<Anna> : hi all");
    EXPECT_EQ(bus.chats, std::vector<std::u16string>{u"Anna #A!#<Anna> : hi all"});
}

TEST_F(ClusterProtocolTest, ReportsForAUserElsewhereAreKeptWhenHeLeftMeanwhile) {
    // Bruno's mail reached Anna through the store; her acknowledgement's report goes to Bruno's
    // instance, marked to be kept if he is gone.
    std::u16string frame = Mail(u"hi", u"2|9", u"Anna");
    ASSERT_EQ(store->KeepMail(u"Anna", u"Bruno", u"2|9", frame, ServerProtocol::Now()),
              StoreResult::Ok);
    protocol->OnFrame(anna, u"#C!#S\u00A62|9[7.3.2006-10:01:00]/");
    ASSERT_EQ(bus.sent.size(), 1u);
    EXPECT_TRUE(bus.sent[0].keep);
    EXPECT_EQ(bus.sent[0].code, u"2|9");
    EXPECT_EQ(bus.sent[0].frame, u"#C!#O\u00A62|9[7.3.2006-10:01:00]/");

    // What another instance passes here: sent to a user online here, kept for one who is not,
    // dropped when not worth keeping.
    bus.Protocol().OnBusFrame(u"Anna", u"", u"#V!#Doe_John_1950", false);
    EXPECT_EQ(anna.sent.back(), u"#V!#Doe_John_1950");
    bus.Protocol().OnBusFrame(u"Carla", u"4|1", u"#C!#O\u00A64|1/", true);
    bus.Protocol().OnBusFrame(u"Carla", u"", u"#Z!#1a", false);
    std::vector<WaitingNote> notes = store->WaitingNotes(u"Carla");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].frame, u"#C!#O\u00A64|1/");

    // Only chat lines pass as chat.
    anna.sent.clear();
    bus.Protocol().OnBusChat(u"#L!#");
    bus.Protocol().OnBusChat(u"#A!#<Bruno> : hello");
    EXPECT_EQ(anna.sent, std::vector<std::u16string>{u"#A!#<Bruno> : hello"});
}

TEST_F(ClusterProtocolTest, ALogInElsewhereReplacesTheConnectionHere) {
    anna.sent.clear();
    bus.elsewhere.insert(u"Anna");
    bus.Protocol().OnBusReplaced(u"Anna");
    EXPECT_TRUE(anna.Got(u"#L!#"));
    EXPECT_EQ(anna.state, ClientLink::State::Closed);
    protocol->OnClosed(anna, "closed");
    // Her row belongs to the newer log-in: this instance does not say she left.
    EXPECT_EQ(bus.events, std::vector<std::u16string>{u"in Anna"});
    EXPECT_EQ(protocol->LinkOf(u"Anna"), nullptr);

    // A user who leaves normally is told to the bus; the users elsewhere follow the bus.
    RecordingLink carla{2};
    protocol->OnOpened(carla);
    protocol->OnFrame(carla, u"#I!#h|Carla|x|");
    EXPECT_TRUE(carla.Got(u"#S!#Anna|Bruno|Carla|"));
    bus.elsewhere = {};
    carla.sent.clear();
    bus.Protocol().OnBusUsers();
    EXPECT_EQ(carla.sent, std::vector<std::u16string>{u"#S!#Carla|"});
    protocol->OnClosed(carla, "closed by the client");
    EXPECT_EQ(bus.events.back(), u"out Carla");
}

// Log-ins refused while the database is out of reach count against the throttle as refused
// passwords do: guessing goes no faster during an outage, and the count survives it.
TEST(ClusterLoginTest, LogInsFailedWhileTheDatabaseIsDownCount) {
    std::string why;
    test::PostgresCluster* cluster = test::PostgresCluster::Shared(why);
    if (!cluster) GTEST_SKIP() << "no PostgreSQL: " << why;
    std::string error;
    auto store = PostgresStore::Open(cluster->NewDatabase(), error);
    ASSERT_TRUE(store) << error;
    ASSERT_TRUE(store->SetUser(u"Anna", "hash"));
    std::FILE* sink = std::fopen("/dev/null", "w");
    ServerLog log{sink};
    ServerOptions options;
    AcceptAll passwords;
    ServerProtocol protocol(*store, log, options, passwords);
    std::vector<std::unique_ptr<RecordingLink>> links;
    auto tryOnce = [&] {
        links.push_back(std::make_unique<RecordingLink>(links.size() + 1));
        RecordingLink& link = *links.back();
        protocol.OnOpened(link);
        protocol.OnFrame(link, u"#I!#h|Anna|x|");
        bool online = link.state == ClientLink::State::Online;
        bool throttled = link.Got(u"Too many failed log-ins");
        protocol.OnClosed(link, "end");
        return std::make_pair(online, throttled);
    };
    ASSERT_TRUE(cluster->Stop());
    bool throttled = false;
    for (int i = 0; i < 12 && !throttled; ++i) {
        auto [online, refusedEarly] = tryOnce();
        EXPECT_FALSE(online);
        throttled = refusedEarly;
    }
    ASSERT_TRUE(cluster->Start());
    EXPECT_TRUE(throttled);
    // Back: the user's next tries still wait for their slots (refused while they are far).
    std::this_thread::sleep_for(std::chrono::milliseconds(2100));  // the reconnection pause
    auto [online, refused] = tryOnce();
    EXPECT_FALSE(online);
    EXPECT_TRUE(refused);
    std::fclose(sink);
}

}  // namespace
}  // namespace pondrel::server
