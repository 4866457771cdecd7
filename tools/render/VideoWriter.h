#pragma once

#include "Picture.h"
#include "VideoFile.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

// Encodes a video on a thread of its own, so that one frame is encoded while the next is drawn.
// A few frames may wait (encoders take longer over some frames than others); beyond that the
// drawing waits, so memory stays bounded.
class VideoWriter {
public:
    // Opens the file at once, so that a name that cannot be written fails before any drawing.
    VideoWriter(std::filesystem::path path, int fps, int width, int height, int sampleRate);
    // Without `finish`, frames still waiting are dropped and the unfinished file removed.
    ~VideoWriter();
    VideoWriter(const VideoWriter&) = delete;
    VideoWriter& operator=(const VideoWriter&) = delete;

    // Hands a frame over with the sound that plays until the next. Throws the failure of an
    // earlier frame.
    void add(Picture picture, std::vector<float> sound);
    // A picture already encoded, to be filled again and handed back (its memory is all there
    // is to it); an empty one while none is free.
    Picture spare();
    // Waits for every frame handed over, then completes the file; throws the first failure.
    void finish();

private:
    struct Frame {
        Picture picture;
        std::vector<float> sound;
    };
    static constexpr std::size_t maxWaiting = 3;

    void work();
    void throwFailure();

    VideoFile file;
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Frame> waiting;
    std::vector<Picture> spares;
    bool encoding = false;
    bool closing = false;
    std::exception_ptr failure;
    // Last, so that it starts once everything it uses is there.
    std::thread worker;
};
