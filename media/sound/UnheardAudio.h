#pragma once

#include "AudioSource.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// A stream's last frames handed to the audio device, which the listener may not have heard yet:
// a device plays its audio some time after taking it. When the library lets go of the device,
// the frames not heard are handed back here and played again by the next output, so that the
// stream goes on from the position heard, neither skipping audio nor stepping its clock back.
class UnheardAudio {
public:
    // Far more than a device holds unplayed, however late the clock's estimate of what it has
    // played; 0.74 s at 44100 Hz.
    static constexpr std::size_t capacity = 32768;

    // Fills `out` with up to `frames` frames: first those handed back, then the source's. Fewer
    // than asked means the source has ended. When `keep`, the frames go to a device and are
    // remembered.
    std::size_t render(AudioSource& source, float* out, std::size_t frames, bool keep);
    // The newest `frames` frames remembered are to be played again, before anything else; as
    // many as are remembered when fewer are. Answers how many. Forgets all it remembered.
    std::int64_t handBack(std::int64_t frames);
    // Forgets everything, frames handed back included (the stream starts again).
    void clear();

private:
    void remember(const float* frames, std::size_t count);

    // The remembered frames, a ring of `capacity` interleaved stereo frames ending before `end`;
    // allocated when the first frames go to a device.
    std::vector<float> ring;
    std::size_t end = 0;
    std::size_t kept = 0;
    // Frames handed back, played from `replayStart` on.
    std::vector<float> replay;
    std::size_t replayStart = 0;
};
