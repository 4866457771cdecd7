#pragma once

#include "DemoSurface.h"
#include "FrameRate.h"
#include "OfflineDemo.h"
#include "OptionParser.h"

#include <filesystem>
#include <optional>
#include <string>

// What reelrender is asked to do.
struct RenderOptions {
    FrameRate fps = 60;
    // The frames' size; the demo's 640 x 480 picture scaled to it (black bars where it is not
    // 4:3).
    int width = DemoSurface::demoWidth;
    int height = DemoSurface::demoHeight;
    // The span to write, [from, to): frame n is in it when from <= n / fps < to.
    double from = 0.0;
    // Nothing: until the demo ends through "TheEnd", or 60 s after its last event.
    std::optional<double> to;
    int every = 1;
    // Nothing: no frames as PNG.
    std::optional<std::filesystem::path> out;
    // .mp4, .mkv or .webm: every frame of the span with its music, whatever --every says.
    std::optional<std::filesystem::path> video;
    std::optional<std::filesystem::path> audio;
    std::optional<std::filesystem::path> sheet;
    ClockMode clock = ClockMode::Music;
    std::string script = "demoscript.scr";
};

// reelrender's command line, read into `options`.
OptionParser renderCommandLine(RenderOptions& options);
