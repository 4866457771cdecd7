#include "SphereBuilder.h"

#include <stdexcept>

namespace {

Vertex normalized(Vertex vertex) {
    vertex.normalize();
    return vertex;
}

Vertex midpoint(const Vertex& a, const Vertex& b) {
    Vertex sum = a;
    sum.add(b);
    return normalized(sum);
}

// Fills a vertex list quad by quad, depth first.
class SphereBuilder {
public:
    SphereBuilder(std::size_t count, float radius) : radius(radius) { vertices.reserve(count); }

    void subdivideQuad(Vertex p0, Vertex p1, Vertex p2, Vertex p3, int depth) {
        if (depth < 1) {
            for (const Vertex& corner : {p0, p1, p2, p3})
                addLeaf(corner);
            return;
        }
        const Vertex m01 = midpoint(p0, p1);
        const Vertex m12 = midpoint(p1, p2);
        const Vertex m23 = midpoint(p2, p3);
        const Vertex m30 = midpoint(p3, p0);
        const Vertex c = midpoint(m30, m12);
        subdivideQuad(p0, m01, c, m30, depth - 1);
        subdivideQuad(m01, p1, m12, c, depth - 1);
        subdivideQuad(c, m12, p2, m23, depth - 1);
        subdivideQuad(m30, c, m23, p3, depth - 1);
    }

    std::vector<Vertex> take() { return std::move(vertices); }

private:
    void addLeaf(const Vertex& corner) {
        Vertex leaf = corner;
        leaf.setTexCoord(corner.x, corner.y);
        leaf.scale(radius);
        vertices.push_back(leaf);
    }

    float radius;
    std::vector<Vertex> vertices;
};

} // namespace

std::size_t sphereVertexCount(int depth) {
    std::size_t count = 24;
    for (int level = 0; level < depth; ++level)
        count *= 4;
    return count;
}

std::vector<Vertex> makeSphere(int depth, float radius) {
    if (depth > maxSphereDepth)
        throw std::length_error("sphere depth above " + std::to_string(maxSphereDepth));

    auto corner = [](float x, float y, float z) { return normalized(Vertex(x, y, z)); };
    const Vertex a = corner(-1, 1, -1), b = corner(1, 1, -1), c = corner(1, -1, -1),
                 d = corner(-1, -1, -1), e = corner(-1, -1, 1), f = corner(1, -1, 1),
                 g = corner(1, 1, 1), h = corner(-1, 1, 1);

    SphereBuilder builder(sphereVertexCount(depth), radius);
    builder.subdivideQuad(a, b, c, d, depth); // z = -1
    builder.subdivideQuad(e, f, g, h, depth); // z = +1
    builder.subdivideQuad(h, a, d, e, depth); // x = -1
    builder.subdivideQuad(f, c, b, g, depth); // x = +1
    builder.subdivideQuad(c, f, e, d, depth); // y = -1
    builder.subdivideQuad(g, b, a, h, depth); // y = +1
    return builder.take();
}
