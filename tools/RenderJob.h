#pragma once

#include "ContactSheet.h"
#include "RenderOptions.h"
#include "WavWriter.h"

#include <optional>
#include <ostream>
#include <string>

class OfflineDemo;

// One run of reelrender: plays the script of the working directory offline from frame 0 and
// writes what the options ask for of the span between --from and --to: the frames, the music,
// the contact sheet. Every frame from 0 is drawn, since effects carry state from frame to frame.
// Output paths must not depend on the working directory (make them absolute first).
class RenderJob {
public:
    explicit RenderJob(const RenderOptions& options);

    // Answers the summary line. Throws the script's load errors and std::runtime_error for
    // anything that cannot be written; no output is then left half written.
    std::string run(std::ostream& progress, bool terminal);

    // The span in frame numbers, frame n being at n / fps.
    long firstFrame() const { return first; }
    bool inSpan(long frame) const;
    bool writes(long frame) const;
    bool onSheet(long frame) const;

private:
    long lastFrameToDraw(const OfflineDemo& demo) const;
    void openOutputs();
    void keep(OfflineDemo& demo, long frame);
    void closeOutputs();
    std::string summary(double seconds, double fps) const;

    RenderOptions options;
    long first = 0;
    std::optional<long> last;
    std::optional<WavWriter> wav;
    std::optional<ContactSheet> sheet;
    long drawn = 0;
    long drawnInSpan = 0;
    long lastDrawn = -1;
    long written = 0;
};
