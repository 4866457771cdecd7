// The player as a user runs it: a real X window (ctest runs this program under xvfb-run), the
// music on SDL's dummy audio driver, which plays it in real time, and the real effects.

#include "DemoProgram.h"
#include "EffectCatalogue.h"
#include "Music.h"
#include "RecordingDialogs.h"
#include "RecordingEffect.h"
#include "ScriptText.h"
#include "TempFolder.h"
#include "TestMedia.h"

#include <GL/gl.h>
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <vector>

#include <gmock/gmock.h>

namespace {

// Music: 4 s of tone. The fader turns the picture red once the music has played for one
// second, and "TheEnd" at 2 s fades the music out and ends the demo.
const std::string fadeScript =
    recordTypes + effectRecord("music", "SoundPlayer", 0, "0", "0", "100", "music.ogg") +
    effectRecord("fade", "Fader", 10, "0", "0", "100") +
    triggerRecord("red", "Fader", "Red", false, "1.0", "0", "0", "1 2 0 1 0 0") +
    triggerRecord("end", "SoundPlayer", "TheEnd", false, "2.0", "0", "0");

class WholePlayer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "runs under xvfb-run";
        setenv("SDL_VIDEODRIVER", "x11", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        encodeTone("music.ogg", ToneFormat::Ogg, 4.0);
    }

    TempFolder folder;
};

// What the player showed: the centre pixel of each frame, read back after every effect below
// the watcher's layer has drawn, with the music's position at that moment.
struct Sight {
    int milliseconds;
    std::array<int, 3> rgb;
};

class WatchedEffects : public EffectObjects {
public:
    WatchedEffects(std::vector<Sight>& sights, std::vector<std::string>& log)
        : watcher("Watcher", log) {
        watcher.onRender = [&sights] {
            unsigned char rgba[4] = {};
            glReadPixels(320, 240, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
            sights.push_back({streamTime(currentStream()), {rgba[0], rgba[1], rgba[2]}});
        };
    }
    bool demoFinished() const override { return catalogue.demoFinished(); }

private:
    EffectCatalogue catalogue;
    RecordingEffect watcher;
};

TEST_F(WholePlayer, ShowsTheFadeAfterOneSecondOfMusicAndEndsThroughTheEnd) {
    folder.write("demoscript.scr",
                 fadeScript + effectRecord("watch", "Watcher", 20, "0", "0", "100"));
    std::vector<Sight> sights;
    std::vector<std::string> log;
    RecordingDialogs dialogs;
    EXPECT_EQ(
        runDemo(false, dialogs, [&] { return std::make_unique<WatchedEffects>(sights, log); }), 0);
    EXPECT_TRUE(dialogs.shown.empty());
    runExitActions();

    // The watcher reads the music after the frame's clock did, and a loaded machine can stall
    // in between: a frame is surely black when the watcher saw less than 1 s (the frame's clock
    // read even less), and surely red when the frame before it already saw more (this frame's
    // clock was read later still). The margin covers the clock's own rounding.
    int black = 0;
    int red = 0;
    for (std::size_t i = 0; i < sights.size(); ++i) {
        const Sight& sight = sights[i];
        if (sight.milliseconds < 900) {
            ASSERT_EQ(sight.rgb, (std::array<int, 3>{0, 0, 0})) << sight.milliseconds << " ms";
            ++black;
        } else if (i > 0 && sights[i - 1].milliseconds >= 1050) {
            ASSERT_EQ(sight.rgb, (std::array<int, 3>{255, 0, 0})) << sight.milliseconds << " ms";
            ++red;
        }
    }
    EXPECT_GT(black, 0);
    // At least the 200 frames of the music's fade-out, all after 2 s.
    EXPECT_GE(red, 200);
}

std::string readText(const std::string& name) {
    std::ifstream file(name);
    return {std::istreambuf_iterator<char>(file), {}};
}

int exitStatus(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(WholePlayer, TheProgramEndsThroughTheEndWithStatus0) {
    folder.write("demoscript.scr", fadeScript);
    // The music's clock has to run for the trigger at 2 s to come; a minute is far more than
    // enough, and `timeout` answers 124 when it is not.
    EXPECT_EQ(exitStatus("timeout 60 " REELPLAY_PATH " 2>stderr.txt"), 0);
    EXPECT_EQ(readText("stderr.txt"), "");
}

// With the sound system's own drivers, as a user starts it: a machine without a sound card says
// so in one line of the player's own, not in the sound system's errors.
TEST_F(WholePlayer, AMissingSoundDeviceIsOneLineAtMost) {
    folder.write("demoscript.scr", fadeScript);
    EXPECT_EQ(exitStatus("timeout 60 env -u SDL_AUDIODRIVER " REELPLAY_PATH " 2>stderr.txt"), 0);
    const std::string said = readText("stderr.txt");
    EXPECT_LE(std::count(said.begin(), said.end(), '\n'), 1) << said;
    if (!said.empty()) {
        EXPECT_THAT(said, testing::StartsWith("reelplay: no sound device ("));
    }
}

// Starts the player, waits until it has written to stderr (or for a second), sends it `signal`,
// and answers its exit status; `timeout` answers 124 should it not end.
int stopPlayer(const char* signal, bool waitForStderr) {
    const std::string wait =
        waitForStderr ? "while ! test -s stderr.txt; do sleep 0.05; done; " : "sleep 1; ";
    return exitStatus("timeout 60 sh -c 'rm -f stderr.txt; " REELPLAY_PATH
                      " 2>stderr.txt & player=$!; " +
                      wait + "kill -" + signal + " $player; wait $player'");
}

// The load error is on stderr as soon as its box is up; either stop signal ends the player
// while the box waits for a user who is not there, as it does while frames are drawn.
TEST_F(WholePlayer, StopSignalsEndTheLoadErrorBoxAndThePlayingDemo) {
    folder.write("demoscript.scr", "garbage {\n");
    for (const auto& [signal, status] : {std::pair{"TERM", 143}, std::pair{"INT", 130}}) {
        SCOPED_TRACE(signal);
        EXPECT_EQ(stopPlayer(signal, true), status);
        EXPECT_THAT(readText("stderr.txt"), testing::StartsWith("ERROR: Currupt element"));
    }

    // Without "TheEnd" the demo would play until the window is closed.
    folder.write("demoscript.scr", recordTypes + effectRecord("music", "SoundPlayer", 0, "0", "0",
                                                              "100", "music.ogg"));
    EXPECT_EQ(stopPlayer("TERM", false), 143);
    EXPECT_EQ(readText("stderr.txt"), "");
}

// Without a display the window cannot come, and the player says why and what to do, in its own
// words only.
TEST_F(WholePlayer, WithoutADisplayTheWindowFailureSaysWhatToDo) {
    folder.write("demoscript.scr", fadeScript);
    EXPECT_EQ(exitStatus("env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER XDG_RUNTIME_DIR= " +
                         std::string(REELPLAY_PATH) + " 2>stderr.txt"),
              1);
    const std::string said = readText("stderr.txt");
    EXPECT_THAT(said, testing::StartsWith("ERROR: No display found"));
    EXPECT_THAT(said, testing::HasSubstr("xvfb-run"));
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
}

} // namespace
