#include "QuadDrawing.h"

#include <GL/gl.h>

void drawQuadList(std::span<const Vertex> vertices) {
    const std::size_t whole = vertices.size() / 4 * 4;
    glBegin(GL_QUADS);
    for (const Vertex& vertex : vertices.first(whole)) {
        glNormal3f(vertex.x, vertex.y, vertex.z);
        glTexCoord2f(vertex.u, vertex.v);
        glVertex3f(vertex.x, vertex.y, vertex.z);
    }
    glEnd();
}

namespace {

// A rectangle from (-w, -h) to (w, h), corners counter-clockwise from the bottom left.
void drawFilledRect(float w, float h) {
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(-w, -h, 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(w, -h, 0.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(w, h, 0.0f);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-w, h, 0.0f);
    glEnd();
}

} // namespace

void drawSquare(float half) {
    drawFilledRect(half, half);
}

void drawRect(float halfWidth, float halfHeight) {
    drawFilledRect(halfWidth, halfHeight);
}

void drawSquareOutline(float half) {
    glBegin(GL_LINE_LOOP);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-half, -half, 0.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(half, -half, 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(half, half, 0.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(-half, half, 0.0f);
    glEnd();
}
