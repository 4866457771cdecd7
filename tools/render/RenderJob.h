#pragma once

#include "ContactSheet.h"
#include "FrameWriter.h"
#include "RenderOptions.h"
#include "VideoWriter.h"
#include "WavWriter.h"

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

class OfflineDemo;

// One run of reelrender: plays the script of the working directory offline from frame 0 and
// writes what the options ask for of the span [--from, --to): the frames, the music, the video,
// the contact sheet. Every frame from 0 is drawn, since effects carry state from frame to frame.
// Every output is made or opened before the first frame is drawn, so that one that cannot be
// written fails at once. Output paths must not depend on the working directory (make them
// absolute first).
class RenderJob {
public:
    explicit RenderJob(const RenderOptions& options);

    // Asked before each frame: the signal that asks the render to stop, 0 for none.
    using StopRequest = std::function<int()>;

    // Answers the summary line. Throws the script's load errors, std::runtime_error for anything
    // that cannot be written and for a span that starts after the demo's end (known from its
    // timeline, before anything is made or drawn); no output is then left half written, nor
    // a folder made for frames that never came. A render asked to
    // stop ends after the frame it is drawing: the frames written so far stay, the music, the
    // video and the contact sheet (which would be cut short) are removed, and the line says so.
    std::string run(std::ostream& progress, bool terminal, const StopRequest& stop = nullptr);
    // The signal that stopped the last run; 0 when it ran to its end.
    int stoppedBy() const { return stopSignal; }

    // The span in frame numbers, frame n being at n / fps.
    long firstFrame() const { return first; }
    // The first frame after the span; nothing: the demo's end.
    std::optional<long> endFrame() const { return end; }
    bool inSpan(long frame) const;
    bool writes(long frame) const;
    bool onSheet(long frame) const;

private:
    // The frames to draw at most: the span's end, or a minute after the demo's last event.
    long framesToDraw(const OfflineDemo& demo) const;
    void refuseSpanPastTheEnd(const OfflineDemo& demo, long drawable) const;
    void openOutputs();
    void makeFramesFolder();
    void removeFoldersMade();
    void keep(OfflineDemo& demo, long frame);
    void closeOutputs();
    void abandonOutputs();
    std::string summary(double seconds, double fps) const;
    std::string stopLine() const;

    RenderOptions options;
    long first = 0;
    std::optional<long> end;
    // Made for the frames, innermost first: removed again when no frame went into them.
    std::vector<std::filesystem::path> foldersMade;
    std::optional<WavWriter> wav;
    std::optional<ContactSheet> sheet;
    std::optional<FrameWriter> frames;
    std::optional<VideoWriter> video;
    long drawn = 0;
    long drawnInSpan = 0;
    long lastDrawn = -1;
    long written = 0;
    int stopSignal = 0;
};
