#pragma once

#include "EffectInputs.h"
#include "SavableEffect.h"
#include "Texture.h"
#include "Vertex.h"

#include <array>
#include <string_view>
#include <vector>

// A lit, fogged tube seen from inside: ten rings whose radius ripples around the axis and over
// time, rebuilt every frame, the whole tube spinning about the view axis while the camera sways.
// Parameter: the ripples around a ring (5). The first data string names the picture.
// Triggers: "CircFactor" sets the ripples, "ReverseAngle" turns the spin round, "Zoom" moves the
// camera back, from where it flies in to its resting distance.
class Tunnel : public SavableEffect<Tunnel> {
public:
    static constexpr std::string_view circFactor = "CircFactor";
    static constexpr std::string_view reverseAngle = "ReverseAngle";
    static constexpr std::string_view zoomTrigger = "Zoom";
    // What a script can hand it, stated for the effect and the checks of scripts alike.
    static constexpr EffectInputs inputs{{1},
                                         {{circFactor, {1}}, {reverseAngle}, {zoomTrigger, {1}}}};
    static constexpr std::string_view defaultPicture = "\\textures\\plants15t.jpg";
    static constexpr int ringCount = 10;
    static constexpr int ringVertexCount = 256;
    static constexpr float restingZoom = 3.5f;

    explicit Tunnel(const std::string& name) : SavableEffect(name) {}

    void init() override {}
    void render() override;
    void trigger(const std::string& triggerId, const std::vector<float>& parameters) override;

    // One frame's motion of `delta` seconds: the fly-in, the spin and the light's swing.
    void animate(float delta);
    // All ten rings anew; the ripple moves on once per ring.
    void buildRings(float delta);

    float getCircleFactor() const { return circleFactor; }
    float getSpinDirection() const { return spinDirection; }
    float getZoom() const { return zoom; }
    // Empty until the first frame.
    const std::vector<Vertex>& ring(int index) const { return rings[index]; }

    // Shared by every tunnel of the program, and kept when a tunnel stops.
    static float spinAngle();
    static float ripplePhase();
    static float lightPhase();

    // The animation state of the whole class rather than of one object: the two objects of a
    // pair advance it together, and it keeps its value while an effect stops and starts again.
    // Kept in one struct, so that saving the demo's state takes all of it.
    struct ProgramWide {
        float spin = 90.0f;
        float ripple = 0.0f;
        float swing = 0.0f;
    };
    static ProgramWide programWide;

    // What a saved copy holds besides the object, in bytes.
    std::size_t heapBytes() const {
        std::size_t bytes = 0;
        for (const std::vector<Vertex>& ring : rings)
            bytes += vectorBytes(ring);
        return bytes;
    }

private:
    void load(float delta);
    void light() const;
    void drawSkins() const;

    // Also the guard of `load`: null until the first frame.
    const Texture* texture = nullptr;
    // Ring 0 nearest to the viewer.
    std::array<std::vector<Vertex>, ringCount> rings;
    float circleFactor = 5.0f;
    float spinDirection = 1.0f;
    float zoom = restingZoom;
};
