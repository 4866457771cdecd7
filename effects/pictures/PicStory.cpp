#include "PicStory.h"

#include "EffectRules.h"
#include "PictureDrawing.h"
#include "TextureManager.h"

#include <GL/gl.h>
#include <algorithm>

void PicStory::init() {
    applyPictureSettings();
    texture = nullptr;
    z = -1.2f;
    x = 0.0f;
    y = 0.0f;
    alpha = 0.0f;
    alphaTarget = 0.8f;
    alphaSpeed = 1.0f;
}

void PicStory::load() {
    if (hasParameter(parameters, 0))
        z = parameters[0];
    if (hasParameter(parameters, 2)) {
        x = parameters[1];
        y = parameters[2];
    }
    texture = TextureManager::instance()->pictureOrFallback(pictureName(data, defaultPicture));
}

void PicStory::fade(float delta) {
    alpha = std::clamp(moveTowards(alpha, alphaTarget, alphaSpeed, delta), 0.0f, 1.0f);
}

void PicStory::render() {
    if (!texture)
        load();
    fade(frameDelta());
    glColor4f(1.0f, 1.0f, 1.0f, alpha);
    const SquareAspect square(*this);
    glClear(GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    // x and y place the picture's centre.
    glTranslatef(x - 0.5f, y - 0.5f, z);
    bindPicture(*texture);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);
    drawUnitQuad();
}

void PicStory::trigger(const std::string& triggerId, const std::vector<float>&) {
    if (triggerId == alphaOut) {
        alpha = 0.8f;
        alphaTarget = 0.0f;
        alphaSpeed = -1.5f;
    }
}
