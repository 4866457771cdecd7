#include "UnheardAudio.h"

#include <algorithm>

std::size_t UnheardAudio::render(AudioSource& source, float* out, std::size_t frames, bool keep) {
    const std::size_t waiting = (replay.size() - replayStart) / 2;
    const std::size_t replayed = std::min(frames, waiting);
    std::copy_n(replay.begin() + static_cast<long>(replayStart), replayed * 2, out);
    replayStart += replayed * 2;
    if (replayStart == replay.size()) {
        replay.clear();
        replayStart = 0;
    }
    std::size_t done = replayed;
    if (done < frames) {
        done += source.render(out + done * 2, frames - done);
    }
    if (keep) {
        remember(out, done);
    }
    return done;
}

void UnheardAudio::remember(const float* frames, std::size_t count) {
    if (ring.empty()) {
        ring.assign(capacity * 2, 0.0f);
    }
    if (count >= capacity) {
        std::copy_n(frames + (count - capacity) * 2, capacity * 2, ring.begin());
        end = 0;
        kept = capacity;
        return;
    }
    const std::size_t first = std::min(count, capacity - end);
    std::copy_n(frames, first * 2, ring.begin() + static_cast<long>(end * 2));
    std::copy_n(frames + first * 2, (count - first) * 2, ring.begin());
    end = (end + count) % capacity;
    kept = std::min(kept + count, capacity);
}

std::int64_t UnheardAudio::handBack(std::int64_t frames) {
    const auto count = static_cast<std::size_t>(
        std::clamp<std::int64_t>(frames, 0, static_cast<std::int64_t>(kept)));
    std::vector<float> back;
    back.reserve(count * 2 + replay.size() - replayStart);
    const std::size_t start = (end + capacity - count) % capacity;
    const std::size_t first = std::min(count, capacity - start);
    back.insert(back.end(), ring.begin() + static_cast<long>(start * 2),
                ring.begin() + static_cast<long>((start + first) * 2));
    back.insert(back.end(), ring.begin(), ring.begin() + static_cast<long>((count - first) * 2));
    back.insert(back.end(), replay.begin() + static_cast<long>(replayStart), replay.end());
    replay = std::move(back);
    replayStart = 0;
    kept = 0;
    end = 0;
    return static_cast<std::int64_t>(count);
}

void UnheardAudio::clear() {
    kept = 0;
    end = 0;
    replay.clear();
    replayStart = 0;
}
