// Any bytes from the server, cut into receives as the first byte says, handled by the program's
// connection exactly as received text is: the splitter with its carry-over and limit, then the
// frame dispatcher. It must not crash, and how the bytes were cut must not change what is
// handled.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/Timers.h"
#include "platform/UserMessages.h"
#include "sync/Connection.h"
#include "sync/Socket.h"
#include "sync/WireCodec.h"

namespace {

using namespace pondrel;

class NoTimers final : public Timers {
public:
    void Start(TimerId, int, std::function<void()>) override {}
    void Stop(TimerId) override {}
    bool IsRunning(TimerId) const override { return false; }
};
class StillClock final : public Clock {
public:
    DateTime Now() override { return {2006, 3, 7, 9, 5, 0}; }
    uint64_t TickCount() override { return 0; }
};
class NoMessages final : public UserMessages {
public:
    BoxAnswer ShowBox(const std::u16string&, const std::u16string&, BoxButtons, BoxIcon) override {
        return BoxAnswer::Ok;
    }
    void ShowNotice(const std::u16string& text, int, bool) override { trace += text + u"\n"; }
    std::u16string trace;
};
class NoSockets final : public SocketFactory {
public:
    std::unique_ptr<Socket> Create() override { return nullptr; }
    std::u16string HostName() override { return u"fuzz"; }
};
class NoHost final : public ConnectionHost {
public:
    void WakeUserInterface() override {}
};
// Writes down what the pages are told.
class Trace final : public SyncListener {
public:
    void OnOnlineUsers(const std::vector<std::u16string>& users) override {
        for (const auto& user : users) text += u"U" + user;
    }
    void OnChatLine(std::u16string_view line) override { text += u"A" + std::u16string(line); }
    void OnActiveList(std::u16string_view p) override { text += u"N" + std::u16string(p); }
    void OnMailReceived(const ReceivedMail& mail) override { text += u"M" + mail.code; }
    void OnFileReceived(std::u16string_view name, std::u16string_view) override {
        text += u"F" + std::u16string(name);
    }
    void OnFileAltered(std::u16string_view name) override { text += u"X" + std::u16string(name); }
    std::u16string text;
};

// Everything handled when `text` arrives in pieces of `piece` characters (0: at once).
std::u16string Handle(const std::u16string& text, size_t piece) {
    NoSockets sockets;
    NoTimers timers;
    StillClock clock;
    NoMessages messages;
    NoHost host;
    Trace trace;
    Connection connection(sockets, timers, clock, messages, host);
    connection.SetListener(&trace);
    if (piece == 0) piece = text.size() + 1;
    for (size_t at = 0; at < text.size(); at += piece) {
        connection.DispatchText(std::u16string_view(text).substr(at, piece));
    }
    connection.SetListener(nullptr);
    return trace.text + u"|" + messages.trace;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    size_t cut = data[0] % 17;
    // The bytes cut anywhere give the same characters.
    WireDecoder whole;
    std::u16string text = whole.Feed(bytes);
    WireDecoder pieces;
    std::u16string again;
    for (size_t at = 0; at < bytes.size(); at += cut + 1) {
        pieces.Feed(bytes.substr(at, cut + 1), again);
    }
    if (again != text) std::abort();
    // The frames cut anywhere are handled the same.
    if (Handle(text, 0) != Handle(text, cut + 1)) std::abort();
    return 0;
}
