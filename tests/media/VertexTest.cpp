#include "Vertex.h"

#include "SphereBuilder.h"
#include "VertexArray.h"

#include <cmath>

#include <gtest/gtest.h>

namespace {

void expectPosition(const Vertex& v, float x, float y, float z) {
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
}

TEST(Vertex, CrossUsesTheOldComponentsThroughout) {
    Vertex x(1, 0, 0);
    x.cross(Vertex(0, 1, 0));
    expectPosition(x, 0, 0, 1);
    Vertex v(2, 3, 4);
    v.cross(Vertex(5, 6, 7));
    expectPosition(v, 3 * 7 - 4 * 6, 4 * 5 - 2 * 7, 2 * 6 - 3 * 5);
    Vertex self(1, 2, 3);
    self.cross(self);
    expectPosition(self, 0, 0, 0);
}

TEST(Vertex, VectorOperationsLeaveTheOtherComponentsAlone) {
    Vertex v(3, 0, 4);
    v.setTexCoord(0.25f, 0.75f);
    v.setBase(Vertex(7, 8, 9));
    EXPECT_FLOAT_EQ(v.length(), 5);
    v.normalize();
    expectPosition(v, 0.6f, 0, 0.8f);
    v.scale(10);
    v.add(Vertex(1, 1, 1));
    v.subtract(Vertex(0, 2, 0));
    expectPosition(v, 7, -1, 9);
    expectPosition(v.base(), 7, 8, 9);
    EXPECT_EQ(v.u, 0.25f);
    EXPECT_EQ(v.v, 0.75f);

    Vertex copy;
    copy = v;
    copy.setPosition(Vertex(1, 2, 3));
    expectPosition(v, 7, -1, 9);
    EXPECT_EQ(copy.bx, 7);

    Vertex zero;
    zero.normalize();
    EXPECT_FALSE(std::isfinite(zero.x));
}

TEST(VertexArray, HoldsCountDefaultVertices) {
    const std::vector<Vertex> vertices = makeVertexArray(3);
    ASSERT_EQ(vertices.size(), 3u);
    expectPosition(vertices[2], 0, 0, 0);
    EXPECT_TRUE(makeVertexArray(0).empty());
    EXPECT_TRUE(makeVertexArray(-5).empty());
}

TEST(Sphere, CountsSixFacesOfFourToTheDepthPlusOneQuads) {
    EXPECT_EQ(sphereVertexCount(-3), 24u);
    EXPECT_EQ(sphereVertexCount(0), 24u);
    EXPECT_EQ(sphereVertexCount(1), 96u);
    EXPECT_EQ(sphereVertexCount(2), 384u);
    EXPECT_EQ(sphereVertexCount(3), 1536u);
    EXPECT_EQ(sphereVertexCount(4), 6144u);
    for (int depth : {-1, 0, 1, 4})
        EXPECT_EQ(makeSphere(depth, 1.0f).size(), sphereVertexCount(depth)) << depth;
    EXPECT_THROW(makeSphere(maxSphereDepth + 1, 1.0f), std::length_error);
}

TEST(Sphere, AtDepthZeroIsTheCubeWithItsCornersOnTheSphere) {
    const float r = 2.0f;
    const float k = 1.0f / std::sqrt(3.0f);
    const std::vector<Vertex> cube = makeSphere(0, r);
    // Face 1 (z = -1) first, from its top left corner.
    expectPosition(cube[0], -r * k, r * k, -r * k);
    expectPosition(cube[1], r * k, r * k, -r * k);
    expectPosition(cube[2], r * k, -r * k, -r * k);
    // The last face is y = +1, from (1, 1, 1).
    expectPosition(cube[20], r * k, r * k, r * k);
    for (const Vertex& v : cube) {
        EXPECT_NEAR(std::fabs(v.x), r * k, 1e-6f);
        EXPECT_NEAR(std::fabs(v.u), k, 1e-6f);
        EXPECT_FLOAT_EQ(v.u * r, v.x);
        EXPECT_FLOAT_EQ(v.v * r, v.y);
    }
}

TEST(Sphere, SubdividesDepthFirstKeepingEveryVertexOnTheSphereAndEveryQuadOutward) {
    const std::vector<Vertex> sphere = makeSphere(1, 1.0f);
    // First quad: face 1's corner, the midpoint of its top edge, its centre, its left midpoint.
    const float k = 1.0f / std::sqrt(3.0f);
    expectPosition(sphere[0], -k, k, -k);
    expectPosition(sphere[2], 0, 0, -1);
    EXPECT_NEAR(sphere[1].x, 0, 1e-6f);
    EXPECT_NEAR(sphere[3].y, 0, 1e-6f);

    const std::vector<Vertex> fine = makeSphere(3, 2.7f);
    for (std::size_t q = 0; q < fine.size(); q += 4) {
        for (std::size_t i = q; i < q + 4; ++i)
            EXPECT_NEAR(fine[i].length(), 2.7f, 1e-5f);
        // Counter-clockwise seen from outside: the winding normal points away from the centre.
        Vertex edge1 = fine[q + 1], edge2 = fine[q + 2];
        edge1.subtract(fine[q]);
        edge2.subtract(fine[q]);
        edge1.cross(edge2);
        const Vertex& p = fine[q];
        ASSERT_GT(edge1.x * p.x + edge1.y * p.y + edge1.z * p.z, 0.0f) << "quad " << q / 4;
    }
}

} // namespace
