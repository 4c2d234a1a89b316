#include "RaceFixture.h"

#include "GameEvents.h"

#include "core/ProcessManager.h"
#include "core/TimerManager.h"
#include "core/VeltaCore.h"

#include <cstdlib>

namespace RipplejetTest {

Velta::VeltaCore& RaceFixture::core()
{
    return CppLib::Singleton<Velta::VeltaCore>::getSingleton();
}

void RaceFixture::SetUp()
{
    mWorkingDirectory = std::filesystem::current_path();
    std::filesystem::current_path(RIPPLEJET_BIN_DIR);
    // Sound plays into nothing rather than to whoever runs the tests.
    setenv("ALSOFT_DRIVERS", "null", 0);
    core().startup();
    // The first clock registered gives the timestamps: the test's.
    mClock.set(mNow);
    core().getTimerManager().registerTimerPlugin(mClock);
    ASSERT_TRUE(core().setup(true));
    race = std::make_unique<Ripplejet::Timerace>();
    ASSERT_TRUE(race->load());
    race->start();
}

void RaceFixture::TearDown()
{
    race.reset();
    core().shutdown();
    std::filesystem::current_path(mWorkingDirectory);
}

void RaceFixture::frame(long long timestamp)
{
    mNow = timestamp;
    mClock.set(timestamp);
    race->update(timestamp);
    core().getProcessManager().update(true);
}

void RaceFixture::runFor(long long milliseconds, long long step)
{
    const long long end = mNow + milliseconds;
    while (mNow + step <= end) {
        frame(mNow + step);
    }
}

void RaceFixture::click()
{
    Velta::InputEvent event = buttonPress(1);
    race->processInputEvent(event);
}

void RaceFixture::startRace(long long step)
{
    frame(mNow + step);
    click();
    runFor(Ripplejet::Timerace::GO_LENGTH + 2 * step, step);
}

} // namespace RipplejetTest
