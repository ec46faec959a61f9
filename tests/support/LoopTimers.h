#pragma once

// Timers for tests that run against a real server: they fire in real time, but only when the
// test's own loop calls RunDue (on the test thread, as the user-interface thread would).

#include <chrono>
#include <functional>
#include <map>

#include "platform/Timers.h"

namespace pondrel::test {

class LoopTimers final : public Timers {
public:
    using Clock = std::chrono::steady_clock;

    void Start(TimerId id, int intervalMs, std::function<void()> onTick) override {
        m_timers[id] = {intervalMs, Clock::now() + std::chrono::milliseconds(intervalMs),
                        std::move(onTick)};
    }
    void Stop(TimerId id) override { m_timers.erase(id); }
    bool IsRunning(TimerId id) const override { return m_timers.count(id) != 0; }

    // Runs the handler of every timer that is due; each handler may stop or restart timers.
    void RunDue() {
        auto now = Clock::now();
        for (auto it = m_timers.begin(); it != m_timers.end();) {
            TimerId id = it->first;
            if (it->second.due > now) {
                ++it;
                continue;
            }
            it->second.due = now + std::chrono::milliseconds(it->second.interval);
            auto onTick = it->second.onTick;
            onTick();
            it = m_timers.upper_bound(id);  // the handler may have changed the map
        }
    }

private:
    struct Running {
        int interval;
        Clock::time_point due;
        std::function<void()> onTick;
    };
    std::map<TimerId, Running> m_timers;
};

}  // namespace pondrel::test
