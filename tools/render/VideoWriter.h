#pragma once

#include "Image.h"
#include "VideoFile.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// Encodes a video on a thread of its own, so that one frame is encoded while the next is drawn.
// The encoder and the threads it starts run only on time that nothing else wants: drawing waits
// on GL's rasteriser threads, and every slice of time the encoder takes from them delays the
// whole frame, while the encoder can as well work in the gaps drawing leaves. The price: other
// programs that keep every core busy hold the encoding back too. Up to `maxWaiting` frames may
// wait: where drawing keeps every core busy the encoder falls behind, and it catches up where
// drawing leaves one idle. Beyond that the drawing waits, so memory stays bounded.
class VideoWriter {
public:
    // Opens the file before returning, so that a name that cannot be written fails before any
    // drawing.
    VideoWriter(std::filesystem::path path, int fps, int width, int height, int sampleRate);
    // Without `finish`, frames still waiting are dropped and the unfinished file removed.
    ~VideoWriter();
    VideoWriter(const VideoWriter&) = delete;
    VideoWriter& operator=(const VideoWriter&) = delete;

    // Hands a frame over with the sound that plays until the next. Throws the failure of an
    // earlier frame.
    void add(Image picture, std::vector<float> sound);
    // A picture already encoded, to be filled again and handed back (its memory is all there
    // is to it); an empty one while none is free.
    Image spare();
    // Waits for every frame handed over, then completes the file; throws the first failure.
    void finish();

private:
    struct Frame {
        Image picture;
        std::vector<float> sound;
    };
    struct Settings {
        std::filesystem::path path;
        int fps;
        int width;
        int height;
        int sampleRate;
    };
    // Half a second at 60 frames a second, 28 MB at 640 x 480. Against 3, the drawing waits
    // half as long for the encoder, and the two cores are busy 3 % more of the time; 60
    // gains nothing more.
    static constexpr std::size_t maxWaiting = 30;

    // Opens the file on the worker, whose scheduling its encoder's threads inherit; false when
    // that failed (the failure is kept).
    bool open(const Settings& settings);
    void work(const Settings& settings);
    void throwFailure();

    std::unique_ptr<VideoFile> file;
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Frame> waiting;
    std::vector<Image> spares;
    bool encoding = false;
    bool closing = false;
    std::exception_ptr failure;
    // Last, so that it starts once everything it uses is there.
    std::thread worker;
};
