#include "TriggerTimes.h"

#include "ScriptErrors.h"

namespace {

// How many times a periodic trigger fires, counted before anything is stored so that a runaway
// record costs no memory. Stops counting once past the limit.
std::size_t countRepeats(double begin, double end, double delay) {
    std::size_t count = 1;
    for (double t = begin + delay; t < end && count <= maxTriggerEvents; t += delay)
        ++count;
    return count;
}

} // namespace

std::vector<double> triggerTimes(bool periodic, double begin, double end, double delay,
                                 const std::string& triggerId, const std::string& effectId) {
    if (!periodic)
        return {begin};
    const bool neverEnds = delay <= 0.0 && begin + delay < end;
    if (neverEnds || countRepeats(begin, end, delay) > maxTriggerEvents)
        throw Errors::ScriptLoaderError("Error : trigger [" + triggerId + "] for [" + effectId +
                                        "] repeats without end");
    std::vector<double> times{begin};
    for (double t = begin + delay; t < end; t += delay)
        times.push_back(t);
    return times;
}
