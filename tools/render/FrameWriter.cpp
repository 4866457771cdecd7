#include "FrameWriter.h"

#include "IdlePriority.h"
#include "PngEncoder.h"

#include <algorithm>
#include <utility>

FrameWriter::FrameWriter(int laneCount, std::size_t maxWaiting)
    : laneCount(static_cast<std::size_t>(std::max(1, laneCount))), maxWaiting(maxWaiting) {
    for (std::size_t n = 0; n < this->laneCount; ++n)
        lanes.emplace_back([this] { lane(); });
}

FrameWriter::~FrameWriter() {
    {
        std::lock_guard lock(mutex);
        closing = true;
        waiting.clear();
    }
    changed.notify_all();
    for (std::thread& each : lanes)
        each.join();
}

void FrameWriter::write(std::filesystem::path path, Image picture) {
    std::unique_lock lock(mutex);
    changed.wait(lock, [this] { return failure ? writing == 0 : waiting.size() < maxWaiting; });
    throwFailure();
    waiting.push_back(Frame{std::move(path), std::move(picture), handedOver++});
    lock.unlock();
    changed.notify_all();
}

void FrameWriter::finish() {
    std::unique_lock lock(mutex);
    changed.wait(lock, [this] { return writing == 0 && (waiting.empty() || failure); });
    throwFailure();
}

Image FrameWriter::spare() {
    std::lock_guard lock(mutex);
    if (spares.empty())
        return {};
    Image picture = std::move(spares.back());
    spares.pop_back();
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

void FrameWriter::lane() {
    lowerThisThreadsPriority();
    PngEncoder encoder;
    std::unique_lock lock(mutex);
    for (;;) {
        changed.wait(lock, [this] { return !waiting.empty() || closing || failure; });
        if (waiting.empty() || failure)
            return;
        Frame frame = std::move(waiting.front());
        waiting.pop_front();
        ++writing;
        lock.unlock();
        changed.notify_all();
        std::exception_ptr error;
        try {
            encoder.write(frame.path, frame.picture);
        } catch (...) {
            error = std::current_exception();
        }
        lock.lock();
        --writing;
        // Lanes take frames in order, so the frames before a failed one have all been taken;
        // once they are done, the first that failed is the failure told.
        if (error && (!failure || frame.number < failedFrame)) {
            failure = error;
            failedFrame = frame.number;
            waiting.clear();
        } else if (!error) {
            ++count;
            // As many as can be under way at once: the drawing takes them back while the
            // writers fall behind, and a fresh frame's memory costs as much as reading it back.
            // Never more memory than the frames under way took already.
            if (spares.size() < maxWaiting + laneCount)
                spares.push_back(std::move(frame.picture));
        }
        changed.notify_all();
    }
}
