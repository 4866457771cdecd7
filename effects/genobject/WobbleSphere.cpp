#include "WobbleSphere.h"

#include "SphereBuilder.h"
#include "VertexBatch.h"

#include <GL/gl.h>
#include <cmath>

WobbleSphere::Shared WobbleSphere::shared;

void WobbleSphere::advance() {
    if (sphere.empty())
        sphere = makeSphere(depth, 1.0f);
    shared.wave += 0.05f;
    for (Vertex& vertex : sphere) {
        const float bulge =
            (std::sin(2.0f * std::fabs(vertex.z) + 4.0f * std::fabs(vertex.x) + shared.wave) +
             1.0f) /
            2.0f;
        vertex.bx = vertex.x + bulge;
        vertex.by = vertex.y;
        vertex.bz = vertex.z;
    }
}

void WobbleSphere::draw() {
    advance();
    VertexBatch batch(GL_QUADS);
    for (const Vertex& vertex : sphere) {
        batch.normal(vertex.x, vertex.y, vertex.z);
        batch.texCoord(vertex.u, vertex.v);
        batch.vertex(vertex.bx, vertex.by, vertex.bz);
    }
    batch.draw();
}
