#pragma once

#include "core/TimerManager.h"
#include "core/TimerPlugin.h"
#include "support/CoreFixture.h"

namespace VeltaTest {

/// A timestamp source that answers whatever the test set, for change
/// tracking tests. Not owned by the timer manager: keep it alive as long as
/// the core runs.
class ManualClock : public Velta::TimerPlugin {
public:
    bool isInitialized() const override { return true; }
    bool initialize() override { return true; }
    bool providesTimestamps() const override { return true; }
    bool providesCounters() const override { return false; }
    bool providesTimers() const override { return false; }
    long long getTimestamp() const override { return mTime; }
    CppLib::SharedPtr<Velta::Timer> createTimer() override { return {}; }
    CppLib::SharedPtr<Velta::Counter> createHighresCounter() override { return {}; }

    void set(long long time) { mTime = time; }
    void advance(long long milliseconds) { mTime += milliseconds; }

private:
    long long mTime = 1000;
};

/// A started core whose timestamps come from a ManualClock.
class ClockedCoreFixture : public CoreFixture {
protected:
    void SetUp() override
    {
        CoreFixture::SetUp();
        core().getTimerManager().registerTimerPlugin(mClock);
    }

    ManualClock mClock;
};

} // namespace VeltaTest
