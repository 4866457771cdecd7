#include "VideoWriter.h"

#include "IdlePriority.h"

#include <climits>
#include <utility>

VideoWriter::VideoWriter(std::filesystem::path path, FrameRate fps, int width, int height,
                         int sampleRate)
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
        for (Run& run : runs)
            run.waiting.clear();
        waitingFrames = 0;
    }
    changed.notify_all();
    worker.join();
}

void VideoWriter::add(Image picture, std::vector<float> sound) {
    std::unique_lock lock(mutex);
    changed.wait(lock, [this] { return waitingFrames < maxWaiting || failure; });
    throwFailure();
    if (runs.empty() || runs.back().added == runLength) {
        runs.emplace_back();
        runs.back().first = handedOver;
    }
    Run& run = runs.back();
    run.waiting.push_back(Frame{std::move(picture), std::move(sound)});
    ++run.added;
    ++waitingFrames;
    ++handedOver;
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
        ended = true;
        changed.notify_all();
        changed.wait(lock, [this] { return runs.empty() || failure; });
        throwFailure();
    }
    // The lanes are idle and stay so: nothing more is handed over.
    file->finish();
}

void VideoWriter::throwFailure() {
    if (failure)
        std::rethrow_exception(failure);
}

void VideoWriter::work(const Settings& settings) {
    lowerThisThreadsPriority();
    std::unique_ptr<VideoFile> opened;
    std::vector<std::thread> others;
    std::exception_ptr error;
    try {
        opened = std::make_unique<VideoFile>(settings.path, settings.fps, settings.width,
                                             settings.height, settings.sampleRate);
        runLength = opened->runLength() > 0 ? opened->runLength() : LONG_MAX;
        // They wait for runs, which come only once the file is there.
        for (int lane = 1; lane < opened->encodersAtOnce(); ++lane)
            others.emplace_back([this] { this->lane(); });
    } catch (...) {
        error = std::current_exception();
    }
    {
        std::lock_guard lock(mutex);
        if (error)
            closing = true;
        else
            file = std::move(opened);
        failure = error;
    }
    changed.notify_all();
    if (!error)
        lane();
    for (std::thread& other : others)
        other.join();
}

void VideoWriter::lane() {
    std::unique_lock lock(mutex);
    for (;;) {
        Run* run = nullptr;
        changed.wait(lock, [&] { return closing || failure || (run = unclaimedRun()); });
        if (closing || failure)
            return;
        run->claimed = true;
        if (!encodeRun(*run, lock))
            return;
    }
}

VideoWriter::Run* VideoWriter::unclaimedRun() {
    for (Run& run : runs)
        if (!run.claimed)
            return &run;
    return nullptr;
}

bool VideoWriter::complete(const Run& run) const {
    return run.added == runLength || ended;
}

bool VideoWriter::encodeRun(Run& run, std::unique_lock<std::mutex>& lock) {
    try {
        lock.unlock();
        std::unique_ptr<VideoEncoder> encoder = file->newEncoder();
        lock.lock();
        for (long index = run.first;; ++index) {
            changed.wait(
                lock, [&] { return !run.waiting.empty() || complete(run) || closing || failure; });
            if (closing || failure)
                return false;
            if (run.waiting.empty())
                break;
            Frame frame = std::move(run.waiting.front());
            run.waiting.pop_front();
            --waitingFrames;
            lock.unlock();
            changed.notify_all();
            Piece piece{{}, std::move(frame.sound)};
            encoder->add(frame.picture, index, piece.pictures);
            lock.lock();
            // Never more than the frames that can be under way at once.
            if (spares.size() <= maxWaiting)
                spares.push_back(std::move(frame.picture));
            run.encoded.push_back(std::move(piece));
            lock.unlock();
            writeReady();
            lock.lock();
        }
        lock.unlock();
        Piece last;
        encoder->finish(last.pictures);
        encoder.reset();
        lock.lock();
        run.encoded.push_back(std::move(last));
        run.done = true;
        lock.unlock();
        writeReady();
        lock.lock();
        return true;
    } catch (...) {
        if (!lock.owns_lock())
            lock.lock();
        if (!failure)
            failure = std::current_exception();
        for (Run& each : runs)
            each.waiting.clear();
        waitingFrames = 0;
        changed.notify_all();
        return false;
    }
}

void VideoWriter::writeReady() {
    std::lock_guard writer(writing);
    for (;;) {
        std::deque<Piece> pieces;
        bool runDone = false;
        {
            std::lock_guard lock(mutex);
            if (runs.empty())
                return;
            pieces.swap(runs.front().encoded);
            runDone = runs.front().done;
        }
        for (Piece& piece : pieces) {
            for (Packet& picture : piece.pictures)
                file->writePicture(std::move(picture));
            file->addSound(piece.sound.data(), piece.sound.size() / 2);
        }
        if (!runDone)
            return;
        {
            std::lock_guard lock(mutex);
            runs.pop_front();
        }
        changed.notify_all();
    }
}
