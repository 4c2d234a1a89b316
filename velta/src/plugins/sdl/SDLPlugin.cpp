#include "plugins/sdl/SDLPlugin.h"

#include "core/TimerManager.h"
#include "core/VeltaCore.h"
#include "input/InputManager.h"
#include "plugins/sdl/SDLInputProvider.h"
#include "plugins/sdl/SDLTimer.h"

namespace Velta {

SDLPlugin::SDLPlugin() = default;
SDLPlugin::~SDLPlugin() = default;

int SDLPlugin::registerPlugin()
{
    VeltaCore& core = VeltaCore::getSingleton();
    mInputProvider = std::make_unique<SDLInputProvider>();
    core.getInputManager().registerInputProvider(*mInputProvider);
    mTimer = std::make_unique<SDLTimer>();
    core.getTimerManager().registerTimerPlugin(*mTimer);
    return 0;
}

} // namespace Velta
