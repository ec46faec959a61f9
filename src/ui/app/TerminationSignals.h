#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace pondrel {

// Turns SIGTERM, SIGINT and SIGHUP into a call on the user-interface thread. The signal handler
// only writes the signal's number into a pipe (safe inside a handler); a socket notifier on the
// pipe's other end reads it in the event loop and calls the handler, where the program may save
// and end. Signals that arrive while the handler runs are passed over. One object per process.
class TerminationSignals final : public QObject {
public:
    // Installs the handlers; `onSignal` receives the signal's number. When the pipe cannot be
    // made the signals keep their default action (Installed() is false).
    explicit TerminationSignals(std::function<void(int signal)> onSignal,
                                QObject* parent = nullptr);
    // Gives the signals back their default action.
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    bool Installed() const { return m_notifier != nullptr; }
    // The name of a signal for messages ("SIGTERM").
    static const char* Name(int signal);

private:
    void Drain();

    std::function<void(int)> m_onSignal;
    QSocketNotifier* m_notifier = nullptr;
    bool m_handling = false;
};

}  // namespace pondrel
