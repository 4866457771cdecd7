#include "SoundPlayer.h"

#include "DemoProgram.h"
#include "EffectCatalogue.h"
#include "GLTest.h"
#include "Music.h"
#include "MusicClock.h"
#include "MusicPlayer.h"
#include "RecordingEffect.h"
#include "ScriptText.h"
#include "TestMedia.h"
#include "VolumeGroup.h"

#include <SDL.h>
#include <algorithm>
#include <vector>

#include <gmock/gmock.h>

namespace {

using ::testing::Contains;
using ::testing::Not;

// The music loads once per process, so each of these tests needs a process of its own, as
// ctest gives every test.
bool freshProcess() {
    return !SoundPlayer::musicLoaded();
}

// The sound player on the timeline with the player's own clock, the music mixed offline: each
// frame hands on 735 sample frames, a sixtieth of a second of music.
class MusicRun : public GLTest {
protected:
    void SetUp() override {
        if (!freshProcess())
            GTEST_SKIP() << "needs a process of its own";
        GLTest::SetUp();
        SoundLibrary::instance().setOutput(AudioOutput::Offline);
        encodeTone("tone.ogg", ToneFormat::Ogg, 3.0);
        encodeTone("other.ogg", ToneFormat::Ogg, 3.0);
        demo->setClock(std::make_unique<MusicClock>());
        player.emplace("SoundPlayer");
    }
    void TearDown() override {
        if (!player)
            return;
        player.reset();
        runExitActions();
        SoundLibrary::instance().setOutput(AudioOutput::Device);
        GLTest::TearDown();
    }

    void frame() {
        demo->renderFrame();
        ++framesDrawn;
        std::vector<float> audio(735 * 2);
        SoundLibrary::instance().renderOffline(audio.data(), 735);
    }

    // Draws frames until the volume first moves, at most `limit`; answers the frames drawn.
    int drawUntilTheFadeStarts(int limit) {
        while (framesDrawn < limit) {
            frame();
            if (player->getVolume() < SoundPlayer::fullVolume)
                break;
        }
        return framesDrawn;
    }

