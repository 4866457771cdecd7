#pragma once

#include "DemoSystem.h"
#include "ManualClock.h"
#include "RecordingDialogs.h"
#include "TempFolder.h"

#include <array>
#include <memory>
#include <string>

#include <gtest/gtest.h>

// The one fixture of the tests that draw: the engine's own DemoSystem with its real 640 x 480
// window and GL context on SDL's offscreen driver (Mesa; no display needed), a clock the test
// moves, a fresh working folder for scripts, and pixel read-back. Effects made in a test body
// register with this DemoSystem and are gone before it is.
class GLTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes demoscript.scr (record types first) and loads it into the timeline.
    void loadScript(const std::string& records);
    // Red, green and blue of a pixel of the frame last drawn, x and y from the bottom left.
    std::array<int, 3> pixel(int x, int y) const;
    std::array<int, 3> centre() const { return pixel(320, 240); }
    // Keeps the frame last drawn as a PNG in $REELPLAY_TEST_FRAMES, when that is set, to look at.
    void keepFrame(const std::string& name) const;

    std::unique_ptr<TempFolder> folder;
    std::unique_ptr<DemoSystem> demo;
    ManualClock* clock = nullptr;
    RecordingDialogs dialogs;
};
