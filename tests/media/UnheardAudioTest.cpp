#include "UnheardAudio.h"

#include "MediaFolder.h"
#include "StreamDecoder.h"

namespace {

// The frames a device took but had not played, handed back and played again, in front of the
// stream's own, on a real decoded stream.
class UnheardAudioTest : public OfflineSound {
protected:
    void SetUp() override {
        OfflineSound::SetUp();
        StreamDecoder reference("tone.ogg", 44100);
        std::vector<float> out(4096 * 2);
        while (std::size_t made = reference.render(out.data(), 4096))
            whole.insert(whole.end(), out.begin(), out.begin() + static_cast<long>(made * 2));
    }

    // Renders `frames` frames through `unheard` in blocks as the mixer asks for them.
    std::vector<float> play(std::size_t frames, bool keep) {
        std::vector<float> out(frames * 2);
        for (std::size_t done = 0; done < frames;) {
            const std::size_t block = std::min<std::size_t>(1024, frames - done);
            EXPECT_EQ(unheard.render(stream, out.data() + done * 2, block, keep), block);
            done += block;
        }
        return out;
    }

    // The stream's own frames from `first` on.
    std::vector<float> frames(std::size_t first, std::size_t count) const {
        return {whole.begin() + static_cast<long>(first * 2),
                whole.begin() + static_cast<long>((first + count) * 2)};
    }

    StreamDecoder stream{"tone.ogg", 44100};
    UnheardAudio unheard;
    std::vector<float> whole;
};

TEST_F(UnheardAudioTest, FramesHandedBackPlayAgainBeforeTheStreamGoesOn) {
    EXPECT_EQ(play(3000, true), frames(0, 3000));
    EXPECT_EQ(unheard.handBack(1000), 1000);
    EXPECT_EQ(play(2000, false), frames(2000, 2000));
    // Nothing was kept meanwhile, and handing back forgot what had been.
    EXPECT_EQ(unheard.handBack(500), 0);
    EXPECT_EQ(play(1000, false), frames(4000, 1000));
}

TEST_F(UnheardAudioTest, FramesHandedBackTwiceKeepTheirOrder) {
    play(5000, true);
    EXPECT_EQ(unheard.handBack(600), 600);
    // Part of what was handed back goes to a device again, and is handed back again.
    EXPECT_EQ(play(200, true), frames(4400, 200));
    EXPECT_EQ(unheard.handBack(150), 150);
    EXPECT_EQ(play(1000, false), frames(4450, 1000));
}

TEST_F(UnheardAudioTest, AtMostItsCapacityIsKeptAndClearingForgetsAll) {
    const std::size_t played = UnheardAudio::capacity + 7000;
    play(played, true);
    EXPECT_EQ(unheard.handBack(1'000'000), static_cast<std::int64_t>(UnheardAudio::capacity));
    EXPECT_EQ(play(1000, true), frames(played - UnheardAudio::capacity, 1000));
    unheard.clear();
    EXPECT_EQ(unheard.handBack(1000), 0);
    EXPECT_EQ(play(1000, false), frames(played, 1000));
}

} // namespace
