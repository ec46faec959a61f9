// Encrypted connections between the program's connection code and a real pondrel-server on
// loopback, with certificates made by the test: the log-in and a file going through, and every
// way the program refuses a server without sending its password.

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <thread>

#include "ServerProcess.h"
#include "TempFolder.h"
#include "TestCertificate.h"
#include "WardClient.h"
#include "platform/Text.h"
#include "sync/WireCodec.h"

namespace pondrel {
namespace {

using test::WardClient;

constexpr std::u16string_view kNotTrusted =
    u"The server's certificate is not trusted. No connection.";
constexpr std::u16string_view kExpired = u"The server's certificate has expired. No connection.";
constexpr std::u16string_view kNotEncrypted =
    u"The server does not answer with an encrypted connection. No connection.";
constexpr std::u16string_view kNoFile =
    u"The certificate file can't be read. Check Wireless settings. No connection.";

class TlsEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(test::MakeCertificate(temp.Path(), "ward", "127.0.0.1", 0, 30, ward));
        ASSERT_TRUE(server.AddUser("Anna", "111111"));
    }
    bool StartTls(const test::CertificateFiles& files) {
        return server.Start(
            0, {"--tls-cert", files.certificate.string(), "--tls-key", files.key.string()});
    }
    WardClient& Client(int port, bool encrypted, const std::filesystem::path& certificate) {
        client = std::make_unique<WardClient>(waker, u"Anna", u"111111", port);
        client->prefs.wireless.encrypted = encrypted;
        client->prefs.wireless.certificateFile = FromUtf8(certificate.string());
        client->connection.SetSettings(client->prefs.wireless, client->prefs.network);
        return *client;
    }
    bool Pump(const std::function<bool()>& done, int ms = 10'000) {
        return test::PumpAll(waker, std::vector<WardClient*>{client.get()}, done, ms);
    }
    // Connects and waits for `notice`; the connection must never come up.
    void ExpectRefusal(std::u16string_view notice) {
        client->connection.Connect();
        EXPECT_TRUE(Pump([&] { return client->HasNotice(notice); })) << ToUtf8(notice);
        EXPECT_FALSE(client->connection.Online());
        // No attempt follows: the settings or the server must change first.
        EXPECT_FALSE(Pump([&] { return client->connection.Online(); }, 1500));
        EXPECT_EQ(server.Log().find("Anna"), std::string::npos) << server.Log();
    }

    test::TempFolder temp{"pondrel-tls"};
    std::string data = (temp / "data").string();
    test::ServerProcess server{PONDREL_SERVER_PATH, data};
    test::CertificateFiles ward;
    test::Waker waker;
    std::unique_ptr<WardClient> client;
};

TEST_F(TlsEndToEndTest, LogsInAndSendsAFileWithTheWardCertificate) {
    ASSERT_TRUE(StartTls(ward)) << server.Log();
    WardClient& anna = Client(server.Port(), true, ward.certificate);
    // Written just after the server printed where it listens.
    EXPECT_TRUE(Pump(
        [&] { return server.Log().find("connections are encrypted") != std::string::npos; }, 3000))
        << server.Log();
    anna.AddPatient(u"Doe", u"John", u"1950", u"by Anna over TLS");
    anna.connection.Connect();
    ASSERT_TRUE(Pump([&] { return anna.connection.Online(); })) << server.Log();
    anna.session.Files().SynchOne(anna.HandheldRow(u"Doe_John_1950.pdr"));
    EXPECT_TRUE(Pump([&] {
        const ActiveFileRow* r = anna.Row(u"Doe_John_1950.pdr");
        return r && !anna.session.Files().OperationUnderWay() &&
               r->columns[ActiveFileRow::kCurrentUser] == u"Anna" &&
               r->columns[ActiveFileRow::kState] == u"Locked";
    })) << server.Log();
}

TEST_F(TlsEndToEndTest, RefusesASelfSignedCertificateWithTheSystemAuthorities) {
    ASSERT_TRUE(StartTls(ward)) << server.Log();
    Client(server.Port(), true, {});
    ExpectRefusal(kNotTrusted);
}

