#pragma once

#include <cstdlib>

#include <gmock/gmock.h>

// A pixel's red, green and blue each within `tolerance` of the expected: blending and JPEG
// coding round by a step or two.
MATCHER_P2(NearColour, expected, tolerance, "") {
    for (int i = 0; i < 3; ++i) {
        if (std::abs(arg[i] - expected[i]) > tolerance)
            return false;
    }
    return true;
}
