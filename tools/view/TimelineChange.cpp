#include "TimelineChange.h"

#include <algorithm>
#include <limits>

namespace {

bool sameMessage(const TimelineEvent& a, const TimelineEvent& b) {
    if (!a.message || !b.message)
        return a.message == b.message;
    return a.message->triggerId == b.message->triggerId &&
           a.message->parameters == b.message->parameters;
}

bool same(const TimelineEvent& a, const TimelineEvent& b) {
    return a.time == b.time && a.kind == b.kind && a.effect == b.effect && a.layer == b.layer &&
           a.parameters == b.parameters && a.data == b.data && sameMessage(a, b);
}

} // namespace

double firstChange(const std::vector<TimelineEvent>& before,
                   const std::vector<TimelineEvent>& after) {
    const std::size_t common = std::min(before.size(), after.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (!same(before[i], after[i]))
            return std::min(before[i].time, after[i].time);
    }
    if (before.size() > common)
        return before[common].time;
    if (after.size() > common)
        return after[common].time;
    return std::numeric_limits<double>::infinity();
}
