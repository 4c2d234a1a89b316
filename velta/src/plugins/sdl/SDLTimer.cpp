#include "plugins/sdl/SDLTimer.h"

#include "core/Timer.h"
#include "plugins/sdl/SteadyClockCounter.h"

#include <SDL.h>

#include <ctime>

namespace Velta {

SDLTimer::~SDLTimer()
{
    if (mInitialized) {
        SDL_QuitSubSystem(SDL_INIT_TIMER);
    }
}

bool SDLTimer::initialize()
{
    SDL_Init(SDL_INIT_TIMER);
    mTimeOffset = static_cast<long long>(std::time(nullptr)) * 1000 - static_cast<long long>(SDL_GetTicks());
    mInitialized = true;
    return true;
}

long long SDLTimer::getTimestamp() const
{
    return static_cast<long long>(SDL_GetTicks()) + mTimeOffset;
}

CppLib::SharedPtr<Timer> SDLTimer::createTimer()
{
    return CppLib::SharedPtr<Timer>();
}

CppLib::SharedPtr<Counter> SDLTimer::createHighresCounter()
{
    return CppLib::SharedPtr<Counter>(new SteadyClockCounter());
}

} // namespace Velta
