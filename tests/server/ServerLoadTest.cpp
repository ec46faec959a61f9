// What keeps the server cheap under many clients: log-ins remembered for a while (never a wrong
// password), the bounded queue of password checks that a remembered log-in skips, and the
// buffers of a connection that shrink back once a large frame went through.

#include <gtest/gtest.h>

#include <sodium.h>

#include <cstdio>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "TempFolder.h"
#include "platform/Text.h"
#include "RecordingLink.h"
#include "server/ClientLink.h"
#include "server/RecentLogins.h"
#include "server/ServerLog.h"
#include "server/ServerOptions.h"
#include "server/ServerProtocol.h"
#include "server/SessionBuffers.h"
#include "server/SqliteStore.h"
#include "sync/FrameSplitter.h"

namespace pondrel::server {
namespace {

using Clock = RecentLogins::Clock;
using namespace std::chrono_literals;

class RecentLoginsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_GE(sodium_init(), 0); }
    Clock::time_point t0 = Clock::now();
};

TEST_F(RecentLoginsTest, OnlyTheMatchingPasswordOfTheSameHashIsAccepted) {
    RecentLogins recent;
    EXPECT_FALSE(recent.Matches("hashA", u"secret", t0));
    recent.Remember("hashA", recent.KeyedHash(u"secret"), t0);
    EXPECT_TRUE(recent.Matches("hashA", u"secret", t0 + 1s));
    EXPECT_FALSE(recent.Matches("hashA", u"Secret", t0 + 1s));
    EXPECT_FALSE(recent.Matches("hashA", u"", t0 + 1s));
    EXPECT_FALSE(recent.Matches("hashA", u"secret\u00E9", t0 + 1s));
    // A new password is a new stored hash: the old entry never answers for it.
    EXPECT_FALSE(recent.Matches("hashB", u"secret", t0 + 1s));
    // A wrong password does not drop the entry: guessers cannot make the user wait.
    EXPECT_TRUE(recent.Matches("hashA", u"secret", t0 + 2s));
    // A damaged keyed hash is not kept.
    recent.Remember("hashC", "short", t0);
    EXPECT_FALSE(recent.Matches("hashC", u"short", t0));
    EXPECT_EQ(recent.Size(), 1u);
}

TEST_F(RecentLoginsTest, EntriesExpireUnusedAndAtTheirMaximumAge) {
    RecentLogins recent;
    recent.Remember("hash", recent.KeyedHash(u"pw"), t0);
    // Each use keeps it a while longer.
    auto at = t0;
    for (int i = 0; i < 5; ++i) {
        at += RecentLogins::kUnused - 1min;
        EXPECT_TRUE(recent.Matches("hash", u"pw", at)) << i;
    }
    EXPECT_FALSE(recent.Matches("hash", u"pw", at + RecentLogins::kUnused));
    EXPECT_EQ(recent.Size(), 0u);  // forgotten on the failed look-up

    // A user who stays online keeps his entry, but never beyond the maximum age.
    recent.Remember("hash", recent.KeyedHash(u"pw"), t0);
    for (at = t0; at < t0 + RecentLogins::kMaxAge - 10min; at += 10min) recent.Touch("hash", at);
    EXPECT_TRUE(recent.Matches("hash", u"pw", t0 + RecentLogins::kMaxAge - 1min));
    EXPECT_FALSE(recent.Matches("hash", u"pw", t0 + RecentLogins::kMaxAge));

    recent.Remember("old", recent.KeyedHash(u"pw"), t0);
    recent.Remember("new", recent.KeyedHash(u"pw"), t0 + 20min);
    recent.Expire(t0 + RecentLogins::kUnused + 1min);
    EXPECT_EQ(recent.Size(), 1u);
    EXPECT_TRUE(recent.Matches("new", u"pw", t0 + RecentLogins::kUnused + 1min));
}

TEST_F(RecentLoginsTest, BoundedTheLeastRecentlyUsedMakesRoomAndNothingOutlivesTheProcess) {
    RecentLogins recent;
    std::string keyed = recent.KeyedHash(u"pw");
    for (size_t i = 0; i < RecentLogins::kMaxEntries; ++i) {
        recent.Remember("h" + std::to_string(i), keyed, t0 + std::chrono::milliseconds(i));
    }
    auto later = t0 + 1min;
    recent.Touch("h0", later);  // the oldest, but used lately
    recent.Remember("extra", keyed, later);
    EXPECT_EQ(recent.Size(), RecentLogins::kMaxEntries);
    EXPECT_TRUE(recent.Matches("h0", u"pw", later));
    EXPECT_FALSE(recent.Matches("h1", u"pw", later));
    EXPECT_TRUE(recent.Matches("h2", u"pw", later));
    EXPECT_TRUE(recent.Matches("extra", u"pw", later));
    // Another run draws another key.
    RecentLogins other;
    EXPECT_NE(other.KeyedHash(u"pw"), keyed);
    EXPECT_EQ(recent.KeyedHash(u"pw"), keyed);
}

