// The active-file list the protocol sends, kept up to date change by change, against the list
// the store gives after the same changes.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>

#include "RecordingLink.h"
#include "TempFolder.h"
#include "platform/Text.h"
#include "server/ClientLink.h"
#include "server/ServerLog.h"
#include "server/ServerOptions.h"
#include "server/ServerProtocol.h"
#include "server/SqliteStore.h"

namespace pondrel::server {
namespace {

using test::AcceptAll;
using test::RecordingLink;

std::u16string Upload(std::u16string_view name, std::u16string_view text) {
    std::u16string frame = u"\u00A2File\u00A2" + std::u16string(text) + u"\u00A7Code\u00A7\u00A6";
    frame += ToText(static_cast<long long>(6 + text.size())) + u"|42";
    return frame + u"\u00A2" + std::u16string(name) + u"\u00A2Synch\u00A2";
}

class ServerProtocolListTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        store = SqliteStore::Open((temp / "store.db").string(), error);
        ASSERT_TRUE(store) << error;
        store->SetUser(u"Anna", "hash");
        store->SetUser(u"Bruno", "hash");
        protocol = std::make_unique<ServerProtocol>(*store, log, options, passwords);
        for (auto* link : {&anna, &bruno}) protocol->OnOpened(*link);
        protocol->OnFrame(anna, u"#I!#h|Anna|x|");
        protocol->OnFrame(bruno, u"#I!#h|Bruno|x|");
    }
    void TearDown() override {
        for (auto* link : {&anna, &bruno}) protocol->OnClosed(*link, "end");
    }

    // The list a server that just started would send.
    std::u16string FreshList() {
        std::u16string payload;
        std::vector<FileEntry> files = store->ActiveFiles();
        for (auto it = files.rbegin(); it != files.rend(); ++it) {
            payload += it->name + u"\u00A2" + it->holder + u"\u00A2" + it->date + u"\u00A2" +
                       it->time + u"\u00A2";
        }
        return payload;
    }

    test::TempFolder temp{"pondrel-protocol"};
    std::FILE* sink = std::fopen("/dev/null", "w");
    ServerLog log{sink};
    ServerOptions options;
    AcceptAll passwords;
    std::unique_ptr<SqliteStore> store;
    std::unique_ptr<ServerProtocol> protocol;
    RecordingLink anna{1};
    RecordingLink bruno{2};
    // The gathered sendings, when a test defers them; kept until the connections close.
    std::deque<std::function<void()>> due;  // a sending may ask for the next one
    void DeferLists() {
        protocol->SetDeferral(
            [this](std::function<void()> send) { due.push_back(std::move(send)); });
    }
    size_t CountOf(const RecordingLink& link, std::u16string_view start) {
        return static_cast<size_t>(
            std::count_if(link.sent.begin(), link.sent.end(),
                          [&](const auto& f) { return f.starts_with(start); }));
    }
};

TEST_F(ServerProtocolListTest, EveryChangeShowsInTheListsOfEverybody) {
    // Without a deferral the lists go out at once after each change.
    protocol->OnFrame(anna, Upload(u"Doe_John_1950.pdr", u"v1"));
    protocol->OnFrame(anna, Upload(u"Roe_Jane_1960.pdr", u"r1"));
    EXPECT_EQ(bruno.LastList(), FreshList());
    auto step = [&](RecordingLink& who, std::u16string frame) {
        protocol->OnFrame(who, std::move(frame));
        std::u16string fresh = FreshList();
        EXPECT_EQ(anna.LastList(), fresh) << ToUtf8(fresh);
        EXPECT_EQ(bruno.LastList(), fresh) << ToUtf8(fresh);
        who.sent.clear();
        protocol->OnFrame(who, u"#W!#");
        EXPECT_EQ(who.LastList(), fresh);
    };
    step(anna, u"#Q!#U\u00A2Doe_John_1950.pdr");
    step(bruno, u"#Q!#L\u00A2doe_john_1950.pdr");  // another case: the same file
    step(bruno, Upload(u"Doe_John_1950.pdr", u"v2"));
    step(anna, Upload(u"Doe_John_1950.pdr", u"stale"));  // refused: the list stays
    step(bruno, u"#Q!#U\u00A2Doe_John_1950.pdr");
    step(anna, u"#F!#Roe_Jane_1960");
    step(anna, u"#H!#Roe_Jane_1960.pdr");
    step(bruno, u"#G!#Roe_Jane_1960");
    step(bruno, Upload(u"Abel_Karl_1940.pdr", u"a1"));  // a new file, first in the list
    step(anna, u"#Q!#L\u00A2Roe_Jane_1960.pdr");
    EXPECT_EQ(store->FileText(u"Doe_John_1950"), u"v2");
}

