#pragma once

#include "ClonePtr.h"
#include "EffectInputs.h"
#include "ParticleEmitter.h"
#include "SavableEffect.h"
#include "Texture.h"

#include <memory>
#include <string_view>
#include <vector>

// 250 additive particles streaming from a slowly circling emitter, falling, fading and
// re-emitted. Mode (first number): 1 streaks flying into the depth while the view sways, 2
// sprites, 3 streaks bursting in all directions; any other mode draws nothing. The first data
// string names the sprite picture. "Explode" sends every particle from one random point.
class Particles : public SavableEffect<Particles> {
public:
    static constexpr std::string_view explode = "Explode";
    // What a script can hand it, stated for the effect and the checks of scripts alike.
    static constexpr EffectInputs inputs{{1}, {{explode}}};
    static constexpr std::string_view defaultPicture = "\\source\\data\\pics\\light.jpg";
    static constexpr int count = 250;

    explicit Particles(const std::string& name) : SavableEffect(name) {}

    void init() override;
    void render() override;
    void trigger(const std::string& triggerId, const std::vector<float>& parameters) override;

    // On the first frame: the particles spread along their paths and the emitter, whose kind
    // stays for the whole run.
    void create();
    // One frame's motion, without drawing. Particles step per frame; only the emitter's
    // circling follows `delta`.
    void update(float delta);

    const std::vector<Particle>& getParticles() const { return particles; }
    // Null until the first frame.
    const ParticleEmitter* getEmitter() const { return emitter.get(); }
    int getMode() const { return mode; }
    float getEmitZ() const { return emitZ; }
    float getStartZ() const { return startZ; }

    // Shared by every Particles object of the program.
    static float emitAngle();
    static float spinAngle();

    // The animation state of the whole class rather than of one object: the two objects of a
    // pair advance it together, and it keeps its value while an effect stops and starts again.
    // Kept in one struct, so that saving the demo's state takes all of it.
    struct ProgramWide {
        float emitAngleRadians = 0.0f;
        float spinDegrees = 0.0f;
    };
    static ProgramWide programWide;

    // What a saved copy holds besides the object, in bytes.
    std::size_t heapBytes() const {
        return vectorBytes(particles) + (emitter ? sizeof(ParticleEmitter) : 0);
    }

private:
    void applyModeDepths();
    void drawSprites() const;
    void drawStreaks() const;

    int particleCount = 0;
    const Texture* texture = nullptr;
    std::vector<Particle> particles;
    ClonePtr<ParticleEmitter> emitter;
    int mode = 1;
    float emitZ = 0.0f;
    float startZ = 0.0f;
};
