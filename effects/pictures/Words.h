#pragma once

#include "EffectInputs.h"
#include "SavableEffect.h"
#include "Texture.h"

#include <array>
#include <string_view>

// Two word pictures bobbing in depth in turn, drawn opaque where they are not black. Always its
// own two pictures; no parameters, no triggers.
class Words : public SavableEffect<Words> {
public:
    // What a script can hand it, stated for the effect and the checks of scripts alike.
    static constexpr EffectInputs inputs{noNumbers};
    static constexpr std::array<std::string_view, 2> pictures{"\\see.jpg", "\\my.jpg"};

    explicit Words(const std::string& name) : SavableEffect(name) {}

    void init() override {}
    void render() override;
    void trigger(const std::string&, const std::vector<float>&) override {}

    // Frames drawn so far by the whole program: the bobbing's clock.
    static float frameCount();

    // The animation state of the whole class rather than of one object: the two objects of a
    // pair advance it together, and it keeps its value while an effect stops and starts again.
    // Kept in one struct, so that saving the demo's state takes all of it.
    struct ProgramWide {
        // Counted per drawn frame, so the words bob faster on a faster machine.
        float frames = 0.0f;
    };
    static ProgramWide programWide;

private:
    // Null until the first frame.
    std::array<const Texture*, 2> words{};
};
