// A connection without a socket for the protocol's tests: it records every frame the protocol
// sends it and keeps the state the protocol gives it.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "server/ClientLink.h"

namespace pondrel::test {

using server::ClientLink;
using server::PasswordChecker;

class RecordingLink : public ClientLink {
public:
    explicit RecordingLink(uint64_t id, std::string address = "127.0.0.1")
        : m_id(id), m_address(std::move(address)) {}
    uint64_t Id() const override { return m_id; }
    std::string LogName() const override { return "test"; }
    State GetState() const override { return state; }
    const std::u16string& User() const override { return user; }
    std::string Address() const override { return m_address; }
    uint64_t SendKeepAlive() override {
        SendFrame(u"#K!#");
        return ++keepAlives;
    }
    size_t PendingWriteBytes() const override { return 0; }
    void SendFrame(std::u16string_view frame) override { sent.emplace_back(frame); }
    void Close(std::string_view) override { state = State::Closed; }
    void CloseAfterSending(std::string_view) override { state = State::Closed; }
    void SetVerifying() override { state = State::Verifying; }
    void SetOnline(std::u16string name) override {
        user = std::move(name);
        state = State::Online;
    }
    bool HoldFrame(std::u16string frame) override {
        held.push_back(std::move(frame));
        return true;
    }
    std::deque<std::u16string> TakeHeldFrames() override { return std::exchange(held, {}); }

    // Whether a frame holding `what` was sent.
    bool Got(std::u16string_view what) const {
        for (const std::u16string& frame : sent) {
            if (frame.find(what) != std::u16string::npos) return true;
        }
        return false;
    }
    // The last active-file list received, without its code; none if none came.
    std::optional<std::u16string> LastList() const {
        for (auto it = sent.rbegin(); it != sent.rend(); ++it) {
            if (it->starts_with(u"#N!#")) return it->substr(4);
        }
        return std::nullopt;
    }

    State state = State::Identifying;
    uint64_t keepAlives = 0;
    std::u16string user;
    std::deque<std::u16string> held;
    std::vector<std::u16string> sent;

private:
    uint64_t m_id;
    std::string m_address;
};

// A password check that takes every password, at once.
class AcceptAll final : public PasswordChecker {
public:
    void Check(std::string, std::u16string, std::function<void(bool)> done) override { done(true); }
};

}  // namespace pondrel::test
