#include "Words.h"

#include "PictureDrawing.h"
#include "TextureManager.h"

#include <GL/gl.h>
#include <cmath>

namespace {

// Counted per drawn frame, so the words bob faster on a faster machine.
float frames = 0.0f;

// The two words move in depth a quarter turn apart.
constexpr float quarterTurn = 1.570795f;

} // namespace

float Words::frameCount() {
    return frames;
}

void Words::render() {
    if (!words[0]) {
        for (std::size_t i = 0; i < words.size(); ++i)
            words[i] = TextureManager::instance()->pictureOrFallback(std::string(pictures[i]));
    }
    glEnable(GL_TEXTURE_2D);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -10.0f);
    glDisable(GL_DEPTH_TEST);
    // The blend function stays as it is, (one, zero) unless someone changed it: the alpha test
    // alone cuts the black out.
    glEnable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);
    frames += 1.0f;

    glPushMatrix();
    glTranslatef(0.0f, 0.0f, 2.0f * std::sin(0.02f * frames));
    bindPicture(*words[0]);
    drawUnitQuad();
    glPopMatrix();

    glPushMatrix();
    glTranslatef(-0.1f, 0.4f, 2.0f * std::sin(0.02f * frames + quarterTurn));
    bindPicture(*words[1]);
    drawUnitQuad();
    glPopMatrix();
}
