#pragma once

// SIGINT and SIGTERM as the player sees them. Once installed, a signal only marks a stop, which
// the player takes at its next safe point (between two frames) to tear down in order. Where no
// safe point can come, inside a message box that waits for the user, the signal ends the process
// at once.
namespace StopSignals {

// Takes both signals over from the defaults (and from the window system's own handling, which
// would turn them into a close request that nobody reads while a box is shown).
void install();

// The signal that asked for the stop, or 0.
int requested();

// The exit status for a stop by `signal`: 128 + its number, as a shell reports it.
inline int exitStatus(int signal) {
    return 128 + signal;
}

// While one of these lives, a stop signal ends the process at once with its exit status; one
// that came before ends it on construction.
class AtOnce {
public:
    AtOnce();
    ~AtOnce();
    AtOnce(const AtOnce&) = delete;
    AtOnce& operator=(const AtOnce&) = delete;
};

} // namespace StopSignals
