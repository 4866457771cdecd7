#pragma once

#include "OfflineDemo.h"

#include <filesystem>
#include <optional>
#include <string>
#include <variant>

// What reelrender is asked to do.
struct RenderOptions {
    int fps = 60;
    double from = 0.0;
    // Nothing: until the demo ends through "TheEnd", or 60 s after its last event.
    std::optional<double> to;
    int every = 1;
    // Nothing: no frames as PNG. Without --out, ./frames unless a video is asked for.
    std::optional<std::filesystem::path> out;
    // .mp4, .mkv or .webm: every frame of the span with its music, whatever --every says.
    std::optional<std::filesystem::path> video;
    std::optional<std::filesystem::path> audio;
    std::optional<std::filesystem::path> sheet;
    ClockMode clock = ClockMode::Music;
    std::string script = "demoscript.scr";
    bool help = false;
};

extern const char* const renderUsage;

// The options, or what is wrong with the command line.
std::variant<RenderOptions, std::string> parseRenderOptions(int argc, char** argv);
