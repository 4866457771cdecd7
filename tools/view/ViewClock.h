#pragma once

#include "DemoClock.h"
#include "MusicClock.h"

#include <optional>

// How reelview's demo time runs.
enum class ClockKind {
    // The music's position, as in the player.
    Music,
    // Frame n at n / 60 s, whatever the music does: a demo whose music is missing or cannot be
    // played can still be worked on.
    Free,
};

// The demo clock of the viewer: the music's, or one the viewer steps a frame at a time.
class ViewClock : public DemoClock {
public:
    static constexpr int frameRate = 60;

    explicit ViewClock(ClockKind kind) : clockKind(kind) {}

    std::optional<float> seconds() override;

    ClockKind kind() const { return clockKind; }
    // From here on frame by frame, counted from the time `at`.
    void runFree(double at);
    // The free clock's next frame; nothing for the music's.
    void stepFrame() { ++frame; }
    void setTime(double at);
    // The time the demo stands at, full precision.
    double time();

private:
    ClockKind clockKind;
    MusicClock music;
    long frame = 0;
};
