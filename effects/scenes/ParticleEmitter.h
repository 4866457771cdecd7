#pragma once

#include "Vertex.h"

#include <array>
#include <memory>

// One particle of a Particles system: its position is the vertex's, the rest is its own.
struct Particle : Vertex {
    // Alive while above 0; also its opacity.
    float life = 0.0f;
    // Taken off life every frame.
    float decay = 0.0f;
    float red = 0.0f;
    float green = 0.0f;
    float blue = 0.0f;
    std::array<float, 3> velocity{};
    std::array<float, 3> acceleration{};
};

// Where particles (re)start and how they set off. Both kinds give a full life, the same decay
// and a slight random drift that pulls towards -z; they differ in the first push. The colour is
// the particle's own and left alone.
class ParticleEmitter {
public:
    virtual ~ParticleEmitter() = default;

    virtual void emit(Particle& particle) const = 0;
    // A copy of the same kind in the same place, for a saved state of the particles.
    virtual std::unique_ptr<ParticleEmitter> clone() const = 0;

    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

protected:
    // Everything but the velocity, which each kind draws first.
    void restart(Particle& particle) const;
};

// Particles set off into -z at a random speed: a stream.
class StreamEmitter : public ParticleEmitter {
public:
    void emit(Particle& particle) const override;
    std::unique_ptr<ParticleEmitter> clone() const override {
        return std::make_unique<StreamEmitter>(*this);
    }
};

// Particles set off in every direction: a burst.
class BurstEmitter : public ParticleEmitter {
public:
    void emit(Particle& particle) const override;
    std::unique_ptr<ParticleEmitter> clone() const override {
        return std::make_unique<BurstEmitter>(*this);
    }
};
