#include "TextureScroll.h"

#include "EffectRules.h"
#include "PictureDrawing.h"
#include "TextureManager.h"
#include "VertexBatch.h"

#include <GL/gl.h>

TextureScroll::ProgramWide TextureScroll::programWide;

float TextureScroll::scrollOffset() {
    return programWide.scroll;
}

void TextureScroll::render() {
    if (!texture)
        texture = TextureManager::instance()->pictureOrFallback(std::string(picture));
    programWide.scroll += perSecond(frameDelta(), 1.2f);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -2.0f);
    bindPicture(*texture);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glDisable(GL_DEPTH_TEST);
    glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
    // Four units square at depth 2 overfills the view; the picture repeats sideways.
    VertexBatch quad(GL_QUADS);
    quad.texCoord(programWide.scroll + 1.0f, 1.0f);
    quad.vertex(2.0f, 2.0f, 0.0f);
    quad.texCoord(programWide.scroll, 1.0f);
    quad.vertex(-2.0f, 2.0f, 0.0f);
    quad.texCoord(programWide.scroll, 0.0f);
    quad.vertex(-2.0f, -2.0f, 0.0f);
    quad.texCoord(programWide.scroll + 1.0f, 0.0f);
    quad.vertex(2.0f, -2.0f, 0.0f);
    quad.draw();
}
