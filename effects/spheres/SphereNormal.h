#pragma once

#include "EffectInputs.h"
#include "SavableEffect.h"
#include "Texture.h"
#include "Vertex.h"

#include <string_view>
#include <vector>

// Three nested spheres. Solid: coloured cells between the inner and the middle sphere, the
// whole pulsing in size, with spikes that spring out every 200/60 s and settle. Lines mode
// (p[0] = 1 on the first frame, for the whole program from then on): a faint coloured line
// from each point of the inner sphere to the matching point of the middle one. The first data
// string names the picture. No triggers.
class SphereNormal : public SavableEffect<SphereNormal> {
public:
    // What a script can hand it, stated for the effect and the checks of scripts alike.
    static constexpr EffectInputs inputs{{1}};
    static constexpr std::string_view defaultPicture = "\\textures\\multi018.jpg";
    static constexpr int sphereDepth = 4;

    // The spikes' clock and size, shared by the whole program.
    struct Pulse {
        float tick = 0.0f;
        // The spikes' scale between frames; 1.5 when they spring out, settling to 1.
        float size = 1.0f;
        // The first spike vertex: 0 or 32, turn about.
        int offset = 0;
    };

    explicit SphereNormal(const std::string& name) : SavableEffect(name) {}

    void init() override {}
    void render() override;
    void trigger(const std::string&, const std::vector<float>&) override {}

    // One frame of the spikes' clock and size, without drawing; gives this frame's spike scale.
    static float stepPulse(float delta);
    static const Pulse& pulse();
    // Back to the start, for tests that need it.
    static void resetPulse();
    static bool linesMode();

    // The inner, middle and outer spheres, each vertex's second triple its rest position; empty
    // until the first frame.
    const std::vector<Vertex>& inner() const { return spheres[0]; }
    const std::vector<Vertex>& middle() const { return spheres[1]; }
    const std::vector<Vertex>& outer() const { return spheres[2]; }

    // The animation state of the whole class rather than of one object: the two objects of a
    // pair advance it together, and it keeps its value while an effect stops and starts again.
    // Kept in one struct, so that saving the demo's state takes all of it.
    struct ProgramWide {
        bool lines = false;
        float spinA = 0.0f;
        float spinB = 0.0f;
        float colourPhase = 0.0f;
        Pulse pulse;
    };
    static ProgramWide programWide;

    // What a saved copy holds besides the object, in bytes.
    std::size_t heapBytes() const {
        return vectorBytes(spheres[0]) + vectorBytes(spheres[1]) + vectorBytes(spheres[2]);
    }

private:
    // On the first frame: the spheres, the mode and the picture.
    void load();
    void placeSpikes(float scale);
    void drawLines(float colourPhase) const;
    void drawCells() const;

    // Also the guard of `load`: null until the first frame.
    const Texture* texture = nullptr;
    std::vector<Vertex> spheres[3];
};
