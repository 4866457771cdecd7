#pragma once

#include "DemoSnapshot.h"
#include "FileWatch.h"
#include "SnapshotShelf.h"
#include "TimelineEvent.h"
#include "ViewOptions.h"
#include "ViewWarnings.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class DemoSystem;
class EffectCatalogue;
class ViewClock;

// reelview's run: the demo played as the player plays it, in a window whose title tells the
// time, the frame rate and the records showing, with keys to pause, step, seek, loop and save a
// frame, and the script's files watched for changes. Effects carry state from frame to frame, so
// the viewer keeps a snapshot of the whole demo every few seconds of demo time as it plays or
// replays: a seek puts back the latest snapshot at or before its target and replays the rest
// unshown, and a reload of an edited script resumes from the latest snapshot before the edit's
// first effect. One process and one window throughout.
class Viewer {
public:
    explicit Viewer(ViewOptions options);
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
    bool replayFrames(double target);
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
    // Shows `target`, from the latest snapshot at or before it (or from where the demo stands,
    // when that is nearer). False when told to end meanwhile.
    bool seekTo(double target);
    // Keeps a snapshot when the last is far enough behind.
    void keepSnapshot();
    void putBack(const DemoSnapshot& snapshot, bool atStart);
    // A settled change of the demo's files: the new timeline from the first change on.
    void reload(const std::vector<std::filesystem::path>& changed);
    void updateTitle(bool force);
    std::string showingRecords() const;
    // The files the script and its includes are read from (`sources`), and the pictures and music
    // its effects load, all to watch; the timeline the script loads to now, sorted as the engine
    // runs it. `error` tells why it does not load.
    std::vector<std::filesystem::path>
    scriptFiles(std::string& error, std::vector<std::filesystem::path>* sources = nullptr,
                std::vector<TimelineEvent>* events = nullptr);
    void checkFiles();

    ViewOptions options;
    std::unique_ptr<DemoSystem> demo;
    std::unique_ptr<EffectCatalogue> effects;
    ViewClock* clock = nullptr;
    bool loaded = false;
    // While paused, the one frame to show after a start, a seek or a resize.
    bool frameDue = true;
    // While paused, one frame on.
    bool stepDue = false;
    bool quit = false;
    bool replaying = false;
    // "TheEnd" has faded the music out: the last frame stays, paused.
    bool ended = false;
    bool helpShown = false;
    // The next frame drawn is saved as a PNG.
    bool saveDue = false;
    // Frames drawn since the load, for the look at whether music plays.
    long framesDrawn = 0;
    bool musicChecked = false;
    // The demo time of the frame drawn last.
    double lastDrawn = 0.0;
    std::string error;
    ViewWarnings warningReader;
    std::size_t warningCount = 0;
    FileWatch fileWatch;
    // The demo as loaded, before its first frame; then the snapshots kept as it played.
    std::optional<DemoSnapshot> start;
    SnapshotShelf<DemoSnapshot> snapshots;
    Clock::time_point lastTitle{};
    Clock::time_point rateStart{};
    long rateFrames = 0;
    double frameRate = 0.0;
};
