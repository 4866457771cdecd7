// Every test program starts here.

#include <cstdlib>

#include <gtest/gtest.h>

namespace {

constexpr const char* sanitizerOptions = "intercept_tls_get_addr=0";

} // namespace

int main(int argc, char** argv) {
    // Headless unless the caller chose other drivers: GL through SDL's offscreen driver on
    // Mesa, audio through the dummy driver, which plays in real time without a sound card.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    // The programs that tests run (the player, the tools) inherit what the sanitizer build's
    // runtime needs to read about the libraries they load; other builds ignore it.
    setenv("ASAN_OPTIONS", sanitizerOptions, 0);
    setenv("LSAN_OPTIONS", "print_suppressions=0:suppressions=" REELPLAY_LSAN_SUPPRESSIONS, 0);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// Read by the address sanitizer's runtime in the sanitizer build; unused otherwise. Mesa's
// driver, loaded at run time, keeps thread-local data that the leak checker's tracking of such
// data misreads at exit, crashing the checker (not the test).
extern "C" __attribute__((used, visibility("default"))) const char* __asan_default_options() {
    return sanitizerOptions;
}

// The same leaks as lsan.supp names for the programs the tests run.
extern "C" __attribute__((used, visibility("default"))) const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\n";
}
