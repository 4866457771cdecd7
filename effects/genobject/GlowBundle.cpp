#include "GlowBundle.h"

#include "DemoSurface.h"
#include "Effect.h"
#include "EffectRules.h"
#include "QuadDrawing.h"
#include "SphereBuilder.h"
#include "TextureManager.h"

#include <GL/gl.h>
#include <cmath>

GlowBundle::Shared GlowBundle::shared;

namespace {

constexpr float quarterTurn = 0.78539752f;

// The corner of the frame the bundle is drawn into and copied from, in the demo's pixels.
constexpr PixelRect targetArea{0, 0, GlowBundle::targetSize, GlowBundle::targetSize};

// The sixteen points go twice round the ring, so each angle has two radii that drift apart
// along the tube.
float ripple(int, int point, float phase) {
    return 0.8f + 0.2f * std::sin(2.0f * static_cast<float>(point) / 16.0f + phase);
}

} // namespace

const Tentacle::Shape GlowBundle::tubeShape{8, 29, 16, quarterTurn, ripple, 0.1f};

GlowBundle::GlowBundle() : tubes(tubeCount, Tentacle(tubeShape)) {}

void GlowBundle::advance(float delta) {
    if (sphere.empty())
        sphere = makeSphere(1, 1.6f);
    Shared& s = shared;
    s.sway += perSecond(delta, 1.2f);
    s.roll += 1.0f;
    s.twist += perSecond(delta, 0.6f);
    const float bend = 10.0f * std::sin(s.twist);
    // The ripple starts afresh each frame and runs on from tube to tube.
    float phase = 0.0f;
    for (int i = 0; i < tubeCount; ++i) {
        tubes[i].bend(static_cast<float>(i) * quarterTurn, bend);
        phase = tubes[i].build(phase);
    }
}

void GlowBundle::drawBundle() const {
    glLoadIdentity();
    glTranslatef(2.0f * std::sin(shared.sway * shared.shake), 0.0f, -20.0f);
    glRotatef(shared.roll, 1.0f, 0.0f, 1.0f);
    glTranslatef(0.0f, 0.0f, 1.0f);
    glColor4f(1.0f, 1.0f, 1.0f, 0.2f);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    demoSurface().setViewport(targetArea);
    drawQuadList(sphere);
    for (const Tentacle& tube : tubes)
        tube.draw();
}

// Six squares, largest first, each adding a fifth of the copied bundle.
void GlowBundle::drawGlow() const {
    glBindTexture(GL_TEXTURE_2D, target->id);
    demoSurface().copyToTexture(targetArea);
    glClear(GL_COLOR_BUFFER_BIT);
    demoSurface().setPictureViewport();
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
        const PixelRect pixels = demoSurface().place(targetArea);
        target = TextureManager::share(
            TextureManager::instance()->createBlankTexture(pixels.width, pixels.height));
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(picture));
    }
    advance(frameDelta());
    drawBundle();
    if (target)
        drawGlow();
    else
        demoSurface().setPictureViewport();
}

void GlowBundle::trigger(const std::string& triggerId) {
    if (triggerId == startShake)
        shared.shake = 100.0f;
    else if (triggerId == stopShake)
        shared.shake = 0.0f;
}
