#include "FramePacer.h"

#include <thread>

FramePacer::FramePacer(double refreshRate, Now now, Sleep sleep)
    : now(std::move(now)), sleep(std::move(sleep)),
      period(std::chrono::round<Nanoseconds>(
          std::chrono::duration<double>(1.0 / (refreshRate > 0.0 ? refreshRate : defaultRate)))) {}

void FramePacer::waitForNextFrame() {
    Nanoseconds current = now();
    if (!started) {
        started = true;
        due = current + period;
        return;
    }
    if (current - due > period) {
        due = current + period;
        return;
    }
    if (due - current > spinTime)
        sleep(due - current - spinTime);
    // Not yielding: on a busy machine a yield may hand the core away for a whole time slice.
    while (now() < due) {
    }
    due += period;
}

FramePacer::Nanoseconds FramePacer::steadyNow() {
    return std::chrono::duration_cast<Nanoseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

void FramePacer::sleepFor(Nanoseconds time) {
    std::this_thread::sleep_for(time);
}
