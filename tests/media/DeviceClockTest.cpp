#include "SoundLibrary.h"
#include "TempFolder.h"
#include "TestMedia.h"

#include <chrono>
#include <cstdlib>
#include <thread>

#include <gtest/gtest.h>

// The sound library on a real SDL output. On a machine without sound (and in CI) the tests run
// with SDL_AUDIODRIVER=dummy, whose device takes audio in real time.
namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

class DeviceClock : public ::testing::Test {
protected:
    void SetUp() override {
        library.setOutput(AudioOutput::Device);
        ASSERT_TRUE(library.init(44100, 32)) << library.lastError();
    }
    void TearDown() override { library.close(); }

    // Plays the stream and waits until its position first moves.
    void startAndWait(StreamHandle stream) {
        ASSERT_NE(library.playStream(SoundLibrary::noChannel, stream), SoundLibrary::noChannel);
        Clock::time_point start = Clock::now();
        while (library.streamTime(stream) == 0 && secondsSince(start) < 2.0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ASSERT_GT(library.streamTime(stream), 0);
    }

    SoundLibrary& library = SoundLibrary::instance();
    TempFolder folder;
};

TEST(DeviceFallback, ADriverThatDoesNotOpenFallsBackToTheDummy) {
    ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    SoundLibrary& library = SoundLibrary::instance();
    library.setOutput(AudioOutput::Device);
    ASSERT_TRUE(library.init(44100, 32)) << library.lastError();
    EXPECT_EQ(library.outputDriver(), "dummy");
    library.close();
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
}

TEST_F(DeviceClock, FollowsTheWallClockWithoutGoingBack) {
    encodeTone("tone.ogg", ToneFormat::Ogg, 12.0);
    StreamHandle stream = library.openStream("tone.ogg");
    ASSERT_TRUE(stream) << library.lastError();
    startAndWait(stream);
    // A busy machine can hold up the audio thread; one calm two-second run out of three shows
    // the clock keeps time. Going back is never allowed.
    double bestError = 1.0;
    for (int attempt = 0; attempt < 3 && bestError > 0.1; ++attempt) {
        Clock::time_point start = Clock::now();
        const int first = library.streamTime(stream);
        int previous = first;
        int last = first;
        while (secondsSince(start) < 2.0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            last = library.streamTime(stream);
            ASSERT_GE(last, previous);
            previous = last;
        }
        const double wall = secondsSince(start);
        const double advance = (last - first) / 1000.0;
        bestError = std::min(bestError, std::abs(advance - wall) / wall);
        std::cout << "clock advanced " << advance << " s in " << wall << " s of wall clock\n";
    }
    EXPECT_LT(bestError, 0.1);
}

TEST_F(DeviceClock, AnEndedStreamHoldsItsPosition) {
    encodeTone("short.ogg", ToneFormat::Ogg, 0.3);
    StreamHandle stream = library.openStream("short.ogg");
    ASSERT_TRUE(stream);
    startAndWait(stream);
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    EXPECT_TRUE(library.streamEnded(stream));
    const int end = library.streamTime(stream);
    EXPECT_GE(end, 280);
    EXPECT_LE(end, 400);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(library.streamTime(stream), end);
}

TEST_F(DeviceClock, NeverRunsAheadOfThePlayedAudio) {
    encodeTone("tone.ogg", ToneFormat::Ogg, 3.0);
    StreamHandle stream = library.openStream("tone.ogg");
    Clock::time_point start = Clock::now();
    startAndWait(stream);
    // Whatever the latency, the stream cannot have been heard for longer than it has played.
    for (int i = 0; i < 50; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_LE(library.streamTime(stream), secondsSince(start) * 1000.0 + 1.0);
    }
}

} // namespace
