#include "TentacleBundle.h"

#include "Effect.h"
#include "EffectRules.h"

#include <GL/gl.h>
#include <cmath>

namespace {

// Shared by every bundle of the program.
float twist = 0.0f;
float sway = 0.0f;
float roll = 0.0f;

constexpr float eighthTurn = 0.39269876f;

// From 0.6 at the root to 0.15 at the last ring.
float taper(int ring, int) {
    return 0.6f - 0.45f * static_cast<float>(ring) / 4.0f;
}

} // namespace

const Tentacle::Shape TentacleBundle::tubeShape{2, 5, 16, eighthTurn, taper};

TentacleBundle::TentacleBundle() : tubes(tubeCount, Tentacle(tubeShape)) {}

float TentacleBundle::twistPhase() {
    return twist;
}

void TentacleBundle::advance(float delta) {
    twist += perSecond(delta, 0.6f);
    const float bend = 10.0f * std::sin(twist);
    for (int i = 0; i < tubeCount; ++i) {
        tubes[i].bend(static_cast<float>(i) * eighthTurn, bend);
        tubes[i].build();
    }
    sway += perSecond(delta, 1.2f);
    z += perSixtieth(delta, zSpeed);
    x += perSixtieth(delta, xSpeed);
    roll += 1.0f;
}

void TentacleBundle::draw() {
    advance(frameDelta());
    glLoadIdentity();
    glTranslatef(x + 2.0f * std::sin(sway / 2.0f), 0.0f, 10.0f * std::sin(sway) + z);
    glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
    glRotatef(roll, 1.0f, 0.0f, 0.0f);
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
    if (triggerId == "StartMove")
        xSpeed = 0.05f;
}
