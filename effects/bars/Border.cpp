#include "Border.h"

#include "EffectRules.h"
#include "VertexBatch.h"

#include <GL/gl.h>
#include <cmath>

Border::ProgramWide Border::programWide;

namespace {

// A bar between two corners; its winding depends on which way it grows.
void bar(VertexBatch& batch, float x0, float y0, float x1, float y1) {
    batch.vertex(x0, y0, 0.0f);
    batch.vertex(x1, y0, 0.0f);
    batch.vertex(x1, y1, 0.0f);
    batch.vertex(x0, y1, 0.0f);
}

} // namespace

float Border::phase() {
    return programWide.barPhase;
}

void Border::init() {
    if (hasParameter(parameters, 0))
        style = integerParameter(parameters[0]);
    if (hasParameter(parameters, 1))
        horizontal = parameters[1] == 1.0f;
}

void Border::render() {
    glClear(GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0.0f, -7.0f, -18.0f);
    programWide.barPhase += perSecond(frameDelta(), 6.0f);
    glDisable(GL_TEXTURE_2D);
    // Bars that grow downwards or leftwards wind the other way: culling left on by an earlier
    // effect's set-up would drop them.
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
    VertexBatch batch(GL_QUADS);
    if (horizontal)
        drawHorizontal(batch, programWide.barPhase);
    else
        drawVertical(batch, programWide.barPhase);
    batch.draw();
}

void Border::drawHorizontal(VertexBatch& batch, float t) const {
    for (int i = 0; i < barCount; ++i) {
        const float x = -10.0f + 0.05f * static_cast<float>(i);
        const float fi = static_cast<float>(i);
        const float h = std::cos(fi / 30.0f + t / 2.0f) + std::sin(t + 0.05f * fi) + 2.0f;
        const float g = -2.0f - std::sin(t + 0.025f * fi) - std::cos(t + 0.05f * fi);
        if (style == 1) {
            bar(batch, x, 0.0f, x + 0.05f, h);
            bar(batch, x, 13.0f, x + 0.05f, 13.0f + g);
        } else if (style == 2) {
            bar(batch, x, 7.0f, x + 0.05f, 7.0f + h);
            bar(batch, x, 7.0f, x + 0.05f, 7.0f + g);
        }
    }
}

void Border::drawVertical(VertexBatch& batch, float t) const {
    for (int i = 0; i < barCount; ++i) {
        const float y = -1.0f + 0.04f * static_cast<float>(i);
        const float fi = static_cast<float>(i);
        const float h = std::cos(fi / 30.0f + t / 2.0f) + std::sin(t + 0.05f * fi) + 2.0f;
        const float f = std::sin(fi / 35.0f + t / 3.0f) + std::cos(t + fi / 15.0f) + 2.0f;
        if (style == 1) {
            bar(batch, -9.0f, y, h - 9.0f, y + 0.04f);
            bar(batch, 9.0f - f, y, 9.0f, y + 0.04f);
        } else if (style == 2) {
            bar(batch, 0.0f, y, h, y + 0.04f);
            bar(batch, -f, y, 0.0f, y + 0.04f);
        }
    }
}
