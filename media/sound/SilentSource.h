#pragma once

#include "AudioSource.h"

// Plays silence without end: what a song kind without a decoder plays, so that it can still be
// loaded, started, paused and stopped like any other.
class SilentSource : public AudioSource {
public:
    std::size_t render(float* out, std::size_t frames) override;
    bool rewind() override { return true; }
};
