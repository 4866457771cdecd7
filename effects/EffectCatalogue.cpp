#include "EffectCatalogue.h"

#include "BitmapDistortion.h"
#include "BlobSphere.h"
#include "Border.h"
#include "BorderImage.h"
#include "Circles.h"
#include "DemoSystem.h"
#include "Fader.h"
#include "GenObject.h"
#include "Greets.h"
#include "HalfSphere.h"
#include "InCube.h"
#include "Landscape.h"
#include "Particles.h"
#include "PicStory.h"
#include "Picture.h"
#include "PictureWarp.h"
#include "Random.h"
#include "SoundPlayer.h"
#include "SphereNormal.h"
#include "TextureScroll.h"
#include "Tunnel.h"
#include "Universe.h"
#include "Words.h"

#include <algorithm>

namespace {

template <typename EffectClass>
std::unique_ptr<Effect> make(const std::string& name) {
    return std::make_unique<EffectClass>(name);
}

} // namespace

const std::array<EffectCatalogue::Entry, EffectCatalogue::nameCount> EffectCatalogue::creationOrder{
    {
        {"BitmapDistortion", make<BitmapDistortion>, &BitmapDistortion::inputs},
        {"BitmapDistortion2", make<BitmapDistortion>, &BitmapDistortion::inputs},
        {"Border", make<Border>, &Border::inputs},
        {"BorderImage1", make<BorderImage>, &BorderImage::inputs},
        {"BorderImage2", make<BorderImage>, &BorderImage::inputs},
        {"Circles", make<Circles>, &Circles::inputs},
        {"Greets", make<Greets>, &Greets::inputs},
        {"Particles", make<Particles>, &Particles::inputs},
        {"Particles2", make<Particles>, &Particles::inputs},
        {"PicStory1", make<PicStory>, &PicStory::inputs},
        {"PicStory2", make<PicStory>, &PicStory::inputs},
        {"Picture1", make<Picture>, &Picture::inputs},
        {"Picture2", make<Picture>, &Picture::inputs},
        {"PictureWarp", make<PictureWarp>, &PictureWarp::inputs},
        {"TextureScroll", make<TextureScroll>, &TextureScroll::inputs},
        {"GenObject", make<GenObject>, &GenObject::inputs},
        {"GenObject2", make<GenObject>, &GenObject::inputs},
        {"SoundPlayer", make<SoundPlayer>, &SoundPlayer::inputs},
        {"Landscape", make<Landscape>, &Landscape::inputs},
        {"BlobSphere", make<BlobSphere>, &BlobSphere::inputs},
        {"InCube", make<InCube>, &InCube::inputs},
        {"Universe", make<Universe>, &Universe::inputs},
        {"HalfSphere", make<HalfSphere>, &HalfSphere::inputs},
        {"SphereNormal", make<SphereNormal>, &SphereNormal::inputs},
        {"Tunnel", make<Tunnel>, &Tunnel::inputs},
        {"Words", make<Words>, &Words::inputs},
        {"Fader", make<Fader>, &Fader::inputs},
    }};

// The music goes last, after everything that draws.
const std::array<std::string_view, EffectCatalogue::nameCount> EffectCatalogue::teardownOrder{
    "BitmapDistortion",
    "BitmapDistortion2",
    "BlobSphere",
    "Border",
    "BorderImage1",
    "BorderImage2",
    "Circles",
    "Greets",
    "PicStory1",
    "PicStory2",
    "Picture1",
    "Picture2",
    "PictureWarp",
    "TextureScroll",
    "Landscape",
    "InCube",
    "Universe",
    "HalfSphere",
    "Words",
    "SphereNormal",
    "GenObject",
    "GenObject2",
    "Particles",
    "Particles2",
    "Tunnel",
    "Fader",
    "SoundPlayer",
};

EffectCatalogue::EffectCatalogue() {
    for (const Entry& entry : creationOrder) {
        if (entry.create)
            effects.push_back(entry.create(std::string(entry.name)));
    }
    soundPlayer = dynamic_cast<SoundPlayer*>(find("SoundPlayer"));
    // The one generator every effect draws from goes with the effects' saved state.
    if (DemoSystem* demo = DemoSystem::instance())
        demo->addSavedPart(std::make_unique<SavedRandom>());
}

EffectCatalogue::~EffectCatalogue() {
    for (std::string_view name : teardownOrder) {
        const auto found = std::find_if(effects.begin(), effects.end(), [name](const auto& effect) {
            return effect && effect->getName() == name;
        });
        if (found != effects.end())
            found->reset();
    }
}

bool EffectCatalogue::demoFinished() const {
    return soundPlayer && soundPlayer->isFinished();
}

const EffectInputs* EffectCatalogue::inputsOf(std::string_view name) {
    for (const Entry& entry : creationOrder) {
        if (entry.name == name)
            return entry.inputs;
    }
    return nullptr;
}

Effect* EffectCatalogue::find(std::string_view name) const {
    for (const auto& effect : effects) {
        if (effect->getName() == name)
            return effect.get();
    }
    return nullptr;
}