TEST_F(ServerProtocolListTest, GatheredListsSkipOnlyClientsThatHaveTheCurrentOne) {
    DeferLists();
    protocol->OnFrame(anna, Upload(u"Doe_John_1950.pdr", u"v1"));
    protocol->OnFrame(anna, u"#Q!#U\u00A2Doe_John_1950.pdr");
    ASSERT_EQ(due.size(), 1u);  // two changes, one sending
    // Anna asks at once and has the current list; Bruno asked before the last change.
    protocol->OnFrame(bruno, u"#W!#");
    protocol->OnFrame(anna, u"#Q!#L\u00A2Doe_John_1950.pdr");
    protocol->OnFrame(anna, u"#W!#");
    anna.sent.clear();
    bruno.sent.clear();
    due[0]();
    EXPECT_FALSE(anna.LastList());  // not the same list twice in a row
    EXPECT_EQ(bruno.LastList(), FreshList());
    // After the next change both get it again.
    due.clear();
    protocol->OnFrame(anna, u"#Q!#U\u00A2Doe_John_1950.pdr");
    ASSERT_EQ(due.size(), 1u);
    due[0]();
    EXPECT_EQ(anna.LastList(), FreshList());
    EXPECT_EQ(bruno.LastList(), FreshList());
    EXPECT_NE(FreshList().find(u"Doe_John_1950\u00A2\u00A2"), std::u16string::npos);
}

// A wave of log-ins and log-outs sends those already online one list of users, not one per
// log-in; each newcomer gets the list at once; a file change and a log-in go out together.
TEST_F(ServerProtocolListTest, UsersOnlineAreGatheredLikeTheFileLists) {
    DeferLists();
    store->SetUser(u"Carla", "hash");
    store->SetUser(u"Dora", "hash");
    RecordingLink carla{3};
    RecordingLink dora{4};
    anna.sent.clear();
    bruno.sent.clear();
    protocol->OnOpened(carla);
    protocol->OnFrame(carla, u"#I!#h|Carla|x|");
    EXPECT_TRUE(carla.Got(u"#S!#Anna|Bruno|Carla|"));
    protocol->OnOpened(dora);
    protocol->OnFrame(dora, u"#I!#h|Dora|x|");
    protocol->OnFrame(anna, Upload(u"Doe_John_1950.pdr", u"v1"));
    protocol->OnClosed(carla, "gone");
    EXPECT_EQ(dora.sent.back(), u"#S!#Anna|Bruno|Carla|Dora|");
    EXPECT_EQ(CountOf(anna, u"#S!#"), 0u);
    ASSERT_EQ(due.size(), 1u);  // one sending for all of it
    due[0]();
    for (RecordingLink* link : {&anna, &bruno, &dora}) {
        EXPECT_EQ(CountOf(*link, u"#S!#"), link == &dora ? 2u : 1u);
        auto users = std::find_if(link->sent.rbegin(), link->sent.rend(),
                                  [](const auto& f) { return f.starts_with(u"#S!#"); });
        EXPECT_EQ(*users, u"#S!#Anna|Bruno|Dora|");
        EXPECT_TRUE(link->LastList());
    }
    EXPECT_EQ(CountOf(carla, u"#S!#"), 1u);
    // Nothing changed since: the next sending sends no list of users again.
    due.clear();
    protocol->OnFrame(anna, u"#Q!#U\u00A2Doe_John_1950.pdr");
    ASSERT_EQ(due.size(), 1u);
    due[0]();
    EXPECT_EQ(CountOf(bruno, u"#S!#"), 1u);
    protocol->OnClosed(dora, "end");
}

