#include "Fader.h"

#include "EffectRules.h"
#include "VertexBatch.h"

#include <GL/gl.h>

void Fader::trigger(const std::string&, const std::vector<float>& parameters) {
    finished = false;
    if (parameters.size() == 6) {
        alpha = parameters[0];
        targetAlpha = parameters[1];
        speed = parameters[2];
        red = parameters[3];
        green = parameters[4];
        blue = parameters[5];
    } else {
        alpha = 1.0f;
        targetAlpha = 0.0f;
        speed = -0.01f;
        red = green = blue = 1.0f;
    }
}

void Fader::render() {
    if (finished)
        return;
    // A square of 2 at depth 1 overfills the 45-degree view on every side.
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -1.0f);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    // Stepped before drawing: the first frame already shows one step.
    alpha = alpha + perSixtieth(frameDelta(), speed);
    glColor4f(red, green, blue, alpha);
    VertexBatch batch(GL_QUADS);
    batch.vertex(-1.0f, -1.0f, 0.0f);
    batch.vertex(1.0f, -1.0f, 0.0f);
    batch.vertex(1.0f, 1.0f, 0.0f);
    batch.vertex(-1.0f, 1.0f, 0.0f);
    batch.draw();

    glDisable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    if (alpha == targetAlpha)
        finished = true;
}
