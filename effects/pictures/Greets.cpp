#include "Greets.h"

#include "EffectRules.h"
#include "PictureDrawing.h"
#include "QuadDrawing.h"
#include "Random.h"
#include "TextureManager.h"

#include <GL/gl.h>

Greets::Motion Greets::programWide;

namespace {

// The largest half side before a picture shrinks again.
constexpr float fullSize = 2.0f;

} // namespace

const Greets::Motion& Greets::motion() {
    return programWide;
}

void Greets::load() {
    TextureManager& textures = *TextureManager::instance();
    for (const std::string& file : data)
        pictures.push_back(textures.pictureOrFallback(file));
    backing = TextureManager::share(
        textures.createSolidTexture(256, 256, 128.0f, 128.0f, 128.0f, 128.0f));
    loaded = true;
}

void Greets::advance(float delta) {
    // Past full size while already shrinking: a step shorter than the one that overshot has
    // not brought it back yet. Turning again there would swing the picture above full size for
    // as long as the steps stay that short.
    const bool overFull = programWide.size > fullSize && programWide.fadeRate < 0.0f;
    if (programWide.size <= 0.0f || overFull) {
        programWide.fadeRate = -programWide.fadeRate;
        if (programWide.size <= 0.0f) {
            // Evaluated in this order: the random values come from the shared generator.
            programWide.x = rand01() * 6.0f - 3.0f;
            programWide.y = rand01() * 4.0f - 2.0f;
            current = next < pictures.size() ? std::optional(next) : std::nullopt;
            ++next;
            programWide.size = 0.0f;
            programWide.spinRate = -programWide.spinRate;
        }
    }
    programWide.angle += perSixtieth(delta, programWide.spinRate);
    programWide.size -= perSixtieth(delta, programWide.fadeRate);
}

void Greets::render() {
    if (!loaded)
        load();
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_COLOR, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_DEPTH_TEST);
    advance(frameDelta());
    glTranslatef(programWide.x, programWide.y, -10.0f);
    glRotatef(programWide.angle, 0.0f, 0.0f, 1.0f);
    if (current)
        draw(*pictures[*current]);
}

void Greets::draw(const Texture& picture) const {
    const float half = programWide.size;
    if (backing) {
        glBindTexture(GL_TEXTURE_2D, backing->id);
        drawSquare(half);
    }
    glDisable(GL_TEXTURE_2D);
    drawSquareOutline(half);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, picture.id);
    drawSquare(half);
    glDisable(GL_BLEND);
}