    std::optional<SoundPlayer> player;
    int framesDrawn = 0;
};

TEST_F(MusicRun, TheEndFadesTheMusicOutOverExactly200DrawnFrames) {
    loadScript(effectRecord("music", "SoundPlayer", 0, "0", "0", "100", "tone.ogg") +
               triggerRecord("end", "SoundPlayer", "TheEnd", false, "0.5", "0", "0"));
    frame();
    ASSERT_TRUE(currentStream());
    EXPECT_EQ(musicGroup().masterVolume(), 200);

    // The music's clock brings the trigger: frame n reads the music n - 1 sixtieths in.
    ASSERT_EQ(drawUntilTheFadeStarts(100), 31);
    int faded = 1;
    while (!player->isFinished() && faded < 1000) {
        ASSERT_EQ(musicGroup().masterVolume(), 200 - faded);
        frame();
        ++faded;
    }
    EXPECT_EQ(faded, 200);
    EXPECT_EQ(musicGroup().masterVolume(), 0);

    // Frames drawn after the end hold the music silent.
    for (int n = 0; n < 3; ++n)
        frame();
    EXPECT_EQ(player->getVolume(), 0);
    EXPECT_EQ(musicGroup().masterVolume(), 0);
    EXPECT_TRUE(player->isFinished());
}

TEST_F(MusicRun, LoadsTheMusicOnceAndFadesOnlyWhileDrawn) {
    // Inactive from 0.25 s, so the trigger at 0.5 s waits for the second record at 1 s, whose
    // other music is not loaded and whose init does not undo the trigger.
    loadScript(effectRecord("first", "SoundPlayer", 0, "0", "0", "0.25", "tone.ogg") +
               triggerRecord("end", "SoundPlayer", "TheEnd", false, "0.5", "0", "0") +
               effectRecord("second", "SoundPlayer", 0, "1", "1", "100", "other.ogg"));
    frame();
    const StreamHandle stream = currentStream();
    const MusicPlayer* music = currentPlayer();
    ASSERT_TRUE(stream);

    ASSERT_EQ(drawUntilTheFadeStarts(200), 61);
    EXPECT_EQ(player->getVolume(), 199);
    EXPECT_EQ(currentStream(), stream);
    EXPECT_EQ(currentPlayer(), music);
}

TEST_F(MusicRun, WithoutMusicTheClockStaysAt0) {
    std::vector<std::string> log;
    RecordingEffect later("Later", log);
    loadScript(effectRecord("silent", "SoundPlayer", 0, "0", "0", "100") +
               effectRecord("later", "Later", 1, "0.5", "0.5", "100"));
    for (int n = 0; n < 120; ++n)
        frame();
    EXPECT_TRUE(SoundPlayer::musicLoaded());
    EXPECT_FALSE(currentStream());
    EXPECT_EQ(demo->currentTime(), 0.0f);
    EXPECT_THAT(log, Not(Contains("Later init")));
}

TEST_F(MusicRun, TheEndBeforeTheFirstFrameFadesFromThatFrame) {
    loadScript(triggerRecord("end", "SoundPlayer", "TheEnd", false, "0", "0", "0") +
               effectRecord("music", "SoundPlayer", 0, "0", "0", "100", "tone.ogg"));
    frame();
    EXPECT_TRUE(currentStream());
    EXPECT_EQ(player->getVolume(), 199);
    EXPECT_EQ(musicGroup().masterVolume(), 199);
}

// Without a window: the sound player draws nothing.
TEST(SoundPlayer, TheEndIsTheOnlyWordThatFades) {
    if (!freshProcess())
        GTEST_SKIP() << "needs a process of its own";
    DemoSystem demo;
    SoundPlayer player("SoundPlayer");
    for (const char* word : {"theend", "THEEND", "TheEnd ", "The End", "Fade"})
        player.trigger(word, {0.0f});
    for (int n = 0; n < 3; ++n)
        player.render();
    EXPECT_EQ(player.getVolume(), SoundPlayer::fullVolume);
    player.trigger("TheEnd", {});
    player.render();
    EXPECT_EQ(player.getVolume(), 199);
    EXPECT_FALSE(player.isFinished());
    runExitActions();
}

// The catalogue's sound player, a probe that counts frames, and the player's main loop.
class CountedEffects : public EffectObjects {
public:
    explicit CountedEffects(std::vector<std::string>& log) : probe("Probe", log) {
        // A demo that never ends fails the test instead of hanging it.
        probe.onRender = [this] {
            if (++frames == 1000) {
                SDL_Event quit{};
                quit.type = SDL_QUIT;
                SDL_PushEvent(&quit);
            }
        };
    }
    bool demoFinished() const override { return catalogue.demoFinished(); }

private:
    EffectCatalogue catalogue;
    RecordingEffect probe;
    int frames = 0;
};

TEST(SoundPlayerEndsTheDemo, TheMainLoopStopsWhenTheFadeIsOver) {
    if (!freshProcess())
        GTEST_SKIP() << "needs a process of its own";
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    TempFolder folder;
    folder.write("demoscript.scr",
                 recordTypes + effectRecord("music", "SoundPlayer", 0, "0", "0", "100") +
                     effectRecord("probe", "Probe", 1, "0", "0", "100") +
                     triggerRecord("end", "SoundPlayer", "TheEnd", false, "0", "0", "0"));
    std::vector<std::string> log;
    RecordingDialogs dialogs;
    EXPECT_EQ(runDemo(false, dialogs, [&] { return std::make_unique<CountedEffects>(log); }), 0);
    EXPECT_EQ(std::count(log.begin(), log.end(), "Probe render"), 200);
    EXPECT_TRUE(dialogs.shown.empty());
    runExitActions();
}

} // namespace
