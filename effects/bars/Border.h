#pragma once

#include "EffectInputs.h"
#include "SavableEffect.h"

class VertexBatch;

// Bands of 400 thin white bars, half transparent, whose lengths follow sums of sines. Numbers:
// style 1 (bands at the edges of the view) or 2 (bands meeting in the middle), default 2; with a
// second number, 1 lays the bars out horizontally, anything else vertically (the default).
class Border : public SavableEffect<Border> {
public:
    // What a script can hand it, stated for the effect and the checks of scripts alike.
    static constexpr EffectInputs inputs{{1, 2}};
    static constexpr int barCount = 400;

    explicit Border(const std::string& name) : SavableEffect(name) {}

    void init() override;
    void render() override;
    void trigger(const std::string&, const std::vector<float>&) override {}

    int getStyle() const { return style; }
    bool isHorizontal() const { return horizontal; }
    // The bars' phase, shared by the whole program.
    static float phase();

    // The animation state of the whole class rather than of one object: the two objects of a
    // pair advance it together, and it keeps its value while an effect stops and starts again.
    // Kept in one struct, so that saving the demo's state takes all of it.
    struct ProgramWide {
        float barPhase = 0.0f;
    };
    static ProgramWide programWide;

private:
    void drawHorizontal(VertexBatch& batch, float t) const;
    void drawVertical(VertexBatch& batch, float t) const;

    int style = 2;
    bool horizontal = false;
};
