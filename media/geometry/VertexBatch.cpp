#include "VertexBatch.h"

#include <algorithm>

thread_local std::vector<VertexBatch::Point> VertexBatch::spare;

VertexBatch::VertexBatch(GLenum primitive) : primitive(primitive), points(std::move(spare)) {
    points.clear();
}

VertexBatch::~VertexBatch() {
    if (points.capacity() > spare.capacity()) {
        points.clear();
        spare = std::move(points);
    }
}

void VertexBatch::given(Attribute attribute) {
    if (used & attribute)
        return;
    used |= attribute;
    if (points.empty())
        return;
    GLfloat value[4];
    switch (attribute) {
    case TexCoords:
        glGetFloatv(GL_CURRENT_TEXTURE_COORDS, value);
        for (Point& point : points)
            std::copy_n(value, 2, point.texCoord);
        break;
    case Colors:
        glGetFloatv(GL_CURRENT_COLOR, value);
        for (Point& point : points)
            std::copy_n(value, 4, point.color);
        break;
    case Normals:
        glGetFloatv(GL_CURRENT_NORMAL, value);
        for (Point& point : points)
            std::copy_n(value, 3, point.normal);
        break;
    }
}

void VertexBatch::texCoord(float s, float t) {
    given(TexCoords);
    current.texCoord[0] = s;
    current.texCoord[1] = t;
}

void VertexBatch::color(float red, float green, float blue, float alpha) {
    given(Colors);
    current.color[0] = red;
    current.color[1] = green;
    current.color[2] = blue;
    current.color[3] = alpha;
}

void VertexBatch::normal(float x, float y, float z) {
    given(Normals);
    current.normal[0] = x;
    current.normal[1] = y;
    current.normal[2] = z;
}

void VertexBatch::vertex(float x, float y, float z) {
    current.position[0] = x;
    current.position[1] = y;
    current.position[2] = z;
    points.push_back(current);
}

void VertexBatch::restoreCurrent() const {
    if (used & TexCoords)
        glTexCoord2fv(current.texCoord);
    if (used & Colors)
        glColor4fv(current.color);
    if (used & Normals)
        glNormal3fv(current.normal);
}

void VertexBatch::draw() {
    if (!points.empty()) {
        glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
        const GLsizei stride = sizeof(Point);
        glEnableClientState(GL_VERTEX_ARRAY);
        glVertexPointer(3, GL_FLOAT, stride, points.front().position);
        if (used & TexCoords) {
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            glTexCoordPointer(2, GL_FLOAT, stride, points.front().texCoord);
        }
        if (used & Colors) {
            glEnableClientState(GL_COLOR_ARRAY);
            glColorPointer(4, GL_FLOAT, stride, points.front().color);
        }
        if (used & Normals) {
            glEnableClientState(GL_NORMAL_ARRAY);
            glNormalPointer(GL_FLOAT, stride, points.front().normal);
        }
        glDrawArrays(primitive, 0, static_cast<GLsizei>(points.size()));
        glPopClientAttrib();
    }
    // The arrays leave the current attributes undefined; immediate mode leaves the last given.
    restoreCurrent();
    points.clear();
    used = 0;
}
