#include "FrameWriter.h"

#include "PngEncoder.h"

#include <utility>

FrameWriter::FrameWriter() : worker([this] { work(); }) {}

FrameWriter::~FrameWriter() {
    {
        std::lock_guard lock(mutex);
        closing = true;
        waiting.reset();
    }
    changed.notify_all();
    worker.join();
}

void FrameWriter::write(std::filesystem::path path, Image picture) {
    std::unique_lock lock(mutex);
    changed.wait(lock, [this] { return !waiting || failure; });
    throwFailure();
    waiting = Frame{std::move(path), std::move(picture)};
    lock.unlock();
    changed.notify_all();
}

void FrameWriter::finish() {
    std::unique_lock lock(mutex);
    changed.wait(lock, [this] { return (!waiting && !writing) || failure; });
    throwFailure();
}

Image FrameWriter::spare() {
    std::lock_guard lock(mutex);
    Image picture = done ? std::move(*done) : Image{};
    done.reset();
    return picture;
}

long FrameWriter::written() const {
    std::lock_guard lock(mutex);
    return count;
}

void FrameWriter::throwFailure() {
    if (failure)
        std::rethrow_exception(failure);
}

void FrameWriter::work() {
    PngEncoder encoder;
    std::unique_lock lock(mutex);
    for (;;) {
        changed.wait(lock, [this] { return waiting || closing; });
        if (!waiting)
            return;
        Frame frame = std::move(*waiting);
        waiting.reset();
        writing = true;
        lock.unlock();
        changed.notify_all();
        std::exception_ptr error;
        try {
            encoder.write(frame.path, frame.picture);
        } catch (...) {
            error = std::current_exception();
        }
        lock.lock();
        writing = false;
        if (error) {
            failure = error;
            waiting.reset();
        } else {
            ++count;
            done = std::move(frame.picture);
        }
        changed.notify_all();
        if (failure)
            return;
    }
}
