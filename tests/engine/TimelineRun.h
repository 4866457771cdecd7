#pragma once

#include "GLTest.h"
#include "RecordingEffect.h"

#include <optional>
#include <string>
#include <vector>

// Running the timeline in a real GL context: set-ups apply their projection.
// Two recording effects, "Low" and "High", log their frames into `log`.
class TimelineRun : public GLTest {
protected:
    // Draws one frame with the clock at `seconds` and answers what the effects logged in it.
    std::vector<std::string> frameAt(float seconds) {
        clock->set(seconds);
        return frame();
    }

    std::vector<std::string> frame() {
        log.clear();
        demo->renderFrame();
        return log;
    }

    void SetUp() override {
        GLTest::SetUp();
        low.emplace("Low", log);
        high.emplace("High", log);
    }

    void TearDown() override {
        low.reset();
        high.reset();
        GLTest::TearDown();
    }

    std::vector<std::string> log;
    std::optional<RecordingEffect> low;
    std::optional<RecordingEffect> high;
};
