#include "QuadDrawing.h"

#include "VertexBatch.h"

#include <GL/gl.h>

void drawQuadList(std::span<const Vertex> vertices) {
    const std::size_t whole = vertices.size() / 4 * 4;
    VertexBatch batch(GL_QUADS);
    for (const Vertex& vertex : vertices.first(whole))
        batch.litVertex(vertex);
    batch.draw();
}

namespace {

struct TexCoord {
    float s, t;
};

// The rectangle from (-w, -h) to (w, h), corners counter-clockwise from the bottom left, each
// with its texture coordinate.
void drawCorners(GLenum primitive, float w, float h, const TexCoord (&texCoords)[4]) {
    const float corners[4][2] = {{-w, -h}, {w, -h}, {w, h}, {-w, h}};
    VertexBatch batch(primitive);
    for (int i = 0; i < 4; ++i) {
        batch.texCoord(texCoords[i].s, texCoords[i].t);
        batch.vertex(corners[i][0], corners[i][1], 0.0f);
    }
    batch.draw();
}

constexpr TexCoord topRowFirst[4] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
constexpr TexCoord bottomRowFirst[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};

} // namespace

void drawSquare(float half) {
    drawCorners(GL_QUADS, half, half, topRowFirst);
}

void drawRect(float halfWidth, float halfHeight) {
    drawCorners(GL_QUADS, halfWidth, halfHeight, topRowFirst);
}

void drawSquareOutline(float half) {
    drawCorners(GL_LINE_LOOP, half, half, bottomRowFirst);
}
