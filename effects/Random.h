#pragma once

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
