#include "app/GameClock.h"

#include <chrono>

namespace Ripplejet {

namespace {

/// The steady clock, anchored once to the calendar so that timestamps look
/// like the engine's (milliseconds since 1970) but never jump with it.
long long steadyMilliseconds()
{
    using namespace std::chrono;
    static const long long anchor =
        duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count() -
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return anchor + duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

GameClock::GameClock(WallClock wall) : mWall(wall ? wall : &steadyWallTime), mFrameTime(mWall()) {}

long long GameClock::steadyWallTime()
{
    return steadyMilliseconds();
}

long long GameClock::beginFrame()
{
    if (!mPaused) {
        setFrameTime(mWall() - mPausedTotal);
    }
    return mFrameTime;
}

void GameClock::setFrameTime(long long timestamp)
{
    if (timestamp > mFrameTime) {
        mFrameTime = timestamp;
    }
}

void GameClock::setPaused(bool paused)
{
    if (paused == mPaused) {
        return;
    }
    mPaused = paused;
    if (paused) {
        mPauseStart = mWall();
    } else {
        mPausedTotal += mWall() - mPauseStart;
    }
}

} // namespace Ripplejet