TEST_F(TlsEndToEndTest, RefusesACertificateOfAnotherServer) {
    test::CertificateFiles other;
    ASSERT_TRUE(test::MakeCertificate(temp.Path(), "other", "127.0.0.1", 0, 30, other));
    ASSERT_TRUE(StartTls(ward)) << server.Log();
    Client(server.Port(), true, other.certificate);
    ExpectRefusal(kNotTrusted);
}

TEST_F(TlsEndToEndTest, RefusesACertificateForAnotherAddress) {
    test::CertificateFiles elsewhere;
    ASSERT_TRUE(test::MakeCertificate(temp.Path(), "elsewhere", "10.1.2.3", 0, 30, elsewhere));
    ASSERT_TRUE(StartTls(elsewhere)) << server.Log();
    Client(server.Port(), true, elsewhere.certificate);
    ExpectRefusal(kNotTrusted);
}

TEST_F(TlsEndToEndTest, RefusesAnExpiredCertificate) {
    test::CertificateFiles expired;
    ASSERT_TRUE(test::MakeCertificate(temp.Path(), "expired", "127.0.0.1", -30, -1, expired));
    ASSERT_TRUE(StartTls(expired)) << server.Log();
    Client(server.Port(), true, expired.certificate);
    ExpectRefusal(kExpired);
}

TEST_F(TlsEndToEndTest, RefusesAPlainServer) {
    ASSERT_TRUE(server.Start()) << server.Log();
    Client(server.Port(), true, ward.certificate);
    ExpectRefusal(kNotEncrypted);
}

TEST_F(TlsEndToEndTest, RefusesAnUnreadableCertificateFile) {
    ASSERT_TRUE(StartTls(ward)) << server.Log();
    Client(server.Port(), true, temp / "missing.crt");
    ExpectRefusal(kNoFile);
}

TEST_F(TlsEndToEndTest, TheServerRefusesAPlainClient) {
    ASSERT_TRUE(StartTls(ward)) << server.Log();
    WardClient& anna = Client(server.Port(), false, {});
    anna.connection.Connect();
    EXPECT_FALSE(Pump([&] { return anna.connection.Online(); }, 3000));
    EXPECT_TRUE(Pump([&] { return server.Log().find("no TLS handshake") != std::string::npos; }))
        << server.Log();
}

TEST_F(TlsEndToEndTest, TheServerDoesNotStartWithAKeyOfAnotherCertificate) {
    test::CertificateFiles other;
    ASSERT_TRUE(test::MakeCertificate(temp.Path(), "other", "127.0.0.1", 0, 30, other));
    EXPECT_FALSE(server.Start(
        0, {"--tls-cert", ward.certificate.string(), "--tls-key", other.key.string()}));
    EXPECT_NE(server.Log().find("cannot use the key"), std::string::npos) << server.Log();
}

// A listener that records what the program sends: only a TLS hello, never the password.
TEST_F(TlsEndToEndTest, ThePasswordIsNotSentBeforeTheCheck) {
    int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 1), 0);
    socklen_t length = sizeof address;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    std::string received;
    std::thread peer([&] {
        int connection = ::accept(listener, nullptr, nullptr);
        if (connection < 0) return;
        // Answers like a plain server (its first frame), then reads what comes for a while.
        std::string frame;
        AppendWire(u"#O!#25#F|", frame);
        [[maybe_unused]] ssize_t sent =
            ::send(connection, frame.data(), frame.size(), MSG_NOSIGNAL);
        char buffer[4096];
        pollfd wait{connection, POLLIN, 0};
        while (::poll(&wait, 1, 1500) > 0) {
            ssize_t n = ::recv(connection, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            received.append(buffer, static_cast<size_t>(n));
        }
        ::close(connection);
    });
    Client(ntohs(address.sin_port), true, ward.certificate);
    client->connection.Connect();
    EXPECT_TRUE(Pump([&] { return client->HasNotice(kNotEncrypted); }));
    peer.join();
    ::close(listener);
    ASSERT_FALSE(received.empty());
    EXPECT_EQ(received[0], '\x16');  // a TLS handshake record
    std::string password;
    AppendWire(u"111111", password);
    EXPECT_EQ(received.find(password), std::string::npos);
    std::string identification;
    AppendWire(u"#I!#", identification);
    EXPECT_EQ(received.find(identification), std::string::npos);
}

}  // namespace
}  // namespace pondrel
