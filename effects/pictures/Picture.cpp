#include "Picture.h"

#include "EffectRules.h"
#include "PictureDrawing.h"
#include "TextureManager.h"

#include <GL/gl.h>

void Picture::init() {
    applyPictureSettings();
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    texture = nullptr;
    z = -1.2f;
    dissolve = false;
    lessTest = true;
}

void Picture::load() {
    if (hasParameter(parameters, 0))
        z = parameters[0];
    if (hasParameter(parameters, 3)) {
        dissolve = true;
        threshold = parameters[1];
        thresholdSpeed = parameters[3];
    }
    if (hasParameter(parameters, 4) && integerParameter(parameters[4]) == -1)
        lessTest = false;
    // Dissolving, the texture's alpha is the picture's brightness.
    TextureManager& textures = *TextureManager::instance();
    const std::string file = pictureName(data, defaultPicture);
    texture = dissolve ? textures.alphaPictureOrFallback(file) : textures.pictureOrFallback(file);
}

void Picture::moveThreshold(float delta) {
    if (dissolve)
        threshold += perSixtieth(delta, thresholdSpeed);
}

unsigned int Picture::thresholdTest() const {
    return lessTest ? GL_LESS : GL_GREATER;
}

void Picture::render() {
    if (!texture)
        load();
    const SquareAspect square(*this);
    glClear(GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(-0.5f, -0.5f, z);
    bindPicture(*texture);
    glEnable(GL_ALPHA_TEST);
    if (dissolve) {
        moveThreshold(frameDelta());
        glAlphaFunc(thresholdTest(), threshold);
    } else {
        glAlphaFunc(GL_GREATER, 0.0f);
    }
    drawUnitQuad();
}

void Picture::trigger(const std::string&, const std::vector<float>& numbers) {
    if (hasParameter(numbers, 0))
        z += numbers[0];
}
