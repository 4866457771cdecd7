#pragma once

#include "FrameRate.h"
#include "Image.h"
#include "VideoFile.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// Encodes a video on threads of its own, so that frames are encoded while the next are drawn.
// The encoders and the threads they start run only on time that nothing else wants: drawing
// waits on GL's rasteriser threads, and every slice of time an encoder takes from them delays
// the whole frame, while the encoders can as well work in the gaps drawing leaves. The price:
// other programs that keep every core busy hold the encoding back too. Up to `maxWaiting`
// frames may wait: where drawing keeps every core busy the encoders fall behind, and they catch
// up where drawing leaves one idle. Beyond that the drawing waits, so memory stays bounded.
//
// Where the file's encoder has no threads of its own, runs of frames from a key frame on are
// encoded side by side, one a lane, and written in order: while the drawing waits, every core
// encodes.
class VideoWriter {
public:
    // Opens the file before returning, so that a name that cannot be written fails before any
    // drawing.
    VideoWriter(std::filesystem::path path, FrameRate fps, int width, int height, int sampleRate);
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
    // A frame encoded, as it goes into the file.
    struct Piece {
        std::vector<Packet> pictures;
        std::vector<float> sound;
    };
    // Frames from a key frame on, encoded by one lane.
    struct Run {
        long first = 0;
        long added = 0;
        std::deque<Frame> waiting;
        // Not yet written: the run before has not all been.
        std::deque<Piece> encoded;
        bool claimed = false;
        // Encoded to its end.
        bool done = false;
    };
    struct Settings {
        std::filesystem::path path;
        FrameRate fps;
        int width;
        int height;
        int sampleRate;
    };
    // Half a second at 60 frames a second, 28 MB at 640 x 480. Against 3, the drawing waits
    // half as long for the encoder, and the two cores are busy 3 % more of the time; 60
    // gains nothing more.
    static constexpr std::size_t maxWaiting = 30;

    // The first lane: opens the file and starts the other lanes, whose scheduling they and
    // their encoders' threads inherit.
    void work(const Settings& settings);
    void lane();
    // Encodes `run` to its end; false when the writer closes or a lane failed. Called and
    // returning with `lock` held.
    bool encodeRun(Run& run, std::unique_lock<std::mutex>& lock);
    Run* unclaimedRun();
    bool complete(const Run& run) const;
    // Writes what the oldest runs have encoded, in order, as far as they have.
    void writeReady();
    void throwFailure();

    std::unique_ptr<VideoFile> file;
    long runLength = 0;
    std::mutex mutex;
    std::condition_variable changed;
    // Oldest first: the front is the one being written.
    std::deque<Run> runs;
    std::size_t waitingFrames = 0;
    long handedOver = 0;
    std::vector<Image> spares;
    bool ended = false;
    bool closing = false;
    std::exception_ptr failure;
    // Held by the lane writing to the file.
    std::mutex writing;
    // Last, so that it starts once everything it uses is there.
    std::thread worker;
};
