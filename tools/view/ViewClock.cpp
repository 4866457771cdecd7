#include "ViewClock.h"

#include <algorithm>
#include <cmath>

std::optional<float> ViewClock::seconds() {
    if (clockKind == ClockKind::Music)
        return music.seconds();
    return static_cast<float>(static_cast<double>(frame) / frameRate);
}

void ViewClock::runFree(double at) {
    clockKind = ClockKind::Free;
    setTime(at);
}

void ViewClock::setTime(double at) {
    frame = std::lround(std::max(at, 0.0) * frameRate);
}

double ViewClock::time() {
    if (clockKind == ClockKind::Free)
        return static_cast<double>(frame) / frameRate;
    return music.seconds().value_or(0.0f);
}
