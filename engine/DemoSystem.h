#pragma once

#include "DemoClock.h"
#include "DemoSnapshot.h"
#include "EffectState.h"
#include "FrameStepRing.h"
#include "GLWindow.h"
#include "TimelineEvent.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Dialogs;
class Effect;

// The engine: the window, the registry of effects, and the timeline that runs the script's
// events by the demo clock and draws the active effects every frame. There is one per process;
// effects find it through `instance` to register.
class DemoSystem {
public:
    DemoSystem();
    ~DemoSystem();
    DemoSystem(const DemoSystem&) = delete;
    DemoSystem& operator=(const DemoSystem&) = delete;

    static DemoSystem* instance();

    // The demo's window at 640 x 480 with the default viewport and projection; the picture drawn
    // on a surface of another size where one is requested. Failures have been shown through
    // `dialogs` when this answers false.
    bool createWindow(bool fullscreen, Dialogs& dialogs, const SurfaceRequest& surface = {});
    void setTitle(const std::string& title) { window.setTitle(title); }
    GLWindow& getWindow() { return window; }

    void registerEffect(Effect* effect) { registry.push_back(effect); }
    const std::vector<Effect*>& getRegistry() const { return registry; }

    // Replaces the timeline with the events of a script file. Throws Errors::LoadError (or a
    // class derived from it) or Errors::DataBaseError; the timeline is then left as it was.
    void loadTimeline(const std::string& fileName);
    // Puts `newEvents` (sorted by time) in place of the timeline, keeping its place and its
    // snapshots: the caller vouches that every event already run, and every event before any
    // snapshot it will put back, is the same in both. A viewer reloads an edited script so,
    // from the snapshot before the edit's first change.
    void amendTimeline(std::vector<TimelineEvent> newEvents) { events = std::move(newEvents); }
    const std::vector<TimelineEvent>& getEvents() const { return events; }
    // Sorted by layer; effects of equal layer in the order they started.
    const std::vector<Effect*>& getActiveEffects() const { return active; }

    // Runs every event that has come due, in timeline order.
    void processEvents();
    // Due events, then the active effects over a black frame, then the buffer swap.
    void renderFrame();
    // The same frame without the swap: a viewer replays frames it does not show.
    void drawFrame();

    // Reads the clock once; a running clock's reading enters the frame-step mean.
    float currentTime();
    float getFrameDelta() const { return frameSteps.delta(); }
    void setClock(std::unique_ptr<DemoClock> newClock) { clock = std::move(newClock); }

    // Everything the next frame depends on, taken between two frames (with the window's GL
    // context current, when there is a window).
    DemoSnapshot saveState() const;
    // Puts a snapshot of this demo back: the frames drawn next are the frames drawn after it was
    // taken. Throws std::invalid_argument for a snapshot of another DemoSystem or of a timeline
    // loaded since.
    void restoreState(const DemoSnapshot& snapshot);
    // State outside the effects that the demo's frames depend on; saved and restored in the
    // order added.
    void addSavedPart(std::unique_ptr<SavedPart> part) { parts.push_back(std::move(part)); }

private:
    void runEvent(const TimelineEvent& event);
    void startEffect(Effect* effect);
    void stopEffect(Effect* effect);
    void drawEffect(Effect& effect);

    GLWindow window;
    std::vector<Effect*> active;
    std::vector<Effect*> registry;
    std::vector<TimelineEvent> events;
    std::size_t nextEvent = 0;
    // Counts the timelines loaded, so that a snapshot can tell whose place it holds.
    std::uint64_t timeline = 0;
    std::unique_ptr<DemoClock> clock = std::make_unique<SilentClock>();
    FrameStepRing frameSteps;
    // What `currentTime` answered last.
    double lastTime = 0.0;
    std::vector<std::unique_ptr<SavedPart>> parts;
};
