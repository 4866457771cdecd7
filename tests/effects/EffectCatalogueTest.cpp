#include "EffectCatalogue.h"

#include "BitmapDistortion.h"
#include "BlobSphere.h"
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
#include "SphereNormal.h"
#include "TextureScroll.h"
#include "Tunnel.h"
#include "Universe.h"
#include "Words.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

namespace {

TEST(EffectCatalogue, NamesEveryEffectOnceInEachOrderWithTheMusicDeletedLast) {
    std::set<std::string_view> created, deleted;
    for (const auto& entry : EffectCatalogue::creationOrder)
        created.insert(entry.name);
    for (std::string_view name : EffectCatalogue::teardownOrder)
        deleted.insert(name);
    EXPECT_EQ(created.size(), EffectCatalogue::nameCount);
    EXPECT_EQ(deleted, created);
    EXPECT_EQ(EffectCatalogue::teardownOrder.back(), "SoundPlayer");
    EXPECT_EQ(EffectCatalogue::creationOrder[17].name, "SoundPlayer");
}

TEST(EffectCatalogue, StatesWhatAScriptCanHandEachEffectOncePerClass) {
    for (const auto& entry : EffectCatalogue::creationOrder) {
        const EffectInputs* inputs = EffectCatalogue::inputsOf(entry.name);
        ASSERT_NE(inputs, nullptr) << entry.name;
        EXPECT_EQ(inputs->playsMusic(), entry.name == "SoundPlayer") << entry.name;
    }
    // The two objects of a pair are one class.
    EXPECT_EQ(EffectCatalogue::inputsOf("PicStory1"), EffectCatalogue::inputsOf("PicStory2"));
    EXPECT_EQ(EffectCatalogue::inputsOf("Particles"), &Particles::inputs);
    EXPECT_EQ(EffectCatalogue::inputsOf("Nothing"), nullptr);
    EXPECT_EQ(EffectCatalogue::inputsOf("SoundPlayer")->endTrigger(), "TheEnd");
    // GenObject reacts to what any of its objects knows.
    const EffectInputs& gen = *EffectCatalogue::inputsOf("GenObject2");
    for (const char* name : {"Move", "StartMove", "StartShake", "StopShake"})
        EXPECT_NE(gen.triggerNumbers(name), nullptr) << name;
    EXPECT_EQ(gen.triggerNumbers("move"), nullptr);
    // Any name reaches the fader, with six numbers or none.
    const NumberGroups* fade = EffectCatalogue::inputsOf("Fader")->triggerNumbers("Anything");
    ASSERT_NE(fade, nullptr);
    EXPECT_TRUE(fade->onlyWhole());
    EXPECT_EQ(fade->mostRead(), 6u);
}

// Without a window, as reelcheck builds it.
TEST(EffectCatalogue, RegistersTheBuiltEffectsInCreationOrder) {
    DemoSystem demo;
    const EffectCatalogue catalogue;
    std::vector<std::string> registered;
    for (const Effect* effect : demo.getRegistry())
        registered.push_back(effect->getName());
    std::vector<std::string> built;
    for (const auto& entry : EffectCatalogue::creationOrder) {
        if (entry.create)
            built.push_back(std::string(entry.name));
    }
    EXPECT_EQ(registered, built);
    EXPECT_NE(dynamic_cast<Fader*>(catalogue.find("Fader")), nullptr);
    EXPECT_NE(dynamic_cast<Greets*>(catalogue.find("Greets")), nullptr);
    EXPECT_NE(dynamic_cast<PictureWarp*>(catalogue.find("PictureWarp")), nullptr);
    EXPECT_NE(dynamic_cast<TextureScroll*>(catalogue.find("TextureScroll")), nullptr);
    EXPECT_NE(dynamic_cast<Words*>(catalogue.find("Words")), nullptr);
    EXPECT_NE(dynamic_cast<Landscape*>(catalogue.find("Landscape")), nullptr);
    EXPECT_NE(dynamic_cast<Tunnel*>(catalogue.find("Tunnel")), nullptr);
    EXPECT_NE(dynamic_cast<BlobSphere*>(catalogue.find("BlobSphere")), nullptr);
    EXPECT_NE(dynamic_cast<InCube*>(catalogue.find("InCube")), nullptr);
    EXPECT_NE(dynamic_cast<Universe*>(catalogue.find("Universe")), nullptr);
    EXPECT_NE(dynamic_cast<HalfSphere*>(catalogue.find("HalfSphere")), nullptr);
    EXPECT_NE(dynamic_cast<SphereNormal*>(catalogue.find("SphereNormal")), nullptr);
    // The two objects of a pair are two objects of one class.
    for (const char* pair : {"PicStory", "Picture"}) {
        Effect* first = catalogue.find(std::string(pair) + "1");
        Effect* second = catalogue.find(std::string(pair) + "2");
        ASSERT_NE(first, nullptr);
        EXPECT_NE(first, second);
        EXPECT_EQ(typeid(*first), typeid(*second));
    }
    EXPECT_NE(dynamic_cast<PicStory*>(catalogue.find("PicStory1")), nullptr);
    EXPECT_NE(dynamic_cast<Picture*>(catalogue.find("Picture2")), nullptr);
    Effect* genObject = catalogue.find("GenObject");
    EXPECT_NE(dynamic_cast<GenObject*>(genObject), nullptr);
    EXPECT_NE(dynamic_cast<GenObject*>(catalogue.find("GenObject2")), genObject);
    EXPECT_NE(dynamic_cast<GenObject*>(catalogue.find("GenObject2")), nullptr);
    Effect* swirl = catalogue.find("BitmapDistortion");
    EXPECT_NE(dynamic_cast<BitmapDistortion*>(swirl), nullptr);
    EXPECT_NE(dynamic_cast<BitmapDistortion*>(catalogue.find("BitmapDistortion2")), nullptr);
    EXPECT_NE(catalogue.find("BitmapDistortion2"), swirl);
    EXPECT_EQ(catalogue.find("fader"), nullptr);
    EXPECT_FALSE(catalogue.demoFinished());
}

} // namespace
