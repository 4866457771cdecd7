#pragma once

#include "ClonePtr.h"
#include "EffectInputs.h"
#include "SavableEffect.h"
#include "Texture.h"
#include "genobject/GenShape.h"

#include <memory>
#include <string_view>

// One of six generated objects, spun about the view's diagonal. The first parameter picks it:
// 1 a tube round a closed curve, 2 a bundle of sixteen tentacles, 3 a single spline tube, 4 a
// wobbling sphere, 5 (or no parameter) a glowing bundle of eight tentacles, anything else a
// cube pushed in by a wandering point. The first data string names the picture on it. Every
// trigger goes to the object, which acts on the names it knows.
class GenObject : public SavableEffect<GenObject> {
public:
    static constexpr std::string_view defaultPicture = "\\greytexture.jpg";
    static constexpr int defaultKind = 5;
    // What a script can hand it, stated for the effect and the checks of scripts alike: the
    // kind, and the triggers its objects know, whichever object is shown.
    static const EffectInputs inputs;

    explicit GenObject(const std::string& name) : SavableEffect(name) {}

    // Replaces the object. The GL settings it makes hold for everything drawn afterwards.
    void init() override;
    void render() override;
    void trigger(const std::string& triggerId, const std::vector<float>& parameters) override;
    // The class's spin and what every kind of object shares across the program.
    std::shared_ptr<const EffectState> saveClassState() const override;
    void restoreClassState(const EffectState& state) override;

    int getKind() const { return kind; }
    // Null until the first init.
    const GenShape* getShape() const { return shape.get(); }

    static int kindOf(const std::vector<float>& parameters);
    static std::unique_ptr<GenShape> makeShape(int kind);
    // The spin of every GenObject of the program, in degrees.
    static float spinAngle();

    // The animation state of the whole class rather than of one object: the two objects of a
    // pair advance it together, and it keeps its value while an effect stops and starts again.
    // Kept in one struct, so that saving the demo's state takes all of it.
    struct ProgramWide {
        // Counted per frame.
        float spin = 0.0f;
    };
    static ProgramWide programWide;

    // What a saved copy holds besides the object, in bytes.
    std::size_t heapBytes() const { return shape ? sizeof(GenShape) + shape->heapBytes() : 0; }

private:
    ClonePtr<GenShape> shape;
    const Texture* texture = nullptr;
    int kind = 0;
};
