#include "TentacleBundle.h"

#include "Effect.h"
#include "EffectRules.h"

#include <GL/gl.h>
#include <cmath>

TentacleBundle::Shared TentacleBundle::shared;

namespace {

constexpr float eighthTurn = 0.39269876f;

// From 0.6 at the root to 0.15 at the last ring.
float taper(int ring, int, float) {
    return 0.6f - 0.45f * static_cast<float>(ring) / 4.0f;
}

} // namespace

const Tentacle::Shape TentacleBundle::tubeShape{2, 5, 16, eighthTurn, taper, 0.0f};

TentacleBundle::TentacleBundle() : tubes(tubeCount, Tentacle(tubeShape)) {}

void TentacleBundle::advance(float delta) {
    Shared& s = shared;
    s.twist += perSecond(delta, 0.6f);
    const float bend = 10.0f * std::sin(s.twist);
    for (int i = 0; i < tubeCount; ++i) {
        tubes[i].bend(static_cast<float>(i) * eighthTurn, bend);
        tubes[i].build();
    }
    s.sway += perSecond(delta, 1.2f);
    s.z += perSixtieth(delta, s.zSpeed);
    s.x += perSixtieth(delta, s.xSpeed);
    s.roll += 1.0f;
}

void TentacleBundle::draw() {
    advance(frameDelta());
    glLoadIdentity();
    const Shared& s = shared;
    glTranslatef(s.x + 2.0f * std::sin(s.sway / 2.0f), 0.0f, 10.0f * std::sin(s.sway) + s.z);
    glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
    glRotatef(s.roll, 1.0f, 0.0f, 0.0f);
    glTranslatef(2.0f, 0.0f, 1.0f);
    glColor4f(1.0f, 1.0f, 1.0f, 0.2f);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    for (const Tentacle& tube : tubes) {
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        tube.draw();
    }
}

void TentacleBundle::trigger(const std::string& triggerId) {
    if (triggerId == startMove)
        shared.xSpeed = 0.05f;
}
