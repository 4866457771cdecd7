#pragma once

#include <optional>

// Where the demo's time comes from: the playing position of the music, in seconds. Nothing
// while no music plays; the demo then stands at 0 and the frame steps are not recorded.
class DemoClock {
public:
    virtual ~DemoClock() = default;
    virtual std::optional<float> seconds() = 0;
};

// The clock of a demo with no music open: it never runs.
class SilentClock : public DemoClock {
public:
    std::optional<float> seconds() override { return std::nullopt; }
};
