#include "core/Counter.h"
#include "core/Timer.h"
#include "core/TimerManager.h"
#include "support/CoreFixture.h"
#include "testkit/ManualClock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using Velta::TimerManager;

namespace {

/// A clock that is not ready until initialised, which may fail.
class FixedClock : public VeltaTest::ManualClock {
public:
    FixedClock(long long time, bool initializes) : mInitializes(initializes) { set(time); }
    bool isInitialized() const override { return false; }
    bool initialize() override { return mInitializes; }

private:
    bool mInitializes;
};

long long calendarMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

void sleepMilliseconds(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

using TimingBeforeSetup = VeltaTest::CoreFixture;
using TimingAfterSetup = VeltaTest::SetUpCoreFixture;

} // namespace

TEST_F(TimingBeforeSetup, WithoutAClockTimestampsAreZeroAndNothingIsCreated)
{
    TimerManager& timers = core().getTimerManager();
    FixedClock broken(5, false);
    timers.registerTimerPlugin(broken);
    EXPECT_EQ(timers.getTimerPlugins().getSize(), 0u) << "a clock that fails to initialise is not registered";
    EXPECT_EQ(timers.getTimestamp(), 0);
    EXPECT_TRUE(timers.createTimer().isNull());
    EXPECT_TRUE(timers.createHighresCounter().isNull());
}

TEST_F(TimingAfterSetup, SdlTimestampsFollowTheCalendarAndStayTheSourceWhenAnotherClockComes)
{
    TimerManager& timers = core().getTimerManager();
    const long long first = timers.getTimestamp();
    EXPECT_NEAR(static_cast<double>(first), static_cast<double>(calendarMilliseconds()), 1000.0);
    EXPECT_GE(timers.getTimestamp(), first);

    sleepMilliseconds(300);
    const long long later = timers.getTimestamp();
    EXPECT_GE(later - first, 300);
    EXPECT_LT(later - first, 1000) << "a loaded machine may stretch the sleep, not this much";

    FixedClock second(42, true);
    timers.registerTimerPlugin(second);
    EXPECT_EQ(timers.getTimerPlugins().getSize(), 2u);
    EXPECT_GE(timers.getTimestamp(), later);
    EXPECT_TRUE(timers.createTimer().isNull()) << "the SDL timer makes no timers";
}

TEST_F(TimingAfterSetup, HighResolutionCounterMeasuresTheIntervalSinceItsLastReading)
{
    CppLib::SharedPtr<Velta::Counter> counter = core().getTimerManager().createHighresCounter();
    ASSERT_FALSE(counter.isNull());
    EXPECT_EQ(counter->getSeconds(), 0.0);
    counter->start();
    sleepMilliseconds(50);
    counter->update();
    EXPECT_GE(counter->getSeconds(), 0.05);
    EXPECT_LT(counter->getSeconds(), 1.0);
    counter->stop();
    EXPECT_LT(counter->getSeconds(), 0.05) << "the second reading starts where the first ended";
}
