#pragma once

#include "EffectState.h"

#include <cstdint>

// The one random generator of the program, shared by every effect: a 32-bit linear congruential
// state, 1 at start. Effects that seed it get the same values on every run; effects that do not
// depend on everything drawn before them.

void seedRandom(std::uint32_t seed);
// The generator's state: seeding with it goes on with the same values.
std::uint32_t randomState();
// The next value, 0 to 32767.
int nextRandom();
// The next value scaled to 0..1.
float rand01();

// The generator as a part of the demo's saved state.
class SavedRandom : public SavedPart {
public:
    std::shared_ptr<const EffectState> save() const override { return saveValue(randomState()); }
    void restore(const EffectState& state) override {
        std::uint32_t saved = 0;
        restoreValue(saved, state);
        seedRandom(saved);
    }
};
