#pragma once

#include <array>
#include <functional>

class DemoSystem;

// Draws frames until the demo ends: the window is closed, Escape is down when the loop looks
// between two frames, or the demo reports that it has played to its end. Every waiting window
// event is handled before the next frame. Frames come as fast as the buffer swap lets them where
// it waits for the display; elsewhere they are paced to the display's rate.
class MainLoop {
public:
    static constexpr int escapeKey = 27;

    MainLoop(DemoSystem& demo, std::function<bool()> demoFinished)
        : demo(demo), demoFinished(std::move(demoFinished)) {}

    void run();

    // The key-state table: true while the key of that code is down.
    bool isKeyDown(int key) const { return key >= 0 && key < 256 && keys[key]; }
    long getFramesDrawn() const { return framesDrawn; }

private:
    // False once the window system asks the demo to end.
    bool drainEvents();

    DemoSystem& demo;
    std::function<bool()> demoFinished;
    std::array<bool, 256> keys{};
    long framesDrawn = 0;
};
