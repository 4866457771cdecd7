#pragma once

#include <optional>
#include <string>
#include <vector>

// reelview's command line: [--at T] [--loop A B] [--restarted] [SCRIPT]. --loop and --restarted
// are what the viewer hands its fresh process when it seeks back or reloads: a loop set with [
// and ] survives the restart, and a script that fails to load then is waited on, not fatal.
struct ViewOptions {
    double at = 0.0;
    std::optional<double> loopStart;
    std::optional<double> loopEnd;
    bool restarted = false;
    std::string script = "demoscript.scr";
};

// Throws std::invalid_argument with a message fit for the user on a bad command line.
ViewOptions parseViewOptions(const std::vector<std::string>& arguments);

// The arguments that start the viewer again at `at` (brought within what --at takes), keeping
// the script and the loop.
std::vector<std::string> restartArguments(const ViewOptions& options, double at);
