#pragma once

#include <optional>
#include <string>
#include <vector>

// reelview's command line: [--at T] [--loop A B] [SCRIPT]. --loop is what the viewer hands its
// fresh process when it seeks back, so that a loop set with [ and ] survives the restart.
struct ViewOptions {
    double at = 0.0;
    std::optional<double> loopStart;
    std::optional<double> loopEnd;
    std::string script = "demoscript.scr";
};

// Throws std::invalid_argument with a message fit for the user on a bad command line.
ViewOptions parseViewOptions(const std::vector<std::string>& arguments);

// The arguments that start the viewer again at `at` (brought within what --at takes), keeping
// the script and the loop.
std::vector<std::string> restartArguments(const ViewOptions& options, double at);
