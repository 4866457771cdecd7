#include "BorderImage.h"

#include "EffectRules.h"
#include "PictureDrawing.h"
#include "QuadDrawing.h"
#include "TextureManager.h"

#include <GL/gl.h>

namespace {

float scroll = -4.0f;

} // namespace

float BorderImage::scrollX() {
    return scroll;
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
    scroll += perSecond(frameDelta(), 3.0f);
    glTranslatef(scroll, y, -5.0f);
    // Tiles one unit apart: a jump back by one tile cannot be seen.
    for (int tile = 0; tile < 8; ++tile) {
        drawRect(0.5f, 0.15f);
        glTranslatef(1.0f, 0.0f, 0.0f);
    }
    if (scroll >= -3.0f)
        scroll = -4.0f;
    moveRow(frameDelta());
}

void BorderImage::trigger(const std::string& triggerId, const std::vector<float>& parameters) {
    if (triggerId == moveBars && hasParameter(parameters, 1)) {
        targetY = parameters[0];
        speed = parameters[1];
    }
}
