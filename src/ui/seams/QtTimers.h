#pragma once

#include <functional>
#include <map>
#include <memory>

#include "platform/Timers.h"

class QTimer;

namespace pondrel {

// One QTimer per role, living as long as this object; a handler may stop or restart its own
// timer (or another) while it runs. Must be destroyed on the user-interface thread, before the
// Qt application.
class QtTimers final : public Timers {
public:
    QtTimers();
    ~QtTimers() override;
    QtTimers(const QtTimers&) = delete;
    QtTimers& operator=(const QtTimers&) = delete;

    void Start(TimerId id, int intervalMs, std::function<void()> onTick) override;
    void Stop(TimerId id) override;
    bool IsRunning(TimerId id) const override;
    // Milliseconds between ticks of a running timer, 0 when it is stopped.
    int Interval(TimerId id) const;
    // Stops every timer (on exit).
    void StopAll();
    // Test hook: runs the handler of a running timer now, as its next tick would; false when
    // the timer is not running.
    bool Fire(TimerId id);

private:
    struct Slot {
        std::unique_ptr<QTimer> timer;
        std::function<void()> onTick;
    };
    Slot& SlotOf(TimerId id);

    std::map<TimerId, Slot> m_slots;
};

}  // namespace pondrel
