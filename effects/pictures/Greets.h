#pragma once

#include "EffectInputs.h"
#include "SavableEffect.h"
#include "Texture.h"

#include <memory>
#include <optional>
#include <vector>

// A sequence of pictures, one data string each, shown one at a time at random places: each grows
// from nothing, spinning, on a grey frame, and shrinks away again; the spin turns round from
// picture to picture. After the last picture nothing more is drawn. No parameters, no triggers.
class Greets : public SavableEffect<Greets> {
public:
    // What a script can hand it, stated for the effect and the checks of scripts alike.
    static constexpr EffectInputs inputs{noNumbers};
    // The growing, shrinking and spinning, shared by the whole program.
    struct Motion {
        float size = 0.0f;      // half the side of the square
        float fadeRate = 0.02f; // shrinking per 1/60 s; negative while growing
        float spinRate = 2.2f;  // degrees per 1/60 s
        float angle = 0.0f;
        float x = -3.2f;
        float y = -2.0f;
    };
    // Kept in one struct, so that saving the demo's state takes all of it.
    static Motion programWide;

    explicit Greets(const std::string& name) : SavableEffect(name) {}

    void init() override {}
    void render() override;
    void trigger(const std::string&, const std::vector<float>&) override {}

    // One frame of the show, without drawing: once a picture has shrunk away, the next one
    // (none after the last) is placed at random and grows, spinning the other way.
    void advance(float delta);

    static const Motion& motion();
    // Which data string's picture is showing; nothing between and after the pictures.
    std::optional<std::size_t> currentPicture() const { return current; }

    // What a saved copy holds besides the object, in bytes.
    std::size_t heapBytes() const { return vectorBytes(pictures); }

private:
    // On the first frame: the pictures and the grey frame.
    void load();
    void draw(const Texture& picture) const;

    bool loaded = false;
    std::vector<const Texture*> pictures;
    // Half-transparent grey behind each picture; null only if the GL refused it. Shared with
    // saved states; its GL texture goes with the last of them.
    std::shared_ptr<const Texture> backing;
    std::optional<std::size_t> current;
    std::size_t next = 0;
};
