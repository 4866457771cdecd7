#pragma once

#include "EffectInputs.h"
#include "SavableEffect.h"
#include "Texture.h"

#include <string_view>

// A translucent layer of clouds scrolling sideways across the whole view, added onto what lies
// beneath. Always its own picture; no parameters, no triggers.
class TextureScroll : public SavableEffect<TextureScroll> {
public:
    // What a script can hand it, stated for the effect and the checks of scripts alike.
    static constexpr EffectInputs inputs{noNumbers};
    static constexpr std::string_view picture = "\\source\\data\\256\\clouds.jpg";

    explicit TextureScroll(const std::string& name) : SavableEffect(name) {}

    void init() override {}
    void render() override;
    void trigger(const std::string&, const std::vector<float>&) override {}

    // How far the picture has scrolled, in picture widths; shared by the whole program.
    static float scrollOffset();

    // The animation state of the whole class rather than of one object: the two objects of a
    // pair advance it together, and it keeps its value while an effect stops and starts again.
    // Kept in one struct, so that saving the demo's state takes all of it.
    struct ProgramWide {
        float scroll = 0.0f;
    };
    static ProgramWide programWide;

private:
    // Null until the first frame.
    const Texture* texture = nullptr;
};
