#include "ui/seams/QtTimers.h"

#include <QTimer>

#include <algorithm>

namespace pondrel {

QtTimers::QtTimers() = default;
QtTimers::~QtTimers() {
    StopAll();
}

QtTimers::Slot& QtTimers::SlotOf(TimerId id) {
    Slot& slot = m_slots[id];
    if (!slot.timer) {
        slot.timer = std::make_unique<QTimer>();
        slot.timer->setTimerType(Qt::CoarseTimer);
        QTimer::connect(slot.timer.get(), &QTimer::timeout, slot.timer.get(), [this, id] {
            // A copy: the handler may start the timer again with another handler.
            std::function<void()> onTick = m_slots[id].onTick;
            if (onTick) onTick();
        });
    }
    return slot;
}

void QtTimers::Start(TimerId id, int intervalMs, std::function<void()> onTick) {
    Slot& slot = SlotOf(id);
    slot.onTick = std::move(onTick);
    slot.timer->start(std::max(0, intervalMs));
    if (id == TimerId::Backup) {
        // The backup timer's first tick comes at once, as soon as the event loop runs (after
        // the start-up steps), then every interval.
        QTimer::singleShot(0, slot.timer.get(), [this, id] {
            if (!IsRunning(id)) return;
            std::function<void()> handler = m_slots[id].onTick;
            if (handler) handler();
        });
    }
}

void QtTimers::Stop(TimerId id) {
    auto it = m_slots.find(id);
    if (it != m_slots.end() && it->second.timer) it->second.timer->stop();
}

bool QtTimers::IsRunning(TimerId id) const {
    auto it = m_slots.find(id);
    return it != m_slots.end() && it->second.timer && it->second.timer->isActive();
}

int QtTimers::Interval(TimerId id) const {
    return IsRunning(id) ? m_slots.at(id).timer->interval() : 0;
}

bool QtTimers::Fire(TimerId id) {
    if (!IsRunning(id)) return false;
    std::function<void()> onTick = m_slots[id].onTick;
    if (onTick) onTick();
    return true;
}

void QtTimers::StopAll() {
    for (auto& [id, slot] : m_slots) {
        if (slot.timer) slot.timer->stop();
    }
}

}  // namespace pondrel
