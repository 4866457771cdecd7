#pragma once

#include "OptionParser.h"
#include "ViewClock.h"

#include <optional>
#include <string>
#include <vector>

// reelview's command line: [--at T] [--size WxH] [--clock music|free] [--loop A B] [--paused]
// [--restarted] [SCRIPT]. The last three are what the viewer hands its fresh process when it seeks
// back or reloads: a loop set with [ and ] and a pause survive the restart, and a script that fails
// to load then is waited on, not fatal.
struct ViewOptions {
    double at = 0.0;
    // The window's first size; the user may resize it afterwards.
    int width = 640;
    int height = 480;
    ClockKind clock = ClockKind::Music;
    std::optional<double> loopStart;
    std::optional<double> loopEnd;
    bool paused = false;
    bool restarted = false;
    std::string script = "demoscript.scr";
};

// reelview's command line, read into `options`.
OptionParser viewCommandLine(ViewOptions& options);

// The same for arguments the viewer hands itself; throws std::invalid_argument with what is
// wrong with them (or the help text, for --help).
ViewOptions parseViewOptions(const std::vector<std::string>& arguments);

// The arguments that start the viewer again at `at` (brought within what --at takes), keeping
// the script, the window's size, the clock, the loop and the pause.
std::vector<std::string> restartArguments(const ViewOptions& options, double at);
