#include "items/BonusItem.h"

#include "duck/Duck.h"
#include "level/GameSound.h"

namespace Ripplejet {

BonusItem::BonusItem() : Item("banana.ms3d", "banana.png") {}

bool BonusItem::activate(Duck& duck, long long)
{
    duck.changeBonus(POINTS);
    // Any duck eats the bananas it touches: heard from where it eats.
    GameSound::playOnceAt(getSound("eatloud.mp3", "eatloud", true), duck.getPosition());
    return true;
}

std::string BonusItem::getParticleSprite(float& size) const
{
    size = 3.0f;
    return Item::getParticleSprite(size);
}

} // namespace Ripplejet
