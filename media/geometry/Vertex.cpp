#include "Vertex.h"

#include <cmath>

void Vertex::setPosition(float newX, float newY, float newZ) {
    x = newX;
    y = newY;
    z = newZ;
}

void Vertex::setTexCoord(float newU, float newV) {
    u = newU;
    v = newV;
}

void Vertex::setBase(const Vertex& other) {
    bx = other.x;
    by = other.y;
    bz = other.z;
}

float Vertex::length() const {
    return std::sqrt(x * x + y * y + z * z);
}

void Vertex::normalize() {
    const float l = length();
    x /= l;
    y /= l;
    z /= l;
}

void Vertex::scale(float factor) {
    x *= factor;
    y *= factor;
    z *= factor;
}

void Vertex::add(const Vertex& other) {
    x += other.x;
    y += other.y;
    z += other.z;
}

void Vertex::subtract(const Vertex& other) {
    x -= other.x;
    y -= other.y;
    z -= other.z;
}

void Vertex::cross(const Vertex& other) {
    const float cx = y * other.z - z * other.y;
    const float cy = z * other.x - x * other.z;
    const float cz = x * other.y - y * other.x;
    setPosition(cx, cy, cz);
}
