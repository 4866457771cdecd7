#include "PositionHistory.h"

#include <algorithm>
#include <cmath>

void PositionHistory::record(std::int64_t deviceStart, std::int64_t streamStart,
                             std::int64_t frames) {
    spans[next] = Span{deviceStart, streamStart, frames};
    next = (next + 1) % capacity;
    count = std::min(count + 1, capacity);
}

std::int64_t PositionHistory::positionAt(double deviceFrame, std::int64_t unplayed) const {
    if (count == 0) {
        return unplayed;
    }
    // Newest first: the last span that had started by then holds the frame being heard.
    for (std::size_t i = 1; i <= count; ++i) {
        const Span& span = spans[(next + capacity - i) % capacity];
        if (static_cast<double>(span.deviceStart) <= deviceFrame) {
            auto into = static_cast<std::int64_t>(
                std::floor(deviceFrame - static_cast<double>(span.deviceStart)));
            return span.streamStart + std::min(into, span.frames);
        }
    }
    return spans[(next + capacity - count) % capacity].streamStart;
}
