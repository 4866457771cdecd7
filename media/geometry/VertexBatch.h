#pragma once

#include "Vertex.h"

#include <GL/gl.h>
#include <vector>

// What glBegin/glEnd would draw, gathered on our side and drawn with one glDrawArrays. The GL
// packs immediate-mode vertices into a buffer of its own whose fill carries over from frame to
// frame and cuts its draws where that buffer runs full; how a draw is cut decides how some
// triangles are clipped, so the same vertices may come out a level apart at a few pixels
// depending on everything drawn before. A frame drawn from arrays depends on its own calls only:
// a saved state put back draws the very bytes it drew the first time.
//
// The calls mirror glTexCoord, glColor, glNormal and glVertex. An attribute never given in the
// batch is the GL's current one, as in immediate mode; one given after some vertices leaves
// those with the GL's current value; after `draw` the GL's current attributes are the last ones
// given, as after glEnd.
class VertexBatch {
public:
    explicit VertexBatch(GLenum primitive);
    ~VertexBatch();
    VertexBatch(const VertexBatch&) = delete;
    VertexBatch& operator=(const VertexBatch&) = delete;

    void reserve(std::size_t count) { points.reserve(count); }
    void texCoord(float s, float t);
    void color(float red, float green, float blue, float alpha = 1.0f);
    void normal(float x, float y, float z);
    void normal(const float* xyz) { normal(xyz[0], xyz[1], xyz[2]); }
    void vertex(float x, float y, float z);
    void vertex(const float* xyz) { vertex(xyz[0], xyz[1], xyz[2]); }
    // A mesh point with its texture coordinates.
    void texturedVertex(const Vertex& point) {
        texCoord(point.u, point.v);
        vertex(point.x, point.y, point.z);
    }
    // The same, lit with its position as its normal, as shapes about the origin are.
    void litVertex(const Vertex& point) {
        normal(point.x, point.y, point.z);
        texturedVertex(point);
    }
    // Draws the vertices given since the last draw and starts afresh.
    void draw();

private:
    struct Point {
        float texCoord[2] = {0.0f, 0.0f};
        float color[4] = {1.0f, 1.0f, 1.0f, 1.0f};
        float normal[3] = {0.0f, 0.0f, 1.0f};
        float position[3] = {0.0f, 0.0f, 0.0f};
    };
    enum Attribute : unsigned { TexCoords = 1, Colors = 2, Normals = 4 };

    // The first time an attribute is given: vertices before it take the GL's current value.
    void given(Attribute attribute);
    void restoreCurrent() const;

    // The storage of the last batch drawn on this thread, for the next: a frame draws dozens
    // of batches, up to a megabyte each, and memory freed and taken again at that size costs the
    // heap a trim and every page its fault anew. A batch made while another is open starts
    // with storage of its own.
    static thread_local std::vector<Point> spare;

    GLenum primitive;
    unsigned used = 0;
    Point current;
    std::vector<Point> points;
};
