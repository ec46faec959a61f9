// Any bytes from a client, as the server reads them: the splitter with the limits of a
// connection before and after the log-in, then the server's protocol on an in-memory store.
// It must not crash and must keep its bookkeeping of who is online.
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <string>
#include <utility>

#include "server/ClientLink.h"
#include "server/ServerLog.h"
#include "server/ServerOptions.h"
#include "server/ServerProtocol.h"
#include "server/SqliteStore.h"
#include "sync/FrameSplitter.h"
#include "sync/WireCodec.h"

namespace {

using namespace pondrel;
using namespace pondrel::server;

class FakeLink final : public ClientLink {
public:
    explicit FakeLink(uint64_t id) : m_id(id) {}
    uint64_t Id() const override { return m_id; }
    std::string LogName() const override { return "fuzz"; }
    State GetState() const override { return state; }
    const std::u16string& User() const override { return user; }
    std::string Address() const override { return "127.0.0.1"; }
    uint64_t SendKeepAlive() override {
        SendFrame(u"#K!#");
        return ++keepAlives;
    }
    size_t PendingWriteBytes() const override { return 0; }
    void SendFrame(std::u16string_view frame) override { sent += frame.size(); }
    void Close(std::string_view) override { state = State::Closed; }
    void CloseAfterSending(std::string_view) override { state = State::Closed; }
    void SetVerifying() override { state = State::Verifying; }
    void SetOnline(std::u16string name) override {
        user = std::move(name);
        state = State::Online;
    }
    bool HoldFrame(std::u16string frame) override {
        held.push_back(std::move(frame));
        return held.size() < 100;
    }
    std::deque<std::u16string> TakeHeldFrames() override { return std::exchange(held, {}); }

    State state = State::Identifying;
    uint64_t keepAlives = 0;
    std::u16string user;
    std::deque<std::u16string> held;
    size_t sent = 0;

private:
    uint64_t m_id;
};

// Accepts "123456" at once (the real checker runs on a pool of threads).
class PlainPasswords final : public PasswordChecker {
public:
    void Check(std::string hash, std::u16string password, std::function<void(bool)> done) override {
        done(!hash.empty() && password == u"123456");
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::FILE* sink = std::fopen("/dev/null", "w");
    std::string error;
    auto store = SqliteStore::Open(":memory:", error);
    if (!store) std::abort();
    store->SetUser(u"Anna", "hash");
    store->SetUser(u"Bruno", "hash");
    ServerLog log(sink);
    ServerOptions options;
    options.maxLoginFrameChars = 64;
    options.maxFrameChars = 4096;
    PlainPasswords passwords;
    ServerProtocol protocol(*store, log, options, passwords);

    // Bruno is online; the fuzzed client talks to him through the server.
    FakeLink bruno(1);
    protocol.OnOpened(bruno);
    protocol.OnFrame(bruno, u"#I!#h|Bruno|123456|");
    FakeLink client(2);
    protocol.OnOpened(client);

    WireDecoder decoder;
    FrameSplitter splitter(options.maxLoginFrameChars);
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (size_t at = 0; at < bytes.size() && client.IsOpen(); at += 97) {
        if (!splitter.Append(decoder.Feed(bytes.substr(at, 97)))) break;
        while (client.IsOpen()) {
            auto frame = splitter.Next();
            if (!frame) break;
            protocol.OnFrame(client, std::move(*frame));
            if (client.state == ClientLink::State::Online) splitter.SetLimit(options.maxFrameChars);
        }
    }
    protocol.OnClosed(client, "end");
    if (protocol.OnlineCount() != (bruno.state == ClientLink::State::Online ? 1u : 0u)) {
        std::abort();
    }
    protocol.OnClosed(bruno, "end");
    if (protocol.OnlineCount() != 0) std::abort();
    return 0;
}
