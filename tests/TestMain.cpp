// Every test program starts here.

#include <cstdlib>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Headless unless the caller chose other drivers: GL through SDL's offscreen driver on
    // Mesa, audio through the dummy driver, which plays in real time without a sound card.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
