#pragma once

#include "VeltaExport.h"
#include "cpplib/SharedPtr.h"
#include "cpplib/Vector.h"

namespace Velta {

class Counter;
class Timer;
class TimerPlugin;

/// The system's one clock. Each role (timestamps, counters, timers) is served
/// by the first registered plug-in that provides it; later ones never replace
/// it. Plug-ins are not owned.
class VELTA_EXPORT TimerManager {
public:
    virtual ~TimerManager();

    /// Initialises `plugin` when it is not yet; a plug-in that fails to
    /// initialise is neither listed nor given a role.
    void registerTimerPlugin(TimerPlugin& plugin);

    /// Milliseconds since 1970-01-01 00:00 UTC; 0 while no plug-in provides
    /// timestamps. Called for every subsystem of every frame: no allocation.
    long long getTimestamp() const;

    /// Empty when no plug-in provides the role.
    CppLib::SharedPtr<Timer> createTimer();
    CppLib::SharedPtr<Counter> createHighresCounter();

    const CppLib::Vector<TimerPlugin*>& getTimerPlugins() const { return mTimerPlugins; }
    TimerPlugin* getTimestampPlugin() const { return mTimestampPlugin; }

private:
    CppLib::Vector<TimerPlugin*> mTimerPlugins;
    TimerPlugin* mTimestampPlugin = nullptr;
    TimerPlugin* mCounterPlugin = nullptr;
    TimerPlugin* mTimerPlugin = nullptr;
};

} // namespace Velta
