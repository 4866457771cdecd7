#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// What every effect does alike with its record's numbers and strings, and with time.

// Parameters are positional: an effect reads a group of them only when the list reaches the
// group's highest index; a shorter list leaves the group's defaults.
inline bool hasParameter(const std::vector<float>& parameters, std::size_t index) {
    return parameters.size() > index;
}

// A mode or kind given as a number: truncated toward zero. NaN reads as 0 and values beyond an
// int's range as its nearest end, where a plain conversion would be undefined.
int integerParameter(float value);

// The picture an effect loads: the first data string when there is one, else its own default.
std::string pictureName(const std::vector<std::string>& data, std::string_view fallback);

// The three kinds of rate, each for one frame of `delta` seconds (frameDelta). Per frame rates
// need no helper: they add the rate itself.
inline float perSecond(float delta, float rate) {
    return delta * rate;
}
// A rate given per frame at 60 frames per second, kept whatever the real frame rate.
inline float perSixtieth(float delta, float rate) {
    return delta * rate * 60.0f;
}

// One step of a value moving towards a target at `speed` per second: it moves only while it is
// on the far side of the target in the direction of the speed's sign, so the last step may pass
// the target. Not clamped.
float moveTowards(float value, float target, float speed, float delta);
