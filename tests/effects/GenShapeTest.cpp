// The generated shapes' geometry, built without drawing.

#include "genobject/BlobCube.h"
#include "genobject/CurveTube.h"
#include "genobject/GlowBundle.h"
#include "genobject/SplineTube.h"
#include "genobject/TentacleBundle.h"
#include "genobject/TubeMaths.h"
#include "genobject/WobbleSphere.h"

#include <cmath>
#include <numbers>
#include <vector>

#include <gmock/gmock.h>

namespace {

constexpr float pi = std::numbers::pi_v<float>;

float distance(const Vertex& a, const Vertex& b) {
    return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z);
}

Vertex mirrored(const Vertex& v) {
    return Vertex(v.x, v.y, -v.z);
}

bool finite(const Vertex& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Evenly spaced control points on the parabola y = x^2: the spline passes through the second
// and reaches the last but one, and on a parabola it is exact in between.
TEST(CatmullRom, FollowsAParabolaFromTheSecondControlPointTowardsTheLastButOne) {
    std::vector<Vertex> controls;
    for (int b = 0; b < 6; ++b)
        controls.emplace_back(static_cast<float>(b), static_cast<float>(b * b), 1.0f);
    ASSERT_EQ(catmullRomSampleCount(6, 4), 12);
    std::vector<Vertex> samples(12);
    catmullRomSamples(controls, 4, samples);
    for (int s = 0; s < 3; ++s) {
        EXPECT_EQ(samples[4 * s].x, controls[s + 1].x);
        EXPECT_EQ(samples[4 * s].y, controls[s + 1].y);
    }
    for (int i = 0; i < 12; ++i) {
        const float x = 1.0f + static_cast<float>(i) / 4.0f;
        EXPECT_NEAR(samples[i].x, x, 1e-5f) << i;
        EXPECT_NEAR(samples[i].y, x * x, 1e-4f) << i;
        EXPECT_NEAR(samples[i].z, 1.0f, 1e-6f) << i;
    }
    // Below four control points there is no segment.
    EXPECT_EQ(catmullRomSampleCount(3, 4), 0);
    EXPECT_EQ(catmullRomSampleCount(7, 0), 0);
}

TEST(TubeFrame, StandsAcrossThePathAndDegeneratesOnALineThroughTheOrigin) {
    const TubeFrame frame = tubeFrame(Vertex(1, 0, 0), Vertex(0, 1, 0));
    EXPECT_NEAR(frame.normal.x, 0.0f, 1e-6f);
    EXPECT_NEAR(frame.normal.y, 0.0f, 1e-6f);
    EXPECT_NEAR(frame.normal.z, -1.0f, 1e-6f);
    EXPECT_NEAR(frame.binormal.x, std::sqrt(0.5f), 1e-6f);
    EXPECT_NEAR(frame.binormal.y, std::sqrt(0.5f), 1e-6f);
    EXPECT_NEAR(frame.binormal.z, 0.0f, 1e-6f);

    // Angle 0 lies along the binormal, a quarter turn along the normal.
    Vertex point;
    placeRingPoint(point, Vertex(1, 0, 0), frame, 0.0f, 2.0f);
    EXPECT_NEAR(point.x, 1.0f + 2.0f * std::sqrt(0.5f), 1e-5f);
    EXPECT_NEAR(point.y, 2.0f * std::sqrt(0.5f), 1e-5f);
    placeRingPoint(point, Vertex(1, 0, 0), frame, pi / 2.0f, 2.0f);
    EXPECT_NEAR(point.x, 1.0f, 1e-5f);
    EXPECT_NEAR(point.z, -2.0f, 1e-5f);

    const TubeFrame flat = tubeFrame(Vertex(1, 1, 1), Vertex(2, 2, 2));
    EXPECT_FALSE(finite(flat.normal));
    EXPECT_FALSE(finite(flat.binormal));
}

// Below the ring's centre (angle -pi/2) only the sine part counts; it enters both terms of v.
TEST(TubeFrame, WrapsTheTentaclesTextureWithFoldedSums) {
    TubeFrame frame;
    frame.normal = Vertex(0.0f, 0.6f, 0.8f);
    frame.binormal = Vertex(0.0f, 0.8f, -0.6f);
    Vertex point;
    wrapTexCoord(point, Vertex(5.0f, -2.0f, -3.0f), frame, -pi / 2.0f, 1.0f);
    EXPECT_NEAR(point.u, 3.8f, 1e-5f);
    EXPECT_NEAR(point.v, 1.8f, 1e-5f);
}

TEST(CurveTube, RingsOfThePathsRadiusMirroredInDepthTexturedOnlyOnTheProgramsFirstBuild) {
    CurveTube::resetFirstBuild();
    CurveTube first;
    CurveTube second;
    ASSERT_EQ(first.getPath().size(), 63u);
    ASSERT_EQ(first.getPoints().size(), 63u * 32u);
    first.advance(1.0f / 60.0f);
    EXPECT_FALSE(CurveTube::firstBuildPending());
    for (int j = 0; j < CurveTube::ringCount; ++j) {
        const Vertex centre = mirrored(first.getPath()[j]);
        // The path breathes between radii 1 and 2 round the z axis.
        const float around = std::hypot(centre.x, centre.y);
        EXPECT_GE(around, 1.0f - 1e-5f);
        EXPECT_LE(around, 2.0f + 1e-5f);
        for (int k = 0; k < CurveTube::ringPoints; ++k) {
            const Vertex& point = first.getPoints()[j * CurveTube::ringPoints + k];
            const float r = distance(point, centre);
            EXPECT_GE(r, 0.3f - 1e-5f) << j << " " << k;
            EXPECT_LE(r, 0.7f + 1e-5f) << j << " " << k;
            EXPECT_EQ(point.u, point.x);
            EXPECT_EQ(point.v, point.y);
        }
    }
    // Later builds move the points but keep the coordinates of the first; a tube built after
    // the first one never gets any.
    const Vertex before = first.getPoints()[100];
    first.advance(0.1f);
    EXPECT_NE(first.getPoints()[100].x, before.x);
    EXPECT_EQ(first.getPoints()[100].u, before.u);
    second.advance(1.0f / 60.0f);
    for (const Vertex& point : second.getPoints()) {
        EXPECT_EQ(point.u, 0.0f);
        EXPECT_EQ(point.v, 0.0f);
    }
}

TEST(TentacleBundle, SixteenTaperingTubesFanningOutEachTexturedOnItsOwnFirstBuild) {
    TentacleBundle bundle;
    ASSERT_EQ(bundle.getTubes().size(), 16u);
    bundle.advance(1.0f / 60.0f);
    for (const Tentacle& tube : bundle.getTubes()) {
        EXPECT_TRUE(tube.isTextured());
        ASSERT_EQ(tube.getSamples().size(), 8u);
        ASSERT_EQ(tube.getPoints().size(), 5u * 16u + 1u);
        const auto& controls = tube.getControls();
        for (int b = 0; b < Tentacle::controlCount; ++b) {
            EXPECT_EQ(controls[b].x, 0.0f);
            EXPECT_NEAR(std::hypot(controls[b].y, controls[b].z), 1.1f * b, 1e-5f);
        }
        for (int j = 0; j < 5; ++j) {
            for (int k = 0; k < 16; ++k)
                EXPECT_NEAR(distance(tube.getPoints()[j * 16 + k], tube.getSamples()[j]),
                            0.6f - 0.45f * j / 4.0f, 1e-4f);
        }
        const Vertex& tip = tube.getPoints().back();
        EXPECT_EQ(distance(tip, controls.back()), 0.0f);
        EXPECT_EQ(tip.u, controls.back().z);
        EXPECT_EQ(tip.v, controls.back().y);
    }
    // The tubes fan out a sixteenth of a turn apart.
    const Vertex& a = bundle.getTubes()[0].getControls()[6];
    const Vertex& b = bundle.getTubes()[4].getControls()[6];
    EXPECT_NEAR(a.y * b.y + a.z * b.z, 0.0f, 1e-3f);

    // Coordinates stay those of the first build while the tubes twist on.
    const Vertex before = bundle.getTubes()[3].getPoints()[20];
    bundle.advance(0.5f);
    const Vertex& after = bundle.getTubes()[3].getPoints()[20];
    EXPECT_NE(after.y, before.y);
    EXPECT_EQ(after.u, before.u);
    EXPECT_EQ(after.v, before.v);
}

// Where the bundle stands is the program's, not the object's: both bundles move one place, and
// a bundle made later starts where the last one stood.
TEST(TentacleBundle, DriftsSidewaysOnlyAfterStartMoveAndEveryBundleMovesTheSamePlace) {
    TentacleBundle::shared = {};
    TentacleBundle bundle;
    for (const char* other : {"Move", "StartShake", "startmove"})
        bundle.trigger(other);
    bundle.advance(1.0f);
    EXPECT_EQ(TentacleBundle::shared.x, 0.0f);
    EXPECT_EQ(TentacleBundle::shared.z, -20.0f);
    bundle.trigger("StartMove");
    bundle.advance(1.0f);
    EXPECT_NEAR(TentacleBundle::shared.x, 3.0f, 1e-5f);
    EXPECT_EQ(TentacleBundle::shared.z, -20.0f);

    TentacleBundle other;
    other.advance(1.0f);
    EXPECT_NEAR(TentacleBundle::shared.x, 6.0f, 1e-5f);
    bundle.advance(0.5f);
    EXPECT_NEAR(TentacleBundle::shared.x, 7.5f, 1e-5f);
    EXPECT_EQ(TentacleBundle::shared.z, -20.0f);
}

TEST(SplineTube, SwingsItsMiddlePointAndRipplesRoundRingsAtEverySampleButTheLast) {
    SplineTube tube;
    ASSERT_EQ(SplineTube::ringCount, 39);
    ASSERT_EQ(tube.getPoints().size(), 39u * 32u);
    const float roll = SplineTube::rollAngle();
    tube.advance();
    tube.advance();
    EXPECT_NEAR(SplineTube::rollAngle() - roll, 0.8f, 1e-4f);
    const float swing = std::asin(tube.getControls()[3].x);
    tube.advance();
    EXPECT_NEAR(std::asin(tube.getControls()[3].x) - swing, 0.01f, 1e-4f);
    for (int b : {0, 1, 2, 4, 5, 6}) {
        EXPECT_EQ(tube.getControls()[b].x, 0.5f);
        EXPECT_EQ(tube.getControls()[b].y, 0.5f);
    }
    // Ring 0 stands at the second control point, mirrored in depth.
    const Vertex centre(0.5f, 0.5f, 4.0f);
    for (int k = 0; k < SplineTube::ringPoints; ++k) {
        const float r = distance(tube.getPoints()[k], centre);
        EXPECT_GE(r, 0.1f - 1e-5f);
        EXPECT_LE(r, 0.3f + 1e-5f);
    }
    for (const Vertex& point : tube.getPoints())
        ASSERT_TRUE(finite(point));
}

TEST(WobbleSphere, BulgesADepthFourUnitSphereOutwardAlongX) {
    WobbleSphere sphere;
    EXPECT_TRUE(sphere.getSphere().empty());
    sphere.advance();
    ASSERT_EQ(sphere.getSphere().size(), 6144u);
    float widest = 0.0f;
    for (const Vertex& vertex : sphere.getSphere()) {
        EXPECT_NEAR(vertex.length(), 1.0f, 1e-5f);
        const float bulge = vertex.bx - vertex.x;
        EXPECT_GE(bulge, 0.0f);
        EXPECT_LE(bulge, 1.0f);
        widest = std::max(widest, bulge);
        EXPECT_EQ(vertex.by, vertex.y);
        EXPECT_EQ(vertex.bz, vertex.z);
    }
    EXPECT_GT(widest, 0.9f);
}

TEST(GlowBundle, EightTubesWhoseRingsGoTwiceRoundAndAShakeThatStartsAndStops) {
    GlowBundle bundle;
    ASSERT_EQ(bundle.getTubes().size(), 8u);
    bundle.advance(1.0f / 60.0f);
    EXPECT_EQ(bundle.getSphere().size(), 96u);
    for (const Tentacle& tube : bundle.getTubes()) {
        EXPECT_TRUE(tube.isTextured());
        ASSERT_EQ(tube.getSamples().size(), 32u);
        ASSERT_EQ(tube.getPoints().size(), 29u * 16u + 1u);
    }
    // The ripple's phase grows by 0.1 a ring and runs on from tube to tube, 29 rings each, so
    // that every tube ripples with a phase of its own.
    for (int i : {0, 2, 7}) {
        const Tentacle& tube = bundle.getTubes()[i];
        for (int j : {0, 14, 28}) {
            const Vertex& centre = tube.getSamples()[j];
            const float phase = 0.1f * static_cast<float>(29 * i + j);
            for (int k = 0; k < 8; ++k) {
                Vertex first = tube.getPoints()[j * 16 + k];
                Vertex second = tube.getPoints()[j * 16 + k + 8];
                first.subtract(centre);
                second.subtract(centre);
                EXPECT_NEAR(first.length(), 0.8f + 0.2f * std::sin(k / 8.0f + phase), 1e-4f)
                    << i << " " << j << " " << k;
                // The same angle a second time round, at another radius.
                first.normalize();
                second.normalize();
                EXPECT_NEAR(first.x * second.x + first.y * second.y + first.z * second.z, 1.0f,
                            1e-4f);
            }
        }
    }
    // Each frame starts the ripple afresh.
    const Vertex before = bundle.getTubes()[0].getPoints()[3];
    bundle.advance(0.0f);
    EXPECT_EQ(bundle.getTubes()[0].getPoints()[3].x, before.x);

    // The shake is the program's: a bundle made later shakes on.
    GlowBundle::shared = {};
    bundle.trigger("StartMove");
    bundle.trigger("Move");
    EXPECT_EQ(GlowBundle::shared.shake, 0.0f);
    bundle.trigger("StartShake");
    EXPECT_EQ(GlowBundle::shared.shake, 100.0f);
    GlowBundle later;
    later.trigger("Shake");
    EXPECT_EQ(GlowBundle::shared.shake, 100.0f);
    later.trigger("StopShake");
    EXPECT_EQ(GlowBundle::shared.shake, 0.0f);
}

// The winding of a quad, seen from where its face's outward normal points.
float facing(const Vertex* quad, float Vertex::*axis, float outward) {
    Vertex first = quad[1];
    first.subtract(quad[0]);
    Vertex second = quad[2];
    second.subtract(quad[1]);
    first.cross(second);
    return first.*axis * outward;
}

TEST(BlobCube, FacesOfSixteenOutwardQuadsEachShowingItsOwnDiagonalSquareOfThePicture) {
    BlobCube cube;
    const std::vector<Vertex>& quads = cube.getQuads();
    ASSERT_EQ(quads.size(), 6u * 16u * 4u);
    const struct {
        float Vertex::*axis;
        float outward;
    } faces[6] = {{&Vertex::x, 1},  {&Vertex::x, -1}, {&Vertex::y, 1},
                  {&Vertex::y, -1}, {&Vertex::z, 1},  {&Vertex::z, -1}};
    for (int f = 0; f < 6; ++f) {
        for (int k = 0; k < 16; ++k) {
            const Vertex* quad = &quads[(f * 16 + k) * 4];
            EXPECT_GT(facing(quad, faces[f].axis, faces[f].outward), 0.0f) << f << " " << k;
            for (int c = 0; c < 4; ++c) {
                EXPECT_EQ(quad[c].*faces[f].axis, 2.0f * faces[f].outward);
                EXPECT_GE(quad[c].u, k / 16.0f);
                EXPECT_LE(quad[c].u, (k + 1) / 16.0f);
                EXPECT_GE(quad[c].v, k / 16.0f);
                EXPECT_LE(quad[c].v, (k + 1) / 16.0f);
            }
            EXPECT_NEAR(std::fabs(quad[2].x - quad[0].x) + std::fabs(quad[2].y - quad[0].y) +
                            std::fabs(quad[2].z - quad[0].z),
                        2.0f, 1e-6f);
        }
    }
}

TEST(BlobCube, TheWanderingPointPushesInWhatLiesBeyondItAndMoveSinksTheCube) {
    BlobCube cube;
    for (float step : {0.3f, 0.7f, 1.1f}) {
        cube.advance(step);
        const Vertex point = BlobCube::wanderingPoint();
        EXPECT_LE(std::fabs(point.x), 2.0f);
        int pushed = 0;
        for (const Vertex& v : cube.getQuads()) {
            EXPECT_EQ(v.bx, v.x > point.x + 0.8f ? v.x - 1.0f : v.x);
            EXPECT_EQ(v.by, v.y > point.y + 0.8f ? v.y - 1.0f : v.y);
            EXPECT_EQ(v.bz, v.z > point.z + 0.8f ? v.z - 1.0f : v.z);
            pushed += v.bx != v.x;
        }
        // The cube's far x side lies beyond a point that has not reached it.
        if (point.x < 1.2f) {
            EXPECT_GT(pushed, 0);
        }
    }
    BlobCube::shared.height = 0.0f;
    BlobCube::shared.sink = 0.0f;
    cube.trigger("StartMove");
    cube.advance(0.5f);
    EXPECT_EQ(BlobCube::shared.height, 0.0f);
    cube.trigger("Move");
    cube.advance(0.5f);
    EXPECT_NEAR(BlobCube::shared.height, -3.0f, 1e-5f);
    // A cube made later sinks on from there.
    BlobCube later;
    later.advance(0.5f);
    EXPECT_NEAR(BlobCube::shared.height, -6.0f, 1e-5f);
}

} // namespace
