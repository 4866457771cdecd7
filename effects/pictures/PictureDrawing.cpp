#include "PictureDrawing.h"

#include "Effect.h"

#include <GL/gl.h>

void applyPictureSettings() {
    glShadeModel(GL_FLAT);
    glEnable(GL_CULL_FACE);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
}

void bindPicture(const Texture& picture) {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, picture.id);
}

void drawUnitQuad() {
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(1.0f, 0.0f, 0.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(1.0f, 1.0f, 0.0f);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(0.0f, 1.0f, 0.0f);
    glEnd();
}

SquareAspect::SquareAspect(Effect& effect) : effect(effect), saved(effect.getAspect()) {
    effect.setAspect(1.0f);
}

SquareAspect::~SquareAspect() {
    effect.setAspect(saved);
}
