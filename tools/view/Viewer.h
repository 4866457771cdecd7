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

// reelview's run: the demo played as the player plays it, in a window whose title tells the
// time, the frame rate and the active effects, with keys to pause, seek and loop, and the
// script's files watched for changes. Effects keep state that cannot be rewound, so showing a
// time means replaying every frame up to it; a seek back or a reload starts the viewer afresh
// (exec) at the time to show.
class Viewer {
public:
    Viewer(ViewOptions options, std::string program);
    ~Viewer();

    // The exit status: 0 when Escape, the window or the demo's end ended it.
    int run();

private:
    using Clock = std::chrono::steady_clock;

    double now() const;
    bool openWindow();
    void loadDemo();
    void reportWarnings();
    // Replays unshown frames until the music reaches `target`. False when told to end meanwhile.
    bool replayTo(double target);
    void drawProgress(double done);
    // False once the viewer is to end.
    bool handleEvents();
    void toggleFullscreen();
    void seekBy(double seconds);
    [[noreturn]] void restartAt(double at);
    void updateTitle(bool force);
    std::vector<std::filesystem::path> scriptFiles(std::string& error);
    void checkFiles();

    ViewOptions options;
    std::string program;
    std::unique_ptr<DemoSystem> demo;
    std::unique_ptr<EffectCatalogue> effects;
    bool loaded = false;
    // While paused, the one frame to show after a start or a seek.
    bool frameDue = true;
    bool quit = false;
    std::string error;
    ViewWarnings warningReader;
    std::size_t warningCount = 0;
    FileWatch fileWatch;
    Clock::time_point lastTitle{};
    Clock::time_point lastCheck{};
    Clock::time_point rateStart{};
    long rateFrames = 0;
    double frameRate = 0.0;
};
