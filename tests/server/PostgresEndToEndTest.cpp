// Real pondrel-servers on a PostgreSQL database (a private cluster started by the tests; skipped,
// saying why, where PostgreSQL is not installed): a database lost under a running server, and two
// servers on one database with clients on each.

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "ClientFrames.h"
#include "PostgresCluster.h"
#include "ServerProcess.h"
#include "TempFolder.h"
#include "platform/Text.h"
#include "server/PostgresStore.h"

namespace pondrel {
namespace {

using test::Login;
using test::UploadFrame;

std::u16string MailFrame(std::u16string_view text, std::u16string_view recipient) {
    return std::u16string(text) + u"\u00A77.3.2006-10:00:00\u00A6" +
           ToText(static_cast<long long>(text.size())) + u"|5510\u00A2" +
           std::u16string(recipient) + u"\u00A2#F|";
}

// A raw client that keeps what it received, to wait for one answer after another.
class Client {
public:
    explicit Client(int port) : m_socket(test::ConnectRaw(port)) {}
    ~Client() {
        if (m_socket >= 0) ::close(m_socket);
    }
    bool Connected() const { return m_socket >= 0; }
    bool Send(std::u16string_view text) { return test::SendRaw(m_socket, text); }
    // Waits until what came since the last match holds `what`; false after `ms`.
    bool WaitFor(std::u16string_view what, int ms = 10'000) {
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (true) {
            size_t at = m_text.find(what);
            if (at != std::u16string::npos) {
                m_text.erase(0, at + what.size());
                return true;
            }
            if (std::chrono::steady_clock::now() >= end) return false;
            pollfd fd{m_socket, POLLIN, 0};
            if (::poll(&fd, 1, 20) <= 0) continue;
            char buffer[4096];
            ssize_t n = ::recv(m_socket, buffer, sizeof buffer, 0);
            if (n <= 0) return false;
            m_bytes.append(buffer, static_cast<size_t>(n));
            size_t whole = m_bytes.size() / 2 * 2;
            for (size_t i = 0; i < whole; i += 2) {
                m_text += static_cast<char16_t>((static_cast<unsigned char>(m_bytes[i]) << 8) |
                                                static_cast<unsigned char>(m_bytes[i + 1]));
            }
            m_bytes.erase(0, whole);
        }
    }

private:
    int m_socket;
    std::string m_bytes;
    std::u16string m_text;
};

class PostgresEndToEndTest : public ::testing::Test {
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
        ASSERT_TRUE(first->Start()) << first->Log();
    }
    std::unique_ptr<server::PostgresStore> OpenStore() {
        std::string error;
        auto store = server::PostgresStore::Open(address, error);
        EXPECT_TRUE(store) << error;
        return store;
    }

    test::TempFolder temp{"pondrel-pg-e2e"};
    test::PostgresCluster* cluster = nullptr;
    std::string address;
    std::unique_ptr<test::ServerProcess> first;
    std::unique_ptr<test::ServerProcess> second;
};

// The database goes away under a running server: the upload under way is answered "failed"
// (the client keeps its text and sends it again later), the user stays connected, and once the
// database is back the server stores again without a restart.
TEST_F(PostgresEndToEndTest, ALostDatabaseFailsTheUploadAndTheServerGoesOn) {
    Client anna(first->Port());
    ASSERT_TRUE(anna.Connected());
    ASSERT_TRUE(anna.Send(Login(u"Anna", u"111111") + UploadFrame(u"Doe_John_1950.pdr", u"v1", 1)));
    ASSERT_TRUE(anna.WaitFor(u"#D!#O\u00A68|1/")) << first->Log();

    ASSERT_TRUE(cluster->Stop());
    ASSERT_TRUE(anna.Send(UploadFrame(u"Doe_John_1950.pdr", u"v2", 2)));
    EXPECT_TRUE(anna.WaitFor(u"#D!#E\u00A68|2/")) << first->Log();
    ASSERT_TRUE(cluster->Start());
    // Attempts to reach the database are spaced by two seconds; the client sends again.
    std::this_thread::sleep_for(std::chrono::milliseconds(2100));
    ASSERT_TRUE(anna.Send(UploadFrame(u"Doe_John_1950.pdr", u"v2", 3)));
    EXPECT_TRUE(anna.WaitFor(u"#D!#O\u00A68|3/")) << first->Log();
    EXPECT_TRUE(first->Running());
    auto store = OpenStore();
    ASSERT_TRUE(store);
    EXPECT_EQ(store->FileText(u"Doe_John_1950"), u"v2");
    EXPECT_EQ(store->ActiveFile(u"Doe_John_1950")->holder, u"Anna");
}

// Two servers on one database: a file held through one is refused through the other, mail sent
// through one reaches its recipient on the other and waits in the database until he acknowledges
// it, a new file reaches the lists of both, and when one server dies the other one serves the
// files and locks it left as they were.
TEST_F(PostgresEndToEndTest, TwoServersOnOneDatabase) {
    ASSERT_TRUE(second->Start()) << second->Log();
    Client anna(first->Port());
    Client bruno(second->Port());
    ASSERT_TRUE(anna.Send(Login(u"Anna", u"111111") + UploadFrame(u"Doe_John_1950.pdr", u"v1", 1)));
    ASSERT_TRUE(anna.WaitFor(u"#D!#O\u00A68|1/")) << first->Log();
    ASSERT_TRUE(
        bruno.Send(Login(u"Bruno", u"222222") + UploadFrame(u"Doe_John_1950.pdr", u"stale", 2)));
    EXPECT_TRUE(bruno.WaitFor(u"#D!#U\u00A611|2/")) << second->Log();

    // Mail to Bruno, online at the other server, reaches him at once; not acknowledged, it waits
    // in the database and comes again at his next log-in.
    ASSERT_TRUE(anna.Send(MailFrame(u"across", u"Bruno")));
    ASSERT_TRUE(bruno.WaitFor(u"across")) << first->Log() << second->Log();
    Client brunoAgain(second->Port());
    ASSERT_TRUE(brunoAgain.Send(Login(u"Bruno", u"222222")));
    EXPECT_TRUE(brunoAgain.WaitFor(u"across")) << second->Log();
    // A new file sent through the first server reaches the list of a client of the second.
    ASSERT_TRUE(anna.Send(UploadFrame(u"Neu_Datei_1960.pdr", u"n", 5)));
    ASSERT_TRUE(anna.WaitFor(u"#D!#O\u00A67|5/")) << first->Log();
    EXPECT_TRUE(brunoAgain.WaitFor(u"Neu_Datei_1960\u00A2Anna", 5000)) << second->Log();

    // The first server dies: Anna's lock stays in the database, honoured by the second, and she
    // carries on through it.
    first->Kill();
    Client brunoThird(second->Port());
    ASSERT_TRUE(brunoThird.Send(Login(u"Bruno", u"222222") +
                                UploadFrame(u"Doe_John_1950.pdr", u"stale", 3)));
    EXPECT_TRUE(brunoThird.WaitFor(u"#D!#U\u00A611|3/")) << second->Log();
    Client annaAgain(second->Port());
    ASSERT_TRUE(
        annaAgain.Send(Login(u"Anna", u"111111") + UploadFrame(u"Doe_John_1950.pdr", u"v2", 4)));
    EXPECT_TRUE(annaAgain.WaitFor(u"#D!#O\u00A68|4/")) << second->Log();
    auto store = OpenStore();
    ASSERT_TRUE(store);
    EXPECT_EQ(store->FileText(u"Doe_John_1950"), u"v2");
}

}  // namespace
}  // namespace pondrel
