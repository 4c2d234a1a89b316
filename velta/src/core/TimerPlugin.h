#pragma once

#include "VeltaExport.h"
#include "core/Counter.h"
#include "core/Timer.h"
#include "cpplib/SharedPtr.h"

namespace Velta {

/// A source of time for the timer manager: timestamps, interval counters
/// and/or timers.
class VELTA_EXPORT TimerPlugin {
public:
    virtual ~TimerPlugin() = default;

    virtual bool isInitialized() const = 0;
    virtual bool initialize() = 0;

    virtual bool providesTimestamps() const = 0;
    virtual bool providesCounters() const = 0;
    virtual bool providesTimers() const = 0;

    /// Milliseconds since 1970-01-01 00:00 UTC.
    virtual long long getTimestamp() const = 0;
    virtual CppLib::SharedPtr<Timer> createTimer() = 0;
    virtual CppLib::SharedPtr<Counter> createHighresCounter() = 0;
};

} // namespace Velta
