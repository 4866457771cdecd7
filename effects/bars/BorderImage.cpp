#include "BorderImage.h"

#include "EffectRules.h"
#include "PictureDrawing.h"
#include "QuadDrawing.h"
#include "TextureManager.h"

#include <GL/gl.h>

BorderImage::ProgramWide BorderImage::programWide;

float BorderImage::scrollX() {
    return programWide.scroll;
}

void BorderImage::init() {
    y = -1.0f;
    targetY = -1.0f;
    speed = 0.0f;
}

void BorderImage::moveRow(float delta) {
    y = moveTowards(y, targetY, speed, delta);
}

void BorderImage::render() {
    if (!texture) {
        texture = TextureManager::instance()->pictureOrFallback(pictureName(data, defaultPicture));
        if (hasParameter(parameters, 0))
            y = parameters[0];
    }
    glLoadIdentity();
    glClear(GL_DEPTH_BUFFER_BIT);
    bindPicture(*texture);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);
    programWide.scroll += perSecond(frameDelta(), 3.0f);
    glTranslatef(programWide.scroll, y, -5.0f);
    // Tiles one unit apart: a jump back by one tile cannot be seen.
    for (int tile = 0; tile < 8; ++tile) {
        drawRect(0.5f, 0.15f);
        glTranslatef(1.0f, 0.0f, 0.0f);
    }
    if (programWide.scroll >= -3.0f)
        programWide.scroll = -4.0f;
    moveRow(frameDelta());
}

void BorderImage::trigger(const std::string& triggerId, const std::vector<float>& parameters) {
    if (triggerId == moveBars && hasParameter(parameters, 1)) {
        targetY = parameters[0];
        speed = parameters[1];
    }
}
