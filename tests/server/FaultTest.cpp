// The server under faults: killed while files are uploaded, clients that vanish in the middle of
// a frame again and again. Afterwards every stored file is one whole version, every lock has a
// holder who can log in and release it, and no mail the server confirmed is lost.

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "ClientFrames.h"
#include "ServerProcess.h"
#include "TempFolder.h"
#include "platform/Text.h"
#include "server/ServerCommands.h"
#include "server/SqliteStore.h"

namespace pondrel {
namespace {

using test::Login;
using test::UploadFrame;

constexpr size_t kBodyChars = 25'000;  // 50 KB on the wire

// Version `n` of a file: its number, then a body that tells a whole version from a torn one.
std::u16string Version(int n) {
    return u"v" + ToText(n) + u":" +
           std::u16string(kBodyChars, static_cast<char16_t>(u'a' + n % 26)) + u":end";
}

bool IsWholeVersion(const std::u16string& text) {
    size_t colon = text.find(u':');
    if (text.size() < 2 || text[0] != u'v' || colon == std::u16string::npos) return false;
    int n = std::stoi(ToUtf8(text.substr(1, colon - 1)));
    return text == Version(n);
}

std::u16string MailFrame(int n, std::u16string_view recipient) {
    std::u16string text = u"mail " + ToText(n);
    return text + u"\u00A77.3.2006-10:00:00\u00A6" + ToText(static_cast<long long>(text.size())) +
           u"|55" + ToText(n) + u"0\u00A2" + std::u16string(recipient) + u"\u00A2#F|";
}

// Reads what the server sends until its text holds `what`; false after `ms`.
bool WaitForText(int socket, std::u16string_view what, int ms) {
    std::string bytes;
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        pollfd fd{socket, POLLIN, 0};
        if (::poll(&fd, 1, 20) <= 0) continue;
        char buffer[4096];
        ssize_t n = ::recv(socket, buffer, sizeof buffer, 0);
        if (n <= 0) return false;
        bytes.append(buffer, static_cast<size_t>(n));
        std::u16string text;
        for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
            text += static_cast<char16_t>((static_cast<unsigned char>(bytes[i]) << 8) |
                                          static_cast<unsigned char>(bytes[i + 1]));
        }
        if (text.find(what) != std::u16string::npos) return true;
    }
    return false;
}

class FaultTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.AddUser("Anna", "111111"));
        ASSERT_TRUE(server.AddUser("Carla", "333333"));
    }
    std::unique_ptr<server::SqliteStore> OpenStore() {
        std::string path;
        std::string error;
        EXPECT_TRUE(server::PrepareDataFolder(data, path));
        auto store = server::SqliteStore::Open(path, error);
        EXPECT_TRUE(store) << error;
        return store;
    }
    // Every active file whole, every holder a user who can log in and release it.
    void ExpectConsistent(server::SqliteStore& store, const std::string& when) {
        EXPECT_EQ(store.IntegrityCheck(), "ok") << when;
        std::vector<std::u16string> users = store.Users();
        for (const auto& file : store.ActiveFiles()) {
            auto text = store.FileText(file.name);
            ASSERT_TRUE(text) << when;
            EXPECT_TRUE(IsWholeVersion(*text))
                << when << ": " << ToUtf8(file.name) << " holds " << text->size() << " characters";
            if (!file.holder.empty()) {
                EXPECT_NE(std::find(users.begin(), users.end(), file.holder), users.end()) << when;
            }
        }
    }
    // Waits until the store holds `count` mails for Carla (the server confirmed them).
    bool MailKept(size_t count) {
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < end) {
            if (auto store = OpenStore();
                store && store->UndeliveredMail(u"Carla").size() >= count) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    test::TempFolder temp{"pondrel-fault"};
    std::string data = (temp / "data").string();
    test::ServerProcess server{PONDREL_SERVER_PATH, data};
    std::mt19937 random{20061209};
};

TEST_F(FaultTest, KilledDuringUploadsEveryFileIsAWholeVersionAndNoMailIsLost) {
    constexpr int kRounds = 4;
    for (int round = 0; round < kRounds; ++round) {
        ASSERT_TRUE(server.Start()) << server.Log();
        int socket = test::ConnectRaw(server.Port());
        ASSERT_GE(socket, 0);
        ASSERT_TRUE(test::SendRaw(socket, Login(u"Anna", u"111111") + MailFrame(round, u"Carla")));
        ASSERT_TRUE(MailKept(static_cast<size_t>(round) + 1)) << server.Log();
        // Uploads of growing versions of three files, until the server dies under them.
        std::thread uploads([&] {
            for (int n = 0; n < 400; ++n) {
                std::u16string name = u"Doe_" + ToText(n % 3) + u".pdr";
                if (!test::SendRaw(socket, UploadFrame(name, Version(round * 1000 + n)))) break;
            }
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(50 + random() % 300));
        server.Kill();
        uploads.join();
        ::close(socket);

        auto store = OpenStore();
        ASSERT_TRUE(store);
        ExpectConsistent(*store, "round " + std::to_string(round));
        EXPECT_EQ(store->UndeliveredMail(u"Carla").size(), static_cast<size_t>(round) + 1);
    }
    auto store = OpenStore();
    EXPECT_FALSE(store->ActiveFiles().empty());
}

TEST_F(FaultTest, AThousandClientsCutOffMidFrameLeaveOnlyWholeFiles) {
    ASSERT_TRUE(server.Start()) << server.Log();
    std::u16string login = Login(u"Anna", u"111111");
    for (int i = 0; i < 1000; ++i) {
        int socket = test::ConnectRaw(server.Port());
        ASSERT_GE(socket, 0) << "connection " << i;
        ASSERT_TRUE(test::SendRaw(socket, login));
        ASSERT_TRUE(WaitForText(socket, u"#S!#", 5000)) << "connection " << i;
        // A whole version, then the next one cut at a random place (now and then inside the
        // first one already).
        std::u16string stream = UploadFrame(u"Doe_John_1950.pdr", Version(2 * i)) +
                                UploadFrame(u"Doe_John_1950.pdr", Version(2 * i + 1));
        size_t cut = i % 4 == 0 ? random() % stream.size()
                                : stream.size() - 1 - random() % (kBodyChars + 20);
        test::SendRaw(socket, std::u16string_view(stream).substr(0, cut));
        if (i % 2 == 0) {
            ::close(socket);  // gone at once
        } else {
            ::shutdown(socket, SHUT_WR);  // gone once the server saw the end
            test::ReceiveRawUntilClosed(socket, 5000);
        }
    }
    // A last client: the server still answers, and sees a whole file held by Anna.
    int socket = test::ConnectRaw(server.Port());
    ASSERT_GE(socket, 0);
    ASSERT_TRUE(test::SendRaw(socket, login + u"#M!##F|"));
    EXPECT_TRUE(WaitForText(socket, u"#N!#Doe_John_1950\u00A2Anna\u00A2", 10'000))
        << server.Log().substr(0, 2000);
    ::close(socket);
    ASSERT_TRUE(server.Stop());
    auto store = OpenStore();
    ASSERT_TRUE(store);
    ExpectConsistent(*store, "after the cut connections");
    auto text = store->FileText(u"Doe_John_1950");
    ASSERT_TRUE(text);
    // Only the whole versions (even numbers) were ever complete frames.
    EXPECT_EQ(std::stoi(ToUtf8(text->substr(1, text->find(u':') - 1))) % 2, 0);
}

}  // namespace
}  // namespace pondrel
