#include "app/RipplejetApp.h"

#include "core/ConfigManager.h"
#include "core/PluginManager.h"
#include "core/TimerManager.h"
#include "core/VeltaCore.h"
#include "render/RenderManager.h"
#include "level/Level.h"
#include "app/Menu.h"

#include <cstdlib>
#include <iostream>

namespace Ripplejet {

namespace {

Velta::VeltaCore& core()
{
    return Velta::VeltaCore::getSingleton();
}

} // namespace

RipplejetApp::RipplejetApp() = default;

RipplejetApp::~RipplejetApp() = default;

bool RipplejetApp::init(const CppLib::Vector<std::string>& args, const GameOptions& options)
{
    mOptions = options;
    core().getConfigManager().parseArguments(args, false);
    core().getConfigManager().loadConfiguration("");
    if (!mOptions.replayFile.empty() && mReplay.getFrameCount() == 0 && !mReplay.load(mOptions.replayFile)) {
        mStartupProblem = mReplay.getError();
        return false;
    }
    if (!mOptions.recordFile.empty() && !mRecorder.open(mOptions.recordFile)) {
        mStartupProblem = mRecorder.getError();
        return false;
    }
    // First come, first served: the game's clock gives the time, not SDL's.
    core().getTimerManager().registerTimerPlugin(mClock);
    core().getPluginManager().setSoundEnabled(!mOptions.mute);
    if (!core().setup(true)) {
        mStartupProblem = "the engine could not be set up";
        return false;
    }
    core().getRenderManager().initializeRenderer(false);
    if (!mLevelManager.init()) {
        mStartupProblem = "the levels could not be prepared";
        return false;
    }
    mWindowManager.setWindowMode(mOptions.fullscreen, mOptions.sizeGiven ? mOptions.width : 0,
                                 mOptions.sizeGiven ? mOptions.height : 0);
    if (!mWindowManager.init()) {
        mStartupProblem = describeWindowFailure();
        return false;
    }
    mMenu = mLevelManager.createMenu();
    if (!mMenu) {
        mStartupProblem = "the menu could not be made";
        return false;
    }
    mWindowManager.setMenu(mMenu.get());
    return true;
}

std::string RipplejetApp::describeWindowFailure() const
{
    const std::string window = std::to_string(mWindowManager.getWidth()) + " x " +
                               std::to_string(mWindowManager.getHeight()) +
                               (mWindowManager.isFullscreen() ? " full-screen" : "");
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        return "no X display to open the " + window + " game window on (DISPLAY is not set)";
    }
    return "no " + window + " OpenGL window could be opened on display " + std::string(display) +
           " (the display is unreachable, has no usable video mode or no working OpenGL; the lines above say which)";
}

int RipplejetApp::run()
{
    // A replay starts where its recording did; a race at the time it is made.
    if (!mOptions.replayFile.empty()) {
        mClock.restartAt(mReplay.getStartTime());
    } else {
        mClock.beginFrame();
    }
    mRecorder.recordStart(mClock.getTimestamp());
    mLevel = mLevelManager.createLevel("");
    if (!mLevel) {
        return 1;
    }
    mWindowManager.setClock(&mClock);
    // The benchmark has no limit unless one is asked for (to record a race
    // of fewer frames, say).
    mWindowManager.setFrameLimit(mOptions.fpsLimit);
    mWindowManager.setBenchmark(mOptions.benchmark, mOptions.shortBenchmark ? SHORT_BENCHMARK_SECTION : 0);
    mWindowManager.setAutopilot(mOptions.autopilot);
    mWindowManager.setRecorder(mRecorder.isOpen() ? &mRecorder : nullptr);
    mWindowManager.setReplay(mOptions.replayFile.empty() ? nullptr : &mReplay);
    mWindowManager.setNewRaceHandler([this] { startNewRace(); });
    mWindowManager.setLevel(mLevel.get());
    mWindowManager.startLevel();
    mWindowManager.run();
    return reportRun();
}

int RipplejetApp::reportRun()
{
    const std::string result = mLevel ? mLevel->getRaceResult() : "unfinished";
    const long long raceTime = mLevel ? mLevel->getRaceTime() : 0;
    mRecorder.finish(result, raceTime);
    if (mOptions.benchmark) {
        std::cout << "Benchmark: " << mWindowManager.getFrameTimes().summary() << "; race " << describeRace()
                  << std::endl;
        return result == "won" || mOptions.shortBenchmark ? 0 : 1;
    }
    if (!mOptions.replayFile.empty()) {
        std::cout << "Replay: race " << describeRace() << std::endl;
        if (result != mReplay.getResult() || raceTime != mReplay.getRaceTime()) {
            std::cout << "Replay: the recording ended " << mReplay.getResult() << " at " << mReplay.getRaceTime()
                      << " ms; this replay did not" << std::endl;
            return 1;
        }
    }
    return 0;
}

std::string RipplejetApp::describeRace() const
{
    const std::string result = mLevel ? mLevel->getRaceResult() : "unfinished";
    const std::string time = std::to_string(mLevel ? mLevel->getRaceTime() : 0) + " ms";
    return result == "won" ? "won in " + time : result + " after " + time;
}

void RipplejetApp::startNewRace()
{
    // The old race goes first: two courses at once would only cost memory.
    mWindowManager.setLevel(nullptr);
    mLevel.reset();
    // The driver's copies too: the next race's then take their places
    // instead of new ones around them.
    mWindowManager.releaseUnusedUploads();
    mLevel = mLevelManager.createLevel("");
    if (!mLevel) {
        mWindowManager.quit();
        return;
    }
    mWindowManager.setLevel(mLevel.get());
    if (!mWindowManager.startLevel()) {
        mWindowManager.quit();
    }
}

void RipplejetApp::shutdown()
{
    mWindowManager.setLevel(nullptr);
    mWindowManager.setMenu(nullptr);
    mLevel.reset();
    mMenu.reset();
    core().shutdown();
}

} // namespace Ripplejet
