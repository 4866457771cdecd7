#pragma once

#include "DemoClock.h"

// A clock the test moves by hand; it stands (no music) until first set.
class ManualClock : public DemoClock {
public:
    std::optional<float> seconds() override { return reading; }
    void set(float seconds) { reading = seconds; }

private:
    std::optional<float> reading;
};