TEST(SessionBuffersTest, ReadsGrowForLargeFramesAndShrinkWhenIdle) {
    // Before the log-in: always small, even when a read fills the buffer.
    EXPECT_EQ(NextReadBytes(kIdleReadBytes, kIdleReadBytes, 100, false), kIdleReadBytes);
    // A full read: more waits in the socket.
    EXPECT_EQ(NextReadBytes(kIdleReadBytes, kIdleReadBytes, 100, true), kBusyReadBytes);
    EXPECT_EQ(NextReadBytes(kBusyReadBytes, kBusyReadBytes, 0, true), kBusyReadBytes);
    // A frame still arriving keeps the large buffer; every frame complete gives it back.
    EXPECT_EQ(NextReadBytes(kBusyReadBytes, 1000, 5000, true), kBusyReadBytes);
    EXPECT_EQ(NextReadBytes(kBusyReadBytes, 1000, 0, true), kIdleReadBytes);
    EXPECT_EQ(NextReadBytes(kIdleReadBytes, 10, 0, true), kIdleReadBytes);

    std::u16string text(100'000, u'x');
    text.resize(10);
    ReleaseRoom(text);
    EXPECT_EQ(text, std::u16string(10, u'x'));
    EXPECT_LE(text.capacity() * sizeof(char16_t), kKeptBufferBytes);
    std::vector<char> bytes(kBusyReadBytes);
    bytes.resize(kIdleReadBytes);
    ReleaseRoom(bytes, kIdleReadBytes);
    EXPECT_EQ(bytes.size(), kIdleReadBytes);
    EXPECT_EQ(bytes.capacity(), kIdleReadBytes);
    std::string small;
    small.reserve(100);
    const char* before = small.data();
    ReleaseRoom(small);
    EXPECT_EQ(small.data(), before);  // small enough: left alone
}

TEST(SessionBuffersTest, TheSplitterGivesBackItsRoomAndKeepsAFrameUnderWay) {
    FrameSplitter splitter;
    std::u16string large = u"#T!#" + std::u16string(200'000, u'a') + u"#F|";
    ASSERT_TRUE(splitter.Append(large + u"#W!#"));
    ASSERT_EQ(splitter.Next(), large.substr(0, large.size() - 3));
    ASSERT_FALSE(splitter.Next());
    splitter.ReleaseRoom(1000);
    // The start of the next frame survives, and frames still come out whole.
    ASSERT_TRUE(splitter.Append(u"#F|#K!"));
    splitter.ReleaseRoom(1000);
    ASSERT_TRUE(splitter.Append(u"#F|"));
    EXPECT_EQ(splitter.Next(), u"#W!#");
    EXPECT_EQ(splitter.Next(), u"#K!");
    EXPECT_FALSE(splitter.Next());
    EXPECT_EQ(splitter.PendingChars(), 0u);
    // A frame larger than what is kept waits whole.
    splitter.ReleaseRoom(1000);
    ASSERT_TRUE(splitter.Append(std::u16string(5000, u'b')));
    splitter.ReleaseRoom(1000);
    ASSERT_TRUE(splitter.Append(u"#F|"));
    EXPECT_EQ(splitter.Next(), std::u16string(5000, u'b'));
}

// Password checks that end only when the test says so; a password remembered as recent.
class HeldChecks final : public PasswordChecker {
public:
    void Check(std::string hash, std::u16string password, std::function<void(bool)> done) override {
        checks.push_back({std::move(hash), std::move(password), std::move(done)});
    }
    bool Recent(const std::string& hash, std::u16string_view password) override {
        return hash == recentHash && password == recentPassword;
    }
    struct Pending {
        std::string hash;
        std::u16string password;
        std::function<void(bool)> done;
    };
    std::deque<Pending> checks;
    std::string recentHash;
    std::u16string recentPassword;
};

using Link = test::RecordingLink;

class LoginQueueTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        store = SqliteStore::Open((temp / "store.db").string(), error);
        ASSERT_TRUE(store) << error;
        store->SetUser(u"Anna", "hashAnna");
        store->SetUser(u"Bruno", "hashBruno");
        checks.recentHash = "hashAnna";
        checks.recentPassword = u"right";
        protocol = std::make_unique<ServerProtocol>(*store, log, options, checks);
    }
    void TearDown() override {
        for (auto& link : links) {
            if (link->state != ClientLink::State::Closed) protocol->OnClosed(*link, "end");
        }
    }
    Link& Open(const std::string& address) {
        links.push_back(std::make_unique<Link>(links.size() + 1, address));
        protocol->OnOpened(*links.back());
        return *links.back();
    }
    // Anna logged in a while ago (her password is remembered since), then left.
    void AnnaLoggedInLately() {
        Link& before = Open("10.0.0.1");
        protocol->OnFrame(before, u"#I!#h|Anna|right|");
        ASSERT_EQ(before.state, ClientLink::State::Online);
        before.Close("gone");
        protocol->OnClosed(before, "gone");
    }

    test::TempFolder temp{"pondrel-login-queue"};
    std::FILE* sink = std::fopen("/dev/null", "w");
    ServerLog log{sink};
    ServerOptions options;
    HeldChecks checks;
    std::unique_ptr<SqliteStore> store;
    std::unique_ptr<ServerProtocol> protocol;
    std::vector<std::unique_ptr<Link>> links;
};

