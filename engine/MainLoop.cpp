#include "MainLoop.h"

#include "DemoSystem.h"
#include "FramePacer.h"

#include <optional>

void MainLoop::run() {
    GLWindow& window = demo.getWindow();
    window.holdScreenSaver();
    std::optional<FramePacer> pacer;
    if (!window.hasVsync())
        pacer.emplace(window.getRefreshRate());
    while (drainEvents()) {
        if (keys[escapeKey] || demoFinished())
            return;
        demo.renderFrame();
        ++framesDrawn;
        if (pacer)
            pacer->waitForNextFrame();
    }
}

bool MainLoop::drainEvents() {
    while (const auto event = demo.getWindow().pollEvent()) {
        switch (event->type) {
        case WindowEvent::Type::Quit: return false;
        case WindowEvent::Type::KeyDown:
        case WindowEvent::Type::KeyUp:
            if (event->key >= 0 && event->key < 256)
                keys[event->key] = event->type == WindowEvent::Type::KeyDown;
            break;
        case WindowEvent::Type::Resized:
        case WindowEvent::Type::Other: break;
        }
    }
    return true;
}
