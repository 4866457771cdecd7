#include "ViewOptions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace {

constexpr double latestSeconds = 86400.0;

double readSeconds(const std::string& option, const std::string& text) {
    std::size_t used = 0;
    double value = 0.0;
    try {
        value = std::stod(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || !std::isfinite(value) || value < 0.0 || value > latestSeconds)
        throw std::invalid_argument(option + " wants seconds from 0 to 86400, not \"" + text +
                                    "\"");
    return value;
}

std::string seconds(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

} // namespace

ViewOptions parseViewOptions(const std::vector<std::string>& arguments) {
    ViewOptions options;
    bool scriptGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        auto value = [&](const std::string& option) -> const std::string& {
            if (i + 1 >= arguments.size())
                throw std::invalid_argument(option + " wants a value");
            return arguments[++i];
        };
        if (argument == "--at") {
            options.at = readSeconds(argument, value(argument));
        } else if (argument == "--loop") {
            options.loopStart = readSeconds(argument, value(argument));
            options.loopEnd = readSeconds(argument, value(argument));
            if (*options.loopEnd <= *options.loopStart)
                throw std::invalid_argument("--loop wants its end after its start");
        } else if (argument == "--paused") {
            options.paused = true;
        } else if (argument == "--restarted") {
            options.restarted = true;
        } else if (argument.size() > 1 && argument[0] == '-') {
            throw std::invalid_argument("unknown option " + argument +
                                        "; usage: reelview [--at T] [SCRIPT]");
        } else if (scriptGiven) {
            throw std::invalid_argument("one script only; usage: reelview [--at T] [SCRIPT]");
        } else {
            options.script = argument;
            scriptGiven = true;
        }
    }
    return options;
}

std::vector<std::string> restartArguments(const ViewOptions& options, double at) {
    // Whatever the clock said, the fresh process must accept its --at.
    const double shown = std::isfinite(at) ? std::clamp(at, 0.0, latestSeconds) : 0.0;
    std::vector<std::string> arguments{"--restarted", "--at", seconds(shown)};
    if (options.loopStart && options.loopEnd) {
        arguments.insert(arguments.end(),
                         {"--loop", seconds(*options.loopStart), seconds(*options.loopEnd)});
    }
    if (options.paused)
        arguments.push_back("--paused");
    arguments.push_back(options.script);
    return arguments;
}
