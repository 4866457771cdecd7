#pragma once

#include "DemoProgram.h"

#include <array>
#include <memory>
#include <string_view>
#include <vector>

class Effect;
struct EffectInputs;
class SoundPlayer;

// Every effect object a script can name, each registered under its own name. Objects are made
// in one fixed order, which is also the registry's, and deleted in another. Names whose class
// is not built yet are skipped.
class EffectCatalogue : public EffectObjects {
public:
    struct Entry {
        std::string_view name;
        // Nothing while the class behind the name is not built yet.
        std::unique_ptr<Effect> (*create)(const std::string& name);
        // What a script can hand the effect: its class's statement.
        const EffectInputs* inputs;
    };
    static constexpr std::size_t nameCount = 27;
    static const std::array<Entry, nameCount> creationOrder;
    static const std::array<std::string_view, nameCount> teardownOrder;

    // Needs the DemoSystem that the objects register with.
    EffectCatalogue();
    ~EffectCatalogue() override;

    // The sound player has faded the music out after "TheEnd".
    bool demoFinished() const override;

    // What a script can hand the effect registered under `name`; nullptr for no such name.
    static const EffectInputs* inputsOf(std::string_view name);

    // The object of that name; nullptr when its class is not built yet.
    Effect* find(std::string_view name) const;

private:
    // In creation order.
    std::vector<std::unique_ptr<Effect>> effects;
    // Asked by the main loop before every frame.
    SoundPlayer* soundPlayer = nullptr;
};
