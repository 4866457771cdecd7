#include "Words.h"

#include "PictureDrawing.h"
#include "TextureManager.h"

#include <GL/gl.h>
#include <cmath>

Words::ProgramWide Words::programWide;

namespace {

// The two words move in depth a quarter turn apart.
constexpr float quarterTurn = 1.570795f;

} // namespace

float Words::frameCount() {
    return programWide.frames;
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
    programWide.frames += 1.0f;

    glPushMatrix();
    glTranslatef(0.0f, 0.0f, 2.0f * std::sin(0.02f * programWide.frames));
    bindPicture(*words[0]);
    drawUnitQuad();
    glPopMatrix();

    glPushMatrix();
    glTranslatef(-0.1f, 0.4f, 2.0f * std::sin(0.02f * programWide.frames + quarterTurn));
    bindPicture(*words[1]);
    drawUnitQuad();
    glPopMatrix();
}
