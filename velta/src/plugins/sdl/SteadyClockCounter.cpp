#include "plugins/sdl/SteadyClockCounter.h"

namespace Velta {

void SteadyClockCounter::start()
{
    mLastCount = std::chrono::steady_clock::now();
}

void SteadyClockCounter::update()
{
    const auto now = std::chrono::steady_clock::now();
    mSeconds = std::chrono::duration<double>(now - mLastCount).count();
    mLastCount = now;
}

} // namespace Velta
