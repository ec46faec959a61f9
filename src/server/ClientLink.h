#pragma once

// One client connection as the server's protocol sees it: what it may send, its log-in state, and
// how it ends. ServerSession is the one on a socket; tests and the fuzzer use their own.

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "sync/WireCodec.h"
#include "sync/WireFormat.h"

namespace pondrel::server {

class ClientLink {
public:
    enum class State { Identifying, Verifying, Online, Closing, Closed };

    virtual ~ClientLink() = default;

    virtual uint64_t Id() const = 0;
    // For the log: "conn 12 10.0.0.5:50123", with the user name once logged in.
    virtual std::string LogName() const = 0;
    virtual State GetState() const = 0;
    bool IsOpen() const { return GetState() != State::Closing && GetState() != State::Closed; }
    virtual const std::u16string& User() const = 0;
    // The peer's address without its port ("10.0.0.5", "::1"); an IPv4 peer of an IPv6 socket
    // as IPv4.
    virtual std::string Address() const = 0;

    // Queues one frame (its end is added).
    virtual void SendFrame(std::u16string_view frame) = 0;
    // Queues one frame already encoded with its end (WireFrame), shared by many connections (the
    // list every client gets): a link that keeps frames as text takes `frame`.
    virtual void SendWire(std::u16string_view frame, const std::shared_ptr<const std::string>&) {
        SendFrame(frame);
    }
    // Queues a keep-alive request; its number on this connection (1, 2, ...). The program
    // answers every one in order, after everything sent before it.
    virtual uint64_t SendKeepAlive() = 0;
    // Bytes queued and not yet written to the socket.
    virtual size_t PendingWriteBytes() const = 0;
    // Ends the connection at once, or once everything queued was sent; the reason is logged.
    virtual void Close(std::string_view reason) = 0;
    virtual void CloseAfterSending(std::string_view reason) = 0;

    virtual void SetVerifying() = 0;
    // Logged in: larger frames are accepted from now on.
    virtual void SetOnline(std::u16string user) = 0;
    // Frames that arrive while the password is checked wait here (a few kilobytes at most: the
    // connection stops reading meanwhile); false when too many.
    virtual bool HoldFrame(std::u16string frame) = 0;
    virtual std::deque<std::u16string> TakeHeldFrames() = 0;
    // While a change of this connection runs in the store, its next frames wait: the connection
    // hands none over (and stops reading once it holds a frame) until ResumeFrames, which hands
    // over those it holds, in order, after the caller returned. A link that cannot wait hands
    // them over anyway, and the protocol keeps them.
    virtual void PauseFrames() {}
    virtual void ResumeFrames() {}
};

// The bytes of one frame with its end, as a connection sends them.
inline std::string WireFrame(std::u16string_view frame) {
    std::string bytes;
    bytes.reserve(2 * (frame.size() + kFrameEnd.size()));
    AppendWire(frame, bytes);
    AppendWire(kFrameEnd, bytes);
    return bytes;
}

// Checks a password against its stored hash, perhaps on another thread; `done` runs on the
// protocol's thread. An empty hash (an unknown user) is never accepted, but takes as long.
class PasswordChecker {
public:
    virtual ~PasswordChecker() = default;
    virtual void Check(std::string hash, std::u16string password,
                       std::function<void(bool accepted)> done) = 0;
    // True when `password` matched `hash` lately (no check needed); for a wrong password never.
    virtual bool Recent(const std::string& /*hash*/, std::u16string_view /*password*/) {
        return false;
    }
    // The user who logged in with `hash` is still online (told now and then): a checker that
    // remembers recent log-ins keeps his.
    virtual void StillOnline(const std::string& /*hash*/) {}
};

}  // namespace pondrel::server
