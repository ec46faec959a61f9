#include <gtest/gtest.h>

#include "Doubles.h"
#include "RecordingListener.h"
#include "sync/FrameDispatcher.h"

namespace pondrel {
namespace {

using Lines = std::vector<std::string>;

class RecordingActions final : public FrameActions {
public:
    bool QueueFrame(std::u16string_view frame) override {
        queued.emplace_back(frame);
        return true;
    }
    void EndConnection() override { ++ended; }
    void OnlineUsersReceived(std::vector<std::u16string> names) override { users = names; }
    void KeepAliveReceived() override { ++keepAlives; }
    void ServerTimeoutReceived(int seconds) override { timeout = seconds; }
    void Notice(const std::u16string& text, int ms, bool warning) override {
        notices.push_back({text, ms, warning});
    }

    std::vector<std::u16string> queued;
    std::vector<std::u16string> users;
    std::vector<test::ScriptedMessages::Notice> notices;
    int ended = 0;
    int keepAlives = 0;
    int timeout = -1;
};

class FrameDispatcherTest : public ::testing::Test {
protected:
    FrameDispatcherTest() : clock({2006, 3, 7, 9, 5, 0}) {}
    bool Handle(std::u16string_view frame) { return dispatcher.HandleFrame(frame); }

    test::FixedClock clock;
    RecordingActions actions;
    test::RecordingListener listener;
    FrameDispatcher dispatcher{actions, listener, clock};
};

TEST_F(FrameDispatcherTest, CodesOfTheServerReachTheirHandlers) {
    EXPECT_TRUE(Handle(u"#S!#Anna|Bruno||"));
    EXPECT_EQ(actions.users, (std::vector<std::u16string>{u"Anna", u"Bruno"}));
    EXPECT_TRUE(Handle(u"#K!#"));
    EXPECT_TRUE(Handle(u"#Z!#1a"));
    EXPECT_TRUE(Handle(u"#Z!#1b"));  // only the request is answered
    EXPECT_EQ(actions.keepAlives, 1);
    EXPECT_EQ(actions.queued, (std::vector<std::u16string>{u"#Y!#", u"#Z!#1b"}));

    for (std::u16string_view frame :
         {u"#D!#O\u00A612|345/", u"#A!#<Anna> : hello", u"#N!#Doe_John_1950\u00A2\u00A2",
          u"#B!#Old_One_1930\u00A2", u"#V!#Doe_John_1950", u"#X!#1", u"#X!#2", u"#C!#O\u00A61|2/",
          u"#R!#\u00A61|2\u00A2a-b\u00A2c-d/"}) {
        EXPECT_TRUE(Handle(frame));
    }
    EXPECT_EQ(listener.Lines(),
              (Lines{"Upload:O¦12|345/", "Chat:<Anna> : hello", "Active:Doe_John_1950¢¢",
                     "Archive:Old_One_1930¢", "Release:Doe_John_1950", "ImportEnd",
                     "Reports:O¦1|2/", "Receipt:¦1|2¢a-b¢c-d/"}));
}

TEST_F(FrameDispatcherTest, OnlyTheLeadingCodeCounts) {
    // A chat line that quotes other codes is a chat line and nothing else.
    EXPECT_TRUE(Handle(u"#A!#type #N!# or L!# or #P!#"));
    EXPECT_EQ(actions.ended, 0);
    EXPECT_TRUE(actions.notices.empty());
    EXPECT_EQ(listener.Lines(), (Lines{"Chat:type #N!# or L!# or #P!#"}));
    // A delivery report with "#S!#" further on does not log anybody in.
    EXPECT_TRUE(Handle(u"#C!#S\u00A61|2/#S!#Eve|"));
    EXPECT_TRUE(actions.users.empty());
    // Empty frames and unknown codes are ignored.
    EXPECT_TRUE(Handle(u""));
    EXPECT_TRUE(Handle(u"#Q!#whatever"));
    EXPECT_EQ(listener.calls.size(), 2u);
}

TEST_F(FrameDispatcherTest, LogOutAndRefusedPasswordEndTheBatch) {
    EXPECT_FALSE(Handle(u"#L!#"));
    EXPECT_EQ(actions.ended, 1);
    EXPECT_TRUE(actions.notices.empty());
    EXPECT_FALSE(Handle(u"#P!#"));
    EXPECT_EQ(actions.ended, 2);
    ASSERT_EQ(actions.notices.size(), 1u);
    EXPECT_EQ(actions.notices[0].text, u"Password not accepted by the server. Connection aborted.");
    EXPECT_EQ(actions.notices[0].milliseconds, 3000);
    EXPECT_TRUE(actions.notices[0].warning);
}

TEST_F(FrameDispatcherTest, TimeOutAndNoticeValuesAreKeptInRange) {
    Handle(u"#O!#40");
    EXPECT_EQ(actions.timeout, 40);
    Handle(u"#O!#0");
    EXPECT_EQ(actions.timeout, FrameDispatcher::kMinServerTimeout);
    Handle(u"#O!#99999999999");
    EXPECT_EQ(actions.timeout, FrameDispatcher::kMaxServerTimeout);
    actions.timeout = -1;
    Handle(u"#O!#soon");
    Handle(u"#O!#-3");
    EXPECT_EQ(actions.timeout, -1);

    Handle(u"#J!#Server restarts at noon\u00A22500\u00A21");
    Handle(u"#J!#Quick\u00A21\u00A20");
    Handle(u"#J!#" + std::u16string(2000, u'x') + u"\u00A299999999\u00A2");
    Handle(u"#J!#\u00A21000\u00A21");  // no text: nothing to show
    ASSERT_EQ(actions.notices.size(), 3u);
    EXPECT_EQ(actions.notices[0].text, u"Server restarts at noon");
    EXPECT_EQ(actions.notices[0].milliseconds, 2500);
    EXPECT_TRUE(actions.notices[0].warning);
    EXPECT_EQ(actions.notices[1].milliseconds, FrameDispatcher::kMinNoticeMs);
    EXPECT_FALSE(actions.notices[1].warning);
    EXPECT_EQ(actions.notices[2].text.size(), FrameDispatcher::kMaxNoticeChars);
    EXPECT_EQ(actions.notices[2].milliseconds, FrameDispatcher::kMaxNoticeMs);
}

TEST_F(FrameDispatcherTest, MailIsAcknowledgedInOrderAndABadOneDropsOnlyItself) {
    dispatcher.BeginBatch();
    EXPECT_TRUE(Handle(u"Lunch?\u00A76.3.2006-12:01:02\u00A66|4471\u00A2Anna\u00A2"));
    EXPECT_TRUE(Handle(u"a # b\u00A76.3.2006-12:01:03\u00A65|1\u00A2Eve\u00A2"));   // refused
    EXPECT_TRUE(Handle(u"no end mark"));                                            // refused
    EXPECT_TRUE(Handle(u"Cut\u00A76.3.2006-12:01:04\u00A69|88\u00A2Bruno\u00A2"));  // wrong length
    EXPECT_EQ(listener.Lines(), (Lines{"Mail:Anna|Lunch?|6.3.2006|12:01:02|6|4471|ok",
                                       "Mail:Bruno|Cut|6.3.2006|12:01:04|9|88|bad"}));
    EXPECT_EQ(dispatcher.Acknowledgements(),
              u"S\u00A66|4471[7.3.2006-09:05:00]/L\u00A69|88[7.3.2006-09:05:00]/");
    ASSERT_EQ(actions.notices.size(), 2u);
    EXPECT_EQ(actions.notices[0].text, u"Receive bad transmission");
    EXPECT_EQ(actions.notices[0].milliseconds, 4000);
    dispatcher.BeginBatch();
    EXPECT_TRUE(dispatcher.Acknowledgements().empty());
}

TEST_F(FrameDispatcherTest, FileFramesAreCheckedAgainstTheirLength) {
    Handle(u"\u00A2File\u00A2ab#cd\u00A7Code\u00A75\u00A2Doe_John_1950.pdr");
    Handle(u"\u00A2File\u00A2abc\u00A7Code\u00A74\u00A2Doe_John_1950.pdr");
    Handle(u"\u00A2File\u00A2abc without a code mark");
    EXPECT_EQ(listener.Lines(),
              (Lines{"File:Doe_John_1950.pdr=ab#cd", "Altered:Doe_John_1950.pdr", "Altered:"}));
}

}  // namespace
}  // namespace pondrel
