#include "RaceFixture.h"

#include "GameEvents.h"

#include "core/ProcessManager.h"
#include "core/TimerManager.h"
#include "race/Autopilot.h"

#include <algorithm>
#include <cstdlib>
#include <unistd.h>

namespace RipplejetTest {

namespace fs = std::filesystem;

Velta::VeltaCore& RaceFixture::core()
{
    return CppLib::Singleton<Velta::VeltaCore>::getSingleton();
}

fs::path RaceFixture::prepareData() const
{
    const std::vector<std::string> missing = missingFiles();
    const std::vector<std::string> truncated = truncatedFiles();
    if (missing.empty() && truncated.empty()) {
        return RIPPLEJET_BIN_DIR;
    }
    // Links to every data file but the missing and the truncated ones; those
    // are copies of their first half.
    const auto listed = [](const std::vector<std::string>& list, const fs::path& file) {
        return std::find(list.begin(), list.end(), file.generic_string()) != list.end();
    };
    const fs::path scratch = fs::temp_directory_path() / ("ripplejet-race-" + std::to_string(getpid()));
    fs::remove_all(scratch);
    for (const char* folder : {"models", "textures", "sound"}) {
        const fs::path from = fs::path(RIPPLEJET_BIN_DIR) / folder;
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(from)) {
            const fs::path relative = fs::path(folder) / fs::relative(entry.path(), from);
            if (entry.is_directory()) {
                fs::create_directories(scratch / relative);
            } else if (listed(truncated, relative)) {
                fs::create_directories((scratch / relative).parent_path());
                fs::copy_file(entry.path(), scratch / relative);
                fs::resize_file(scratch / relative, fs::file_size(entry.path()) / 2);
            } else if (!listed(missing, relative)) {
                fs::create_directories((scratch / relative).parent_path());
                fs::create_symlink(entry.path(), scratch / relative);
            }
        }
    }
    return scratch;
}

void RaceFixture::SetUp()
{
    mWorkingDirectory = fs::current_path();
    const fs::path data = prepareData();
    if (data != fs::path(RIPPLEJET_BIN_DIR)) {
        mScratch = data;
    }
    fs::current_path(data);
    // Sound plays into nothing rather than to whoever runs the tests.
    setenv("ALSOFT_DRIVERS", "null", 0);
    core().startup();
    // The first clock registered gives the timestamps: the test's.
    mClock.set(mNow);
    core().getTimerManager().registerTimerPlugin(mClock);
    ASSERT_TRUE(core().setup(true));
    race = std::make_unique<Ripplejet::Timerace>();
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    const bool loaded = race->load();
    race->start();
    mLoadOutput = testing::internal::GetCapturedStdout();
    mLoadLog = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(loaded);
}

void RaceFixture::newRace()
{
    race.reset();
    race = std::make_unique<Ripplejet::Timerace>();
    ASSERT_TRUE(race->load());
    race->start();
}

void RaceFixture::TearDown()
{
    race.reset();
    core().shutdown();
    fs::current_path(mWorkingDirectory);
    if (!mScratch.empty()) {
        fs::remove_all(mScratch);
    }
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

void RaceFixture::driveWithAutopilot(long long step, long long limit)
{
    Ripplejet::Autopilot pilot(*race, *race->getPlayerModifier(), race.get());
    const long long end = mNow + limit;
    while (!race->isOver() && mNow < end) {
        pilot.update(mNow + step);
        frame(mNow + step);
    }
}

} // namespace RipplejetTest
