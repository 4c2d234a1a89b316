#include "items/OxygenItem.h"

#include "duck/Duck.h"
#include "level/GameSound.h"

namespace Ripplejet {

namespace {

const char* const SOUND_FILE = "breathe.mp3";
const char* const SOUND_CHANNEL = "breathe";

} // namespace

OxygenItem::OxygenItem() : Item("oxygen.ms3d", "oxygen.png") {}

bool OxygenItem::activate(Duck& duck, long long timestamp)
{
    mLastTick = 0;
    GameSound::playLooping(getSound(SOUND_FILE, SOUND_CHANNEL));
    startEffect(duck, 0.0f, 0.36f, -0.42f, 0.4f, 150, timestamp);
    return false;
}

bool OxygenItem::update(Duck& duck, long long timestamp)
{
    if (timestamp - mLastTick > TICK && mRemaining > 0) {
        duck.changeOxygen(PER_TICK);
        mRemaining -= PER_TICK;
        mLastTick = timestamp;
    }
    if (mRemaining < 1 && !isShrinking()) {
        GameSound::stop(getSound(SOUND_FILE, SOUND_CHANNEL));
        shrinkEffect(timestamp);
    }
    return animateEffect(duck, 0.1f, timestamp);
}

bool OxygenItem::deactivate(Duck& duck, long long timestamp)
{
    // Finished early (another item was used): the breathing stops with it.
    GameSound::stop(getSound(SOUND_FILE, SOUND_CHANNEL));
    return Item::deactivate(duck, timestamp);
}

} // namespace Ripplejet
