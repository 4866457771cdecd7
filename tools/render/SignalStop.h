#pragma once

#include <csignal>

// While it lives, SIGINT and SIGTERM no longer end the process at once: they only ask it to
// stop, and the work looks at `received` where stopping leaves things tidy (between frames).
// A signal that was ignored when it was made stays ignored, as a shell wants for the background
// jobs of a script. One at a time per process: a signal handler has only one place to write to.
class SignalStop {
public:
    SignalStop();
    // The handlers that were there before come back.
    ~SignalStop();
    SignalStop(const SignalStop&) = delete;
    SignalStop& operator=(const SignalStop&) = delete;

    // The first signal that asked to stop; 0 while none has.
    int received() const;

    // "SIGINT", "SIGTERM".
    static const char* name(int signal);

private:
    struct sigaction previousInterrupt {};
    struct sigaction previousTerminate {};
};
