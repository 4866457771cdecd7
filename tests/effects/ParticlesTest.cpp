#include "Particles.h"

#include "Border.h"
#include "BorderImage.h"
#include "Circles.h"
#include "EffectCatalogue.h"
#include "PictureScene.h"
#include "Random.h"
#include "ScriptText.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <limits>
#include <set>

#include <gmock/gmock.h>

namespace {

// The emitter angles are shared by the whole program, so each test measures from where the
// tests before it left them.
class ParticlesRun : public PictureScene {
protected:
    // An object set up with `mode` and created, as on its first frame.
    Particles& created(const std::string& name, float mode) {
        Particles& particles = setUp(name, mode);
        particles.create();
        return particles;
    }

    Particles& setUp(const std::string& name, float mode) {
        Particles& particles = add<Particles>(name);
        particles.setup(640, 480, {mode}, {}, 1);
        particles.init();
        return particles;
    }
};

// They all set off from the emitter, but with lives spread over 0..1, so they die and come back
// a few at a time rather than all together.
TEST_F(ParticlesRun, ComeBackAFewAtATimeFromTheStart) {
    Particles& particles = created("Particles", 1.0f);
    const std::vector<Particle>& all = particles.getParticles();
    ASSERT_EQ(all.size(), 250u);
    for (const Particle& particle : all) {
        EXPECT_EQ(particle.red, 0.6f);
        EXPECT_EQ(particle.blue, 0.7f);
        EXPECT_LE(particle.velocity[2], 0.0f);
        EXPECT_EQ(particle.acceleration[2], -0.001f);
    }
    int mostAtOnce = 0;
    int reborn = 0;
    for (int frame = 0; frame < 250; ++frame) {
        std::vector<float> before;
        for (const Particle& particle : all)
            before.push_back(particle.life);
        particles.update(1.0f / 60.0f);
        int now = 0;
        for (std::size_t i = 0; i < all.size(); ++i)
            now += all[i].life > before[i];
        mostAtOnce = std::max(mostAtOnce, now);
        reborn += now;
    }
    // Every particle dies once within its first 250 frames.
    EXPECT_EQ(reborn, 250);
    EXPECT_LE(mostAtOnce, 8);
}

// Particles step a frame at a time; only the emitter's circling follows the clock.
TEST_F(ParticlesRun, MovesParticlesPerFrameAndTheEmitterWithTime) {
    Particles& still = created("Particles", 1.0f);
    Particles& timed = created("Particles2", 1.0f);
    const float angle = Particles::emitAngle();
    still.update(0.0f);
    timed.update(2.0f);
    EXPECT_NEAR(Particles::emitAngle() - angle, 0.1f, 1e-5f);
    for (std::size_t i = 0; i < 250; ++i) {
        const Particle& a = still.getParticles()[i];
        const Particle& b = timed.getParticles()[i];
        if (a.life == b.life && a.life < 1.0f) {
            EXPECT_EQ(a.z, b.z) << i;
        }
    }
    EXPECT_NEAR(timed.getEmitter()->x, 0.1f * std::sin(Particles::emitAngle()), 1e-6f);
    EXPECT_NEAR(timed.getEmitter()->y, 0.1f * std::cos(Particles::emitAngle()), 1e-6f);
    EXPECT_EQ(timed.getEmitter()->z, 15.0f);
}

TEST_F(ParticlesRun, ExplodeSendsEveryParticleFromOnePointAndTheEmitterThenCirclesAgain) {
    Particles& particles = created("Particles", 3.0f);
    for (int frame = 0; frame < 30; ++frame)
        particles.update(1.0f / 60.0f);
    particles.trigger("explode", {});
    EXPECT_NE(particles.getParticles()[0].x, particles.getParticles()[1].x);
    particles.trigger("Explode", {});
    const ParticleEmitter& emitter = *particles.getEmitter();
    EXPECT_GE(emitter.x, -1.5f);
    EXPECT_LE(emitter.x, 1.5f);
    EXPECT_GE(emitter.y, -1.0f);
    EXPECT_LE(emitter.y, 1.0f);
    EXPECT_EQ(emitter.z, 2.0f);
    std::set<float> directions;
    for (const Particle& particle : particles.getParticles()) {
        EXPECT_EQ(particle.x, emitter.x);
        EXPECT_EQ(particle.y, emitter.y);
        EXPECT_EQ(particle.z, emitter.z);
        EXPECT_EQ(particle.life, 1.0f);
        directions.insert(std::copysign(1.0f, particle.velocity[0]) +
                          2.0f * std::copysign(1.0f, particle.velocity[2]));
    }
    // A burst: every way in x and in z.
    EXPECT_EQ(directions.size(), 4u);
    particles.update(1.0f / 60.0f);
    EXPECT_NEAR(std::hypot(emitter.x, emitter.y), 0.1f, 1e-6f);
}

// Before its first frame it has nothing to send off, and draws nothing from the generator.
TEST_F(ParticlesRun, ExplodeBeforeTheFirstFrameDoesNothing) {
    Particles& particles = setUp("Particles", 1.0f);
    seedRandom(7);
    const int expected = nextRandom();
    seedRandom(7);
    particles.trigger("Explode", {1.0f});
    EXPECT_EQ(nextRandom(), expected);
    EXPECT_EQ(particles.getEmitter(), nullptr);
    EXPECT_TRUE(particles.getParticles().empty());
}

// Each object steps the shared angles once per frame it draws.
TEST_F(ParticlesRun, TwoObjectsAdvanceTheSameAngles) {
    add<Particles>("Particles");
    add<Particles>("Particles2");
    loadScript(effectRecord("one", "Particles", 1, "0", "0", "9", "", "1") +
               effectRecord("two", "Particles2", 2, "0", "0", "9", "", "3"));
    frames(1);
    const float spin = Particles::spinAngle();
    const float angle = Particles::emitAngle();
    frames(3);
    // The clock stands: a sixtieth of a second per frame.
    EXPECT_NEAR(Particles::spinAngle() - spin, 6.0f, 1e-3f);
    EXPECT_NEAR(Particles::emitAngle() - angle, 6.0f * 0.05f / 60.0f, 1e-5f);
}

TEST_F(ParticlesRun, ALaterInitChangesTheDepthsButKeepsTheEmitterKind) {
    Particles& stream = created("Particles", 1.0f);
    stream.setup(640, 480, {3.0f}, {}, 1);
    stream.init();
    EXPECT_EQ(stream.getMode(), 3);
    EXPECT_EQ(stream.getStartZ(), 2.0f);
    EXPECT_EQ(stream.getEmitZ(), 2.0f);
    EXPECT_NE(dynamic_cast<const StreamEmitter*>(stream.getEmitter()), nullptr);
    stream.update(1.0f / 60.0f);
    EXPECT_EQ(stream.getEmitter()->z, 2.0f);

    Particles& sprites = setUp("Particles2", 2.0f);
    EXPECT_EQ(sprites.getStartZ(), 12.0f);
    EXPECT_EQ(sprites.getEmitZ(), 5.0f);
    sprites.create();
    EXPECT_EQ(sprites.getParticles()[0].z, 12.0f);
    sprites.setup(640, 480, {}, {}, 1);
    sprites.init();
    EXPECT_EQ(sprites.getMode(), 2);
}

// Additive light over the black frame in each mode; a mode that makes no sense, however it was
// written, draws nothing but still moves the particles.
TEST_F(ParticlesRun, DrawsInItsThreeModesAndNothingInAnyOther) {
    writePicture("light.jpg", solidImage(16, 16, 120, 120, 120));
    for (float mode : {1.0f, 2.0f, 3.0f}) {
        Particles& particles = add<Particles>("Mode");
        particles.setup(640, 480, {mode}, {"light.jpg"}, 1);
        particles.init();
        // Streams start behind the viewer and need a while to fly into view.
        for (int frame = 0; frame < 30; ++frame) {
            glClear(GL_COLOR_BUFFER_BIT);
            particles.render();
        }
        EXPECT_GT(litPixels(), 2000) << mode;
    }
    const float inf = std::numeric_limits<float>::infinity();
    for (float mode : {std::nanf(""), inf, -inf, 1e30f, 0.0f, 4.0f}) {
        Particles& particles = add<Particles>("Odd");
        particles.setup(640, 480, {mode}, {"light.jpg"}, 1);
        particles.init();
        glClear(GL_COLOR_BUFFER_BIT);
        particles.render();
        particles.trigger("Explode", {std::nanf(""), inf});
        particles.render();
        EXPECT_EQ(litPixels(), 0) << mode;
        EXPECT_EQ(particles.getParticles().size(), 250u);
    }
}

// Without a window, as reelcheck builds them.
TEST(ParticlesPair, TwoNamesAreTwoObjectsOfOneClass) {
    DemoSystem demo;
    const EffectCatalogue catalogue;
    for (const char* name : {"Particles", "Particles2", "BorderImage1", "BorderImage2"})
        ASSERT_NE(catalogue.find(name), nullptr) << name;
    EXPECT_NE(catalogue.find("Particles"), catalogue.find("Particles2"));
    EXPECT_NE(dynamic_cast<Particles*>(catalogue.find("Particles2")), nullptr);
    EXPECT_NE(catalogue.find("BorderImage1"), catalogue.find("BorderImage2"));
    EXPECT_NE(dynamic_cast<BorderImage*>(catalogue.find("BorderImage2")), nullptr);
    EXPECT_NE(dynamic_cast<Border*>(catalogue.find("Border")), nullptr);
    EXPECT_NE(dynamic_cast<Circles*>(catalogue.find("Circles")), nullptr);
}

} // namespace
