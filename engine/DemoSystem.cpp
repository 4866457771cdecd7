#include "DemoSystem.h"

#include "Effect.h"
#include "Music.h"
#include "ScriptLoader.h"
#include "TextureManager.h"
#include "TimelineLoader.h"

#include <GL/gl.h>
#include <algorithm>
#include <stdexcept>
#include <typeindex>

namespace {

DemoSystem* theDemoSystem = nullptr;

constexpr int windowWidth = DemoSurface::demoWidth;
constexpr int windowHeight = DemoSurface::demoHeight;
constexpr int windowBitsPerPixel = 32;

// GL_ALL_ATTRIB_BITS as OpenGL 1.1 defines it; newer headers set bits that 1.1 drivers reject.
constexpr GLbitfield allAttributeBits = 0x000FFFFF;

} // namespace

DemoSystem::DemoSystem() {
    if (theDemoSystem)
        throw std::logic_error("a second DemoSystem");
    theDemoSystem = this;
}

DemoSystem::~DemoSystem() {
    window.destroy();
    // The context has gone with the window: releasing the pictures frees only their memory.
    TextureManager::destroy();
    theDemoSystem = nullptr;
}

DemoSystem* DemoSystem::instance() {
    return theDemoSystem;
}

bool DemoSystem::createWindow(bool fullscreen, Dialogs& dialogs, const SurfaceRequest& surface) {
    if (!window.create("DemoSystem", windowWidth, windowHeight, windowBitsPerPixel, fullscreen,
                       dialogs, surface))
        return false;
    window.resize(window.getWidth(), window.getHeight());
    return true;
}

void DemoSystem::loadTimeline(const std::string& fileName) {
    TimelineLoader loader(registry);
    const auto cursor = loadScript(fileName);
    loader.readScript(*cursor);
    events = loader.takeEvents();
    // Stable: events of equal time run in the order the script made them.
    std::stable_sort(
        events.begin(), events.end(),
        [](const TimelineEvent& a, const TimelineEvent& b) { return a.time < b.time; });
    nextEvent = 0;
    ++timeline;
}

float DemoSystem::currentTime() {
    const std::optional<float> reading = clock->seconds();
    if (!reading) {
        lastTime = 0.0;
        return 0.0f;
    }
    frameSteps.record(*reading);
    lastTime = *reading;
    return *reading;
}

DemoSnapshot DemoSystem::saveState() const {
    DemoSnapshot snapshot;
    snapshot.demo = this;
    snapshot.timeline = timeline;
    snapshot.clockTime = lastTime;
    snapshot.nextEvent = nextEvent;
    snapshot.active = active;
    snapshot.frameSteps = frameSteps;
    snapshot.effects.reserve(registry.size());
    for (const Effect* effect : registry) {
        snapshot.effects.push_back(effect->saveState());
        const std::type_index type(typeid(*effect));
        const bool saved = std::any_of(snapshot.classes.begin(), snapshot.classes.end(),
                                       [&](const auto& entry) { return entry.first == type; });
        if (!saved) {
            if (auto state = effect->saveClassState())
                snapshot.classes.emplace_back(type, std::move(state));
        }
    }
    for (const auto& part : parts)
        snapshot.parts.push_back(part->save());
    snapshot.music = saveMusicState();
    if (window.isOpen()) {
        snapshot.hasGL = true;
        snapshot.gl = GLSettings::capture();
    }
    return snapshot;
}

void DemoSystem::restoreState(const DemoSnapshot& snapshot) {
    if (snapshot.demo != this || snapshot.effects.size() != registry.size() ||
        snapshot.parts.size() != parts.size())
        throw std::invalid_argument("a snapshot of another demo");
    if (snapshot.timeline != timeline)
        throw std::invalid_argument("a snapshot of a timeline loaded before this one");
    for (std::size_t i = 0; i < registry.size(); ++i) {
        if (snapshot.effects[i])
            registry[i]->restoreState(*snapshot.effects[i]);
    }
    // Any object of the class takes its class's state back.
    for (const auto& [type, state] : snapshot.classes) {
        const std::type_index cls = type;
        const auto found = std::find_if(registry.begin(), registry.end(), [&](const Effect* e) {
            return std::type_index(typeid(*e)) == cls;
        });
        if (found != registry.end())
            (*found)->restoreClassState(*state);
    }
    for (std::size_t i = 0; i < parts.size(); ++i)
        parts[i]->restore(*snapshot.parts[i]);
    nextEvent = snapshot.nextEvent;
    active = snapshot.active;
    frameSteps = snapshot.frameSteps;
    lastTime = snapshot.clockTime;
    restoreMusicState(snapshot.music);
    if (snapshot.hasGL && window.isOpen())
        snapshot.gl.apply();
}

std::size_t DemoSnapshot::byteSize() const {
    std::size_t bytes = sizeof(DemoSnapshot) + active.capacity() * sizeof(Effect*) +
                        effects.capacity() * sizeof(effects[0]) +
                        classes.capacity() * sizeof(classes[0]) +
                        parts.capacity() * sizeof(parts[0]);
    for (const auto& state : effects)
        bytes += state ? state->byteSize() : 0;
    for (const auto& [type, state] : classes)
        bytes += state->byteSize();
    for (const auto& state : parts)
        bytes += state->byteSize();
    return bytes;
}

void DemoSystem::processEvents() {
    const double now = currentTime();
    while (nextEvent < events.size() && events[nextEvent].time <= now) {
        runEvent(events[nextEvent]);
        ++nextEvent;
    }
}

void DemoSystem::runEvent(const TimelineEvent& event) {
    switch (event.kind) {
    case EventKind::Init:
        event.effect->setup(window.getWidth(), window.getHeight(), event.parameters, event.data,
                            event.layer);
        event.effect->init();
        break;
    case EventKind::Start: startEffect(event.effect); break;
    case EventKind::Stop: stopEffect(event.effect); break;
    case EventKind::Trigger:
        event.effect->trigger(event.message->triggerId, event.message->parameters);
        break;
    }
}

void DemoSystem::startEffect(Effect* effect) {
    active.push_back(effect);
    std::stable_sort(active.begin(), active.end(), [](const Effect* a, const Effect* b) {
        return a->getLayer() < b->getLayer();
    });
}

void DemoSystem::stopEffect(Effect* effect) {
    const auto found = std::find(active.begin(), active.end(), effect);
    if (found != active.end())
        active.erase(found);
}

void DemoSystem::renderFrame() {
    drawFrame();
    window.swapBuffers();
}

void DemoSystem::drawFrame() {
    processEvents();
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    for (Effect* effect : active)
        drawEffect(*effect);
    window.getSurface().blackenBars();
}

// Whatever an effect does to the matrices and GL state ends with its frame.
void DemoSystem::drawEffect(Effect& effect) {
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glPushAttrib(allAttributeBits);

    effect.render();

    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
    glPopAttrib();
}