// With many users online their list goes out less often; the newcomer still gets it at once.
TEST_F(ServerProtocolListTest, ALongListOfUsersIsSpacedOut) {
    std::vector<std::unique_ptr<RecordingLink>> ward;
    auto logIn = [&] {
        std::u16string name = u"Nurse" + ToText(static_cast<long long>(ward.size()));
        store->SetUser(name, "hash");
        ward.push_back(std::make_unique<RecordingLink>(100 + ward.size()));
        protocol->OnOpened(*ward.back());
        protocol->OnFrame(*ward.back(), u"#I!#h|" + name + u"|x|");
        return ward.back().get();
    };
    for (size_t i = 0; i < ServerProtocol::kUsersListSpacedFrom; ++i) logIn();
    anna.sent.clear();
    DeferLists();
    logIn();
    ASSERT_EQ(due.size(), 1u);
    std::this_thread::sleep_for(ServerProtocol::UsersListSpacing(ward.size() + 2));
    due[0]();
    EXPECT_EQ(CountOf(anna, u"#S!#"), 1u);
    RecordingLink* late = logIn();
    EXPECT_EQ(CountOf(*late, u"#S!#"), 1u);
    ASSERT_EQ(due.size(), 2u);
    due[1]();
    EXPECT_EQ(CountOf(anna, u"#S!#"), 1u);  // too soon: it waits its turn
    ASSERT_EQ(due.size(), 3u);
    std::this_thread::sleep_for(ServerProtocol::UsersListSpacing(ward.size() + 2));
    due[2]();
    EXPECT_EQ(CountOf(anna, u"#S!#"), 2u);
    EXPECT_EQ(CountOf(*late, u"#S!#"), 1u);  // he has it already
    EXPECT_EQ(due.size(), 3u);
    for (auto& link : ward) protocol->OnClosed(*link, "end");
}

// One user may send at most kMaxFilesPerUser new files; the others still may.
TEST_F(ServerProtocolListTest, NewFilesOfOneUserAreBounded) {
    for (int64_t i = 0; i < ServerProtocol::kMaxFilesPerUser; ++i) {
        protocol->OnFrame(anna,
                          Upload(u"Doe_" + ToText(static_cast<long long>(i)) + u".pdr", u"t"));
    }
    EXPECT_EQ(store->ActiveFileCount(), ServerProtocol::kMaxFilesPerUser);
    anna.sent.clear();
    protocol->OnFrame(anna, Upload(u"One_More_1990.pdr", u"t"));
    ASSERT_FALSE(anna.sent.empty());
    EXPECT_TRUE(anna.sent[0].starts_with(u"#D!#E"));
    EXPECT_NE(anna.sent[1].find(u"You have sent too many files"), std::u16string::npos);
    // Changing a file she has is not a new file; another user's new file is taken.
    anna.sent.clear();
    protocol->OnFrame(anna, Upload(u"Doe_7.pdr", u"t2"));
    EXPECT_TRUE(anna.sent[0].starts_with(u"#D!#O"));
    bruno.sent.clear();
    protocol->OnFrame(bruno, Upload(u"One_More_1990.pdr", u"t"));
    EXPECT_TRUE(bruno.sent[0].starts_with(u"#D!#O"));
}

}  // namespace
}  // namespace pondrel::server
