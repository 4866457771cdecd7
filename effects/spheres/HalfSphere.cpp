#include "HalfSphere.h"

#include "EffectRules.h"
#include "PictureDrawing.h"
#include "TextureManager.h"
#include "VertexBatch.h"

#include <GL/gl.h>
#include <cmath>

HalfSphere::ProgramWide HalfSphere::programWide;

namespace {

// Steps in radians between rings and between the points of a ring.
constexpr float ringStep = 0.2f;
constexpr float pointStep = 0.2f;

int at(int dome, int ring, int point) {
    return dome + ring * HalfSphere::ringPoints + point % HalfSphere::ringPoints;
}

} // namespace

float HalfSphere::spin() {
    return programWide.angle;
}

void HalfSphere::buildDomes() {
    vertices.resize(2 * domeVertices);
    std::size_t next = 0;
    for (float radius : {outerRadius, innerRadius}) {
        for (int ring = 0; ring < rings; ++ring) {
            const float phi = ring * ringStep;
            for (int point = 0; point < ringPoints; ++point) {
                const float theta = point * pointStep;
                Vertex& vertex = vertices[next++];
                vertex.setPosition(0.3f * radius * std::sin(phi) * std::cos(theta),
                                   0.3f * radius * std::sin(phi) * std::sin(theta),
                                   2.0f * radius * std::cos(phi));
                vertex.setTexCoord((std::sin(theta) + 1.0f) / 2.0f, std::cos(phi));
            }
        }
    }
}

void HalfSphere::emit(VertexBatch& batch, int index) const {
    const Vertex& vertex = vertices[index];
    batch.texCoord(vertex.u, vertex.v);
    batch.vertex(vertex.x, vertex.y, vertex.z);
}

// Bands between neighbouring rings, the last quad of each closing the ring. Each quad runs
// from the pole side first, counter-clockwise seen from outside the dome.
void HalfSphere::drawDome(VertexBatch& batch, int first) const {
    for (int ring = 0; ring + 1 < rings; ++ring) {
        for (int point = 0; point < ringPoints; ++point) {
            emit(batch, at(first, ring, point));
            emit(batch, at(first, ring + 1, point));
            emit(batch, at(first, ring + 1, point + 1));
            emit(batch, at(first, ring, point + 1));
        }
    }
}

// Each point of the outer dome's open edge joined to the same point of the inner dome's, one
// quad per pair of neighbours: a narrow band facing out of the open end, counter-clockwise
// seen from there, as the outer dome beside it is seen from outside.
void HalfSphere::drawRim(VertexBatch& batch) const {
    const int last = rings - 1;
    for (int point = 0; point < ringPoints; ++point) {
        emit(batch, at(0, last, point));
        emit(batch, at(domeVertices, last, point));
        emit(batch, at(domeVertices, last, point + 1));
        emit(batch, at(0, last, point + 1));
    }
}

void HalfSphere::render() {
    if (!texture)
        texture = TextureManager::instance()->pictureOrFallback(std::string(picture));
    buildDomes();
    glClear(GL_DEPTH_BUFFER_BIT);
    bindPicture(*texture);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -12.0f);
    glEnable(GL_CULL_FACE);
    programWide.angle += perSixtieth(frameDelta(), 1.0f);
    // The axis turned upright, the pole hanging down and the open end up, and the spin about it.
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(programWide.angle, 0.0f, 0.0f, 1.0f);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    // Front faces cannot change within a draw: one batch per winding.
    glFrontFace(GL_CW);
    VertexBatch inner(GL_QUADS);
    drawDome(inner, domeVertices);
    inner.draw();
    glFrontFace(GL_CCW);
    VertexBatch outer(GL_QUADS);
    drawDome(outer, 0);
    drawRim(outer);
    outer.draw();
}
