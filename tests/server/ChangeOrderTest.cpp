// The protocol with a runner of changes that the test drives by hand: a change under way holds
// its connection's later frames (and only those), its answer comes when it ends, and a connection
// that closes meanwhile leaves a change that still ends cleanly.

#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <memory>
#include <string>
#include <utility>

#include "RecordingLink.h"
#include "TempFolder.h"
#include "platform/Text.h"
#include "server/ChangeRunner.h"
#include "server/ServerLog.h"
#include "server/ServerOptions.h"
#include "server/ServerProtocol.h"
#include "server/SqliteStore.h"

namespace pondrel::server {
namespace {

using test::AcceptAll;
using test::RecordingLink;

std::u16string Upload(std::u16string_view name, std::u16string_view text, int code) {
    std::u16string frame = u"\u00A2File\u00A2" + std::u16string(text) + u"\u00A7Code\u00A7\u00A6";
    frame += ToText(static_cast<long long>(6 + text.size())) + u"|" + ToText(code);
    return frame + u"\u00A2" + std::u16string(name) + u"\u00A2Synch\u00A2";
}

// Keeps the changes until the test ends them, one at a time, in the order they came.
class HandRunner final : public ChangeRunner {
public:
    explicit HandRunner(ServerStore& store) : m_store(store) {}
    bool Run(Change change, Done done) override {
        waiting.emplace_back(std::move(change), std::move(done));
        return true;
    }
    void EndNext() {
        auto [change, done] = std::move(waiting.front());
        waiting.pop_front();
        done(change(m_store));
    }
    std::deque<std::pair<Change, Done>> waiting;

private:
    ServerStore& m_store;
};

class ChangeOrderTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        store = SqliteStore::Open((temp / "store.db").string(), error);
        ASSERT_TRUE(store) << error;
        store->SetUser(u"Anna", "hash");
        store->SetUser(u"Bruno", "hash");
        runner = std::make_unique<HandRunner>(*store);
        protocol = std::make_unique<ServerProtocol>(*store, log, options, passwords);
        protocol->SetChanges(*runner);
        for (auto* link : {&anna, &bruno}) protocol->OnOpened(*link);
        protocol->OnFrame(anna, u"#I!#h|Anna|x|");
        protocol->OnFrame(bruno, u"#I!#h|Bruno|x|");
    }
    void TearDown() override {
        for (auto* link : {&anna, &bruno}) {
            if (link->state != ClientLink::State::Closed) protocol->OnClosed(*link, "end");
        }
        std::fclose(sink);
    }
    // The place of the first frame sent to `link` that holds `what`, or -1.
    static int Place(const RecordingLink& link, std::u16string_view what) {
        for (size_t i = 0; i < link.sent.size(); ++i) {
            if (link.sent[i].find(what) != std::u16string::npos) return static_cast<int>(i);
        }
        return -1;
    }

    test::TempFolder temp{"pondrel-change-order"};
    std::FILE* sink = std::fopen("/dev/null", "w");
    ServerLog log{sink};
    ServerOptions options;
    AcceptAll passwords;
    std::unique_ptr<SqliteStore> store;
    std::unique_ptr<HandRunner> runner;
    std::unique_ptr<ServerProtocol> protocol;
    RecordingLink anna{1};
    RecordingLink bruno{2};
};

TEST_F(ChangeOrderTest, AChangeHoldsOnlyTheLaterFramesOfItsOwnConnection) {
    protocol->OnFrame(anna, Upload(u"Doe_John_1950.pdr", u"v1", 1));
    protocol->OnFrame(anna, u"#Q!#U\u00A2Doe_John_1950.pdr");
    protocol->OnFrame(anna, u"#X!#");
    ASSERT_EQ(runner->waiting.size(), 1u) << "the unlock started before the upload ended";
    EXPECT_EQ(Place(anna, u"#X!#1"), -1);
    EXPECT_EQ(Place(anna, u"#D!#"), -1) << "answered before the change ended";
    protocol->OnFrame(bruno, u"#X!#");
    EXPECT_GE(Place(bruno, u"#X!#1"), 0) << "another connection waited too";

    runner->EndNext();  // the upload: then the unlock starts, the question still waits
    EXPECT_GE(Place(anna, u"#D!#O"), 0);
    ASSERT_EQ(runner->waiting.size(), 1u);
    EXPECT_EQ(Place(anna, u"#X!#1"), -1);
    EXPECT_EQ(store->ActiveFile(u"Doe_John_1950")->holder, u"Anna");
    runner->EndNext();
    EXPECT_GT(Place(anna, u"#X!#1"), Place(anna, u"#D!#O"));
    EXPECT_EQ(store->ActiveFile(u"Doe_John_1950")->holder, u"");
    EXPECT_TRUE(runner->waiting.empty());
}

TEST_F(ChangeOrderTest, AConnectionThatClosesUnderAChangeLeavesItToEnd) {
    protocol->OnFrame(anna, Upload(u"Doe_John_1950.pdr", u"v1", 1));
    protocol->OnFrame(anna, u"#Q!#U\u00A2Doe_John_1950.pdr");
    anna.state = ClientLink::State::Closed;
    protocol->OnClosed(anna, "closed by the client");
    size_t before = anna.sent.size();
    runner->EndNext();
    // Stored as the store decided; nobody is answered, the frames that waited are dropped, and
    // the others get the new list.
    EXPECT_EQ(store->FileText(u"Doe_John_1950"), u"v1");
    EXPECT_EQ(anna.sent.size(), before);
    EXPECT_TRUE(runner->waiting.empty());
    ASSERT_TRUE(bruno.LastList());
    EXPECT_NE(bruno.LastList()->find(u"Doe_John_1950\u00A2Anna"), std::u16string::npos);
}

// A runner that has no room fails the change at once; the connection goes on.
TEST_F(ChangeOrderTest, AChangeWithoutRoomFailsAndTheConnectionGoesOn) {
    class FullRunner final : public ChangeRunner {
    public:
        bool Run(Change, Done) override { return false; }
    } full;
    protocol->SetChanges(full);
    protocol->OnFrame(anna, Upload(u"Doe_John_1950.pdr", u"v1", 1));
    protocol->OnFrame(anna, u"#X!#");
    EXPECT_GE(Place(anna, u"#D!#E"), 0);
    EXPECT_GT(Place(anna, u"#X!#1"), Place(anna, u"#D!#E"));
    EXPECT_FALSE(store->FileText(u"Doe_John_1950"));
}

}  // namespace
}  // namespace pondrel::server
