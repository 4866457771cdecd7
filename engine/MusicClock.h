#pragma once

#include "DemoClock.h"

// The player's clock: the playing position of the music stream opened last, as heard. It
// stands (no reading) until a stream has been opened; a song or a CD track opens none.
class MusicClock : public DemoClock {
public:
    std::optional<float> seconds() override;
};
