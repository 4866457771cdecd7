#include "SignalStop.h"

namespace {

volatile std::sig_atomic_t stopSignal = 0;

void requestStop(int signal) {
    if (stopSignal == 0)
        stopSignal = signal;
}

// Installs the stop request for `signal` unless it was ignored; keeps what was there.
void catchSignal(int signal, struct sigaction& previous) {
    sigaction(signal, nullptr, &previous);
    if (previous.sa_handler == SIG_IGN)
        return;
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    // Writes under way go on: the request is looked at between frames.
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, nullptr);
}

} // namespace

SignalStop::SignalStop() {
    stopSignal = 0;
    catchSignal(SIGINT, previousInterrupt);
    catchSignal(SIGTERM, previousTerminate);
}

SignalStop::~SignalStop() {
    sigaction(SIGINT, &previousInterrupt, nullptr);
    sigaction(SIGTERM, &previousTerminate, nullptr);
}

int SignalStop::received() const {
    return stopSignal;
}

const char* SignalStop::name(int signal) {
    switch (signal) {
    case SIGINT: return "SIGINT";
    case SIGTERM: return "SIGTERM";
    default: return "a signal";
    }
}
