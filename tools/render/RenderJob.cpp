#include "RenderJob.h"

#include "DemoLength.h"
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
    : options(options), first(options.fps.firstFrameFrom(options.from)) {
    if (options.to)
        end = options.fps.firstFrameFrom(*options.to);
}

bool RenderJob::inSpan(long frame) const {
    return frame >= first && (!end || frame < *end);
}

bool RenderJob::writes(long frame) const {
    return inSpan(frame) && (frame - first) % options.every == 0;
}

// The first frame of each second of the span.
bool RenderJob::onSheet(long frame) const {
    return inSpan(frame) && (frame == first || options.fps.wholeSeconds(frame - first) !=
                                                   options.fps.wholeSeconds(frame - first - 1));
}

long RenderJob::framesToDraw(const OfflineDemo& demo) const {
    return end ? *end
               : options.fps.firstFrameFrom(
                     std::min(demo.lastEventTime() + runOn, longestDemoSeconds));
}

void RenderJob::refuseSpanPastTheEnd(const OfflineDemo& demo, long drawable) const {
    const std::optional<long> theEnd = demo.framesUntilTheEnd();
    // The music clock may see "TheEnd" a frame late.
    const long slack = options.clock == ClockMode::Music ? 1 : 0;
    if (theEnd && first >= *theEnd + slack) {
        throw std::runtime_error(
            "the demo ends through \"TheEnd\" after " + secondsText(options.fps.seconds(*theEnd)) +
            ", before the span to write begins at " + secondsText(options.fps.seconds(first)));
    }
    if (first >= drawable) {
        throw std::runtime_error("the demo ends after " +
                                 secondsText(options.fps.seconds(drawable)) +
                                 ", a minute after its last event, before the span to write "
                                 "begins at " +
                                 secondsText(options.fps.seconds(first)));
    }
}

std::string RenderJob::run(std::ostream& progressOut, bool terminal, const StopRequest& stop) {
    stopSignal = 0;
    OfflineDemo demo(options.clock, options.fps, options.width, options.height);
    demo.load(options.script);
    const long drawable = framesToDraw(demo);
    refuseSpanPastTheEnd(demo, drawable);
    const long expected = std::min(drawable, demo.framesUntilTheEnd().value_or(drawable));
    try {
        openOutputs();
        ProgressReport progress(progressOut, terminal, expected);
        // As the player's main loop: the demo's end is looked for before each frame.
        for (long frame = 0; frame < drawable && !demo.finished(); ++frame) {
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
                                     secondsText(options.fps.seconds(drawn)) +
                                     ", before the span to write began");
        }
        closeOutputs();
        const std::string line = summary(progress.elapsedSeconds(), progress.framesPerSecond());
        progress.finish(line);
        return line;
    } catch (...) {
        abandonOutputs();
        removeFoldersMade();
        throw;
    }
}

void RenderJob::makeFramesFolder() {
    foldersMade.clear();
    for (std::filesystem::path folder = *options.out;
         !folder.empty() && !std::filesystem::exists(folder) && folder != folder.parent_path();
         folder = folder.parent_path())
        foldersMade.push_back(folder);
    std::error_code error;
    std::filesystem::create_directories(*options.out, error);
    if (error || !std::filesystem::is_directory(*options.out)) {
        throw std::runtime_error("cannot create folder " + options.out->string() + ": " +
                                 (error ? error.message() : "a file of that name is in the way"));
    }
}

// Only folders still empty go: frames already there stay.
void RenderJob::removeFoldersMade() {
    if (written > 0)
        return;
    for (const std::filesystem::path& folder : foldersMade) {
        std::error_code ignored;
        std::filesystem::remove(folder, ignored);
    }
    foldersMade.clear();
}

// The folder, the music and the sheet first: they fail fast, the video's encoders take time.
void RenderJob::openOutputs() {
    if (options.out) {
        makeFramesFolder();
        frames.emplace();
    }
    if (options.audio)
        wav.emplace(*options.audio);
    if (options.sheet)
        sheet.emplace(*options.sheet);
    if (options.video) {
        video.emplace(*options.video, options.fps, options.width, options.height,
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
        Image picture = video ? video->spare() : toFile ? frames->spare() : Image{};
        demo.readPixels(picture, video ? PixelOrder::Bgr : PixelOrder::Rgb);
        if (toSheet)
            sheet->add(picture, options.fps.seconds(frame));
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
        // A frame that failed to be written has failed already; those before it stay.
        try {
            frames->finish();
        } catch (const std::exception&) {
        }
        written = frames->written();
        frames.reset();
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
    const double fromTime = options.fps.seconds(first);
    const double toTime = options.fps.seconds(lastDrawn + 1);
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
