#pragma once

// A point of a mesh, also used as a 3D vector. Besides the position it carries a second triple,
// which effects use as a rest position or a second point, and texture coordinates. The vector
// operations act on the position only.
struct Vertex {
    float x = 0.0f, y = 0.0f, z = 0.0f;
    float bx = 0.0f, by = 0.0f, bz = 0.0f;
    float u = 0.0f, v = 0.0f;

    Vertex() = default;
    Vertex(float x, float y, float z) : x(x), y(y), z(z) {}

    void setPosition(float newX, float newY, float newZ);
    void setPosition(const Vertex& other) { setPosition(other.x, other.y, other.z); }
    void setTexCoord(float newU, float newV);
    // The second triple := other's position.
    void setBase(const Vertex& other);
    // A vertex at the second triple.
    Vertex base() const { return Vertex(bx, by, bz); }

    float length() const;
    // Not guarded: the zero vector becomes non-finite.
    void normalize();
    void scale(float factor);
    void add(const Vertex& other);
    void subtract(const Vertex& other);
    // This := this x other.
    void cross(const Vertex& other);
};
