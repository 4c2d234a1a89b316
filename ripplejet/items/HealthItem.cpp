#include "items/HealthItem.h"

#include "duck/Duck.h"
#include "level/GameSound.h"

namespace Ripplejet {

HealthItem::HealthItem() : Item("medicare.ms3d", "medicare.png") {}

bool HealthItem::activate(Duck& duck, long long)
{
    GameSound::playOnce(getSound("gulp.mp3", "gulp"));
    duck.changeHealth(HEALTH);
    return true;
}

} // namespace Ripplejet
