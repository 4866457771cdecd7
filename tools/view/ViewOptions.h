#pragma once

#include "OptionParser.h"
#include "ViewClock.h"

#include <optional>
#include <string>
#include <vector>

// reelview's command line: [--at T] [--size WxH] [--clock music|free] [SCRIPT], and for tests
// and benches [--paused] (start paused), [--loop A B] (start with a loop set) and
// [--snapshot-every S] (seconds of demo time between snapshots; 0 keeps only the start's, so
// that every seek replays from 0).
struct ViewOptions {
    double at = 0.0;
    // The window's first size; the user may resize it afterwards.
    int width = 640;
    int height = 480;
    ClockKind clock = ClockKind::Music;
    std::optional<double> loopStart;
    std::optional<double> loopEnd;
    bool paused = false;
    double snapshotEvery = 2.0;
    std::string script = "demoscript.scr";
};

// reelview's command line, read into `options`.
OptionParser viewCommandLine(ViewOptions& options);

// The same for arguments the viewer hands itself; throws std::invalid_argument with what is
// wrong with them (or the help text, for --help).
ViewOptions parseViewOptions(const std::vector<std::string>& arguments);
