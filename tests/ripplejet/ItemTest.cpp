// Items on the real course without a window: picked up by touch, carried,
// selected and used, and their effects over time.
#include "RaceFixture.h"

#include "duck/Duck.h"
#include "duck/DuckModifier.h"
#include "items/BonusItem.h"
#include "items/BoosterItem.h"
#include "items/HealthItem.h"
#include "items/OxygenItem.h"
#include "items/SparkleMaterials.h"
#include "level/GameSound.h"

#include "geometry/GeometryObject.h"
#include "resource/Material.h"
#include "resource/ResourceManager.h"
#include "resource/Texture.h"
#include "scene/Branch.h"
#include "scene/TransformationNode.h"
#include "sound/SoundManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using RipplejetTest::RaceFixture;
using Ripplejet::Duck;
using Ripplejet::Item;

class Items : public RaceFixture {
protected:
    Ripplejet::SparkleMaterials mSparkleMaterials;
    Duck& duck() { return *race->getPlayerDuck(); }

    /// The race's items of one kind, in the order placed.
    template <typename Kind>
    std::vector<Item*> itemsOf()
    {
        std::vector<Item*> found;
        for (const auto& item : race->getItems()) {
            if (dynamic_cast<Kind*>(item.get())) {
                found.push_back(item.get());
            }
        }
        return found;
    }

    /// Puts the player's duck where `item` floats and lets it touch it: the
    /// query sees the duck's bound of the frame before.
    void touch(Item& item)
    {
        const CppLib::Matrix<float, 4>& at = item.getTransformedNode().getWorldTransformation();
        Velta::TransformationNode& place = *duck().getTransformationNode();
        place.reset();
        place.translate(at.get(0, 3), at.get(1, 3), at.get(2, 3), false);
        race->getPlayerModifier()->resetBody();
        frame(now() + 16);
        frame(now() + 16);
    }

    /// Whether the item still shows in the course.
    static bool inCourse(const Item& item) { return !item.isPickedUp() && item.getAttachedChildCount() > 0; }

    static bool clicked()
    {
        return Ripplejet::GameSound::isPlaying(
            RaceFixture::core().getResourceManager().getSoundManager().getChannel("click"));
    }
};

TEST_F(Items, SparklesOfOneSizeShareAMaterialAndAllShareOneTexture)
{
    // Each texture of its own would cost the renderer a change of state per
    // item.
    std::vector<const Velta::Material*> materials;
    const Velta::Texture* texture = nullptr;
    for (const auto& item : race->getItems()) {
        ASSERT_NE(item->getSparkles(), nullptr);
        const CppLib::SharedPtr<Velta::Material> material = item->getSparkles()->getDefaultMaterial(0);
        ASSERT_FALSE(material.isNull());
        ASSERT_FALSE(material->getTexture(0).isNull());
        if (std::find(materials.begin(), materials.end(), material.get()) == materials.end()) {
            materials.push_back(material.get());
        }
        if (!texture) {
            texture = material->getTexture(0).get();
        }
        EXPECT_EQ(material->getTexture(0).get(), texture);
    }
    EXPECT_EQ(materials.size(), 3u) << "health and oxygen, bananas and boosters each have their size";
}

TEST_F(Items, ABananaIsEatenAtOnceAndOtherItemsAreCarriedUpToTen)
{
    startRace();
    Item& banana = *itemsOf<Ripplejet::BonusItem>().front();
    ASSERT_TRUE(inCourse(banana));
    touch(banana);
    EXPECT_EQ(duck().getBonus(), 5);
    EXPECT_FALSE(inCourse(banana)) << "vanished";
    EXPECT_EQ(duck().getInventory().getCount(), 0);

    std::vector<Item*> carried = itemsOf<Ripplejet::HealthItem>();
    for (Item* item : itemsOf<Ripplejet::BoosterItem>()) {
        carried.push_back(item);
    }
    ASSERT_GE(carried.size(), 11u);
    for (int i = 0; i < 10; ++i) {
        touch(*carried[static_cast<std::size_t>(i)]);
        ASSERT_FALSE(inCourse(*carried[static_cast<std::size_t>(i)])) << i;
    }
    EXPECT_EQ(duck().getInventory().getCount(), 10);
    touch(*carried[10]);
    EXPECT_TRUE(inCourse(*carried[10])) << "the eleventh stays in the course";
    EXPECT_EQ(duck().getInventory().getCount(), 10);
}

