#include "plugins/sdl/SDLPlugin.h"

#include "core/TimerManager.h"
#include "core/VeltaCore.h"
#include "plugins/sdl/SDLTimer.h"

namespace Velta {

SDLPlugin::SDLPlugin() = default;
SDLPlugin::~SDLPlugin() = default;

int SDLPlugin::registerPlugin()
{
    mTimer = std::make_unique<SDLTimer>();
    VeltaCore::getSingleton().getTimerManager().registerTimerPlugin(*mTimer);
    return 0;
}

} // namespace Velta
