#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

#include "Doubles.h"
#include "MemorySocket.h"
#include "RecordingListener.h"
#include "sync/Connection.h"
#include "sync/WireCodec.h"

namespace pondrel {
namespace {

// The main form's side: worker wake-ups are counted, and Pump handles them on the test thread
// as the user-interface thread would.
class WakeCounter final : public ConnectionHost {
public:
    void WakeUserInterface() override {
        {
            std::lock_guard lock(m_mutex);
            ++m_wakes;
        }
        m_changed.notify_all();
    }
    // Waits at most `ms` for a wake-up.
    void Wait(int ms) {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_wakes > 0; });
        m_wakes = 0;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_wakes = 0;
};

class ConnectionTest : public ::testing::Test {
protected:
    ConnectionTest() {
        connection.SetListener(&listener);
        connection.SetSettings(wireless, network);
    }

    // Handles worker messages until `done` holds; false after five seconds.
    bool Pump(const std::function<bool()>& done) {
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < end) {
            connection.OnWorkerMessages();
            if (done()) return true;
            host.Wait(2);
        }
        return false;
    }
    // Fires the teardown as its timer would, a second after the previous attempt.
    void Teardown() {
        clock.ticks += 1000;
        ASSERT_TRUE(timers.Fire(TimerId::ConnectionTeardown));
    }
    std::shared_ptr<test::ScriptedPeer> Peer(size_t n) { return sockets.Peer(n); }
    void GoOnline(size_t peer = 0) {
        ASSERT_TRUE(Peer(peer)->WaitForSent(u"#I!#"));
        Peer(peer)->SendFrame(u"#S!#Anna|Bruno|");
        ASSERT_TRUE(Pump([&] { return connection.Online(); }));
    }
    bool HasNotice(std::u16string_view text) {
        for (const auto& notice : messages.notices) {
            if (notice.text == text) return true;
        }
        return false;
    }

    WirelessSettings wireless{u"Anna", u"123456", 0, u"10.0.0.5", 4000};
    NetworkOptions network;
    test::MemorySocketFactory sockets;
    test::ManualTimers timers;
    test::FixedClock clock;
    test::ScriptedMessages messages;
    test::RecordingListener listener;
    WakeCounter host;
    Connection connection{sockets, timers, clock, messages, host};
};

