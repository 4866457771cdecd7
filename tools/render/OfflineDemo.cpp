#include "OfflineDemo.h"

#include "DemoSystem.h"
#include "Dialogs.h"
#include "EffectCatalogue.h"
#include "Music.h"
#include "MusicClock.h"
#include "SoundLibrary.h"
#include "SoundPlayer.h"

#include <GL/gl.h>
#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string>

// Frame n reads its own time, from the first frame on, music or not.
class FrameClock : public DemoClock {
public:
    explicit FrameClock(FrameRate rate) : rate(rate) {}
    std::optional<float> seconds() override { return static_cast<float>(rate.seconds(frame)); }
    void setFrame(long number) { frame = number; }

private:
    FrameRate rate;
    long frame = 0;
};

namespace {

// Window failures become the exception that tells them.
class FailureDialogs : public Dialogs {
public:
    void show(const std::string&, const std::string& text, DialogIcon) override {
        if (!failure.empty())
            failure += "; ";
        failure += text;
    }
    // The offscreen context never asks about display modes; going on is the only useful answer.
    bool askYesNo(const std::string&, const std::string&) override { return true; }

    std::string failure;
};

} // namespace

OfflineDemo::OfflineDemo(ClockMode mode, FrameRate rate, int width, int height)
    : rate(rate), width(width), height(height) {
    if (width <= 0 || height <= 0)
        throw std::invalid_argument("a frame needs at least one pixel");
    // No window and no audio device, whatever the environment says: the frames are read back
    // and the music is pulled by the frame.
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    SoundLibrary::instance().setOutput(AudioOutput::Offline);

    demo = std::make_unique<DemoSystem>();
    FailureDialogs dialogs;
    if (!demo->createWindow(false, dialogs, SurfaceRequest{width, height}))
        throw std::runtime_error("no offscreen GL context: " + dialogs.failure);
    checkDrawingSize();
    if (mode == ClockMode::Free) {
        auto clock = std::make_unique<FrameClock>(rate);
        frameClock = clock.get();
        demo->setClock(std::move(clock));
    } else {
        demo->setClock(std::make_unique<MusicClock>());
    }
    effects = std::make_unique<EffectCatalogue>();
}

// A GL clamps a viewport larger than it can draw, which would crop the picture quietly.
void OfflineDemo::checkDrawingSize() const {
    GLint viewport[2] = {};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    if (width > viewport[0] || height > viewport[1])
        throw std::runtime_error("this GL draws at most " + std::to_string(viewport[0]) + " x " +
                                 std::to_string(viewport[1]) + " pixels; " + std::to_string(width) +
                                 " x " + std::to_string(height) + " is too large");
}

// The effects go while their GL context is still there; then the music, as at the player's end.
OfflineDemo::~OfflineDemo() {
    effects.reset();
    demo.reset();
    runExitActions();
}

void OfflineDemo::load(const std::string& scriptName) {
    demo->loadTimeline(scriptName);
}

double OfflineDemo::lastEventTime() const {
    const auto& events = demo->getEvents();
    return events.empty() ? 0.0 : std::max(0.0, events.back().time);
}

std::optional<long> OfflineDemo::framesUntilTheEnd() const {
    const Effect* player = effects->find("SoundPlayer");
    bool active = false;
    bool told = false;
    for (const TimelineEvent& event : demo->getEvents()) {
        if (event.effect != player)
            continue;
        if (event.kind == EventKind::Start)
            active = true;
        else if (event.kind == EventKind::Stop)
            active = false;
        else if (event.kind == EventKind::Trigger && event.message->triggerId == "TheEnd")
            told = true;
        if (told && active) {
            const long seen = rate.firstFrameFrom(std::max(0.0, event.time));
            return seen + SoundPlayer::fullVolume;
        }
    }
    return std::nullopt;
}

bool OfflineDemo::finished() const {
    return effects->demoFinished();
}

void OfflineDemo::drawFrame() {
    if (frameClock)
        frameClock->setFrame(frames);
    demo->renderFrame();
    // GL queues frames that nobody reads back without bound: each costs memory until drawn,
    // and the render would seem faster than it is.
    glFinish();
    mixMusic();
    ++frames;
}

OfflineDemo::Saved OfflineDemo::saveState() const {
    return Saved{demo->saveState(), frames};
}

void OfflineDemo::restoreState(const Saved& saved) {
    demo->restoreState(saved.demo);
    frames = saved.frame;
}

std::int64_t OfflineDemo::samplesBefore(long frame) const {
    return rate.samplesBefore(frame, sampleRate);
}

void OfflineDemo::mixMusic() {
    const std::int64_t count = samplesBefore(frames + 1) - samplesBefore(frames);
    audio.resize(static_cast<std::size_t>(count) * 2);
    SoundLibrary::instance().renderOffline(audio.data(), static_cast<std::size_t>(count));
}

Image OfflineDemo::readPixels() const {
    Image picture;
    readPixels(picture);
    picture.putRowsTopDown();
    return picture;
}

void OfflineDemo::readPixels(Image& into, PixelOrder order) const {
    if (into.width != width || into.height != height ||
        into.rgb.size() != static_cast<std::size_t>(width) * height * 3)
        into = Image(width, height);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    into.order = order;
    into.rows = RowOrder::BottomUp;
    glReadPixels(0, 0, width, height, order == PixelOrder::Bgr ? GL_BGR : GL_RGB, GL_UNSIGNED_BYTE,
                 into.rgb.data());
}
