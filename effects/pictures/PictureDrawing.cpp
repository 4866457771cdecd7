#include "PictureDrawing.h"

#include "Effect.h"
#include "VertexBatch.h"

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
    VertexBatch batch(GL_QUADS);
    batch.texCoord(0.0f, 1.0f);
    batch.vertex(0.0f, 0.0f, 0.0f);
    batch.texCoord(1.0f, 1.0f);
    batch.vertex(1.0f, 0.0f, 0.0f);
    batch.texCoord(1.0f, 0.0f);
    batch.vertex(1.0f, 1.0f, 0.0f);
    batch.texCoord(0.0f, 0.0f);
    batch.vertex(0.0f, 1.0f, 0.0f);
    batch.draw();
}

SquareAspect::SquareAspect(Effect& effect) : effect(effect), saved(effect.getAspect()) {
    effect.setAspect(1.0f);
}

SquareAspect::~SquareAspect() {
    effect.setAspect(saved);
}
