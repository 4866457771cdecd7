#pragma once

#include "DemoSnapshot.h"
#include "DemoSurface.h"
#include "FrameRate.h"
#include "Image.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class DemoSystem;
class EffectCatalogue;
class FrameClock;

// Where the demo's time comes from offline. Music: the music's position in the offline mix, as
// the player's clock reads it (0 until the music is opened). Free: frame n is at n / fps.
enum class ClockMode { Music, Free };

// A demo played as the player plays it (the same engine, effects and timeline), but in an
// offscreen GL context, with the music mixed offline and time stepping exactly one frame per
// frame: the same demo gives the same frames and the same sound every time. Its frames are
// 640 x 480, or the same picture drawn at another size. One at a time per process.
class OfflineDemo {
public:
    static constexpr int sampleRate = 44100;

    // Throws std::runtime_error when no GL context of that size can be had.
    OfflineDemo(ClockMode mode, FrameRate rate, int width = DemoSurface::demoWidth,
                int height = DemoSurface::demoHeight);
    ~OfflineDemo();
    OfflineDemo(const OfflineDemo&) = delete;
    OfflineDemo& operator=(const OfflineDemo&) = delete;

    // Loads a script from the working directory, as the player does; throws its load errors.
    void load(const std::string& scriptName);
    // The time of the timeline's last event; 0 for an empty timeline.
    double lastEventTime() const;
    // The frames the demo draws before it ends through "TheEnd", as its timeline tells: the
    // sound player fades the music out over 200 frames from the first frame that sees "TheEnd"
    // while it runs (or the first that sees it started again). Nothing when the timeline never
    // ends the demo. Exact for the free clock; the music clock counts whole milliseconds and may
    // see it a frame later, and stands still without music that plays.
    std::optional<long> framesUntilTheEnd() const;
    // The sound player has faded the music out: the player would draw no further frame.
    bool finished() const;

    // Draws the next frame and waits until GL has finished it, then mixes the music on to the
    // next frame's time.
    void drawFrame();
    int frameWidth() const { return width; }
    int frameHeight() const { return height; }
    // Frames drawn so far: the number of the next frame.
    long framesDrawn() const { return frames; }
    // The music mixed after the last frame drawn: interleaved stereo, sampleRate frames a second.
    const std::vector<float>& frameAudio() const { return audio; }
    // The last frame drawn, top row first.
    Image readPixels() const;
    // The same into `into`, in `order`, its rows lying bottom up as GL reads them, keeping its
    // memory when it already has the frame's size: a fresh frame's memory costs as much as
    // reading it back.
    void readPixels(Image& into, PixelOrder order = PixelOrder::Rgb) const;

    // The demo between two frames, with the number of the next frame: putting it back draws the
    // same frames, and mixes the same music, as came after it was taken.
    struct Saved {
        DemoSnapshot demo;
        long frame = 0;
    };
    Saved saveState() const;
    void restoreState(const Saved& saved);

    // Sample frames of music before frame `frame`: no drift for rates that do not divide 44100.
    std::int64_t samplesBefore(long frame) const;

private:
    void checkDrawingSize() const;
    void mixMusic();

    FrameRate rate;
    int width;
    int height;
    long frames = 0;
    FrameClock* frameClock = nullptr;
    std::vector<float> audio;
    std::unique_ptr<DemoSystem> demo;
    std::unique_ptr<EffectCatalogue> effects;
};
