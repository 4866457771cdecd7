#include "Tunnel.h"

#include "PictureScene.h"
#include "ScriptText.h"

#include <cmath>
#include <limits>

#include <gmock/gmock.h>

namespace {

using TunnelRun = PictureScene;

constexpr float sixtieth = 1.0f / 60.0f;

TEST_F(TunnelRun, TriggersChangeOnlyTheFieldTheyNameAndOnlyWithTheirValues) {
    Tunnel& tunnel = add<Tunnel>("Tunnel");
    tunnel.trigger("CircFactor", {});
    tunnel.trigger("Zoom", {});
    tunnel.trigger("circfactor", {9.0f});
    tunnel.trigger("Reverse", {});
    EXPECT_EQ(tunnel.getCircleFactor(), 5.0f);
    EXPECT_EQ(tunnel.getZoom(), 3.5f);
    EXPECT_EQ(tunnel.getSpinDirection(), 1.0f);
    tunnel.trigger("CircFactor", {2.0f, 7.0f});
    EXPECT_EQ(tunnel.getCircleFactor(), 2.0f);
}

TEST_F(TunnelRun, TurningTheSpinRoundTwiceGoesOnFromWhereItStood) {
    Tunnel& tunnel = add<Tunnel>("Tunnel");
    const float start = Tunnel::spinAngle();
    tunnel.animate(sixtieth);
    EXPECT_NEAR(Tunnel::spinAngle() - start, 1.0f, 1e-4f);
    tunnel.trigger("ReverseAngle", {3.0f});
    EXPECT_NEAR(Tunnel::spinAngle() - start, 1.0f, 1e-4f);
    tunnel.animate(sixtieth);
    tunnel.animate(sixtieth);
    EXPECT_NEAR(Tunnel::spinAngle() - start, -1.0f, 1e-4f);
    tunnel.trigger("ReverseAngle", {});
    EXPECT_EQ(tunnel.getSpinDirection(), 1.0f);
    tunnel.animate(sixtieth);
    EXPECT_NEAR(Tunnel::spinAngle() - start, 0.0f, 1e-4f);
    // The light swings by 3 radians a second whatever the spin does.
    const float swing = Tunnel::lightPhase();
    tunnel.animate(0.5f);
    EXPECT_NEAR(Tunnel::lightPhase() - swing, 1.5f, 1e-4f);
}

TEST_F(TunnelRun, FliesInFromAfarToItsRestingDistanceButStaysWhenNearer) {
    Tunnel& tunnel = add<Tunnel>("Tunnel");
    tunnel.trigger("Zoom", {9.0f});
    tunnel.animate(0.25f);
    EXPECT_FLOAT_EQ(tunnel.getZoom(), 6.0f);
    tunnel.animate(0.25f);
    EXPECT_EQ(tunnel.getZoom(), 3.5f);
    // One step per frame, so a frame that took no time leaves it.
    tunnel.trigger("Zoom", {4.0f});
    tunnel.animate(0.0f);
    EXPECT_EQ(tunnel.getZoom(), 4.0f);
    tunnel.trigger("Zoom", {1.0f});
    tunnel.animate(1.0f);
    EXPECT_EQ(tunnel.getZoom(), 1.0f);
}

// The first frame builds the rings twice: once when it loads, once to draw.
TEST_F(TunnelRun, BuildsTenDeepeningRingsAndMovesTheRippleOncePerRingBuilt) {
    Tunnel& tunnel = add<Tunnel>("Tunnel");
    writePicture("tube.jpg", gradientImage(64, 64));
    loadScript(effectRecord("tube", "Tunnel", 1, "0", "0", "9", "tube.jpg", "0"));
    const float phase = Tunnel::ripplePhase();
    frames(1);
    EXPECT_NEAR(Tunnel::ripplePhase() - phase, 20 * sixtieth * 0.06f, 1e-5f);
    frames(1);
    EXPECT_NEAR(Tunnel::ripplePhase() - phase, 30 * sixtieth * 0.06f, 1e-5f);
    keepFrame("tunnel");

    // Without ripples each ring is a circle of one radius, 2.5 + 1.5 sin(phase), its depth that
    // radius times the centre's: the rings breathe in step, the later ones with the later phase.
    EXPECT_EQ(tunnel.getCircleFactor(), 0.0f);
    for (int i = 0; i < Tunnel::ringCount; ++i) {
        const std::vector<Vertex>& ring = tunnel.ring(i);
        ASSERT_EQ(ring.size(), 256u);
        const float lastPhase = Tunnel::ripplePhase() - (9 - i) * sixtieth * 0.06f;
        const float radius = 2.5f + 1.5f * std::sin(lastPhase);
        for (const Vertex& vertex : ring) {
            ASSERT_NEAR(std::hypot(vertex.x, vertex.y), radius, 1e-4f) << i;
            ASSERT_NEAR(vertex.z, -2.0f * (i + 1) * radius, 1e-4f) << i;
            ASSERT_NEAR(vertex.v, 0.1f * vertex.z, 1e-5f);
        }
        // The first vertex at the top, the others clockwise, the last just short of the top.
        EXPECT_NEAR(ring.front().x, 0.0f, 1e-6f);
        EXPECT_GT(ring.front().y, 0.0f);
        EXPECT_GT(ring[1].x, 0.0f);
        EXPECT_LT(ring.back().x, 0.0f);
        EXPECT_GT(ring.back().y, 0.0f);
    }
}

TEST_F(TunnelRun, RipplesItsRingsByTheFactorAfterItsFirstFrame) {
    Tunnel& tunnel = add<Tunnel>("Tunnel");
    writePicture("tube.jpg", gradientImage(64, 64));
    loadScript(effectRecord("tube", "Tunnel", 1, "0", "0", "9", "tube.jpg", "4") +
               triggerRecord("more", "Tunnel", "CircFactor", false, "0.05", "0", "0", "8"));
    const auto ripples = [&] {
        // Radius maxima along the first ring.
        const std::vector<Vertex>& ring = tunnel.ring(0);
        int peaks = 0;
        for (std::size_t k = 0; k < ring.size(); ++k) {
            const auto radius = [&](std::size_t at) {
                const Vertex& v = ring[at % ring.size()];
                return std::hypot(v.x, v.y);
            };
            peaks += radius(k) > radius(k + ring.size() - 1) && radius(k) >= radius(k + 1);
        }
        return peaks;
    };
    frames(1);
    EXPECT_EQ(ripples(), 4);
    clock->set(0.1f);
    frames(1);
    EXPECT_EQ(tunnel.getCircleFactor(), 8.0f);
    EXPECT_EQ(ripples(), 8);
}

TEST_F(TunnelRun, NonFiniteOrHugeValuesOnlyHideTheTube) {
    Tunnel& tunnel = add<Tunnel>("Tunnel");
    writePicture("tube.jpg", gradientImage(64, 64));
    loadScript(effectRecord("tube", "Tunnel", 1, "0", "0", "9", "tube.jpg", "1e30"));
    frames(1);
    constexpr float nan = std::numeric_limits<float>::quiet_NaN();
    constexpr float infinity = std::numeric_limits<float>::infinity();
    for (float value : {nan, infinity, -infinity, 3e38f, -3e38f}) {
        tunnel.trigger("CircFactor", {value});
        tunnel.trigger("Zoom", {value});
        frames(2);
        tunnel.trigger("ReverseAngle", {value});
    }
    tunnel.trigger("Zoom", {3.5f});
    tunnel.trigger("CircFactor", {5.0f});
    frames(1);
    EXPECT_EQ(tunnel.getZoom(), 3.5f);
    for (const Vertex& vertex : tunnel.ring(9))
        ASSERT_TRUE(std::isfinite(vertex.x) && std::isfinite(vertex.z));
}

} // namespace
