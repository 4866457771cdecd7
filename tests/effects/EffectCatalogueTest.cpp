#include "EffectCatalogue.h"

#include "DemoSystem.h"
#include "Fader.h"

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
    EXPECT_EQ(catalogue.find("fader"), nullptr);
    EXPECT_FALSE(catalogue.demoFinished());
}

} // namespace
