#include "GlowBundle.h"

#include "Effect.h"
#include "EffectRules.h"
#include "QuadDrawing.h"
#include "SphereBuilder.h"
#include "TextureManager.h"

#include <GL/gl.h>
#include <cmath>

namespace {

// Shared by every glow bundle of the program, apart from the tentacle bundle's own.
float twist = 0.0f;
float sway = 0.0f;
float roll = 0.0f;

constexpr float quarterTurn = 0.78539752f;

// The sixteen points go twice round the ring, so each angle has two radii that drift apart
// along the tube.
float ripple(int ring, int point) {
    return 0.8f + 0.2f * std::sin(2.0f * static_cast<float>(point) / 16.0f +
                                  0.1f * static_cast<float>(ring));
}

} // namespace

const Tentacle::Shape GlowBundle::tubeShape{8, 29, 16, quarterTurn, ripple};

GlowBundle::GlowBundle() : tubes(tubeCount, Tentacle(tubeShape)) {}

GlowBundle::~GlowBundle() {
    if (target && target->id != 0)
        glDeleteTextures(1, &target->id);
}

void GlowBundle::advance(float delta) {
    if (sphere.empty())
        sphere = makeSphere(1, 1.6f);
    sway += perSecond(delta, 1.2f);
    roll += 1.0f;
    twist += perSecond(delta, 0.6f);
    const float bend = 10.0f * std::sin(twist);
    for (int i = 0; i < tubeCount; ++i) {
        tubes[i].bend(static_cast<float>(i) * quarterTurn, bend);
        tubes[i].build();
    }
}

void GlowBundle::drawBundle() const {
    glLoadIdentity();
    glTranslatef(2.0f * std::sin(sway * shake), 0.0f, -20.0f);
    glRotatef(roll, 1.0f, 0.0f, 1.0f);
    glTranslatef(0.0f, 0.0f, 1.0f);
    glColor4f(1.0f, 1.0f, 1.0f, 0.2f);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glViewport(0, 0, targetSize, targetSize);
    drawQuadList(sphere);
    for (const Tentacle& tube : tubes)
        tube.draw();
}

// Six squares, largest first, each adding a fifth of the copied bundle.
void GlowBundle::drawGlow() const {
    glBindTexture(GL_TEXTURE_2D, target->id);
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 0, 0, targetSize, targetSize, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glViewport(0, 0, 640, 480);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -10.0f);
    for (float half = 8.0f; half >= 3.0f; half -= 1.0f) {
        glColor4f(1.0f, 1.0f, 1.0f, 0.2f);
        drawSquare(half);
    }
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glDisable(GL_BLEND);
}

void GlowBundle::draw() {
    if (!target) {
        // Making the target binds it; the bundle is drawn with the picture bound before.
        GLint picture = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &picture);
        target = TextureManager::instance()->createBlankTexture(targetSize, targetSize);
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(picture));
    }
    advance(frameDelta());
    drawBundle();
    if (target)
        drawGlow();
    else
        glViewport(0, 0, 640, 480);
}

void GlowBundle::trigger(const std::string& triggerId) {
    if (triggerId == "StartShake")
        shake = 100.0f;
    else if (triggerId == "StopShake")
        shake = 0.0f;
}
