#include "core/TimerManager.h"

#include "core/Counter.h"
#include "core/Timer.h"
#include "core/TimerPlugin.h"

namespace Velta {

TimerManager::~TimerManager() = default;

void TimerManager::registerTimerPlugin(TimerPlugin& plugin)
{
    if (!plugin.isInitialized() && !plugin.initialize()) {
        return;
    }
    mTimerPlugins.append(&plugin);
    if (plugin.providesTimestamps() && !mTimestampPlugin) {
        mTimestampPlugin = &plugin;
    }
    if (plugin.providesTimers() && !mTimerPlugin) {
        mTimerPlugin = &plugin;
    }
    if (plugin.providesCounters() && !mCounterPlugin) {
        mCounterPlugin = &plugin;
    }
}

long long TimerManager::getTimestamp() const
{
    return mTimestampPlugin ? mTimestampPlugin->getTimestamp() : 0;
}

CppLib::SharedPtr<Timer> TimerManager::createTimer()
{
    return mTimerPlugin ? mTimerPlugin->createTimer() : CppLib::SharedPtr<Timer>();
}

CppLib::SharedPtr<Counter> TimerManager::createHighresCounter()
{
    return mCounterPlugin ? mCounterPlugin->createHighresCounter() : CppLib::SharedPtr<Counter>();
}

} // namespace Velta
