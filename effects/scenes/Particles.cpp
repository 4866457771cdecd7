#include "Particles.h"

#include "EffectRules.h"
#include "PictureDrawing.h"
#include "Random.h"
#include "TextureManager.h"
#include "VertexBatch.h"

#include <GL/gl.h>
#include <cmath>

Particles::ProgramWide Particles::programWide;

namespace {

void addVelocity(Particle& particle) {
    for (int axis = 0; axis < 3; ++axis)
        particle.velocity[axis] += particle.acceleration[axis];
    particle.x += particle.velocity[0];
    particle.y += particle.velocity[1];
    particle.z += particle.velocity[2];
}

} // namespace

float Particles::emitAngle() {
    return programWide.emitAngleRadians;
}

float Particles::spinAngle() {
    return programWide.spinDegrees;
}

void Particles::init() {
    if (hasParameter(parameters, 0))
        mode = integerParameter(parameters[0]);
    applyModeDepths();
}

void Particles::applyModeDepths() {
    particleCount = count;
    startZ = 12.0f;
    emitZ = 15.0f;
    if (mode == 2)
        emitZ = 5.0f;
    if (mode == 3) {
        startZ = 2.0f;
        emitZ = 2.0f;
    }
}

void Particles::create() {
    applyModeDepths();
    particles.assign(static_cast<std::size_t>(particleCount), Particle{});
    if (mode == 3)
        emitter = std::make_unique<BurstEmitter>();
    else
        emitter = std::make_unique<StreamEmitter>();
    emitter->z = startZ;
    seedRandom(110);
    for (Particle& particle : particles) {
        nextRandom();
        particle.red = 0.6f;
        particle.green = 0.6f;
        particle.blue = 0.7f;
        emitter->emit(particle);
        // Each starts somewhere along its life, so the stream is even from the first frame.
        particle.life = rand01();
    }
}

void Particles::update(float delta) {
    programWide.emitAngleRadians += perSecond(delta, 0.05f);
    emitter->x = 0.1f * std::sin(programWide.emitAngleRadians);
    emitter->y = 0.1f * std::cos(programWide.emitAngleRadians);
    emitter->z = emitZ;
    for (Particle& particle : particles) {
        if (particle.life > 0.0f) {
            particle.life -= particle.decay;
            addVelocity(particle);
        }
        if (particle.life <= 0.0f)
            emitter->emit(particle);
    }
}

void Particles::render() {
    if (particles.empty())
        create();
    if (!texture)
        texture = TextureManager::instance()->pictureOrFallback(pictureName(data, defaultPicture));
    bindPicture(*texture);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glLoadIdentity();

    programWide.spinDegrees += perSixtieth(frameDelta(), 1.0f);
    const float sway = 90.0f * std::sin(0.01f * programWide.spinDegrees);
    if (mode == 1)
        glRotatef(sway, 0.0f, 0.0f, 1.0f);
    else if (mode == 3)
        glRotatef(-sway, 0.0f, 0.0f, 1.0f);
    glTranslatef(0.0f, 0.0f, -8.0f);

    update(frameDelta());
    if (mode == 2)
        drawSprites();
    else if (mode == 1 || mode == 3)
        drawStreaks();
    glDisable(GL_BLEND);
}

// Each sprite is drawn about its position after moving there, so it lands at twice the
// position: new sprites start behind the viewer and fly into view.
void Particles::drawSprites() const {
    VertexBatch sprite(GL_QUADS);
    for (const Particle& p : particles) {
        glTranslatef(p.x, p.y, p.z);
        sprite.color(p.red, p.green, p.blue, p.life);
        sprite.texCoord(0.0f, 0.0f);
        sprite.vertex(p.x - 0.5f, p.y - 0.5f, p.z);
        sprite.texCoord(1.0f, 0.0f);
        sprite.vertex(p.x + 0.5f, p.y - 0.5f, p.z);
        sprite.texCoord(1.0f, 1.0f);
        sprite.vertex(p.x + 0.5f, p.y + 0.5f, p.z);
        sprite.texCoord(0.0f, 1.0f);
        sprite.vertex(p.x - 0.5f, p.y + 0.5f, p.z);
        sprite.draw();
        glTranslatef(-p.x, -p.y, -p.z);
    }
}

// A streak runs from the particle along 24 frames of its flight and fades with its life.
void Particles::drawStreaks() const {
    VertexBatch streaks(GL_QUADS);
    streaks.reserve(particles.size() * 4);
    for (const Particle& p : particles) {
        const float tx = p.x + 24.0f * p.velocity[0];
        const float ty = p.y + 24.0f * p.velocity[1];
        const float tz = p.z + 24.0f * p.velocity[2];
        streaks.color(0.6f, 0.6f, 1.0f, p.life);
        streaks.texCoord(0.0f, 0.0f);
        streaks.vertex(p.x, p.y, p.z);
        streaks.texCoord(1.0f, 0.0f);
        streaks.vertex(tx, ty, tz);
        streaks.texCoord(1.0f, 1.0f);
        streaks.vertex(tx, ty + 0.2f, tz);
        streaks.texCoord(0.0f, 1.0f);
        streaks.vertex(p.x, p.y + 0.1f, p.z);
    }
    streaks.draw();
}

void Particles::trigger(const std::string& triggerId, const std::vector<float>&) {
    // Before the first frame there is nothing to send off.
    if (triggerId != explode || !emitter)
        return;
    emitter->x = rand01() * 3.0f - 1.5f;
    emitter->y = rand01() * 2.0f - 1.0f;
    emitter->z = emitZ;
    for (Particle& particle : particles)
        emitter->emit(particle);
}
