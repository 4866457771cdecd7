#pragma once

#include "Image.h"

#include <condition_variable>
#include <exception>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>

// Writes frames as PNG on a thread of its own, so that one frame is compressed while the next is
// drawn. At most one frame waits while another is written: memory stays that of two frames, and
// a writer that falls behind holds the drawing back instead of piling frames up. The bytes are
// those writePng gives; one encoder serves every frame.
class FrameWriter {
public:
    FrameWriter();
    // The frame being written is finished (never left half written); one still waiting is
    // dropped.
    ~FrameWriter();
    FrameWriter(const FrameWriter&) = delete;
    FrameWriter& operator=(const FrameWriter&) = delete;

    // Hands a frame over, waiting while an earlier one still waits. Throws the failure of an
    // earlier frame, after which nothing more is written.
    void write(std::filesystem::path path, Image picture);
    // The picture last written, to be filled again and handed back (a fresh frame's memory
    // costs as much as reading it back); an empty one while none is free.
    Image spare();
    // Waits until every frame handed over is written; throws the first failure.
    void finish();
    // Frames written whole so far.
    long written() const;

private:
    struct Frame {
        std::filesystem::path path;
        Image picture;
    };

    void work();
    void throwFailure();

    mutable std::mutex mutex;
    std::condition_variable changed;
    std::optional<Frame> waiting;
    std::optional<Image> done;
    bool writing = false;
    bool closing = false;
    std::exception_ptr failure;
    long count = 0;
    // Last, so that it starts once everything it uses is there.
    std::thread worker;
};
