#include "DemoProgram.h"
#include "DemoSystem.h"
#include "RecordingDialogs.h"
#include "RecordingEffect.h"
#include "ScriptText.h"
#include "TempFolder.h"

#include <SDL.h>
#include <functional>

#include <gmock/gmock.h>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

bool glIsCurrent() {
    return SDL_GL_GetCurrentContext() != nullptr;
}

void pushKey(Uint32 type, SDL_Keycode key) {
    SDL_Event event{};
    event.type = type;
    event.key.keysym.sym = key;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    SDL_PushEvent(&event);
}

void pushWindowClose() {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    event.window.windowID = SDL_GetWindowID(SDL_GL_GetCurrentWindow());
    SDL_PushEvent(&event);
}

void pushQuit() {
    SDL_Event event{};
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
}

// The effect objects of a test run: one effect, "Probe", that counts the frames it is drawn in
// and does what the test asks at each.
class ProbeEffects : public EffectObjects {
public:
    ProbeEffects(std::vector<std::string>& log, std::function<void(int)> atFrame, int finishAfter)
        : log(log), finishAfter(finishAfter), probe("Probe", log) {
        log.push_back(std::string("effects made, GL ") + (glIsCurrent() ? "current" : "absent"));
        probe.onRender = [this, atFrame] {
            ++frames;
            if (frames == 1)
                this->log.push_back("title " + DemoSystem::instance()->getWindow().getTitle());
            atFrame(frames);
        };
    }
    ~ProbeEffects() override {
        log.push_back(std::string("deleting effects, GL ") +
                      (glIsCurrent() ? "current" : "absent"));
    }

    bool demoFinished() const override { return finishAfter > 0 && frames >= finishAfter; }

    int frames = 0;

private:
    std::vector<std::string>& log;
    int finishAfter;
    RecordingEffect probe;
};

// The player from start to end, in a folder holding its script.
class Player : public ::testing::Test {
protected:
    void SetUp() override { setenv("SDL_VIDEODRIVER", "offscreen", 1); }

    // Plays `records` until the demo ends; `atFrame` runs inside the nth frame drawn.
    int play(const std::string& records, std::function<void(int)> atFrame, int finishAfter = 0) {
        folder.write("demoscript.scr", recordTypes + records);
        return runDemo(false, dialogs,
                       [&] { return std::make_unique<ProbeEffects>(log, atFrame, finishAfter); });
    }

    int framesDrawn() const { return frameCount; }

    int playProbe(std::function<void(int)> atFrame, int finishAfter = 0) {
        const int status = play(
            effectRecord("p", "Probe", 1, "0", "0", "1000"),
            [this, atFrame](int frame) {
                frameCount = frame;
                atFrame(frame);
            },
            finishAfter);
        return status;
    }

    TempFolder folder;
    RecordingDialogs dialogs;
    std::vector<std::string> log;
    int frameCount = 0;
};

TEST_F(Player, EndsOnEscapeBeforeTheNextFrame) {
    EXPECT_EQ(playProbe([](int frame) {
                  if (frame == 3)
                      pushKey(SDL_KEYDOWN, SDLK_ESCAPE);
              }),
              0);
    EXPECT_EQ(framesDrawn(), 3);
    EXPECT_THAT(dialogs.shown, IsEmpty());
}

TEST_F(Player, EndsWhenTheWindowIsClosedOrQuitIsAsked) {
    EXPECT_EQ(playProbe([](int frame) {
                  if (frame == 2)
                      pushWindowClose();
              }),
              0);
    EXPECT_EQ(framesDrawn(), 2);
    EXPECT_EQ(playProbe([](int frame) {
                  if (frame == 4)
                      pushQuit();
              }),
              0);
    EXPECT_EQ(framesDrawn(), 4);
}

TEST_F(Player, MissesAnEscapeReleasedBetweenTwoLooksAndIgnoresOtherKeys) {
    EXPECT_EQ(playProbe([](int frame) {
                  if (frame == 1) {
                      pushKey(SDL_KEYDOWN, SDLK_ESCAPE);
                      pushKey(SDL_KEYUP, SDLK_ESCAPE);
                  }
                  if (frame == 2)
                      pushKey(SDL_KEYDOWN, SDLK_a);
                  if (frame == 5)
                      pushQuit();
              }),
              0);
    EXPECT_EQ(framesDrawn(), 5);
}

TEST_F(Player, EndsWhenTheDemoHasPlayedToItsEnd) {
    EXPECT_EQ(playProbe([](int) {}, 6), 0);
    EXPECT_EQ(framesDrawn(), 6);
}

TEST_F(Player, TitlesTheWindowAndTearsDownEffectsWhileGLIsCurrent) {
    EXPECT_EQ(playProbe([](int) { pushQuit(); }), 0);
    EXPECT_THAT(log, ElementsAre("effects made, GL current", "Probe init", "Probe render",
                                 "title Quillion - Ostrafine - 2002",
                                 "deleting effects, GL current", "Probe deleted"));
    EXPECT_EQ(DemoSystem::instance(), nullptr);
    EXPECT_FALSE(glIsCurrent());
}

TEST_F(Player, ReportsARefusedScriptAndEndsWithStatus1) {
    EXPECT_EQ(play(effectRecord("x", "Nobody", 1, "0", "0", "1"), [](int) {}), 1);
    EXPECT_THAT(dialogs.shown, ElementsAre("ERROR: Error : unknown effect [Nobody] in record [x]"));
    EXPECT_THAT(log, ElementsAre("effects made, GL current", "deleting effects, GL current",
                                 "Probe deleted"));
    EXPECT_FALSE(glIsCurrent());
}

TEST_F(Player, ReportsAScriptThatCannotBeReadOrParsed) {
    EXPECT_EQ(play("DemoEffect broken ( Probe 1 0 0 1 ( ) ( ) ;", [](int) {}), 1);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_THAT(dialogs.shown[0], ::testing::StartsWith("ERROR: "));

    std::filesystem::remove("demoscript.scr");
    dialogs.shown.clear();
    EXPECT_EQ(runDemo(false, dialogs,
                      [&] {
                          return std::make_unique<ProbeEffects>(
                              log, [](int) {}, 0);
                      }),
              1);
    EXPECT_THAT(dialogs.shown, ElementsAre("ERROR: Could not open file \"demoscript.scr\""));
}

} // namespace
