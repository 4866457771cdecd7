#include "ParticleEmitter.h"

#include "Random.h"

void ParticleEmitter::restart(Particle& particle) const {
    particle.life = 1.0f;
    particle.decay = 0.004f;
    particle.setPosition(x, y, z);
    // Drawn after the velocity, x before y.
    particle.acceleration[0] = rand01() * 0.001f - 0.0005f;
    particle.acceleration[1] = rand01() * 0.001f - 0.0005f;
    particle.acceleration[2] = -0.001f;
}

void StreamEmitter::emit(Particle& particle) const {
    particle.velocity = {0.0f, 0.0f, -0.1f * rand01()};
    restart(particle);
}

void BurstEmitter::emit(Particle& particle) const {
    // Drawn in the order x, y, z: the members of a braced list are evaluated in order.
    particle.velocity = {rand01() * 0.1f - 0.05f, rand01() * 0.1f - 0.05f, rand01() * 0.1f - 0.05f};
    restart(particle);
}
