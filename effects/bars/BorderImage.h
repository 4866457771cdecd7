#pragma once

#include "EffectInputs.h"
#include "SavableEffect.h"
#include "Texture.h"

#include <string_view>

// A row of eight picture tiles scrolling sideways, half transparent, with black cut out. The
// first number gives the row's height (-1), read on the first frame; "MoveBars" (target,
// speed per second) moves it. The first data string names the picture.
class BorderImage : public SavableEffect<BorderImage> {
public:
    static constexpr std::string_view moveBars = "MoveBars";
    // What a script can hand it, stated for the effect and the checks of scripts alike.
    static constexpr EffectInputs inputs{{1}, {{moveBars, {2}}}};
    static constexpr std::string_view defaultPicture = "\\border1.jpg";

    explicit BorderImage(const std::string& name) : SavableEffect(name) {}

    void init() override;
    void render() override;
    void trigger(const std::string& triggerId, const std::vector<float>& parameters) override;

    // One frame's move of the row towards its target; the last step may pass it.
    void moveRow(float delta);

    float getY() const { return y; }
    float getTargetY() const { return targetY; }
    // The tiles' sideways offset, shared by the whole program: -4 up to -3, then back.
    static float scrollX();

    // The animation state of the whole class rather than of one object: the two objects of a
    // pair advance it together, and it keeps its value while an effect stops and starts again.
    // Kept in one struct, so that saving the demo's state takes all of it.
    struct ProgramWide {
        float scroll = -4.0f;
    };
    static ProgramWide programWide;

private:
    // Null until the first frame.
    const Texture* texture = nullptr;
    float y = -1.0f;
    float targetY = -1.0f;
    float speed = 0.0f;
};
