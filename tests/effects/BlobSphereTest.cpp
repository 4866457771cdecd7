#include "BlobSphere.h"

#include "DemoSystem.h"
#include "ScriptText.h"
#include "SphereRun.h"

#include <gtest/gtest.h>

namespace {

TEST(BlobSphere, SlidesInAtATenthPerSixtiethUntilItReachesItsLimitAndStaysEvenWhenSetUpAgain) {
    DemoSystem demo;
    BlobSphere blob("BlobSphere");
    for (int round = 0; round < 2; ++round) {
        blob.init();
        EXPECT_EQ(blob.getX(), -5.0f);
        blob.slide(1.0f / 60.0f);
        EXPECT_NEAR(blob.getX(), -4.9f, 1e-5f);
        for (int frame = 0; frame < 60; ++frame)
            blob.slide(1.0f / 60.0f);
        EXPECT_GE(blob.getX(), -1.0f);
        EXPECT_LT(blob.getX(), -0.9f);
        const float stopped = blob.getX();
        // A long frame, then many: no step once there.
        blob.slide(10.0f);
        for (int frame = 0; frame < 100; ++frame)
            blob.slide(1.0f / 60.0f);
        EXPECT_EQ(blob.getX(), stopped);
    }
}

// The bulged surface never lies inside the sphere, and the two copies push it out.
TEST_F(SphereRun, BulgesOutwardOnlyWhereTheCopiesStickOut) {
    add<BlobSphere>("BlobSphere");
    loadScript(effectRecord("blob", "BlobSphere", 1, "0", "0", "9", "missing.jpg"));
    frames(3);
    const auto& blob = *static_cast<BlobSphere*>(effects.back().get());
    ASSERT_EQ(blob.largeSphere().size(), 1536u);
    int bulged = 0;
    for (const Vertex& vertex : blob.largeSphere()) {
        EXPECT_GE(vertex.bx, vertex.x);
        EXPECT_GE(vertex.by, vertex.y);
        EXPECT_GE(vertex.bz, vertex.z);
        bulged += vertex.bx > vertex.x || vertex.by > vertex.y || vertex.bz > vertex.z;
    }
    EXPECT_GT(bulged, 100);
    EXPECT_GT(litPixels(), 1000);
}

TEST_F(SphereRun, BlobSphereDrawsOnThroughWildClockSteps) {
    add<BlobSphere>("BlobSphere");
    loadScript(effectRecord("blob", "BlobSphere", 1, "0", "0", "9"));
    wildFrames();
}

} // namespace
