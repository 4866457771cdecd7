#pragma once

#include "FileWatch.h"
#include "ViewOptions.h"
#include "ViewWarnings.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class DemoSystem;
class EffectCatalogue;
class ViewClock;

// reelview's run: the demo played as the player plays it, in a window whose title tells the
// time, the frame rate and the records showing, with keys to pause, step, seek, loop and save a
// frame, and the script's files watched for changes. Effects keep state that cannot be rewound,
// so showing a time means replaying every frame up to it; a seek back or a reload starts the
// viewer afresh (exec) at the time to show.
class Viewer {
public:
    Viewer(ViewOptions options, std::string program);
    ~Viewer();

    // The exit status: 0 when Escape or the window ended it.
    int run();

private:
    using Clock = std::chrono::steady_clock;

    // The demo's time: the music's position, or the free clock's.
    double now() const;
    bool openWindow();
    void loadDemo();
    void reportWarnings();
    // Replays unshown frames until the demo reaches `target`. False when told to end meanwhile.
    bool replayTo(double target);
    // Moves the clock on by one frame where the viewer steps it: the music mixed offline, or the
    // free clock's count.
    void stepClock(long frame);
    // A frame drawn and shown, with what goes over it; the clock moved on after it.
    void showFrame();
    // Once the first frames found no music playing: the free clock from here on.
    void checkMusic();
    void drawProgress(double done);
    // False once the viewer is to end.
    bool handleEvents();
    void handleKey(int key);
    void togglePause();
    void toggleFullscreen();
    void seekBy(double seconds);
    void saveFrame();
    [[noreturn]] void restartAt(double at);
    void updateTitle(bool force);
    std::string showingRecords() const;
    std::vector<std::filesystem::path> scriptFiles(std::string& error);
    void checkFiles();

    ViewOptions options;
    std::string program;
    std::unique_ptr<DemoSystem> demo;
    std::unique_ptr<EffectCatalogue> effects;
    ViewClock* clock = nullptr;
    bool loaded = false;
    // While paused, the one frame to show after a start, a seek or a resize.
    bool frameDue = true;
    // While paused, one frame on.
    bool stepDue = false;
    bool quit = false;
    // "TheEnd" has faded the music out: the last frame stays, paused.
    bool ended = false;
    bool helpShown = false;
    // The next frame drawn is saved as a PNG.
    bool saveDue = false;
    // Frames drawn since the load, for the look at whether music plays.
    long framesDrawn = 0;
    bool musicChecked = false;
    std::string error;
    ViewWarnings warningReader;
    std::size_t warningCount = 0;
    FileWatch fileWatch;
    Clock::time_point lastTitle{};
    Clock::time_point rateStart{};
    long rateFrames = 0;
    double frameRate = 0.0;
};