TEST_F(LoginQueueTest, ARememberedLogInSkipsAFullQueueButAWrongPasswordWaits) {
    AnnaLoggedInLately();
    // One address fills its share of checks (a ward reconnecting, or a guesser).
    for (size_t i = 0; i < ServerOptions{}.maxChecksPerAddress; ++i) {
        protocol->OnFrame(Open("10.0.0.9"), u"#I!#h|Bruno|guess|");
    }
    EXPECT_EQ(checks.checks.size(), ServerProtocol::kMaxChecksRunning);
    Link& refused = Open("10.0.0.9");
    protocol->OnFrame(refused, u"#I!#h|Bruno|guess|");
    EXPECT_EQ(refused.state, ClientLink::State::Closed);

    // Anna's remembered password needs no check: online at once, from the same address.
    Link& anna = Open("10.0.0.9");
    protocol->OnFrame(anna, u"#I!#h|Anna|right|");
    EXPECT_EQ(anna.state, ClientLink::State::Online);
    EXPECT_EQ(protocol->LinkOf(u"Anna"), &anna);
    EXPECT_EQ(checks.checks.size(), ServerProtocol::kMaxChecksRunning);

    // A wrong one for her is never taken from memory: it needs its check, and finds no room.
    Link& wrong = Open("10.0.0.9");
    protocol->OnFrame(wrong, u"#I!#h|Anna|wrong|");
    EXPECT_EQ(wrong.state, ClientLink::State::Closed);
    EXPECT_EQ(protocol->LinkOf(u"Anna"), &anna);
    // From elsewhere it waits for its check, which refuses it.
    Link& elsewhere = Open("10.0.0.10");
    protocol->OnFrame(elsewhere, u"#I!#h|Anna|wrong|");
    EXPECT_EQ(elsewhere.state, ClientLink::State::Verifying);
    while (!checks.checks.empty()) {
        HeldChecks::Pending check = std::move(checks.checks.front());
        checks.checks.pop_front();
        check.done(false);
    }
    EXPECT_EQ(elsewhere.state, ClientLink::State::Closed);
    EXPECT_EQ(protocol->LinkOf(u"Anna"), &anna);
}

// Many handhelds behind one address (a NAT) may be given a larger share; the queue of all stays
// bounded.
TEST_F(LoginQueueTest, TheShareOfOneAddressIsAnOption) {
    options.maxChecksPerAddress = 40;
    for (size_t i = 0; i < 40; ++i) protocol->OnFrame(Open("10.0.0.9"), u"#I!#h|Bruno|guess|");
    Link& refused = Open("10.0.0.9");
    protocol->OnFrame(refused, u"#I!#h|Bruno|guess|");
    EXPECT_EQ(refused.state, ClientLink::State::Closed);
    options.maxChecksPerAddress = 41;
    Link& taken = Open("10.0.0.9");
    protocol->OnFrame(taken, u"#I!#h|Bruno|guess|");
    EXPECT_EQ(taken.state, ClientLink::State::Verifying);
}

TEST_F(LoginQueueTest, TheQueueOfChecksIsBoundedWhateverTheAddresses) {
    AnnaLoggedInLately();
    size_t opened = ServerProtocol::kMaxChecksRunning + ServerProtocol::kMaxChecksWaiting;
    for (size_t i = 0; i < opened; ++i) {
        protocol->OnFrame(Open("10.1." + std::to_string(i / 200) + "." + std::to_string(i % 200)),
                          u"#I!#h|Bruno|guess|");
    }
    EXPECT_EQ(checks.checks.size(), ServerProtocol::kMaxChecksRunning);
    Link& over = Open("10.2.0.1");
    protocol->OnFrame(over, u"#I!#h|Bruno|guess|");
    EXPECT_EQ(over.state, ClientLink::State::Closed);
    // The flood keeps nobody who logged in lately out.
    Link& anna = Open("10.2.0.2");
    protocol->OnFrame(anna, u"#I!#h|Anna|right|");
    EXPECT_EQ(anna.state, ClientLink::State::Online);
    // Every check that ends lets the next one run, never more than the bound at once.
    for (int i = 0; i < 10; ++i) {
        HeldChecks::Pending check = std::move(checks.checks.front());
        checks.checks.pop_front();
        check.done(false);
        EXPECT_LE(checks.checks.size(), ServerProtocol::kMaxChecksRunning);
    }
}

}  // namespace
}  // namespace pondrel::server
