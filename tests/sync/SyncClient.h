#pragma once

// A client of a real server made of the program's own synchronisation code, without Qt: the
// connection with its workers on real sockets, real-time timers that the test's loop runs, and a
// listener that writes down what the pages would be told. Several clients share one Waker, and
// one loop (the test thread, as the user-interface thread) steps them all.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "Doubles.h"
#include "LoopTimers.h"
#include "RecordingListener.h"
#include "platform/Clock.h"
#include "sync/Connection.h"
#include "sync/PosixSocket.h"

namespace pondrel::test {

class Waker {
public:
    void Wake() {
        {
            std::lock_guard lock(m_mutex);
            m_woken = true;
        }
        m_changed.notify_all();
    }
    void Wait(int ms) {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_woken; });
        m_woken = false;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_woken = false;
};

class SyncClient final : public ConnectionHost {
public:
    SyncClient(Waker& waker, std::u16string user, std::u16string password, int port)
        : m_waker(waker) {
        connection.SetListener(&listener);
        connection.SetSettings(
            WirelessSettings{std::move(user), std::move(password), 0, u"127.0.0.1", port},
            NetworkOptions{});
    }
    ~SyncClient() override { connection.Shutdown(); }

    void WakeUserInterface() override { m_waker.Wake(); }
    // One turn of the client's user-interface thread.
    void Step() {
        connection.OnWorkerMessages();
        timers.RunDue();
    }
    bool HasNotice(std::u16string_view text) const {
        for (const auto& notice : messages.notices) {
            if (notice.text == text) return true;
        }
        return false;
    }

    PosixSocketFactory sockets;
    LoopTimers timers;
    SystemClock clock;
    ScriptedMessages messages;
    RecordingListener listener;
    Connection connection{sockets, timers, clock, messages, *this};

private:
    Waker& m_waker;
};

// Steps every client (anything with Step()) until `done` holds; false after `ms`.
template <typename Client>
bool PumpAll(Waker& waker, const std::vector<Client*>& clients, const std::function<bool()>& done,
             int ms = 10'000) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        for (Client* client : clients) client->Step();
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        waker.Wait(5);
    }
}

}  // namespace pondrel::test
