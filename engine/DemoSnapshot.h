#pragma once

#include "EffectState.h"
#include "FrameStepRing.h"
#include "GLSettings.h"
#include "Music.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <typeindex>
#include <utility>
#include <vector>

class DemoSystem;
class Effect;

// Everything the demo's next frame depends on, taken between two frames by
// DemoSystem::saveState and put back by DemoSystem::restoreState: every effect object and
// every effect class's program-wide state, the parts outside the effects (the random
// generator), the timeline's place and the active effects, the clock's recent steps, the
// music's place to the sample, and the GL settings that last from frame to frame. Pictures and
// geometry built once are shared, not copied. A value: copies share the saved states, which
// never change.
class DemoSnapshot {
public:
    // The demo time it was taken at: the clock's last reading, in seconds.
    double time() const { return clockTime; }
    // An estimate of the memory it holds of its own, in bytes.
    std::size_t byteSize() const;

private:
    friend class DemoSystem;

    const DemoSystem* demo = nullptr;
    // Which timeline the place belongs to: a snapshot does not outlive a reload of the script.
    std::uint64_t timeline = 0;
    double clockTime = 0.0;
    std::size_t nextEvent = 0;
    std::vector<Effect*> active;
    FrameStepRing frameSteps;
    // One per registered effect, in registry order; null for an effect that saves nothing.
    std::vector<std::shared_ptr<const EffectState>> effects;
    // One per effect class that keeps program-wide state.
    std::vector<std::pair<std::type_index, std::shared_ptr<const EffectState>>> classes;
    // One per part added to the DemoSystem, in order.
    std::vector<std::shared_ptr<const EffectState>> parts;
    MusicState music;
    // Only when taken with a GL context.
    bool hasGL = false;
    GLSettings gl;
};
