#include "BlobCube.h"

#include "DemoSurface.h"
#include "Effect.h"
#include "EffectRules.h"
#include "VertexArray.h"
#include "VertexBatch.h"

#include <GL/gl.h>
#include <array>
#include <cmath>

BlobCube::Shared BlobCube::shared;

namespace {

// A face from its corner along two edges whose cross product points out of the cube, so that
// its quads run counter-clockwise seen from outside.
struct Face {
    Vertex normal;
    Vertex corner;
    Vertex across;
    Vertex up;
};

const std::array<Face, BlobCube::faceCount> faces{{
    {{1, 0, 0}, {2, -2, -2}, {0, 1, 0}, {0, 0, 1}},
    {{-1, 0, 0}, {-2, -2, -2}, {0, 0, 1}, {0, 1, 0}},
    {{0, 1, 0}, {-2, 2, -2}, {0, 0, 1}, {1, 0, 0}},
    {{0, -1, 0}, {-2, -2, -2}, {1, 0, 0}, {0, 0, 1}},
    {{0, 0, 1}, {-2, -2, 2}, {1, 0, 0}, {0, 1, 0}},
    {{0, 0, -1}, {-2, -2, -2}, {0, 1, 0}, {1, 0, 0}},
}};

// Corner offsets of a cell, counter-clockwise.
constexpr int cornerSteps[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};

// The cube's cells are one unit wide: beyond the point plus this, a coordinate is pushed in.
constexpr float reach = 0.8f;

float pushed(float coordinate, float point) {
    return coordinate > point + reach ? coordinate - 1.0f : coordinate;
}

} // namespace

Vertex BlobCube::wanderingPoint() {
    const float wander = shared.wander;
    return Vertex(2.0f * std::sin(wander), 2.0f * std::cos(3.0f * wander),
                  2.0f * std::sin(wander / 2.0f));
}

BlobCube::BlobCube() : quads(makeVertexArray(faceCount * quadsPerFace * 4)) {
    buildFaces();
}

// Each quad k of a face shows the square of the picture from k/16 to (k+1)/16 on both axes.
void BlobCube::buildFaces() {
    constexpr float texStep = 1.0f / static_cast<float>(quadsPerFace);
    std::size_t out = 0;
    for (const Face& face : faces) {
        for (int k = 0; k < quadsPerFace; ++k) {
            const int i = k % cells;
            const int j = k / cells;
            for (const auto& step : cornerSteps) {
                const float s = static_cast<float>(i + step[0]);
                const float t = static_cast<float>(j + step[1]);
                Vertex& vertex = quads[out++];
                vertex.setPosition(face.corner.x + s * face.across.x + t * face.up.x,
                                   face.corner.y + s * face.across.y + t * face.up.y,
                                   face.corner.z + s * face.across.z + t * face.up.z);
                vertex.setTexCoord(texStep * static_cast<float>(k + step[0]),
                                   texStep * static_cast<float>(k + step[1]));
            }
        }
    }
}

void BlobCube::advance(float delta) {
    shared.height += perSixtieth(delta, shared.sink);
    shared.spin += perSixtieth(delta, 1.0f);
    shared.wander += perSecond(delta, 1.8f);
    const Vertex point = wanderingPoint();
    for (Vertex& vertex : quads) {
        vertex.bx = pushed(vertex.x, point.x);
        vertex.by = pushed(vertex.y, point.y);
        vertex.bz = pushed(vertex.z, point.z);
    }
}

void BlobCube::draw() {
    advance(frameDelta());
    demoSurface().setViewport({0, 0, viewportSize, viewportSize});
    glLoadIdentity();
    glTranslatef(0.0f, shared.height, -10.0f);
    glRotatef(shared.spin, 1.0f, 1.0f, 1.0f);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    std::size_t next = 0;
    for (const Face& face : faces) {
        glNormal3f(face.normal.x, face.normal.y, face.normal.z);
        VertexBatch batch(GL_QUADS);
        for (int corner = 0; corner < quadsPerFace * 4; ++corner) {
            const Vertex& vertex = quads[next++];
            batch.texCoord(vertex.u, vertex.v);
            batch.vertex(vertex.bx, vertex.by, vertex.bz);
        }
        batch.draw();
    }
    demoSurface().setPictureViewport();
}

void BlobCube::trigger(const std::string& triggerId) {
    if (triggerId == move)
        shared.sink = -0.1f;
}
