#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Which part of a stream went out in which part of the device's output, for the last mix blocks.
// The device plays its output some time after it was mixed; this maps the device frame being heard
// back to the stream frame it carries, so that a stream's position is what the listener hears,
// not what the mixer has already decoded.
class PositionHistory {
public:
    // In the block that starts at device frame `deviceStart`, the stream played `frames` frames
    // from its own frame `streamStart` on, starting with the block (a stream joins, pauses and
    // stops only between blocks and ends at most once inside one).
    void record(std::int64_t deviceStart, std::int64_t streamStart, std::int64_t frames);
    // The stream frame heard once the device has played `deviceFrame` frames. A frame before
    // everything recorded gives the stream's first recorded frame; `unplayed` is returned when
    // nothing has been recorded since the last clear.
    std::int64_t positionAt(double deviceFrame, std::int64_t unplayed) const;
    void clear() { count = 0; }

private:
    struct Span {
        std::int64_t deviceStart = 0;
        std::int64_t streamStart = 0;
        std::int64_t frames = 0;
    };
    // Far more blocks than any device buffers ahead of what it plays.
    static constexpr std::size_t capacity = 64;

    std::array<Span, capacity> spans{};
    std::size_t next = 0;
    std::size_t count = 0;
};
