#include "Universe.h"

#include "EffectRules.h"
#include "PictureDrawing.h"
#include "QuadDrawing.h"
#include "Random.h"
#include "TextureManager.h"
#include "VertexArray.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>

Universe::ProgramWide Universe::programWide;

namespace {

constexpr float blinkAlpha = 0.5f;
constexpr float blinkSize = 0.7f;

} // namespace

void Universe::load() {
    starPositions = makeVertexArray(starCount);
    seedRandom(seed);
    for (Vertex& star : starPositions) {
        // Three separate statements: the coordinates take the generator's values in this order.
        const float x = rand01() * 10.0f - 5.0f;
        const float y = rand01() * 10.0f - 5.0f;
        const float z = rand01() * 10.0f - 5.0f;
        star.setPosition(x, y, z);
    }
    texture = TextureManager::instance()->pictureOrFallback(pictureName(data, defaultPicture));
}

void Universe::trigger(const std::string& triggerId, const std::vector<float>&) {
    if (triggerId == blink) {
        alpha = blinkAlpha;
        size = blinkSize;
    }
}

// Kept from stepping below the resting values, which a last step could otherwise pass by a
// rounding error's worth or more.
void Universe::decay() {
    if (alpha > restAlpha)
        alpha = std::max(alpha - 0.01f, restAlpha);
    if (size > restSize)
        size = std::max(size - 0.005f, restSize);
}

void Universe::drawStars(float turn, float orbit) const {
    for (int i = 0; i < starCount; ++i) {
        const Vertex& star = starPositions[i];
        const float a = static_cast<float>(i) / starCount;
        glPushMatrix();
        glTranslatef(std::sin(2.0f * a + orbit) * star.z * star.x,
                     std::cos(a + orbit) * star.z * star.y, std::sin(a) * star.z);
        // Turned back against the whole field's spin: every sprite faces the viewer.
        glRotatef(-turn, 1.0f, 1.0f, 1.0f);
        glColor4f(a, 0.6f, 1.0f - a, alpha);
        drawSquare(size);
        glPopMatrix();
    }
}

void Universe::render() {
    if (!texture)
        load();
    const float delta = frameDelta();
    bindPicture(*texture);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -8.0f);
    programWide.spin += perSixtieth(delta, 1.0f);
    glRotatef(programWide.spin, 1.0f, 1.0f, 1.0f);
    glTranslatef(0.0f, 0.0f, 2.0f * std::sin(0.01f * programWide.spin));
    decay();
    programWide.phase += perSecond(delta, 0.6f);
    drawStars(programWide.spin, programWide.phase);
}
