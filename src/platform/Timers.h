#pragma once

#include <functional>

namespace pondrel {

// The program's timers, each known by its role.
enum class TimerId {
    AutoSave,      // one minute
    Backup,        // one minute; its first tick comes at once (the test double leaves it to the test)
    Notice,        // hides the transient notice
    Watchdog,      // one second, connection: notices a resume from standby
    ServerTimeout,
    SyncTick,      // one minute, periodic synchronisation
    ServerOperation,
    ChatFading,
    ReconnectTick,      // one second while a reconnection window is open
    OnlineBlink,        // one second while online: the connection light
    MailBlink,          // the mail light while unread mail is flagged
    ConnectAnimation,   // the Connect buttons while connecting
    ConnectionTeardown, // once, shortly after the connection was ended
};

// Repeating timers run on the user-interface thread. Starting a running timer restarts it.
class Timers {
public:
    virtual ~Timers() = default;
    virtual void Start(TimerId id, int intervalMs, std::function<void()> onTick) = 0;
    virtual void Stop(TimerId id) = 0;
    virtual bool IsRunning(TimerId id) const = 0;
};

}  // namespace pondrel
