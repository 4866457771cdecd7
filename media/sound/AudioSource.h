#pragma once

#include <cstddef>

// Something that plays: a decoded file or a synthesised song. Produces interleaved stereo float
// frames at the rate it was opened with. Runs on the mixing thread under the sound library's lock.
class AudioSource {
public:
    virtual ~AudioSource() = default;

    // Writes up to `frames` frames to `out`; fewer than asked means the source has ended and
    // will give nothing more until it is rewound.
    virtual std::size_t render(float* out, std::size_t frames) = 0;
    // Back to the start. False when the source cannot start again; it then stays ended.
    virtual bool rewind() = 0;
};
