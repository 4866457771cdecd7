#include "MusicClock.h"

#include "Music.h"

std::optional<float> MusicClock::seconds() {
    const StreamHandle stream = currentStream();
    if (!stream)
        return std::nullopt;
    // Whole milliseconds, as the stream reports them, in single precision.
    return static_cast<float>(streamTime(stream)) * 0.001f;
}