TEST_F(Items, SelectionStopsAtBothEndsSilentlyAndUsingTheLastMovesItBack)
{
    startRace();
    const std::vector<Item*> kits = itemsOf<Ripplejet::HealthItem>();
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(duck().collect(*kits[static_cast<std::size_t>(i)], now()));
    }
    Ripplejet::GameSound::stop(core().getResourceManager().getSoundManager().getChannel("click"));
    EXPECT_FALSE(duck().selectPreviousItem());
    EXPECT_FALSE(clicked());
    EXPECT_TRUE(duck().selectNextItem());
    EXPECT_TRUE(clicked());
    EXPECT_TRUE(duck().selectNextItem());
    Ripplejet::GameSound::stop(core().getResourceManager().getSoundManager().getChannel("click"));
    EXPECT_FALSE(duck().selectNextItem());
    EXPECT_FALSE(clicked());
    EXPECT_EQ(duck().getInventory().getSelected(), 2);

    duck().changeHealth(-50);
    duck().useSelectedItem(now());
    EXPECT_EQ(duck().getHealth(), 75);
    EXPECT_EQ(duck().getInventory().getCount(), 2);
    EXPECT_EQ(duck().getInventory().getSelected(), 1) << "back by one";
    EXPECT_EQ(duck().getActiveItem(), nullptr) << "a kit is used up at once";
}

TEST_F(Items, ABoosterPushesForFiveSecondsThenBurnsOutAndEndsWhenAnotherEffectTakesOver)
{
    // The items outlive the duck that carries them, as in the level.
    Ripplejet::BoosterItem booster;
    Ripplejet::BoosterItem second;
    Ripplejet::OxygenItem air;
    for (Item* item : {static_cast<Item*>(&booster), static_cast<Item*>(&second), static_cast<Item*>(&air)}) {
        item->setUp({}, mSparkleMaterials);
    }
    Duck duck("mallard");
    duck.createNode();
    ASSERT_TRUE(duck.collect(booster, 1000));
    duck.useSelectedItem(1000);
    ASSERT_EQ(duck.getActiveItem(), &booster);
    EXPECT_EQ(duck.getBoost(), Duck::Vec3(0, 0, 5));
    ASSERT_NE(booster.getSmokeNode(), nullptr);
    EXPECT_EQ(booster.getSmokeNode()->getParent(), duck.getEffectBranch());
    EXPECT_EQ(booster.getEffectNode()->getParent(), duck.getEffectBranch());

    long long t = 1000;
    duck.update(t); // the duck's first update only starts its clock
    while (t < 5990) {
        duck.update(t += 10);
        ASSERT_EQ(duck.getBoost(), Duck::Vec3(0, 0, 5)) << t;
    }
    duck.update(6000);
    EXPECT_EQ(duck.getBoost(), Duck::Vec3()) << "off after 5000 ms";
    EXPECT_TRUE(booster.isShrinking());
    // The smoke burns out (its puffs live at most 400 ms), then the booster
    // is used up.
    for (t = 6000; t < 6500 && duck.getActiveItem(); t += 10) {
        duck.update(t);
    }
    EXPECT_EQ(duck.getActiveItem(), nullptr);
    EXPECT_FALSE(booster.getSmoke().isRunning());
    EXPECT_EQ(booster.getSmokeNode(), nullptr);
    EXPECT_EQ(booster.getEffectNode(), nullptr);
    EXPECT_EQ(duck.getInventory().getCount(), 0) << "not put back";

    // Finished early by another lasting effect: its push and its smoke go.
    duck.collect(second, 7000);
    duck.collect(air, 7000);
    duck.useSelectedItem(7000);
    ASSERT_EQ(duck.getActiveItem(), &second);
    duck.update(7100);
    duck.useSelectedItem(7200);
    EXPECT_EQ(duck.getActiveItem(), &air);
    EXPECT_EQ(duck.getBoost(), Duck::Vec3()) << "no boost that never ends";
    EXPECT_EQ(second.getSmokeNode(), nullptr);
    EXPECT_EQ(second.getEffectNode(), nullptr);
    EXPECT_EQ(duck.getEffectBranch()->getAttachedChildCount(), 2) << "the model and the bottle's effect";
}

TEST_F(Items, AnOxygenBottleGivesFiveASecondUpToFiftyThenShrinksAway)
{
    Ripplejet::OxygenItem air;
    air.setUp({}, mSparkleMaterials);
    Duck duck("mallard");
    duck.createNode();
    duck.changeOxygen(-90);
    ASSERT_EQ(duck.getOxygen(), 10);
    const long long start = 100000;
    EXPECT_FALSE(air.activate(duck, start));
    ASSERT_NE(air.getEffectNode(), nullptr);
    long long t = start;
    std::vector<int> levels;
    bool ended = false;
    for (; t <= start + 12000 && !ended; t += 50) {
        ended = air.update(duck, t);
        if (t % 1000 == 0) {
            levels.push_back(duck.getOxygen());
        }
    }
    // +5 at once, then every second after the last, fifty in all.
    EXPECT_EQ(levels.front(), 15);
    EXPECT_EQ(duck.getOxygen(), 60);
    EXPECT_EQ(air.getRemaining(), 0);
    EXPECT_TRUE(air.isShrinking());
    EXPECT_TRUE(ended) << "the shrink ends the effect";
    EXPECT_LT(t - start, 10500) << "about ten seconds";
    EXPECT_TRUE(air.deactivate(duck, t));
    EXPECT_EQ(air.getEffectNode(), nullptr);
}

} // namespace
