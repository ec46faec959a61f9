#include "ui/app/TerminationSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace pondrel {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The pipe's two ends; -1 while no object is installed.
int g_readEnd = -1;
int g_writeEnd = -1;

extern "C" void OnTerminationSignal(int signal) {
    const int saved = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    // A full pipe already holds a signal waiting to be handled: this one may be dropped.
    [[maybe_unused]] ssize_t written = write(g_writeEnd, &number, 1);
    errno = saved;
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void(int signal)> onSignal, QObject* parent)
    : QObject(parent), m_onSignal(std::move(onSignal)) {
    if (g_readEnd >= 0) {
        std::fprintf(stderr, "pondrel: termination signals are already watched\n");
        return;
    }
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::perror("pondrel: cannot watch termination signals");
        return;
    }
    g_readEnd = ends[0];
    g_writeEnd = ends[1];
    m_notifier = new QSocketNotifier(g_readEnd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] { Drain(); });

    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals) sigaction(signal, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
    if (!m_notifier) return;
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int signal : kSignals) sigaction(signal, &action, nullptr);
    delete m_notifier;
    m_notifier = nullptr;
    close(g_readEnd);
    close(g_writeEnd);
    g_readEnd = -1;
    g_writeEnd = -1;
}

const char* TerminationSignals::Name(int signal) {
    switch (signal) {
        case SIGTERM:
            return "SIGTERM";
        case SIGINT:
            return "SIGINT";
        case SIGHUP:
            return "SIGHUP";
        default:
            return "signal";
    }
}

void TerminationSignals::Drain() {
    unsigned char number = 0;
    int first = 0;
    while (read(g_readEnd, &number, 1) == 1) {
        if (first == 0) first = number;
    }
    if (first == 0 || m_handling) return;
    m_handling = true;
    if (m_onSignal) m_onSignal(first);
    m_handling = false;
}

}  // namespace pondrel
