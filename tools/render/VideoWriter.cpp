#include "VideoWriter.h"

#include <sched.h>
#include <utility>

namespace {

// The idle class, not a nice value: with it the rasteriser's threads take a core back the
// moment they wake, which a nice value only makes likely. The policy belongs to the thread, and
// threads started later inherit it. Failing to set it only costs speed.
void lowerThisThreadsPriority() {
    sched_param unused{};
    sched_setscheduler(0, SCHED_IDLE, &unused);
}

} // namespace

VideoWriter::VideoWriter(std::filesystem::path path, int fps, int width, int height, int sampleRate)
    : worker([this, settings = Settings{std::move(path), fps, width, height, sampleRate}] {
          work(settings);
      }) {
    std::unique_lock lock(mutex);
    // The worker sets one of the two: the file opened, or why it could not be.
    changed.wait(lock, [this] { return file || failure; });
    if (!failure)
        return;
    lock.unlock();
    worker.join();
    std::rethrow_exception(failure);
}

VideoWriter::~VideoWriter() {
    {
        std::lock_guard lock(mutex);
        closing = true;
        waiting.clear();
    }
    changed.notify_all();
    worker.join();
}

void VideoWriter::add(Image picture, std::vector<float> sound) {
    std::unique_lock lock(mutex);
    changed.wait(lock, [this] { return waiting.size() < maxWaiting || failure; });
    throwFailure();
    waiting.push_back(Frame{std::move(picture), std::move(sound)});
    lock.unlock();
    changed.notify_all();
}

Image VideoWriter::spare() {
    std::lock_guard lock(mutex);
    if (spares.empty())
        return {};
    Image picture = std::move(spares.back());
    spares.pop_back();
    return picture;
}

void VideoWriter::finish() {
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [this] { return (waiting.empty() && !encoding) || failure; });
        throwFailure();
    }
    // The worker is idle and stays so: nothing more is handed over.
    file->finish();
}

void VideoWriter::throwFailure() {
    if (failure)
        std::rethrow_exception(failure);
}

bool VideoWriter::open(const Settings& settings) {
    lowerThisThreadsPriority();
    std::unique_ptr<VideoFile> opened;
    std::exception_ptr error;
    try {
        opened = std::make_unique<VideoFile>(settings.path, settings.fps, settings.width,
                                             settings.height, settings.sampleRate);
    } catch (...) {
        error = std::current_exception();
    }
    {
        std::lock_guard lock(mutex);
        file = std::move(opened);
        failure = error;
    }
    changed.notify_all();
    return !error;
}

void VideoWriter::work(const Settings& settings) {
    if (!open(settings))
        return;
    std::unique_lock lock(mutex);
    for (;;) {
        changed.wait(lock, [this] { return !waiting.empty() || closing; });
        if (closing)
            return;
        Frame frame = std::move(waiting.front());
        waiting.pop_front();
        encoding = true;
        lock.unlock();
        changed.notify_all();
        std::exception_ptr error;
        try {
            file->addPicture(frame.picture);
            file->addSound(frame.sound.data(), frame.sound.size() / 2);
        } catch (...) {
            error = std::current_exception();
        }
        lock.lock();
        encoding = false;
        // Never more than the frames that can be under way at once.
        if (spares.size() <= maxWaiting)
            spares.push_back(std::move(frame.picture));
        if (error) {
            failure = error;
            waiting.clear();
        }
        changed.notify_all();
        if (failure)
            return;
    }
}
