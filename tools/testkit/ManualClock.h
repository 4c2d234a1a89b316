#pragma once

#include "core/TimerPlugin.h"

namespace VeltaTest {

/// A timestamp source that answers whatever the test set, for change
/// tracking tests and repeatable benchmarks. With a step, every read moves
/// the clock on by it. Not owned by the timer manager: keep it alive as long
/// as the core runs.
class ManualClock : public Velta::TimerPlugin {
public:
    bool isInitialized() const override { return true; }
    bool initialize() override { return true; }
    bool providesTimestamps() const override { return true; }
    bool providesCounters() const override { return false; }
    bool providesTimers() const override { return false; }
    long long getTimestamp() const override
    {
        ++mReads;
        const long long now = mTime;
        mTime += mStepPerRead;
        return now;
    }
    CppLib::SharedPtr<Velta::Timer> createTimer() override { return {}; }
    CppLib::SharedPtr<Velta::Counter> createHighresCounter() override { return {}; }

    void set(long long time) { mTime = time; }
    void advance(long long milliseconds) { mTime += milliseconds; }
    void setStepPerRead(long long milliseconds) { mStepPerRead = milliseconds; }

    /// How often the timestamp was read.
    long long getReads() const { return mReads; }

private:
    mutable long long mTime = 1000;
    mutable long long mReads = 0;
    long long mStepPerRead = 0;
};

} // namespace VeltaTest
