#pragma once

#include <chrono>
#include <functional>

// Spaces frames at the display's refresh rate where the buffer swap does not wait for the
// display itself, so that animation that steps once a frame keeps its speed. Waits by sleeping
// to just short of the next frame's moment and spinning the rest, since a sleep alone wakes up
// late by a scheduler's whim. Frames keep a fixed schedule; one that comes more than a whole
// frame late starts the schedule afresh instead of being followed by a burst of catch-up frames.
class FramePacer {
public:
    using Nanoseconds = std::chrono::nanoseconds;
    using Now = std::function<Nanoseconds()>;
    using Sleep = std::function<void(Nanoseconds)>;

    // Refresh rates of 0 or less (not known) pace at 60 Hz.
    static constexpr double defaultRate = 60.0;
    // The end of each wait is spun for this long at most.
    static constexpr Nanoseconds spinTime = std::chrono::microseconds(1500);

    explicit FramePacer(double refreshRate, Now now = steadyNow, Sleep sleep = sleepFor);

    // Returns when the next frame is due. The first call only starts the schedule.
    void waitForNextFrame();
    Nanoseconds getPeriod() const { return period; }

    static Nanoseconds steadyNow();
    static void sleepFor(Nanoseconds time);

private:
    Now now;
    Sleep sleep;
    Nanoseconds period;
    Nanoseconds due{};
    bool started = false;
};