TEST_F(ConnectionTest, ConnectIdentifiesAndTheFirstUserListPutsItOnline) {
    connection.Connect();
    EXPECT_TRUE(connection.Wanted());
    EXPECT_EQ(connection.View().connectText, u"Wait");
    EXPECT_FALSE(connection.View().connectEnabled);
    EXPECT_TRUE(connection.View().closeEnabled);
    EXPECT_EQ(timers.Interval(TimerId::ServerTimeout), 3000);
    EXPECT_EQ(connection.ReconnectSeconds(), 30);
    EXPECT_EQ(connection.View().reconnectBarRed, 98);
    for (int i = 0; i < 10; ++i) timers.Fire(TimerId::ConnectAnimation);
    EXPECT_EQ(connection.View().connectText, u"|");  // 1 to 9 bars, then 1 again
    timers.Fire(TimerId::ConnectAnimation);
    EXPECT_EQ(connection.View().connectText, u"||");

    ASSERT_TRUE(Peer(0)->WaitForSent(u"#I!#bedside-1|Anna|123456|#F|"));
    EXPECT_EQ(Peer(0)->host, "10.0.0.5");
    EXPECT_EQ(Peer(0)->port, 4000);
    Peer(0)->SendFrame(u"#O!#40");
    GoOnline();
    EXPECT_EQ(connection.View().connectText, u"Online");
    EXPECT_FALSE(connection.View().connectEnabled);
    EXPECT_EQ(connection.OnlineUsers(), (std::vector<std::u16string>{u"Anna", u"Bruno"}));
    EXPECT_TRUE(listener.Has(u"Users:Anna,Bruno,"));
    EXPECT_TRUE(listener.Has(u"Online"));
    EXPECT_EQ(connection.ReconnectSeconds(), -1);
    EXPECT_FALSE(timers.IsRunning(TimerId::ReconnectTick));
    EXPECT_EQ(timers.Interval(TimerId::ServerTimeout), 40'000);
    ASSERT_TRUE(timers.Fire(TimerId::OnlineBlink));
    Rgb first = connection.View().connectionLight;
    timers.Fire(TimerId::OnlineBlink);
    EXPECT_NE(first, connection.View().connectionLight);
    EXPECT_TRUE(first == kOnlineLight[0] || first == kOnlineLight[1]);

    connection.Connect();
    EXPECT_TRUE(HasNotice(u"Already connected"));

    connection.CloseByUser();
    EXPECT_TRUE(Peer(0)->WaitForSent(u"#L!##F|"));
    EXPECT_EQ(connection.View().connectText, u"-Wait-");
    EXPECT_FALSE(connection.View().closeEnabled);
    EXPECT_TRUE(listener.Has(u"Users:"));
    Teardown();
    EXPECT_TRUE(Peer(0)->WaitForShutdown());
    EXPECT_EQ(connection.View().connectText, u"Connect");
    EXPECT_TRUE(connection.View().connectEnabled);
    EXPECT_EQ(connection.View().connectionLight, kLightOff);
    EXPECT_EQ(sockets.Created(), 1u);
}

TEST_F(ConnectionTest, FramesCutAnywhereAreHandledOnceInOrder) {
    connection.Connect();
    GoOnline();
    const std::u16string stream =
        u"#A!#<Bruno> : \u00E9t\u00E9 \U0001F600#F|#N!#Doe_John_1950\u00A2\u00A2"
        u"6.3.2006\u00A209:00:00\u00A2#F|#K!##F|";
    const std::string bytes = EncodeWire(stream);
    const std::vector<std::string> expected = {"Chat:<Bruno> : été 😀",
                                               "Active:Doe_John_1950¢¢6.3.2006¢09:00:00¢"};
    size_t answers = 0;
    auto check = [&](const std::string& how) {
        ++answers;
        ASSERT_TRUE(Pump([&] {
            return listener.calls.size() >= 2 &&
                   CountOf(Peer(0)->SentText(), u"#Y!##F|") == answers;
        })) << how;
        EXPECT_EQ(listener.Lines(), expected) << how;
        listener.calls.clear();
    };
    // One byte per receive: every character and every frame end cut in two.
    listener.calls.clear();
    for (char b : bytes) Peer(0)->SendBytes(std::string(1, b));
    check("byte by byte");
    // Two receives, cut at every position.
    for (size_t cut = 1; cut < bytes.size(); ++cut) {
        Peer(0)->SendBytes(bytes.substr(0, cut));
        Peer(0)->SendBytes(bytes.substr(cut));
        check("cut at " + std::to_string(cut));
    }
    EXPECT_EQ(CountOf(Peer(0)->SentText(), u"#Y!##F|"), bytes.size());
}

TEST_F(ConnectionTest, MailOfABatchIsAcknowledgedInOneFrame) {
    clock.now = {2006, 3, 7, 9, 5, 0};
    connection.Connect();
    GoOnline();
    Peer(0)->SendText(
        u"Hi\u00A76.3.2006-12:00:00\u00A62|51\u00A2Bruno\u00A2#F|"
        u"Yes\u00A76.3.2006-12:00:01\u00A63|62\u00A2Bruno\u00A2#F|");
    ASSERT_TRUE(Pump([&] { return Peer(0)->SentText().find(u"/#F|") != std::u16string::npos; }));
    EXPECT_NE(Peer(0)->SentText().find(u"#C!#S\u00A62|51[7.3.2006-09:05:00]/S\u00A63|62"
                                       u"[7.3.2006-09:05:00]/#F|"),
              std::u16string::npos);
}

TEST_F(ConnectionTest, ARefusedPasswordEndsTheConnectionWithoutRetrying) {
    connection.Connect();
    ASSERT_TRUE(Peer(0)->WaitForSent(u"#I!#"));
    Peer(0)->SendFrame(u"#P!#");
    ASSERT_TRUE(Pump([&] { return !connection.Wanted(); }));
    EXPECT_TRUE(HasNotice(u"Password not accepted by the server. Connection aborted."));
    EXPECT_FALSE(connection.Online());
    Teardown();
    EXPECT_EQ(connection.View().connectText, u"Connect");
    EXPECT_EQ(sockets.Created(), 1u);
    EXPECT_FALSE(timers.IsRunning(TimerId::ConnectionTeardown));
}

// However the received text was cut, nothing after the frame that ended the connection is
// handled: a second refusal in the next piece is not told again.
TEST_F(ConnectionTest, NothingIsReadAfterAFrameEndedTheConnection) {
    connection.DispatchText(u"#P!##F|");
    connection.DispatchText(u"#P!##F|");
    size_t refusals = 0;
    for (const auto& notice : messages.notices) {
        refusals += notice.text == u"Password not accepted by the server. Connection aborted.";
    }
    EXPECT_EQ(refusals, 1u);
}

TEST_F(ConnectionTest, ASilentServerIsTriedUntilTheWindowIsUsedUp) {
    connection.Connect();
    for (int attempt = 1; attempt <= Connection::kWindowAttempts + 1; ++attempt) {
        ASSERT_TRUE(Peer(attempt - 1)->WaitForSent(u"#I!#")) << attempt;
        ASSERT_EQ(timers.Interval(TimerId::ServerTimeout), 3000);
        timers.Fire(TimerId::ServerTimeout);  // three seconds without an answer
        EXPECT_FALSE(connection.Wanted());
        Teardown();
        EXPECT_TRUE(Peer(attempt - 1)->WaitForShutdown());
        // Connect's attempt and twenty more.
        int left = Connection::kWindowAttempts - attempt;
        EXPECT_EQ(connection.ReconnectAttempts(), left < 0 ? -1 : left) << attempt;
        if (left > 0) {
            EXPECT_EQ(connection.View().reconnectBarRed, left * 98 / 20);
        }
    }
    EXPECT_EQ(sockets.Created(), static_cast<size_t>(Connection::kWindowAttempts + 1));
    EXPECT_FALSE(connection.Wanted());
    EXPECT_EQ(connection.View().connectText, u"Connect");
    EXPECT_EQ(connection.View().reconnectBarRed, 0);
    EXPECT_FALSE(timers.IsRunning(TimerId::ReconnectTick));
}

TEST_F(ConnectionTest, TheWindowAlsoEndsAfterThirtySeconds) {
    connection.Connect();
    for (int second = 0; second < 30; ++second) timers.Fire(TimerId::ReconnectTick);
    EXPECT_EQ(connection.ReconnectSeconds(), 0);
    EXPECT_EQ(connection.View().reconnectBarRed, 0);
    timers.Fire(TimerId::ReconnectTick);
    EXPECT_EQ(connection.ReconnectSeconds(), -1);
    EXPECT_FALSE(timers.IsRunning(TimerId::ReconnectTick));
    timers.Fire(TimerId::ServerTimeout);
    Teardown();
    EXPECT_EQ(sockets.Created(), 1u);
    EXPECT_EQ(connection.View().connectText, u"Connect");
}

TEST_F(ConnectionTest, ARefusedConnectionIsReportedOnceAndNotRetried) {
    Peer(0)->connectResult = SocketError::Refused;
    connection.Connect();
    ASSERT_TRUE(Pump([&] { return !connection.Wanted(); }));
    Teardown();
    EXPECT_EQ(sockets.Created(), 1u);
    ASSERT_EQ(messages.notices.size(), 1u);
    EXPECT_EQ(messages.notices[0].text, u"The server can't be located. Check your connection.");
    EXPECT_EQ(messages.notices[0].milliseconds, 3000);
    EXPECT_TRUE(messages.notices[0].warning);
    EXPECT_EQ(connection.View().connectText, u"Connect");
    EXPECT_TRUE(connection.View().connectEnabled);
}

TEST_F(ConnectionTest, ALostConnectionIsTriedAgainEvenWhileTheServerRestarts) {
    connection.Connect();
    GoOnline();
    Peer(0)->Close();  // the server went away
    ASSERT_TRUE(Pump([&] { return !connection.Wanted(); }));
    EXPECT_TRUE(HasNotice(u"No connection"));
    EXPECT_EQ(connection.ReconnectSeconds(), 30);
    EXPECT_TRUE(listener.Has(u"Disconnected"));

    Peer(1)->connectResult = SocketError::Refused;  // not listening yet
    Teardown();
    ASSERT_TRUE(Pump([&] { return !connection.Wanted(); }));
    EXPECT_FALSE(HasNotice(u"The server can't be located. Check your connection."));
    Teardown();
    EXPECT_EQ(sockets.Created(), 3u);
    GoOnline(2);
    EXPECT_EQ(connection.ReconnectSeconds(), -1);
}

TEST_F(ConnectionTest, ResumeFromStandbyReconnectsOnlyWithTheOption) {
    network.reconnectAfterStandby = 1;
    connection.SetSettings(wireless, network);
    connection.StartAtProgramStart();
    connection.Connect();
    GoOnline();
    clock.ticks += 3000;
    timers.Fire(TimerId::Watchdog);
    EXPECT_TRUE(connection.Online());
    clock.ticks += 8000;  // asleep
    timers.Fire(TimerId::Watchdog);
    EXPECT_FALSE(connection.Wanted());
    EXPECT_TRUE(timers.IsRunning(TimerId::Watchdog));
    Teardown();
    GoOnline(1);

    network.reconnectAfterStandby = 0;
    connection.SetSettings(wireless, network);
    clock.ticks += 7000;
    timers.Fire(TimerId::Watchdog);
    EXPECT_FALSE(connection.Wanted());
    Teardown();
    EXPECT_EQ(sockets.Created(), 2u);
    EXPECT_EQ(connection.View().connectText, u"Connect");
}

TEST_F(ConnectionTest, QueuedFramesNeedAConnectionATextAndNoFrameEnd) {
    EXPECT_FALSE(connection.QueueFrame(u"#A!#hello"));
    EXPECT_TRUE(HasNotice(u"No connection..."));
    connection.Connect();
    EXPECT_FALSE(connection.QueueFrame(u""));
    EXPECT_TRUE(HasNotice(u"No Message to send..."));
    EXPECT_FALSE(connection.QueueFrame(u"#A!#a#F|#L!#"));
    EXPECT_TRUE(connection.QueueFrame(u"#A!#sent while connecting"));
    GoOnline();
    ASSERT_TRUE(Peer(0)->WaitForSent(u"#A!#sent while connecting#F|"));
    EXPECT_EQ(Peer(0)->SentText().find(u"#A!#a"), std::u16string::npos);
}

TEST_F(ConnectionTest, OddSendsLoseNoHalfCharacter) {
    Peer(0)->sendChunk = 3;
    connection.Connect();
    ASSERT_TRUE(connection.QueueFrame(u"#A!#\u00E9\u20AC\U0001F600 odd"));
    ASSERT_TRUE(Peer(0)->WaitForSent(u"#A!#\u00E9\u20AC\U0001F600 odd#F|"));
    EXPECT_EQ(Peer(0)->SentText(),
              u"#I!#bedside-1|Anna|123456|#F|#A!#\u00E9\u20AC\U0001F600 odd#F|");
}

TEST_F(ConnectionTest, APeerThatNeverEndsItsFrameIsDisconnected) {
    connection.Connect();
    GoOnline();
    std::string chunk = EncodeWire(std::u16string(100'000, u'x'));
    for (size_t sent = 0; sent <= kMaxFrameChars; sent += 100'000) Peer(0)->SendBytes(chunk);
    ASSERT_TRUE(Pump([&] { return !connection.Wanted(); }));
    EXPECT_TRUE(HasNotice(u"Receive bad transmission"));
    Teardown();
    EXPECT_EQ(sockets.Created(), 1u);
}

TEST_F(ConnectionTest, ShutdownWhileWorkersAreBlockedLeavesNothingRunning) {
    connection.Connect();
    GoOnline();  // the receive worker now waits in a receive
    connection.Shutdown();
    EXPECT_TRUE(Peer(0)->WaitForShutdown());
    EXPECT_FALSE(connection.Wanted());
    EXPECT_FALSE(timers.IsRunning(TimerId::OnlineBlink));
    // And a connection destroyed while connecting.
    {
        Connection other{sockets, timers, clock, messages, host};
        other.SetSettings(wireless, network);
        other.Connect();
    }
    EXPECT_TRUE(Peer(1)->WaitForShutdown());
}

TEST_F(ConnectionTest, PeriodicSynchronisationRunsOrConnectsFirst) {
    network.periodicSynchronisation = 1;
    network.synchronisationPeriod = u"2";
    connection.SetSettings(wireless, network);
    connection.StartAtProgramStart();
    EXPECT_EQ(timers.Interval(TimerId::SyncTick), 60'000);
    timers.Fire(TimerId::SyncTick);
    timers.Fire(TimerId::SyncTick);  // not connected: connects, synchronises once online
    EXPECT_TRUE(connection.Wanted());
    EXPECT_FALSE(listener.Has(u"SynchAll"));
    GoOnline();
    EXPECT_TRUE(listener.Has(u"SynchAll"));
    EXPECT_EQ(connection.Network().synchroniseAtConnection, 0);
    listener.calls.clear();
    timers.Fire(TimerId::SyncTick);
    EXPECT_FALSE(listener.Has(u"SynchAll"));
    timers.Fire(TimerId::SyncTick);
    EXPECT_TRUE(listener.Has(u"SynchAll"));
}

TEST_F(ConnectionTest, NewWirelessSettingsEndTheConnection) {
    connection.Connect();
    GoOnline();
    NetworkOptions advanced;
    connection.ApplySettings(wireless, advanced, false, true);
    EXPECT_TRUE(connection.Online());
    WirelessSettings moved = wireless;
    moved.serverAddress = u"10.0.0.6";
    connection.ApplySettings(moved, advanced, true, false);
    EXPECT_FALSE(connection.Wanted());
    Teardown();
    EXPECT_EQ(connection.View().connectText, u"Connect");
    connection.Connect();
    ASSERT_TRUE(Peer(1)->WaitForSent(u"#I!#"));
    EXPECT_EQ(Peer(1)->host, "10.0.0.6");
}

TEST_F(ConnectionTest, WithoutAServerAddressNothingIsTried) {
    connection.SetSettings(WirelessSettings{u"Anna", u"1", 0, u"", 0}, network);
    connection.Connect();
    EXPECT_FALSE(connection.Wanted());
    EXPECT_TRUE(HasNotice(u"No server address. Set it in Preferences, Wireless settings."));
    EXPECT_EQ(sockets.Created(), 0u);
}

TEST_F(ConnectionTest, TheMailLightBlinksWhileMailIsUnread) {
    connection.SetUnreadMail(true);
    ASSERT_EQ(timers.Interval(TimerId::MailBlink), 1200);
    timers.Fire(TimerId::MailBlink);
    EXPECT_EQ(connection.View().mailLight, kMailLight[1]);
    timers.Fire(TimerId::MailBlink);
    EXPECT_EQ(connection.View().mailLight, kMailLight[0]);
    connection.SetUnreadMail(false);
    EXPECT_FALSE(timers.IsRunning(TimerId::MailBlink));
    EXPECT_EQ(connection.View().mailLight, kLightOff);
}

}  // namespace
}  // namespace pondrel
