#include "PictureWarp.h"

#include "EffectRules.h"
#include "PictureDrawing.h"
#include "TextureManager.h"
#include "VertexArray.h"
#include "VertexBatch.h"

#include <GL/gl.h>
#include <cmath>

PictureWarp::ProgramWide PictureWarp::programWide;

void PictureWarp::init() {
    z = -1.2f;
    texture = nullptr;
}

void PictureWarp::load() {
    if (hasParameter(parameters, 0))
        z = parameters[0];
    texture = TextureManager::instance()->pictureOrFallback(pictureName(data, defaultPicture));
    buildStrip();
}

// A unit square around the origin, picture upright: even vertices along the bottom edge, odd
// ones along the top.
void PictureWarp::buildStrip() {
    strip = makeVertexArray(vertexCount);
    for (int i = 0; i < vertexCount / 2; ++i) {
        const float across = static_cast<float>(i) / 6.0f;
        Vertex& bottom = strip[2 * i];
        bottom.setPosition(-0.5f + across, -0.5f, 0.0f);
        bottom.setTexCoord(across, 1.0f);
        Vertex& top = strip[2 * i + 1];
        top.setPosition(-0.5f + across, 0.5f, 0.0f);
        top.setTexCoord(across, 0.0f);
    }
}

void PictureWarp::wave(float delta) {
    for (int k = 0; k < static_cast<int>(strip.size()); ++k) {
        programWide.phaseA += perSecond(delta, 0.24f);
        programWide.phaseB += perSecond(delta, 0.12f);
        const float n = static_cast<float>(k);
        Vertex& vertex = strip[k];
        vertex.bx = vertex.x + 0.1f * (std::cos(0.125f * n + programWide.phaseB) +
                                       std::sin(0.25f * n + programWide.phaseA));
        vertex.by = vertex.y + 0.3f * std::sin(n / 3.0f + programWide.phaseB);
        vertex.bz = vertex.z + 0.4f * std::cos(0.5f * n + programWide.phaseA);
    }
}

// Each quad joins two neighbouring columns, counter-clockwise.
void PictureWarp::drawStrip() const {
    VertexBatch batch(GL_QUADS);
    for (int k = 3; k < vertexCount; k += 2) {
        for (int corner : {k - 3, k - 1, k, k - 2}) {
            const Vertex& vertex = strip[corner];
            batch.texCoord(vertex.u, vertex.v);
            batch.vertex(vertex.bx, vertex.by, vertex.bz);
        }
    }
    batch.draw();
}

void PictureWarp::render() {
    if (!texture)
        load();
    const SquareAspect square(*this);
    glClear(GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, z);
    bindPicture(*texture);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);
    wave(frameDelta());
    drawStrip();
}

void PictureWarp::trigger(const std::string&, const std::vector<float>& numbers) {
    if (hasParameter(numbers, 0))
        z += numbers[0];
}
