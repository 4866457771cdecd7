#pragma once

#include "Image.h"

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

// Writes frames as PNG on threads of their own, so that frames are compressed while the next are
// drawn. The writers run only on time that nothing else wants, as the video's encoders do:
// drawing waits on GL's rasteriser threads, and a slice of time a writer takes from them delays
// the whole frame, while the writers can as well work in the gaps drawing leaves. Up to
// `maxWaiting` frames wait: the writers fall behind where drawing keeps the cores busy and catch
// up where it leaves one idle. Beyond that the drawing waits, and then every core writes. Frames
// are written side by side, each whole under its own name; the bytes are those writePng gives.
class FrameWriter {
public:
    // A lane a core (up to four), and eight frames waiting: with one lane, or two waiting, cores
    // idle where the drawing waits for a writer; more waiting gains nothing and holds memory.
    explicit FrameWriter(int lanes = defaultLanes(), std::size_t maxWaiting = 8);
    // Frames being written are finished (never left half written); those still waiting are
    // dropped.
    ~FrameWriter();
    FrameWriter(const FrameWriter&) = delete;
    FrameWriter& operator=(const FrameWriter&) = delete;

    // Hands a frame over, waiting while `maxWaiting` others wait. Throws the failure of an
    // earlier frame (the first in their order, should several fail), after which no frame still
    // waiting is written.
    void write(std::filesystem::path path, Image picture);
    // A picture already written, to be filled again and handed back (a fresh frame's memory
    // costs as much as reading it back); an empty one while none is free.
    Image spare();
    // Waits until every frame handed over is written; throws the first failure.
    void finish();
    // Frames written whole so far.
    long written() const;

private:
    static int defaultLanes() {
        return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
    }

    struct Frame {
        std::filesystem::path path;
        Image picture;
        // Counted from 0 in the order handed over.
        long number;
    };

    void lane();
    void throwFailure();

    const std::size_t laneCount;
    const std::size_t maxWaiting;
    mutable std::mutex mutex;
    std::condition_variable changed;
    std::deque<Frame> waiting;
    std::vector<Image> spares;
    int writing = 0;
    bool closing = false;
    std::exception_ptr failure;
    long failedFrame = 0;
    long handedOver = 0;
    long count = 0;
    // Last, so that they start once everything they use is there.
    std::vector<std::thread> lanes;
};
