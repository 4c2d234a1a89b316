#pragma once

#include "VeltaExport.h"
#include "core/TimerPlugin.h"

namespace Velta {

/// Timestamps from SDL's millisecond tick, anchored to the calendar time at
/// initialisation; interval counters from the monotonic clock. Provides no
/// timers.
class VELTA_EXPORT SDLTimer : public TimerPlugin {
public:
    ~SDLTimer() override;

    bool isInitialized() const override { return mInitialized; }

    /// Starts SDL's timer and anchors the tick to the calendar time (exact to
    /// the second).
    bool initialize() override;

    bool providesTimestamps() const override { return true; }
    bool providesCounters() const override { return true; }
    bool providesTimers() const override { return false; }

    long long getTimestamp() const override;
    CppLib::SharedPtr<Timer> createTimer() override;
    CppLib::SharedPtr<Counter> createHighresCounter() override;

private:
    bool mInitialized = false;
    long long mTimeOffset = 0;
};

} // namespace Velta
