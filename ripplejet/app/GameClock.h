#pragma once

#include "core/TimerPlugin.h"

namespace Ripplejet {

/// The game's timestamps: wall-clock milliseconds less the time spent paused,
/// read once at the start of each frame and answered unchanged to every
/// subsystem during it, so the whole frame sees one time. While paused the
/// time stands still; a replay sets each frame's time itself.
///
/// Registered with the timer manager before the engine is set up, so that it
/// serves the timestamps; the application owns it and keeps it until the
/// engine stops.
class GameClock : public Velta::TimerPlugin {
public:
    /// The wall clock, in milliseconds.
    using WallClock = long long (*)();

    /// Over the steady clock, or over `wall` (for tests).
    explicit GameClock(WallClock wall = nullptr);

    bool isInitialized() const override { return true; }
    bool initialize() override { return true; }
    bool providesTimestamps() const override { return true; }
    bool providesCounters() const override { return false; }
    bool providesTimers() const override { return false; }
    /// The current frame's time.
    long long getTimestamp() const override { return mFrameTime; }
    CppLib::SharedPtr<Velta::Timer> createTimer() override { return {}; }
    CppLib::SharedPtr<Velta::Counter> createHighresCounter() override { return {}; }

    /// Starts a frame: takes the wall clock's time, less the pauses, and
    /// answers it. While paused the frame keeps the time of the pause.
    long long beginFrame();

    /// Starts a frame at `timestamp`, as a replay does; the time does not go
    /// back when `timestamp` is earlier than the current frame's.
    void setFrameTime(long long timestamp);

    /// Sets the time outright, even back: for a replay, before its first
    /// frame, to the time its recording started at.
    void restartAt(long long timestamp) { mFrameTime = timestamp; }

    /// Stops or restarts the game's time; pausing twice is pausing once.
    void setPaused(bool paused);
    bool isPaused() const { return mPaused; }

    /// The steady clock in milliseconds, counted from 1970 as the engine
    /// counts.
    static long long steadyWallTime();

private:
    WallClock mWall;
    long long mFrameTime;
    /// Wall time spent paused so far, and when the running pause began.
    long long mPausedTotal = 0;
    long long mPauseStart = 0;
    bool mPaused = false;
};

} // namespace Ripplejet
