#include "Effect.h"

#include "DemoSystem.h"
#include "SavableEffect.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <stdexcept>

Effect::Effect(const std::string& name) : name(name) {
    DemoSystem* demo = DemoSystem::instance();
    if (!demo)
        throw std::logic_error("effect \"" + name + "\" built before the DemoSystem");
    demo->registerEffect(this);
}

void Effect::setup(int width, int height, const std::vector<float>& parameters,
                   const std::vector<std::string>& data, int layer) {
    this->width = width;
    this->height = height;
    this->parameters = parameters;
    this->data = data;
    this->layer = layer;
    aspect = static_cast<float>(width) / static_cast<float>(height);
    applyPerspective();
}

void Effect::applyPerspective() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fov, aspect, zNear, zFar);
    glMatrixMode(GL_MODELVIEW);
}

void Effect::setAspect(float newAspect) {
    aspect = newAspect;
    applyPerspective();
}

std::size_t effectFieldBytes(const Effect& effect) {
    std::size_t bytes = effect.getName().capacity() + vectorBytes(effect.getParameters()) +
                        vectorBytes(effect.getData());
    for (const std::string& text : effect.getData())
        bytes += text.capacity();
    return bytes;
}

float frameDelta() {
    const DemoSystem* demo = DemoSystem::instance();
    return demo ? demo->getFrameDelta() : FrameStepRing::stillDelta;
}
