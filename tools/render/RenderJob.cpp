#include "RenderJob.h"

#include "OfflineDemo.h"
#include "PngFile.h"
#include "ProgressReport.h"
#include "SignalStop.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <system_error>

namespace {

// How long a demo that never ends through "TheEnd" runs on after its last event.
constexpr double runOn = 60.0;
// Times given in decimals rarely land exactly on a frame; a whisker either way still does.
constexpr double whisker = 1e-6;

std::string frameName(long frame) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%06ld.png", frame);
    return name;
}

std::string secondsText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f s", seconds);
    return text;
}

} // namespace

RenderJob::RenderJob(const RenderOptions& options)
    : options(options), first(static_cast<long>(std::ceil(options.from * options.fps - whisker))) {
    if (options.to)
        last = static_cast<long>(std::floor(*options.to * options.fps + whisker));
}

bool RenderJob::inSpan(long frame) const {
    return frame >= first && (!last || frame <= *last);
}

bool RenderJob::writes(long frame) const {
    return inSpan(frame) && (frame - first) % options.every == 0;
}

bool RenderJob::onSheet(long frame) const {
    return inSpan(frame) && (frame - first) % options.fps == 0;
}

long RenderJob::lastFrameToDraw(const OfflineDemo& demo) const {
    if (last)
        return *last;
    return static_cast<long>(std::floor((demo.lastEventTime() + runOn) * options.fps + whisker));
}

std::string RenderJob::run(std::ostream& progressOut, bool terminal, const StopRequest& stop) {
    stopSignal = 0;
    OfflineDemo demo(options.clock, options.fps);
    demo.load(options.script);
    openOutputs();
    const long end = lastFrameToDraw(demo);
    ProgressReport progress(progressOut, terminal, end + 1);
    // As the player's main loop: the demo's end is looked for before each frame.
    for (long frame = 0; frame <= end && !demo.finished(); ++frame) {
        if (stop && (stopSignal = stop()) != 0)
            break;
        demo.drawFrame();
        keep(demo, frame);
        progress.frameDone();
    }
    drawn = demo.framesDrawn();
    if (stopSignal != 0) {
        abandonOutputs();
        const std::string line = stopLine();
        progress.stop(line);
        return line;
    }
    if (drawnInSpan == 0) {
        throw std::runtime_error("the demo ended after " +
                                 secondsText(static_cast<double>(drawn) / options.fps) +
                                 ", before the span to write began");
    }
    closeOutputs();
    const std::string line = summary(progress.elapsedSeconds(), progress.framesPerSecond());
    progress.finish(line);
    return line;
}

void RenderJob::openOutputs() {
    if (options.out) {
        std::error_code error;
        std::filesystem::create_directories(*options.out, error);
        if (error || !std::filesystem::is_directory(*options.out))
            throw std::runtime_error(
                "cannot create folder " + options.out->string() + ": " +
                (error ? error.message() : "a file of that name is in the way"));
        frames.emplace();
    }
    if (options.audio)
        wav.emplace(*options.audio);
    if (options.sheet)
        sheet.emplace(*options.sheet);
    if (options.video) {
        video.emplace(*options.video, options.fps, OfflineDemo::width, OfflineDemo::height,
                      OfflineDemo::sampleRate);
    }
}

void RenderJob::keep(OfflineDemo& demo, long frame) {
    if (!inSpan(frame))
        return;
    ++drawnInSpan;
    lastDrawn = frame;
    const bool toFile = frames && writes(frame);
    const bool toSheet = sheet && onSheet(frame);
    if (toFile || toSheet || video) {
        Image picture = video ? video->spare() : Image{};
        demo.readPixels(picture, video ? PixelOrder::Bgr : PixelOrder::Rgb);
        if (toSheet)
            sheet->add(picture, static_cast<double>(frame) / options.fps);
        if (toFile)
            frames->write(*options.out / frameName(frame), video ? picture : std::move(picture));
        if (video)
            video->add(std::move(picture), demo.frameAudio());
    }
    if (wav)
        wav->append(demo.frameAudio().data(), demo.frameAudio().size() / 2);
}

void RenderJob::closeOutputs() {
    if (frames) {
        frames->finish();
        written = frames->written();
    }
    if (video)
        video->finish();
    if (wav)
        wav->finish();
    if (sheet)
        sheet->write();
}

// Frames already handed over are whole frames and are written; a WAV or a sheet is complete
// only at the span's end, so what there is of them goes; so does the video.
void RenderJob::abandonOutputs() {
    if (frames) {
        frames->finish();
        written = frames->written();
    }
    video.reset();
    wav.reset();
    sheet.reset();
}

std::string RenderJob::stopLine() const {
    std::string line = "reelrender: stopped by " + std::string(SignalStop::name(stopSignal)) +
                       " after " + std::to_string(drawn) + " frames drawn";
    if (options.out)
        line += "; " + std::to_string(written) + " written to " + options.out->string();
    if (options.video)
        line += "; unfinished " + options.video->string() + " removed";
    if (options.audio)
        line += "; unfinished " + options.audio->string() + " removed";
    if (options.sheet)
        line += "; unfinished " + options.sheet->string() + " removed";
    return line;
}

std::string RenderJob::summary(double seconds, double fps) const {
    const double fromTime = static_cast<double>(first) / options.fps;
    const double toTime = static_cast<double>(lastDrawn) / options.fps;
    char rate[64];
    std::snprintf(rate, sizeof rate, " in %.1f s (%.1f frames/s)", seconds, fps);
    std::string line = "reelrender: " + std::to_string(drawn) + " frames drawn" + rate + "; span " +
                       secondsText(fromTime) + " to " + secondsText(toTime) + ": ";
    std::string outputs;
    if (frames)
        outputs = std::to_string(written) + " written to " + options.out->string();
    if (video)
        outputs +=
            (outputs.empty() ? "" : ", ") + std::string("video to ") + options.video->string();
    if (wav)
        outputs +=
            (outputs.empty() ? "" : ", ") + std::string("music to ") + options.audio->string();
    line += outputs;
    if (sheet)
        line += (outputs.empty() ? "" : ", ") + std::to_string(sheet->count()) + " thumbnails to " +
                options.sheet->string();
    return line;
}
